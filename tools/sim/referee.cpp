#include "tools/sim/referee.h"

#include <algorithm>
#include <bit>

#include "core/column_runs.h"
#include "tools/sim/invariants.h"

namespace meldora::sim {

namespace {

constexpr int WildColumn = 1;
constexpr int ThreesColumn = 2;
constexpr int CanastaSize = 7;

// A card's face and deck; the two jokers of a deck share one.
constexpr int KeyCount = CardKeyCount;

// The keys of the red threes of both decks.
const std::vector<int>& RedThreeKeys()
{
    static const std::vector<int> keys = [] {
        std::vector<int> found;
        for (int key = 0; key < KeyCount; ++key)
            if (IsRedThree(IdOfKey(key)))
                found.push_back(key);
        return found;
    }();
    return keys;
}

// One entry per face a card record can hold, 1 for a red three: the walk over
// the moving side's hand asks this of every card it holds after the turn, and
// a look-up answers it in one step.
const std::array<std::uint8_t, 256> RedThreeByFace = [] {
    std::array<std::uint8_t, 256> table{};
    for (int id = 0; id < 256; ++id)
        table[id] = IsRedThree(id) ? 1 : 0;
    return table;
}();

bool Wild(const CardRecord& card) { return card.Rank == Joker || card.Rank == Two; }

// What a card is worth on the table or against a hand.
std::int32_t ValueOf(const CardRecord& card)
{
    // By rank: joker, two, three to seven, eight to king, ace.
    static constexpr std::array<std::int32_t, ColumnCount> values{50, 20, 5, 5, 5, 5, 5, 10, 10, 10, 10, 10, 10, 20};
    if (IsRedThree(card.Id))
        return 0;
    return card.Rank < ColumnCount ? values[card.Rank] : 10;
}

int RedThrees(std::span<const CardRecord> cards)
{
    int redThrees = 0;
    for (const CardRecord& card : cards)
        redThrees += RedThreeByFace[card.Id];
    return redThrees;
}

// How many cards of a rank, and how many wild cards, a hand holds: counted in one pass.
struct RankAndWildCount {
    int OfRank = 0;
    int Wild = 0;
};
RankAndWildCount CountRankAndWild(std::span<const CardRecord> cards, int rank)
{
    RankAndWildCount count;
    for (const CardRecord& card : cards) {
        count.OfRank += card.Rank == rank ? 1 : 0;
        count.Wild += Wild(card) ? 1 : 0;
    }
    return count;
}

// How often a card with the key of the given one lies in a column of the melds.
int CopiesInColumn(const CardPile& melds, const TableLayout& layout, int column, const CardRecord& like)
{
    const int key = CardKey(like);
    ColumnRuns columnOf(layout);
    int copies = 0;
    for (const CardRecord& card : CardsOf(melds)) {
        // The key of a card of the decks is its face and deck: those are compared directly.
        const bool sameKey = key != 0 ? SameKey(card, like) : CardKey(card) == 0;
        copies += sameKey && std::clamp(columnOf(card), 0, ColumnCount - 1) == column;
    }
    return copies;
}

std::string Plural(int n, const std::string& what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

const char* RowName(int row)
{
    static const char* const names[] = {"cards on the table", "cards in hand", "canastas", "red threes",
                                        "going-out bonus", "total"};
    return names[row];
}

// What one meld card adds to its column's tally (sign +1) or takes from it (-1).
// Every meld card a turn moves passes through here: it is kept inline in the walks.
[[gnu::always_inline]] inline void AddToTally(MeldColumns& columns, const CardRecord& card, int column, int sign)
{
    ColumnTally& tally = columns[column];
    tally.Size += sign;
    tally.Naturals += Wild(card) ? 0 : sign;
    tally.OfColumnRank += card.Rank == column ? sign : 0;
    tally.BlackThrees += IsBlackThree(card.Id) ? sign : 0;
    tally.Value += sign * ValueOf(card);
}

// Cards that lie in the same column with the same face count alike in a tally;
// the deck is compared too, so that cards matched here are matched for the
// balance of the turn's cards as well.
bool SameInTally(const CardRecord& a, const CardRecord& b)
{
    return a.X == b.X && a.Id == b.Id && a.Rank == b.Rank && a.Deck == b.Deck;
}

// Brings the tally of the melds before to the melds after: the cards matched in
// pile order count alike in both, so only the others are taken away (sign -1)
// or added (+1), and each such card is handed to moved with its column and sign.
// Returns a bit for each column a card was added to or taken from.
template <typename Moved>
std::uint32_t UpdateTally(MeldColumns& columns, std::span<const CardRecord> before, std::span<const CardRecord> after,
                          const TableLayout& layout, Moved&& moved)
{
    const auto columnOf = [&layout](const CardRecord& card) { return std::clamp(layout.ColumnOf(card.X), 0, ColumnCount - 1); };
    std::uint32_t changedColumns = 0;
    const auto add = [&](const CardRecord& card, int sign) {
        const int column = columnOf(card);
        AddToTally(columns, card, column, sign);
        changedColumns |= 1u << column;
        moved(card, column, sign);
    };
    // Melds mostly grow at their end: the cards alike at the start count
    // alike, as the walk would find them.
    const std::size_t alike = SameLeadingCards(before, after);
    const CardRecord* b = before.data() + alike;
    const CardRecord* const beforeEnd = before.data() + before.size();
    const CardRecord* a = after.data() + alike;
    const CardRecord* const afterEnd = after.data() + after.size();
    while (b != beforeEnd && a != afterEnd) {
        if (SameInTally(*b, *a)) {
            ++b;
            ++a;
        } else if (a + 1 != afterEnd && SameInTally(*b, a[1])) {
            add(*a++, +1);
        } else {
            add(*b++, -1);
        }
    }
    for (; b != beforeEnd; ++b)
        add(*b, -1);
    for (; a != afterEnd; ++a)
        add(*a, +1);
    return changedColumns;
}

// What one column adds to the meld value: a column of three cards or more counts.
std::int32_t CompleteColumnValue(const ColumnTally& cards) { return cards.Size >= 3 ? cards.Value : 0; }

bool IsCanasta(int column, const ColumnTally& cards)
{
    return column >= WildColumn && column != ThreesColumn && cards.Size >= CanastaSize &&
           (column == WildColumn || cards.Naturals >= 4);
}

}  // namespace

std::string SideName(Side side) { return side == Side::Human ? "the human side" : "the computer side"; }

MeldColumns TallyColumns(const CardPile& melds, const TableLayout& layout)
{
    MeldColumns columns{};
    ColumnRuns columnOf(layout);
    for (const CardRecord& card : CardsOf(melds))
        AddToTally(columns, card, std::clamp(columnOf(card), 0, ColumnCount - 1), +1);
    return columns;
}

std::int32_t Referee::FirstMeldMinimum(std::int32_t score)
{
    if (score < 0)
        return 15;
    if (score < 1500)
        return 50;
    if (score < 3000)
        return 90;
    return 120;
}

int Referee::CanastaCount(const MeldColumns& columns)
{
    int canastas = 0;
    for (int column = 0; column < ColumnCount; ++column)
        canastas += IsCanasta(column, columns[column]);
    return canastas;
}

bool Referee::PileFrozen(const CardPile& discardPile, const MeldSummary& melds) const
{
    if (initialBlockInForce_)
        return true;
    for (const CardRecord& card : CardsOf(discardPile))
        if (Wild(card) || RedThreeByFace[card.Id] != 0)
            return true;
    return rules_.InitialBlock && rules_.InitialBlockForBoth && melds.CompleteValue == 0;
}

const Referee::MeldSummary& Referee::SummaryOf(Side side, const CardPile& melds, const TableLayout& layout)
{
    const CountedMelds& counted = counted_[Index(side)];
    if (counted.Valid && counted.ColumnPitch == layout.ColumnPitch && SameBytes(CardsOf(counted.Now().Melds), CardsOf(melds)))
        return counted.Now().Summary;
    return Recount(side, melds, layout);
}

const Referee::MeldSummary& Referee::Recount(Side side, const CardPile& melds, const TableLayout& layout)
{
    CountedMelds& counted = counted_[Index(side)];
    const CountedMelds::Count& last = counted.Now();
    CountedMelds::Count& next = counted.Counts[1 - counted.Latest];
    const bool sameLayout = counted.Valid && counted.ColumnPitch == layout.ColumnPitch;
    meldCardsMoved_.Known = false;
    if (melds.Count == 0) {
        // A new hand: nothing laid out yet, nothing to judge.
        next.Summary = MeldSummary{};
    } else if (!sameLayout || last.Melds.Count == 0 || 2 * melds.Count < last.Melds.Count) {
        // Melds all laid this turn, laid out anew, or of a new hand (fewer than
        // half the cards counted last) are counted afresh rather than card by card.
        next.Summary.Columns = TallyColumns(melds, layout);
        Summarise(next.Summary);
    } else {
        next.Summary = last.Summary;
        MovedMeldCards& moved = meldCardsMoved_;
        moved.TakenAway = 0;
        moved.Count = 0;
        const std::uint32_t changedColumns = UpdateTally(
            next.Summary.Columns, CardsOf(last.Melds), CardsOf(melds), layout,
            [&moved](const CardRecord& card, int column, int sign) {
                const int key = CardKey(card);
                moved.TakenAway += sign < 0 ? 1 : 0;
                // Every card of both piles passes here at most once: the list has room for them all.
                moved.Cards[moved.Count++] = {card.Id, static_cast<std::uint8_t>(key),
                                              static_cast<std::uint8_t>(column), static_cast<std::int8_t>(sign)};
            });
        moved.Known = true;
        Resummarise(next.Summary, last.Summary.Columns, changedColumns);
    }
    CopyCards(next.Melds, melds);
    counted.Latest = 1 - counted.Latest;
    counted.ColumnPitch = layout.ColumnPitch;
    counted.Valid = true;
    ++counted.Version;
    return next.Summary;
}

MeldColumns Referee::ColumnsOf(Side side, const CardPile& melds, const TableLayout& layout) const
{
    const CountedMelds& counted = counted_[Index(side)];
    if (counted.Valid && counted.ColumnPitch == layout.ColumnPitch && SameBytes(CardsOf(counted.Now().Melds), CardsOf(melds)))
        return counted.Now().Summary.Columns;
    return TallyColumns(melds, layout);
}

void Referee::Summarise(MeldSummary& summary) const
{
    summary.CompleteValue = 0;
    summary.Canastas = 0;
    summary.UnsoundColumns = 0;
    // An empty column adds nothing and has nothing to find fault with.
    std::uint32_t laidOut = 0;
    for (int column = 0; column < ColumnCount; ++column)
        laidOut |= summary.Columns[column].Size != 0 ? 1u << column : 0;
    Resummarise(summary, MeldColumns{}, laidOut);
}

void Referee::Resummarise(MeldSummary& summary, const MeldColumns& previous, std::uint32_t changed) const
{
    // What a column adds to the value and the canastas is taken out as it was
    // and put back as it is; the columns left alone keep their share.
    for (; changed != 0; changed &= changed - 1) {
        const int column = std::countr_zero(changed);
        const ColumnTally& was = previous[column];
        const ColumnTally& is = summary.Columns[column];
        summary.CompleteValue += CompleteColumnValue(is) - CompleteColumnValue(was);
        summary.Canastas += static_cast<int>(IsCanasta(column, is)) - static_cast<int>(IsCanasta(column, was));
        const bool blackThreesLaid = column == ThreesColumn && is.BlackThrees > 0;
        const auto bit = static_cast<std::uint16_t>(1u << column);
        summary.UnsoundColumns = blackThreesLaid || !ColumnSound(column, is) ? summary.UnsoundColumns | bit
                                                                              : summary.UnsoundColumns & ~bit;
    }
}

void Referee::BeginHand(std::int32_t humanScore, std::int32_t computerScore, bool initialBlock)
{
    minimum_ = {FirstMeldMinimum(humanScore), FirstMeldMinimum(computerScore)};
    carried_ = {};
    meldedBefore_ = {false, false};
    initialBlockInForce_ = initialBlock;
    turnOpen_ = false;
}

void Referee::BeginTurn(const CanastaGame& game, Side side)
{
    const Side other = Opponent(side);
    const bool carry = carried_.Valid && carried_.NextSide == side;
    const CardPile& hand = game.SeatOf(side).Hand;
    if (!(carry && carried_.Hand && hand.Count == carried_.HandCount))
        CopyCards(before_.HandOf(side), hand);
    CopyCards(before_.HandOf(other), game.SeatOf(other).Hand);
    // The cards the last turn left in the stock lie in the copy as they lay.
    if (carry && carried_.Stock && game.Stock.Count == carried_.StockCount)
        before_.Stock.Count = game.Stock.Count;
    else
        CopyCards(before_.Stock, game.Stock);
    CopyCards(before_.DiscardPile, game.DiscardPile);
    before_.Layout = game.Layout;
    // The other side's melds as its own turn left them were counted at its end.
    const CardPile& otherMelds = game.SeatOf(other).Melds;
    otherMeldsCounted_ = carry && counted_[Index(other)].Now().Melds.Count == otherMelds.Count;
    if (!otherMeldsCounted_)
        CopyCards(before_.OtherMelds, otherMelds);
    const CountedMelds& counted = counted_[Index(side)];
    const bool meldsCarried = carry && carried_.Melds && counted.Valid &&
                              counted.ColumnPitch == game.Layout.ColumnPitch &&
                              game.SeatOf(side).Melds.Count == carried_.MeldsCount;
    carried_ = {};
    side_ = side;
    turnOpen_ = true;
    alikeAfterTurn_ = {};
    meldsChanged_ = false;
    // The melds as the side's previous turn left them decide a concealed going out.
    valueBefore_ =
        (meldsCarried ? counted.Now().Summary : SummaryOf(side, game.SeatOf(side).Melds, game.Layout)).CompleteValue;
    meldedBefore_[Index(side)] = valueBefore_ > 0;
}

std::vector<std::string> Referee::JudgeTurn(const CanastaGame& game)
{
    turnOpen_ = false;
    alikeAfterTurn_ = {};
    std::vector<std::string> breaks;
    // The table as the turn left it is the game itself: it stays as it is while it is judged.
    const CanastaGame& after = game;
    const Side other = Opponent(side_);
    // The summary counted as the turn began (the melds counted last) stands for
    // melds the turn left alone.
    const bool meldsKept =
        SameBytes(CardsOf(counted_[Index(side_)].Now().Melds), CardsOf(after.SeatOf(side_).Melds));
    alikeAfterTurn_.Melds = meldsKept;
    if (!meldsKept || before_.Layout.ColumnPitch != after.Layout.ColumnPitch) {
        meldsChanged_ = true;
        Recount(side_, after.SeatOf(side_).Melds, after.Layout);
        if (!meldsKept && meldCardsMoved_.Known) {
            alikeAfterTurn_.MeldCardsMovedKnown = true;
            alikeAfterTurn_.MeldCardsMoved = {meldCardsMoved_.Cards.data(), static_cast<std::size_t>(meldCardsMoved_.Count)};
        }
    }

    const std::span<const CardRecord> otherHandBefore = CardsOf(before_.HandOf(other));
    const std::span<const CardRecord> otherHandAfter = CardsOf(after.SeatOf(other).Hand);
    const bool otherHandAlike = SameBytes(otherHandBefore, otherHandAfter);
    const std::span<const CardRecord> otherMeldsBefore = CardsOf(OtherMeldsBefore());
    const std::span<const CardRecord> otherMeldsAfter = CardsOf(after.SeatOf(other).Melds);
    // Alike with the count kept for the other side: its turn, next, begins from that count.
    const bool otherMeldsAlike = otherMeldsCounted_ && SameBytes(otherMeldsBefore, otherMeldsAfter);
    if (!(otherHandAlike || SameCards(otherHandBefore, otherHandAfter)) ||
        !(otherMeldsAlike || SameCards(otherMeldsBefore, otherMeldsAfter)))
        breaks.push_back("the cards of " + SideName(other) + " changed during " + SideName(side_) + "'s turn");

    // The draw from the stock.
    // The stock is drawn from the top: what is left of it is normally what lay
    // below (face and deck alike, card by card), and the cards above are what
    // was drawn. Otherwise the cards are counted.
    const std::span<const CardRecord> stockBefore = CardsOf(before_.Stock);
    const std::span<const CardRecord> stockAfter = CardsOf(after.Stock);
    Draw drawn;
    const bool stockBelowAlike =
        stockAfter.size() <= stockBefore.size() && SameBytes(stockAfter, stockBefore.first(stockAfter.size()));
    carried_ = {true,
                other,
                otherHandAlike,
                after.SeatOf(other).Hand.Count,
                stockBelowAlike,
                after.Stock.Count,
                otherMeldsAlike,
                after.SeatOf(other).Melds.Count};
    if (stockBelowAlike ||
        (stockAfter.size() <= stockBefore.size() && SameKeys(stockAfter, stockBefore.first(stockAfter.size())))) {
        drawn.FromTop = stockBefore.subspan(stockAfter.size());
        drawn.Cards = static_cast<int>(drawn.FromTop.size());
        // A card of neither deck has no face and is no red three.
        for (const CardRecord& card : drawn.FromTop)
            drawn.RedThrees += card.Deck <= 1 ? RedThreeByFace[card.Id] : 0;
    } else {
        drawn.Counted = true;
        const CardCounts countsBefore = CountsOf(stockBefore);
        const CardCounts countsAfter = CountsOf(stockAfter);
        for (int key = 0; key < KeyCount; ++key) {
            if (countsBefore[key] < countsAfter[key]) {
                breaks.push_back("cards went back onto the stock");
                return breaks;
            }
            drawn.Counts[key] = static_cast<std::uint8_t>(countsBefore[key] - countsAfter[key]);
            drawn.Cards += drawn.Counts[key];
        }
        for (const int key : RedThreeKeys())
            drawn.RedThrees += drawn.Counts[key];
    }

    // The discard pile: untouched, taken whole, or (from an exhausted stock) its
    // top card taken alone. A pile of two cards that ends as its lower card reads
    // either as the top card taken alone or as the whole pile taken and the lower
    // card discarded again: the side is given the reading that keeps the rules.
    const std::span<const CardRecord> before = CardsOf(before_.DiscardPile);
    const std::span<const CardRecord> now = CardsOf(after.DiscardPile);
    const auto startsWith = [&now, &before](std::size_t count) {
        return now.size() >= count && SameBytes(before.first(count), now.first(count));
    };
    // The readings, in this order: nothing taken, the top card taken alone,
    // the whole pile taken (when the pile is left as its lower card or empty
    // and no reading but the top card alone explains it otherwise).
    const bool nothingTaken = startsWith(before.size());
    alikeAfterTurn_.DiscardPileBelow = nothingTaken;
    const bool topCardTaken = before.size() >= 2 && stockBefore.empty() && startsWith(before.size() - 1);
    const bool wholePileTaken = !before.empty() && now.size() <= 1 && (topCardTaken || !nothingTaken);
    if (!nothingTaken && !topCardTaken && !wholePileTaken) {
        breaks.push_back("the discard pile went from " + Plural(static_cast<int>(before.size()), "card") + " to " +
                         Plural(static_cast<int>(now.size()), "card") + " in a way no take and discard explain");
        return breaks;
    }
    const auto minimum = minimum_;
    const bool initialBlock = initialBlockInForce_;
    std::vector<std::string> best;
    bool judged = false;
    // Judges one reading, unless one judged before it found nothing wrong.
    const auto consider = [&](Take kind, std::span<const CardRecord> taken, std::span<const CardRecord> discards) {
        if (judged && best.empty())
            return;
        minimum_ = minimum;
        initialBlockInForce_ = initialBlock;
        std::vector<std::string> found = JudgeReading(after, {kind, taken, discards}, drawn, meldsKept);
        if (!judged || found.size() < best.size())
            best = std::move(found);
        judged = true;
    };
    if (nothingTaken)
        consider(Take::None, {}, now.subspan(before.size()));
    if (topCardTaken)
        consider(Take::TopCard, before.last(1), now.subspan(before.size() - 1));
    if (wholePileTaken)
        consider(Take::Whole, before, now);
    breaks.insert(breaks.end(), best.begin(), best.end());
    return breaks;
}

std::vector<std::string> Referee::JudgeReading(const CanastaGame& after, const Reading& reading, const Draw& drawn,
                                               bool meldsKept)
{
    std::vector<std::string> breaks;
    const CardPile& handBefore = before_.HandOf(side_);
    const CardPile& meldsBefore = MeldsAtTurnStart();
    const Seat& is = after.SeatOf(side_);
    const int handAfter = is.Hand.Count;
    const Take take = reading.Kind;
    const std::span<const CardRecord> taken = reading.Taken;
    const std::span<const CardRecord> discards = reading.Discards;
    const int drawnCards = drawn.Cards;
    const int drawnRedThrees = drawn.RedThrees;
    if (discards.size() > 1)
        breaks.push_back("discarded " + std::to_string(discards.size()) + " cards");

    if (take != Take::None && drawnCards > 0)
        breaks.push_back("drew " + Plural(drawnCards, "card") + " from the stock and took the discard pile as well");
    if (take == Take::None && before_.Stock.Count > 0) {
        const int needed = rules_.NumberOfCards;
        const int counted = rules_.DrawExtra ? drawnCards - drawnRedThrees : drawnCards;
        const bool stockRanOut = after.Stock.Count == 0;
        if (stockRanOut ? (drawnCards == 0 || counted > needed) : counted != needed)
            breaks.push_back("drew " + Plural(drawnCards, "card") + " from the stock (" +
                             Plural(drawnRedThrees, "red three") + ") where the rules ask for " +
                             std::to_string(needed) + (rules_.DrawExtra ? " besides red threes" : ""));
    }

    // Every card the side ends with came from its hand, its melds, the stock or
    // the pile. Cards that stayed where they were count alike on both sides of
    // that balance and are left out of it: what the side had is counted in,
    // what it has is counted out.
    CardBalance balance{};
    // The red threes the side ends with in its hand are counted on the same walk.
    int redThreesKept = 0;
    BalanceUnmatched(CardsOf(handBefore), CardsOf(is.Hand), balance,
                     [&redThreesKept](const CardRecord& card) { redThreesKept += RedThreeByFace[card.Id]; });
    if (drawn.Counted)
        CountInEach(balance, drawn.Counts);
    else
        CountIn(balance, drawn.FromTop);
    CountIn(balance, taken);
    CountOut(balance, discards);
    // The melds' moved cards were mostly set apart already, when their tally was
    // brought up to date as the turn was judged; a count made afresh leaves them to a walk.
    int meldCardsLost = 0;
    if (!meldsKept && meldCardsMoved_.Known) {
        // A card taken away from the melds is counted in, one added counted out.
        for (int i = 0; i < meldCardsMoved_.Count; ++i) {
            const MovedMeldCard& card = meldCardsMoved_.Cards[i];
            balance[card.Key] = static_cast<std::int8_t>(balance[card.Key] - card.Sign);
        }
        meldCardsLost = meldCardsMoved_.TakenAway;
    } else if (!meldsKept) {
        meldCardsLost = BalanceUnmatched(CardsOf(meldsBefore), CardsOf(is.Melds), balance);
    }
    if (!Even(balance))
        breaks.push_back("the cards " + SideName(side_) + " ends with are not the cards it held, drew and took");

    // A card the melds held more often before the turn than after was taken
    // back from them. Melds nearly always only grow, so this is counted apart
    // only when some card of the melds before went unmatched.
    if (meldCardsLost > 0) {
        CardCounts lostFromMelds{};
        CardCounts gainedByMelds{};
        // The keys lost, each once: only those can have been taken back.
        std::array<std::uint8_t, DeckSize> lostKeys;
        int lostKeyCount = 0;
        ForEachUnmatched(
            CardsOf(meldsBefore), CardsOf(is.Melds),
            [&](int key) {
                if (lostFromMelds[key]++ == 0)
                    lostKeys[lostKeyCount++] = static_cast<std::uint8_t>(key);
            },
            [&gainedByMelds](int key) { ++gainedByMelds[key]; });
        for (int i = 0; i < lostKeyCount; ++i) {
            const int key = lostKeys[i];
            if (lostFromMelds[key] <= gainedByMelds[key])
                continue;
            const bool blockingThree = rules_.ThreeBlock && IsRedThree(IdOfKey(key)) && discards.size() == 1 &&
                                       CardKey(discards.front()) == key;
            if (!blockingThree)
                breaks.push_back("took a card back from its melds");
        }
    }

    const MeldSummary& meldsAfter = MeldsAfter();
    const int canastas = meldsAfter.Canastas;
    if (discards.size() == 1 && IsRedThree(discards.front().Id) && !rules_.ThreeBlock)
        breaks.push_back("discarded a red three");
    if (discards.empty() && handAfter > 0) {
        const bool passing = handAfter == 1 && canastas < rules_.NumberOfCanastas;
        const bool stockOut = take == Take::None && before_.Stock.Count == 0;
        if (!passing && !stockOut)
            breaks.push_back("ended the turn without a discard, holding " + Plural(handAfter, "card") + " (stock " +
                             std::to_string(before_.Stock.Count) + " to " + std::to_string(after.Stock.Count) +
                             ", discard pile " + std::to_string(before_.DiscardPile.Count) + " to " +
                             std::to_string(after.DiscardPile.Count) + ")");
    }
    if (handAfter == 0 && canastas < rules_.NumberOfCanastas)
        breaks.push_back("emptied its hand with " + Plural(canastas, "canasta") + "; going out takes " +
                         std::to_string(rules_.NumberOfCanastas));

    if (take != Take::None)
        JudgeTake(after, take == Take::TopCard, meldsKept, breaks);
    if (redThreesKept > 0)
        breaks.push_back("kept a red three in its hand");
    if (!meldsAfter.ColumnsSound())
        JudgeColumns(meldsAfter.Columns, handAfter, breaks);

    const std::int32_t valueBefore = valueBefore_;
    const std::int32_t valueAfter = meldsAfter.CompleteValue;
    if (valueBefore == 0 && valueAfter > 0 && handAfter > 0 && valueAfter < minimum_[Index(side_)] &&
        !(rules_.BonusCounts && canastas > 0))
        breaks.push_back("first meld worth " + std::to_string(valueAfter) + " points, the minimum is " +
                         std::to_string(minimum_[Index(side_)]));
    return breaks;
}

void Referee::JudgeTake(const CanastaGame& after, bool forced, bool meldsKept, std::vector<std::string>& breaks)
{
    const CardPile& meldsAtStart = MeldsAtTurnStart();
    const Seat& is = after.SeatOf(side_);
    const std::span<const CardRecord> pileBefore = CardsOf(before_.DiscardPile);
    const std::span<const CardRecord> handBefore = CardsOf(before_.HandOf(side_));
    const CardRecord top = pileBefore.back();
    const int rank = top.Rank;
    const auto topName = [&top] { return CardLabel(top); };
    if (rank < Four) {
        breaks.push_back("took the pile with " + topName() + " on top");
        return;
    }
    const RankAndWildCount handCount = CountRankAndWild(handBefore, rank);
    const int inHand = handCount.OfRank;
    const MeldSummary& meldsBefore = MeldsBefore();
    const MeldColumns& columnsBefore = meldsBefore.Columns;
    const MeldSummary& meldsAfter = MeldsAfter();
    const int inColumn = columnsBefore[rank].Size;
    const int wildInHand = handCount.Wild;
    const bool oneAgainstOne = pileBefore.size() == 1 && handBefore.size() == 1;
    const bool fullCanasta = inColumn >= CanastaSize && !rules_.AddToCanasta;
    const int canastasBefore = meldsBefore.Canastas;
    const auto topCardMelded = [&] {
        // With the columns where they were, melds left as they were gained no
        // copy, and the cards the count of the melds found moved tell the gain.
        if (before_.Layout.ColumnPitch == after.Layout.ColumnPitch) {
            if (meldsKept)
                return false;
            if (meldCardsMoved_.Known)
                return CopiesMovedIntoColumn(rank, top) > 0;
        }
        return CopiesInColumn(is.Melds, after.Layout, rank, top) > CopiesInColumn(meldsAtStart, before_.Layout, rank, top);
    };
    if (oneAgainstOne)
        breaks.push_back("took a pile of one card holding one card");

    if (forced) {
        const bool frozenByDiscard = initialBlockInForce_ ||
                                     std::any_of(pileBefore.begin(), pileBefore.end(),
                                                 [](const CardRecord& c) { return Wild(c) || IsRedThree(c.Id); });
        const bool fits = (inColumn >= 3 && inColumn < CanastaSize) ||
                          (rules_.AddToCanasta && inColumn >= CanastaSize && inColumn <= CanastaSize + 1);
        if (frozenByDiscard || !fits)
            breaks.push_back("took " + topName() + " alone from a frozen pile or onto a column of " +
                             Plural(inColumn, "card"));
        if (!topCardMelded())
            breaks.push_back("took " + topName() + " alone and did not meld it");
        return;
    }

    const bool frozen = PileFrozen(before_.DiscardPile, meldsBefore);
    const bool naturalPair = inHand >= 2 && !fullCanasta;
    const bool existingMeld = !frozen && !(rules_.NaturalPair && rules_.AddExistingMeld) && inColumn >= 3 && !fullCanasta;
    const bool naturalAndWild = inHand == 1 && wildInHand >= 1 && !frozen && !rules_.NaturalPair && inColumn <= 2;
    if (!naturalPair && !existingMeld && !naturalAndWild)
        breaks.push_back("took the " + std::string(frozen ? "frozen" : "open") + " pile topped by " + topName() +
                         " holding " + Plural(inHand, "such card") + " and " + Plural(wildInHand, "wild card") +
                         ", with " + Plural(inColumn, "card") + " in its meld");
    const int cardsNeeded = canastasBefore < rules_.NumberOfCanastas ? 3 : 0;
    if (inColumn == 0 && static_cast<int>(handBefore.size() + pileBefore.size()) <= cardsNeeded)
        breaks.push_back("started a meld with the pile while holding too few cards to go on");
    if (!topCardMelded())
        breaks.push_back("took the pile and did not meld " + topName());

    initialBlockInForce_ = false;
    const bool takenAtOnce = !frozen && inColumn > 0 && !(rules_.NaturalPair && rules_.AddExistingMeld);
    if (takenAtOnce)
        return;
    if (!rules_.TopCardCounts)
        minimum_[Index(side_)] += ValueOf(top);
    if (meldsAfter.Columns[rank].Size < inColumn + 3)
        breaks.push_back("took the pile and melded " + topName() + " with fewer than two cards from the hand");
    if ((frozen || rules_.NaturalPair) && meldsAfter.Columns[rank].OfColumnRank < columnsBefore[rank].OfColumnRank + 3)
        breaks.push_back("took the pile and melded " + topName() + " without a natural pair");
    const std::int32_t value = meldsAfter.CompleteValue;
    if (value < minimum_[Index(side_)] && !(rules_.BonusCounts && meldsAfter.Canastas > 0))
        breaks.push_back("took the pile with melds worth " + std::to_string(value) + " points, the minimum is " +
                         std::to_string(minimum_[Index(side_)]));
}

int Referee::CopiesMovedIntoColumn(int column, const CardRecord& like) const
{
    const int key = CardKey(like);
    int copies = 0;
    for (int i = 0; i < meldCardsMoved_.Count; ++i) {
        const MovedMeldCard& card = meldCardsMoved_.Cards[i];
        if (card.Key == key && card.Column == column)
            copies += card.Sign;
    }
    return copies;
}

void Referee::JudgeColumns(const MeldColumns& columns, int handCount, std::vector<std::string>& breaks) const
{
    for (int column = 0; column < ColumnCount; ++column)
        JudgeColumn(column, columns[column], handCount, breaks);
}

template <typename Report>
void Referee::ForEachColumnFault(int column, const ColumnTally& cards, int handCount, Report&& report) const
{
    if (column == 0) {
        if (cards.Size > 0)
            report([] { return std::string("laid cards left of the meld columns"); });
        return;
    }
    if (column == WildColumn) {
        if (cards.Size == 0)
            return;
        if (!rules_.WildcardCanasta)
            report([] { return std::string("melded wild cards on their own, which the rules do not allow"); });
        if (cards.Naturals > 0)
            report([] { return std::string("laid a natural card in the wild-card meld"); });
        if (cards.Size < CanastaSize)
            report([&cards] { return "left a wild-card meld of " + Plural(cards.Size, "card"); });
        return;
    }
    if (column == ThreesColumn) {
        const int blackThrees = cards.BlackThrees;
        // Every card of the threes column that is a three counts as of its rank.
        if (cards.OfColumnRank < cards.Size)
            report([] { return std::string("laid a card that is not a three among the threes"); });
        if (blackThrees > 0 && (handCount > 0 || blackThrees < 3))
            report([blackThrees, handCount] {
                return "melded " + Plural(blackThrees, "black three") + (handCount == 0 ? "" : " while holding cards");
            });
        return;
    }
    if (cards.Size == 0)
        return;
    if (cards.Size < 3)
        report([&cards, column] {
            return "left a meld of " + Plural(cards.Size, "card") + " in column " + std::to_string(column);
        });
    // A natural whose rank is not the column's lies in the wrong column.
    if (cards.Naturals > cards.OfColumnRank)
        report([column] { return "mixed ranks in column " + std::to_string(column); });
    if (cards.Naturals < cards.Size - cards.Naturals)
        report([column] { return "melded more wild cards than natural ones in column " + std::to_string(column); });
}

void Referee::JudgeColumn(int column, const ColumnTally& cards, int handCount, std::vector<std::string>& breaks) const
{
    ForEachColumnFault(column, cards, handCount, [&breaks](const auto& wording) { breaks.push_back(wording()); });
}

bool Referee::ColumnSound(int column, const ColumnTally& cards) const
{
    bool sound = true;
    ForEachColumnFault(column, cards, 0, [&sound](const auto&) { sound = false; });
    return sound;
}

std::vector<std::string> Referee::JudgeHandScore(const CanastaGame& game, const HandScore& score) const
{
    std::vector<std::string> disagreements;
    int wentOut = -1;
    if (game.Human().Hand.Count == 0)
        wentOut = 0;
    else if (game.Computer().Hand.Count == 0)
        wentOut = 1;
    for (const Side side : {Side::Human, Side::Computer}) {
        const int index = Index(side);
        const std::span<const CardRecord> hand = CardsOf(game.SeatOf(side).Hand);
        const std::span<const CardRecord> melds = CardsOf(game.SeatOf(side).Melds);
        const MeldColumns columns = ColumnsOf(side, game.SeatOf(side).Melds, game.Layout);
        const SideScore& given = side == Side::Human ? score.Human : score.Computer;
        const int canastas = CanastaCount(columns);
        const int redOnTable = RedThrees(melds);
        const bool penalised = (rules_.CanastaRequired && canastas < rules_.NumberOfCanastas) ||
                               (wentOut != index && static_cast<int>(melds.size()) == redOnTable);
        std::array<ScoreLine, ScoreRowCount> rows{};
        // Every meld card lies in one column, and a column's tally of the cards
        // holds what they are worth, red threes counting nothing.
        std::int32_t tableValue = 0;
        for (const ColumnTally& cards : columns)
            tableValue += cards.Value;
        rows[RowTable].Number = static_cast<int>(melds.size()) - redOnTable;
        rows[RowTable].Value = penalised ? -tableValue : tableValue;
        int redInHand = 0;
        for (const CardRecord& card : hand) {
            if (IsRedThree(card.Id)) {
                ++redInHand;
                continue;
            }
            ++rows[RowHand].Number;
            rows[RowHand].Value -= ValueOf(card);
        }
        if (!penalised) {
            for (int column = WildColumn; column < ColumnCount; ++column) {
                const ColumnTally& cards = columns[column];
                if (column == ThreesColumn || cards.Size < CanastaSize || (column != WildColumn && cards.Naturals < 4))
                    continue;
                ++rows[RowCanastas].Number;
                rows[RowCanastas].Value += column == WildColumn ? 1000 : cards.Naturals == cards.Size ? 500 : 300;
            }
        }
        rows[RowRedThrees].Number = redOnTable + redInHand;
        rows[RowRedThrees].Value = redOnTable * (penalised ? -100 : 100) - 500 * redInHand;
        if (wentOut == index)
            rows[RowFinish].Value = meldedBefore_[index] ? 100 : 200;
        for (int row = RowTable; row < RowTotal; ++row)
            rows[RowTotal].Value += rows[row].Value;

        for (int row = RowTable; row < ScoreRowCount; ++row) {
            const bool numberShown = row != RowFinish && row != RowTotal && !(row == RowCanastas && penalised);
            const ScoreLine& mine = rows[row];
            const ScoreLine& theirs = given.Rows[row];
            if (mine.Value != theirs.Value || (numberShown && mine.Number != theirs.Number))
                disagreements.push_back(SideName(side) + ", " + RowName(row) + ": the game scored " +
                                        std::to_string(theirs.Number) + " for " + std::to_string(theirs.Value) +
                                        ", the cards give " + std::to_string(mine.Number) + " for " +
                                        std::to_string(mine.Value));
        }
    }
    return disagreements;
}

}  // namespace meldora::sim
