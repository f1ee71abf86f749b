#include "tools/sim/referee.h"

#include <algorithm>

#include "core/column_runs.h"
#include "tools/sim/invariants.h"

namespace meldora::sim {

namespace {

constexpr int WildColumn = 1;
constexpr int ThreesColumn = 2;
constexpr int CanastaSize = 7;

// A card's face and deck; the two jokers of a deck share one.
constexpr int KeyCount = CardKeyCount;

int KeyOf(const CardRecord& card) { return card.Deck * (JokerId + 1) + card.Id; }
int IdOf(int key) { return key % (JokerId + 1); }

void Add(CardCounts& into, const CardCounts& more)
{
    for (int key = 0; key < KeyCount; ++key)
        into[key] += more[key];
}

bool SameKey(const CardRecord& a, const CardRecord& b) { return a.Id == b.Id && a.Deck == b.Deck; }

// The same cards, in whatever order: most piles a turn leaves alone are
// compared card by card and counted only when they differ.
bool SameCards(std::span<const CardRecord> a, std::span<const CardRecord> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameKey) || CountsOf(a) == CountsOf(b);
}

// The keys of the red threes of both decks.
const std::vector<int>& RedThreeKeys()
{
    static const std::vector<int> keys = [] {
        std::vector<int> found;
        for (int key = 0; key < KeyCount; ++key)
            if (IsRedThree(IdOf(key)))
                found.push_back(key);
        return found;
    }();
    return keys;
}

bool Wild(const CardRecord& card) { return card.Rank == Joker || card.Rank == Two; }

// What a card is worth on the table or against a hand.
std::int32_t ValueOf(const CardRecord& card)
{
    if (IsRedThree(card.Id))
        return 0;
    if (card.Rank == Joker)
        return 50;
    if (card.Rank == Two || card.Rank == Ace)
        return 20;
    if (card.Rank == Three || card.Rank <= Seven)
        return 5;
    return 10;
}

int RedThrees(const std::vector<CardRecord>& cards)
{
    return static_cast<int>(std::count_if(cards.begin(), cards.end(), [](const CardRecord& c) { return IsRedThree(c.Id); }));
}

int Naturals(const std::vector<CardRecord>& cards)
{
    return static_cast<int>(std::count_if(cards.begin(), cards.end(), [](const CardRecord& c) { return !Wild(c); }));
}

std::string Plural(int n, const std::string& what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

const char* RowName(int row)
{
    static const char* const names[] = {"cards on the table", "cards in hand", "canastas", "red threes",
                                        "going-out bonus", "total"};
    return names[row];
}

}  // namespace

CardCounts CountsOf(std::span<const CardRecord> cards)
{
    CardCounts counts{};
    AddCards(counts, cards);
    return counts;
}

void AddCards(CardCounts& into, std::span<const CardRecord> cards)
{
    for (const CardRecord& card : cards)
        ++into[KeyOf(card)];
}

std::string SideName(Side side) { return side == Side::Human ? "the human side" : "the computer side"; }

TableView TableView::Of(const CanastaGame& game)
{
    TableView view;
    view.ReadSide(game, Side::Human, true);
    view.ReadSide(game, Side::Computer, true);
    view.ReadCommonPiles(game);
    return view;
}

void TableView::Read(const CanastaGame& game, Side moving)
{
    ReadSide(game, moving, true);
    ReadSide(game, Opponent(moving), false);
    ReadCommonPiles(game);
}

void TableView::ReadSide(const CanastaGame& game, Side side, bool withColumns)
{
    SideView& seat = Sides[side == Side::Human ? 0 : 1];
    const CardPile& hand = game.SeatOf(side).Hand;
    const CardPile& melds = game.SeatOf(side).Melds;
    seat.Hand.assign(hand.Cards.begin(), hand.Cards.begin() + hand.Count);
    seat.Melds.assign(melds.Cards.begin(), melds.Cards.begin() + melds.Count);
    for (auto& column : seat.Columns)
        column.clear();
    if (!withColumns)
        return;
    ColumnRuns columnOf(game.Layout);
    for (const CardRecord& card : seat.Melds)
        seat.Columns[std::clamp(columnOf(card), 0, ColumnCount - 1)].push_back(card);
}

void TableView::ReadCommonPiles(const CanastaGame& game)
{
    Stock.assign(game.Stock.Cards.begin(), game.Stock.Cards.begin() + game.Stock.Count);
    DiscardPile.assign(game.DiscardPile.Cards.begin(), game.DiscardPile.Cards.begin() + game.DiscardPile.Count);
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

std::int32_t Referee::CompleteMeldValue(const TableView::SideView& side)
{
    std::int32_t value = 0;
    for (const auto& column : side.Columns)
        if (column.size() >= 3)
            for (const CardRecord& card : column)
                value += ValueOf(card);
    return value;
}

int Referee::CanastaCount(const TableView::SideView& side)
{
    int canastas = 0;
    for (int column = WildColumn; column < ColumnCount; ++column) {
        const auto& cards = side.Columns[column];
        if (column != ThreesColumn && static_cast<int>(cards.size()) >= CanastaSize &&
            (column == WildColumn || Naturals(cards) >= 4))
            ++canastas;
    }
    return canastas;
}

bool Referee::PileFrozen(const TableView& table, Side side) const
{
    if (initialBlockInForce_)
        return true;
    for (const CardRecord& card : table.DiscardPile)
        if (Wild(card) || IsRedThree(card.Id))
            return true;
    return rules_.InitialBlock && rules_.InitialBlockForBoth && CompleteMeldValue(table.Of(side)) == 0;
}

void Referee::BeginHand(std::int32_t humanScore, std::int32_t computerScore, bool initialBlock)
{
    minimum_ = {FirstMeldMinimum(humanScore), FirstMeldMinimum(computerScore)};
    meldedBefore_ = {false, false};
    initialBlockInForce_ = initialBlock;
    turnOpen_ = false;
}

void Referee::BeginTurn(const CanastaGame& game, Side side)
{
    before_.Read(game, side);
    side_ = side;
    turnOpen_ = true;
    // The melds as the side's previous turn left them decide a concealed going out.
    valueBefore_ = CompleteMeldValue(before_.Of(side));
    meldedBefore_[Index(side)] = valueBefore_ > 0;
}

std::vector<std::string> Referee::JudgeTurn(const CanastaGame& game)
{
    turnOpen_ = false;
    std::vector<std::string> breaks;
    after_.Read(game, side_);
    const TableView& after = after_;
    const Side other = side_ == Side::Human ? Side::Computer : Side::Human;

    if (!SameCards(before_.Of(other).Hand, after.Of(other).Hand) ||
        !SameCards(before_.Of(other).Melds, after.Of(other).Melds))
        breaks.push_back("the cards of " + SideName(other) + " changed during " + SideName(side_) + "'s turn");

    // The draw from the stock.
    // The stock is drawn from the top: what is left of it is normally what lay
    // below (face and deck alike, card by card), and the cards above are what
    // was drawn. Otherwise the cards are counted.
    const std::vector<CardRecord>& stockBefore = before_.Stock;
    const std::vector<CardRecord>& stockAfter = after.Stock;
    CardCounts drawn{};
    if (stockAfter.size() <= stockBefore.size() &&
        std::equal(stockAfter.begin(), stockAfter.end(), stockBefore.begin(), SameKey)) {
        AddCards(drawn, std::span(stockBefore).subspan(stockAfter.size()));
    } else {
        const CardCounts countsBefore = CountsOf(stockBefore);
        const CardCounts countsAfter = CountsOf(stockAfter);
        for (int key = 0; key < KeyCount; ++key) {
            if (countsBefore[key] < countsAfter[key]) {
                breaks.push_back("cards went back onto the stock");
                return breaks;
            }
            drawn[key] = static_cast<std::uint8_t>(countsBefore[key] - countsAfter[key]);
        }
    }

    // The discard pile: untouched, taken whole, or (from an exhausted stock) its
    // top card taken alone. A pile of two cards that ends as its lower card reads
    // either as the top card taken alone or as the whole pile taken and the lower
    // card discarded again: the side is given the reading that keeps the rules.
    const std::vector<CardRecord>& pileBefore = before_.DiscardPile;
    const std::vector<CardRecord>& pileAfter = after.DiscardPile;
    const auto startsWith = [&pileAfter](const std::vector<CardRecord>& cards, std::size_t count) {
        return pileAfter.size() >= count && std::equal(cards.begin(), cards.begin() + count, pileAfter.begin());
    };
    const std::span<const CardRecord> before(pileBefore);
    const std::span<const CardRecord> now(pileAfter);
    std::array<Reading, 3> readings;
    std::size_t readingCount = 0;
    if (startsWith(pileBefore, pileBefore.size()))
        readings[readingCount++] = {Take::None, {}, now.subspan(before.size())};
    if (pileBefore.size() >= 2 && before_.Stock.empty() && startsWith(pileBefore, pileBefore.size() - 1))
        readings[readingCount++] = {Take::TopCard, before.last(1), now.subspan(before.size() - 1)};
    if (!pileBefore.empty() && pileAfter.size() <= 1 && (readingCount == 0 || readings[readingCount - 1].Kind == Take::TopCard))
        readings[readingCount++] = {Take::Whole, before, now};
    if (readingCount == 0) {
        breaks.push_back("the discard pile went from " + Plural(static_cast<int>(pileBefore.size()), "card") + " to " +
                         Plural(static_cast<int>(pileAfter.size()), "card") + " in a way no take and discard explain");
        return breaks;
    }
    const auto minimum = minimum_;
    const bool initialBlock = initialBlockInForce_;
    std::vector<std::string> best;
    for (std::size_t i = 0; i < readingCount; ++i) {
        minimum_ = minimum;
        initialBlockInForce_ = initialBlock;
        std::vector<std::string> judged = JudgeReading(after, readings[i], drawn);
        if (i == 0 || judged.size() < best.size())
            best = std::move(judged);
        if (best.empty())
            break;
    }
    breaks.insert(breaks.end(), best.begin(), best.end());
    return breaks;
}

std::vector<std::string> Referee::JudgeReading(const TableView& after, const Reading& reading, const CardCounts& drawn)
{
    std::vector<std::string> breaks;
    const TableView::SideView& was = before_.Of(side_);
    const TableView::SideView& is = after.Of(side_);
    const std::vector<CardRecord>& pileBefore = before_.DiscardPile;
    const std::vector<CardRecord>& pileAfter = after.DiscardPile;
    const Take take = reading.Kind;
    const std::span<const CardRecord> taken = reading.Taken;
    const std::span<const CardRecord> discards = reading.Discards;
    int drawnCards = 0;
    int drawnRedThrees = 0;
    for (const std::uint8_t count : drawn)
        drawnCards += count;
    for (const int key : RedThreeKeys())
        drawnRedThrees += drawn[key];
    if (discards.size() > 1)
        breaks.push_back("discarded " + std::to_string(discards.size()) + " cards");

    if (take != Take::None && drawnCards > 0)
        breaks.push_back("drew " + Plural(drawnCards, "card") + " from the stock and took the discard pile as well");
    if (take == Take::None && !before_.Stock.empty()) {
        const int needed = rules_.NumberOfCards;
        const int counted = rules_.DrawExtra ? drawnCards - drawnRedThrees : drawnCards;
        const bool stockRanOut = after.Stock.empty();
        if (stockRanOut ? (drawnCards == 0 || counted > needed) : counted != needed)
            breaks.push_back("drew " + Plural(drawnCards, "card") + " from the stock (" +
                             Plural(drawnRedThrees, "red three") + ") where the rules ask for " +
                             std::to_string(needed) + (rules_.DrawExtra ? " besides red threes" : ""));
    }

    // Every card the side ends with came from its hand, its melds, the stock or the pile.
    const CardCounts meldsBefore = CountsOf(was.Melds);
    const CardCounts meldsAfter = CountsOf(is.Melds);
    CardCounts had = CountsOf(was.Hand);
    Add(had, meldsBefore);
    Add(had, drawn);
    AddCards(had, taken);
    CardCounts has = CountsOf(is.Hand);
    Add(has, meldsAfter);
    AddCards(has, discards);
    if (had != has)
        breaks.push_back("the cards " + SideName(side_) + " ends with are not the cards it held, drew and took");

    // A card the melds held more often before the turn than after was taken back
    // from them: only the cards melded before can have been.
    bool anyTakenBack = false;
    for (const CardRecord& card : was.Melds)
        anyTakenBack |= meldsBefore[KeyOf(card)] > meldsAfter[KeyOf(card)];
    for (int key = 0; anyTakenBack && key < KeyCount; ++key) {
        if (meldsBefore[key] <= meldsAfter[key])
            continue;
        const bool blockingThree = rules_.ThreeBlock && IsRedThree(IdOf(key)) && discards.size() == 1 &&
                                   KeyOf(discards.front()) == key;
        if (!blockingThree)
            breaks.push_back("took a card back from its melds");
    }

    const int canastas = CanastaCount(is);
    if (discards.size() == 1 && IsRedThree(discards.front().Id) && !rules_.ThreeBlock)
        breaks.push_back("discarded a red three");
    if (discards.empty() && !is.Hand.empty()) {
        const bool passing = is.Hand.size() == 1 && canastas < rules_.NumberOfCanastas;
        const bool stockOut = take == Take::None && before_.Stock.empty();
        if (!passing && !stockOut)
            breaks.push_back("ended the turn without a discard, holding " + Plural(static_cast<int>(is.Hand.size()), "card") +
                             " (stock " + std::to_string(before_.Stock.size()) + " to " + std::to_string(after.Stock.size()) +
                             ", discard pile " + std::to_string(pileBefore.size()) + " to " +
                             std::to_string(pileAfter.size()) + ")");
    }
    if (is.Hand.empty() && canastas < rules_.NumberOfCanastas)
        breaks.push_back("emptied its hand with " + Plural(canastas, "canasta") + "; going out takes " +
                         std::to_string(rules_.NumberOfCanastas));

    if (take != Take::None)
        JudgeTake(after, take == Take::TopCard, breaks);
    JudgeMeldsAtTurnEnd(is, breaks);

    const std::int32_t valueBefore = valueBefore_;
    const std::int32_t valueAfter = CompleteMeldValue(is);
    if (valueBefore == 0 && valueAfter > 0 && !is.Hand.empty() && valueAfter < minimum_[Index(side_)] &&
        !(rules_.BonusCounts && canastas > 0))
        breaks.push_back("first meld worth " + std::to_string(valueAfter) + " points, the minimum is " +
                         std::to_string(minimum_[Index(side_)]));
    return breaks;
}

void Referee::JudgeTake(const TableView& after, bool forced, std::vector<std::string>& breaks)
{
    const TableView::SideView& was = before_.Of(side_);
    const TableView::SideView& is = after.Of(side_);
    const CardRecord top = before_.DiscardPile.back();
    const int rank = top.Rank;
    const auto topName = [&top] { return CardLabel(top); };
    if (rank < Four) {
        breaks.push_back("took the pile with " + topName() + " on top");
        return;
    }
    const auto ofRank = [rank](const std::vector<CardRecord>& cards) {
        return static_cast<int>(std::count_if(cards.begin(), cards.end(), [rank](const CardRecord& c) { return c.Rank == rank; }));
    };
    const int inHand = ofRank(was.Hand);
    const int inColumn = static_cast<int>(was.Columns[rank].size());
    const int wildInHand = static_cast<int>(was.Hand.size()) - Naturals(was.Hand);
    const bool oneAgainstOne = before_.DiscardPile.size() == 1 && was.Hand.size() == 1;
    const bool fullCanasta = inColumn >= CanastaSize && !rules_.AddToCanasta;
    const int canastasBefore = CanastaCount(was);
    const auto topCardMelded = [&] { return CountsOf(is.Columns[rank])[KeyOf(top)] > CountsOf(was.Columns[rank])[KeyOf(top)]; };
    if (oneAgainstOne)
        breaks.push_back("took a pile of one card holding one card");

    if (forced) {
        const bool frozenByDiscard = initialBlockInForce_ ||
                                     std::any_of(before_.DiscardPile.begin(), before_.DiscardPile.end(),
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

    const bool frozen = PileFrozen(before_, side_);
    const bool naturalPair = inHand >= 2 && !fullCanasta;
    const bool existingMeld = !frozen && !(rules_.NaturalPair && rules_.AddExistingMeld) && inColumn >= 3 && !fullCanasta;
    const bool naturalAndWild = inHand == 1 && wildInHand >= 1 && !frozen && !rules_.NaturalPair && inColumn <= 2;
    if (!naturalPair && !existingMeld && !naturalAndWild)
        breaks.push_back("took the " + std::string(frozen ? "frozen" : "open") + " pile topped by " + topName() +
                         " holding " + Plural(inHand, "such card") + " and " + Plural(wildInHand, "wild card") +
                         ", with " + Plural(inColumn, "card") + " in its meld");
    const int cardsNeeded = canastasBefore < rules_.NumberOfCanastas ? 3 : 0;
    if (inColumn == 0 && static_cast<int>(was.Hand.size() + before_.DiscardPile.size()) <= cardsNeeded)
        breaks.push_back("started a meld with the pile while holding too few cards to go on");
    if (!topCardMelded())
        breaks.push_back("took the pile and did not meld " + topName());

    initialBlockInForce_ = false;
    const bool takenAtOnce = !frozen && inColumn > 0 && !(rules_.NaturalPair && rules_.AddExistingMeld);
    if (takenAtOnce)
        return;
    if (!rules_.TopCardCounts)
        minimum_[Index(side_)] += ValueOf(top);
    if (static_cast<int>(is.Columns[rank].size()) < inColumn + 3)
        breaks.push_back("took the pile and melded " + topName() + " with fewer than two cards from the hand");
    if ((frozen || rules_.NaturalPair) && ofRank(is.Columns[rank]) < ofRank(was.Columns[rank]) + 3)
        breaks.push_back("took the pile and melded " + topName() + " without a natural pair");
    const std::int32_t value = CompleteMeldValue(is);
    if (value < minimum_[Index(side_)] && !(rules_.BonusCounts && CanastaCount(is) > 0))
        breaks.push_back("took the pile with melds worth " + std::to_string(value) + " points, the minimum is " +
                         std::to_string(minimum_[Index(side_)]));
}

void Referee::JudgeMeldsAtTurnEnd(const TableView::SideView& side, std::vector<std::string>& breaks) const
{
    if (RedThrees(side.Hand) > 0)
        breaks.push_back("kept a red three in its hand");
    if (!side.Columns[0].empty())
        breaks.push_back("laid cards left of the meld columns");
    const auto& wild = side.Columns[WildColumn];
    if (!wild.empty()) {
        if (!rules_.WildcardCanasta)
            breaks.push_back("melded wild cards on their own, which the rules do not allow");
        if (Naturals(wild) > 0)
            breaks.push_back("laid a natural card in the wild-card meld");
        if (static_cast<int>(wild.size()) < CanastaSize)
            breaks.push_back("left a wild-card meld of " + Plural(static_cast<int>(wild.size()), "card"));
    }
    const auto& threes = side.Columns[ThreesColumn];
    const int blackThrees = static_cast<int>(std::count_if(threes.begin(), threes.end(), [](const CardRecord& c) { return IsBlackThree(c.Id); }));
    if (std::any_of(threes.begin(), threes.end(), [](const CardRecord& c) { return c.Rank != Three; }))
        breaks.push_back("laid a card that is not a three among the threes");
    if (blackThrees > 0 && (!side.Hand.empty() || blackThrees < 3))
        breaks.push_back("melded " + Plural(blackThrees, "black three") + (side.Hand.empty() ? "" : " while holding cards"));
    for (int column = Four; column < ColumnCount; ++column) {
        const auto& cards = side.Columns[column];
        if (cards.empty())
            continue;
        if (cards.size() < 3)
            breaks.push_back("left a meld of " + Plural(static_cast<int>(cards.size()), "card") + " in column " +
                             std::to_string(column));
        const int naturals = Naturals(cards);
        if (std::any_of(cards.begin(), cards.end(), [column](const CardRecord& c) { return !Wild(c) && c.Rank != column; }))
            breaks.push_back("mixed ranks in column " + std::to_string(column));
        if (naturals < static_cast<int>(cards.size()) - naturals)
            breaks.push_back("melded more wild cards than natural ones in column " + std::to_string(column));
    }
}

std::vector<std::string> Referee::JudgeHandScore(const CanastaGame& game, const HandScore& score) const
{
    std::vector<std::string> disagreements;
    const TableView table = TableView::Of(game);
    int wentOut = -1;
    if (table.Sides[0].Hand.empty())
        wentOut = 0;
    else if (table.Sides[1].Hand.empty())
        wentOut = 1;
    for (const Side side : {Side::Human, Side::Computer}) {
        const int index = Index(side);
        const TableView::SideView& seat = table.Of(side);
        const SideScore& given = side == Side::Human ? score.Human : score.Computer;
        const int canastas = CanastaCount(seat);
        const int redOnTable = RedThrees(seat.Melds);
        const bool penalised = (rules_.CanastaRequired && canastas < rules_.NumberOfCanastas) ||
                               (wentOut != index && static_cast<int>(seat.Melds.size()) == redOnTable);
        std::array<ScoreLine, ScoreRowCount> rows{};
        for (const CardRecord& card : seat.Melds) {
            if (IsRedThree(card.Id))
                continue;
            ++rows[RowTable].Number;
            rows[RowTable].Value += penalised ? -ValueOf(card) : ValueOf(card);
        }
        int redInHand = 0;
        for (const CardRecord& card : seat.Hand) {
            if (IsRedThree(card.Id)) {
                ++redInHand;
                continue;
            }
            ++rows[RowHand].Number;
            rows[RowHand].Value -= ValueOf(card);
        }
        if (!penalised) {
            for (int column = WildColumn; column < ColumnCount; ++column) {
                const auto& cards = seat.Columns[column];
                if (column == ThreesColumn || static_cast<int>(cards.size()) < CanastaSize ||
                    (column != WildColumn && Naturals(cards) < 4))
                    continue;
                ++rows[RowCanastas].Number;
                rows[RowCanastas].Value += column == WildColumn                           ? 1000
                                           : Naturals(cards) == static_cast<int>(cards.size()) ? 500
                                                                                                : 300;
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
