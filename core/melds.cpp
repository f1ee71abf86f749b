// Melding from the human's hand, canasta recognition for both sides, the
// check of the human's table and the minimum for the initial meld.
#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "core/column_runs.h"
#include "core/game.h"
#include "core/table_host.h"

namespace meldora {

namespace {

constexpr int WildcardColumn = 1;
constexpr int ThreesColumn = 2;
constexpr int FirstNaturalColumn = 3;
constexpr int LastColumn = ColumnCount - 1;
constexpr int CanastaSize = 7;

// Room above and below a meld column for the canasta label painted next to it.
constexpr int LabelRoom = 60;

void requireMeldColumn(int column)
{
    if (column < WildcardColumn || column > LastColumn)
        throw std::out_of_range("meld column outside the table");
}

int countWildInHand(const CanastaGame& game)
{
    int wild = 0;
    for (int i = 0; i < game.Human().Hand.Count; ++i)
        if (IsWild(game.Human().Hand.Cards[i].Rank))
            ++wild;
    return wild;
}

int countBlackThreesInColumn(const CanastaGame& game, int column)
{
    int n = 0;
    for (int i = 0; i < game.Human().Melds.Count; ++i) {
        const CardRecord& c = game.Human().Melds.Cards[i];
        if (game.ColumnOf(c) == column && IsBlackThree(c.Id))
            ++n;
    }
    return n;
}

bool enoughCanastas(const CanastaGame& game)
{
    return game.Human().Canastas.Count >= game.Rules.NumberOfCanastas;
}

// True while the human may go on melding in this turn: a forced pass, the end
// of the hand or a new deal during a meld stops a move of several cards.
bool turnGoesOn(const CanastaGame& game)
{
    return (game.Turn.HasDrawn || game.Take.Pending) && !game.Turn.ComputerTurn && game.Turn.Phase != TurnPhase::HandOver;
}

// The area of a meld column, its spread-out cards and its canasta label,
// widened card by card by the column's cards.
class MeldColumnArea {
public:
    MeldColumnArea(const CanastaGame& game, Side side, int column) : layout_(game.Layout), column_(column)
    {
        const int base = side == Side::Human ? layout_.HumanMeldBase : layout_.ComputerMeldBase;
        top_ = side == Side::Human ? base : base - LabelRoom;
        bottom_ = side == Side::Human ? base + layout_.CardHeight + LabelRoom : base;
    }
    void Include(const CardRecord& c)
    {
        top_ = std::min(top_, c.Y);
        bottom_ = std::max(bottom_, c.Y + layout_.CardHeight);
    }
    TableRect Rect() const { return {layout_.ColumnX(column_), top_, layout_.CardWidth, bottom_ - top_}; }

private:
    const TableLayout& layout_;
    int column_;
    int top_;
    int bottom_;
};

TableRect meldColumnRect(const CanastaGame& game, Side side, int column)
{
    const CardPile& pile = game.SeatOf(side).Melds;
    MeldColumnArea area(game, side, column);
    const ColumnSpan span(game.Layout, column);
    for (int i = 0; i < pile.Count; ++i)
        if (span.Holds(pile.Cards[i]))
            area.Include(pile.Cards[i]);
    return area.Rect();
}

TableRect handColumnRect(const CanastaGame& game, int rank)
{
    const TableLayout& l = game.Layout;
    return {l.ColumnX(rank), l.HumanHandBase, l.CardWidth, std::max(0, l.TableHeight - l.HumanHandBase)};
}

// Moves one card from the hand into a meld column and runs everything that
// follows a meld: partner, undo, flight, canasta, pending take, end of hand or
// forced pass. Wild cards go to the given column, all other cards to the
// column of their rank.
void meldFromHand(CanastaGame& game, int handIndex, int column)
{
    TableHost& host = game.Host();
    const int rank = game.Human().Hand.Cards[handIndex].Rank;
    const bool wild = IsWild(rank);
    if (!wild)
        column = rank;

    CardRecord card = game.TakeFromHand(Side::Human, handIndex);
    const int fromX = card.X;
    const int fromY = card.Y;
    card.FaceUp = true;

    game.PlaceOnMeld(Side::Human, card, column, game.ColumnSize(Side::Human, column));
    AppendCard(game.Human().Melds, card);

    if (wild)
        host.SendMessage("MELDWILDCARD", std::to_string(card.Id) + MessageFieldSeparator + std::to_string(column));
    else
        host.SendMessage("MELD", std::to_string(card.Id));
    RemoveCardById(game.Memory.KnownOpponentCards, card.Id);
    game.PushUndo(card);
    host.MoveCard(card, fromX, fromY, card.X, card.Y);
    host.InvalidateTableRect(handColumnRect(game, rank));
    host.InvalidateTableRect(meldColumnRect(game, Side::Human, column));

    game.CheckCanasta(Side::Human, column);

    if (game.Take.Pending)
        game.CompleteTake();

    if (game.Human().Hand.Count == 0 && !game.Take.TopCardOnTable && game.ValidateMelds(Side::Human))
        game.CheckEndOfHand();
    else
        game.CheckForcedPass();
}

// Melds may start while the human has drawn, or while a take of the pile waits
// for its cards.
bool mayMeld(CanastaGame& game)
{
    if (game.Turn.HasDrawn || game.Take.Pending)
        return true;
    game.ShowInputError(InputError::MeldBeforeDraw);
    return false;
}

void requireHandIndex(const CanastaGame& game, int handIndex)
{
    if (handIndex < 0 || handIndex >= game.Human().Hand.Count)
        throw std::out_of_range("hand index outside the hand");
}

int lastHandCardOfRank(const CanastaGame& game, int rank)
{
    for (int i = game.Human().Hand.Count - 1; i >= 0; --i)
        if (game.Human().Hand.Cards[i].Rank == rank)
            return i;
    return -1;
}

}  // namespace

void CanastaGame::MeldCard(int handIndex)
{
    requireHandIndex(*this, handIndex);
    if (!mayMeld(*this))
        return;
    const CardRecord& chosen = Human().Hand.Cards[handIndex];
    if (IsWild(chosen.Rank))
        return;  // wild cards are laid with AddWildCard or MeldWildcards
    if (IsBlackThree(chosen.Id)) {
        UpdateBlackThreesAllowed();
        if (!Turn.BlackThreesAllowed) {
            ShowInputError(InputError::BlackThreesOnlyGoingOut);
            return;
        }
    }
    const int rank = chosen.Rank;
    meldFromHand(*this, handIndex, rank);
    if (!turnGoesOn(*this))
        return;

    // A pair with no more of its rank in hand is completed with a wild card,
    // unless that wild card is the last card and would strand the hand.
    RecountColumns();
    const int inColumn = rank == ThreesColumn ? countBlackThreesInColumn(*this, ThreesColumn) : Human().MeldCount[rank];
    if (Human().HandCount[rank] != 0 || inColumn != 2)
        return;
    if (Human().Hand.Count < 2 && !enoughCanastas(*this) && !Take.Pending)
        return;
    AddWildCard(rank);
}

void CanastaGame::MeldRank(int handIndex, MeldRankMode mode)
{
    requireHandIndex(*this, handIndex);
    if (!mayMeld(*this))
        return;
    const int rank = Human().Hand.Cards[handIndex].Rank;
    if (IsWild(rank))
        return;

    RecountColumns();
    const int inHand = Human().HandCount[rank];
    // The threes column also holds the red threes, which are no part of a meld.
    const int inColumn = rank == ThreesColumn ? countBlackThreesInColumn(*this, ThreesColumn) : Human().MeldCount[rank];
    int count = mode == MeldRankMode::All ? inHand : 3 - inColumn;
    count = std::min(count, inHand);
    if (count >= Human().Hand.Count && !enoughCanastas(*this))
        count = Human().Hand.Count - 1;

    int index = handIndex;
    for (int i = 0; i < count; ++i) {
        meldFromHand(*this, index, rank);
        if (!turnGoesOn(*this))
            return;
        index = lastHandCardOfRank(*this, rank);
        if (index < 0)
            return;
    }
}

void CanastaGame::AddWildCard(int column)
{
    requireMeldColumn(column);
    if (!mayMeld(*this))
        return;

    int index = -1;
    for (int wanted : {0, 1}) {
        for (int i = 0; i < Human().Hand.Count && index < 0; ++i)
            if (Human().Hand.Cards[i].Rank == wanted)
                index = i;
        if (index >= 0)
            break;
    }
    if (index < 0)
        return;

    // With one card left and a canasta missing, the last wild card may only
    // complete a canasta: anything else would leave an empty hand that cannot go out.
    RecountColumns();
    if (Human().Hand.Count <= 1 && !enoughCanastas(*this) && Human().MeldCount[column] != CanastaSize - 1)
        return;

    meldFromHand(*this, index, column);
}

void CanastaGame::FillCanasta(int column)
{
    requireMeldColumn(column);
    if (!mayMeld(*this))
        return;
    RecountColumns();
    const int inColumn = Human().MeldCount[column];
    if (inColumn < 4 || inColumn >= CanastaSize || inColumn + countWildInHand(*this) < CanastaSize)
        return;
    for (int i = inColumn; i < CanastaSize; ++i) {
        const int before = Human().Hand.Count;
        AddWildCard(column);
        if (Human().Hand.Count == before || !turnGoesOn(*this))
            return;
    }
}

void CanastaGame::MeldWildcards(WildMeldMode mode)
{
    if (!mayMeld(*this))
        return;
    if (!Rules.WildcardCanasta) {
        ShowInputError(InputError::WildcardCanastaNotAllowed);
        return;
    }
    RecountColumns();
    const int inColumn = Human().MeldCount[WildcardColumn];
    if (countWildInHand(*this) + inColumn < CanastaSize) {
        ShowInputError(InputError::TooFewWildcardsForCanasta);
        return;
    }
    int count = 1;
    if (mode == WildMeldMode::UpToThree)
        count = 3 - inColumn;
    else if (mode == WildMeldMode::UpToSeven)
        count = CanastaSize - inColumn;
    for (int i = 0; i < count; ++i) {
        const int before = Human().Hand.Count;
        AddWildCard(WildcardColumn);
        if (Human().Hand.Count == before || !turnGoesOn(*this))
            return;
    }
}

void CanastaGame::CheckCanasta(Side side, int column)
{
    if (column < 0 || column > LastColumn)
        throw std::out_of_range("meld column outside the table");
    if (column == ThreesColumn)
        return;

    const bool human = side == Side::Human;
    CardPile& pile = SeatOf(side).Melds;
    CanastaState& state = SeatOf(side).Canastas;

    const ColumnSpan span(Layout, column);
    // The area to repaint is the column's as it lies before it is squared.
    MeldColumnArea area(*this, side, column);
    // Where the column's cards lie in the pile, so that squaring them up visits them alone.
    std::array<std::uint8_t, DeckSize> inColumn;
    int total = 0;
    int naturals = 0;
    for (int i = 0, count = pile.Count; i < count; ++i) {
        const CardRecord& c = pile.Cards[i];
        if (!span.Holds(c))
            continue;
        area.Include(c);
        inColumn[total++] = static_cast<std::uint8_t>(i);
        if (!IsWild(c.Rank))
            ++naturals;
    }
    // The wild-card rule: a column of naturals never holds more wild cards than naturals.
    if (total < CanastaSize || (column != WildcardColumn && total - naturals > naturals))
        return;

    std::uint8_t kind = MixedCanasta;
    if (column == WildcardColumn)
        kind = WildcardCanasta;
    else if (total == naturals)
        kind = NaturalCanasta;

    if (state.Kind[column] == NoCanasta) {
        // A column that had too many wild cards at its seventh card becomes a
        // canasta as soon as enough naturals join it: whether a column is a
        // canasta never depends on the order its cards were laid in.
        ++state.Count;
        state.Kind[column] = kind;
        if (human)
            Host().PlaySound(kind == MixedCanasta ? SoundEvent::MixedCanasta : SoundEvent::NaturalCanasta);
    } else {
        // A wild card laid on a natural canasta makes it a mixed one.
        state.Kind[column] = kind;
    }

    const int squareY = human ? Layout.HumanMeldBase + StackStep : Layout.ComputerMeldBase - StackStep;
    int lastIndex = -1;
    int lastBlack = -1;
    int lastRed = -1;
    for (int k = 0; k < total; ++k) {
        const int i = inColumn[k];
        CardRecord& c = pile.Cards[i];
        c.Y = squareY;
        lastIndex = i;
        if (!IsWild(c.Rank))
            (IsBlackSuit(c.Id) ? lastBlack : lastRed) = i;
    }
    pile.ColumnEnds[column].Y = squareY;

    if (column >= FirstNaturalColumn) {
        int shown = kind == NaturalCanasta ? lastRed : (lastBlack >= 0 ? lastBlack : lastRed);
        if (shown >= 0 && shown != lastIndex)
            std::swap(pile.Cards[shown], pile.Cards[lastIndex]);
    }

    state.NaturalCount[column] = static_cast<std::uint8_t>(naturals);
    Host().InvalidateTableRect(area.Rect());
}

bool CanastaGame::ValidateMelds(Side side, int handReduction, bool ignorePendingTopCard)
{
    // One pass over the side's melds gives everything the check reads, the
    // column sizes too, which are kept in MeldCount as RecountColumns would.
    Seat& seat = SeatOf(side);
    const bool handEmpty = seat.Hand.Count - handReduction <= 0;

    // One slot past the columns gathers the cards that lie outside them, so
    // that every card is counted without asking whether its column exists.
    constexpr int OutsideColumns = ColumnCount;
    std::array<int, ColumnCount + 1> inColumn{};
    std::array<int, ColumnCount + 1> wild{};
    int meldPoints = 0;
    int blackThrees = 0;
    const CardRecord* cards = seat.Melds.Cards.data();
    const int count = seat.Melds.Count;
    auto slotOf = [this](int x) -> std::size_t {
        const int column = Layout.ColumnOf(x);
        return column >= 0 && column < ColumnCount ? column : OutsideColumns;
    };
    // The cards of a column lie together in the pile and share their x: the
    // column, a division, is worked out again only where the x changes.
    int runX = count > 0 ? cards[0].X : 0;
    std::size_t col = slotOf(runX);
    // Unrolled, the loop's own count and jump are paid once for several cards.
#pragma GCC unroll 4
    for (int i = 0; i < count; ++i) {
        const CardRecord& c = cards[i];
        if (c.X != runX) {
            runX = c.X;
            col = slotOf(runX);
        }
        ++inColumn[col];
        meldPoints += MeldPoints(c);
        // Wild cards and threes, the only ranks below four, are few.
        if (c.Rank <= Three) {
            if (IsWild(c.Rank))
                ++wild[col];
            else if (IsBlackThree(c.Id))
                ++blackThrees;
        }
    }
    std::copy_n(inColumn.begin(), ColumnCount, seat.MeldCount.begin());

    auto failWith = [this](std::string reason) {
        Turn.MeldCheckReason = std::move(reason);
        return false;
    };
    // Only the human's take waits for its top card to be melded.
    if (side == Side::Human && Take.TopCardOnTable && !ignorePendingTopCard)
        return failWith("you have not melded the top card correctly");

    // Both column checks are made in one pass over the local counts (the seat's
    // copy would be read from memory again at every column). A short column is
    // the first verdict; too many wild cards is given later, in its turn among
    // the checks. An empty column holds no wild card and passes both.
    bool tooManyWild = false;
    for (int column = FirstNaturalColumn; column <= LastColumn; ++column) {
        const int size = inColumn[column];
        if (size == 0)
            continue;
        if (size < 3)
            return failWith("every column on the table must contain at least three cards");
        tooManyWild |= 2 * wild[column] > size;
    }

    // A discard that empties the hand without the canastas to go out would
    // leave a side that can never play again.
    if (handReduction > 0 && handEmpty && seat.Canastas.Count < Rules.NumberOfCanastas)
        return failWith(Rules.NumberOfCanastas == 1 ? "you need a canasta before you can go out"
                                                    : "you need " + std::to_string(Rules.NumberOfCanastas) +
                                                          " canastas before you can go out");

    const bool minimumMet = meldPoints >= seat.MinimumMeld || (Rules.BonusCounts && seat.Canastas.Count >= 1) ||
                            meldPoints == 0 || handEmpty;
    if (!minimumMet)
        return failWith("your first meld must be at least " + std::to_string(seat.MinimumMeld) + " points (currently " +
                        std::to_string(meldPoints) + " points)");

    if (tooManyWild)
        return failWith("there are too many wildcards within one column");

    if (handEmpty ? (blackThrees != 0 && blackThrees < 3) : blackThrees != 0)
        return failWith("the Black Threes have not been melded correctly");

    if (inColumn[WildcardColumn] != 0 && inColumn[WildcardColumn] < CanastaSize)
        return failWith("wildcards must be melded as a canasta");

    Turn.MeldCheckReason.clear();
    return true;
}

void CanastaGame::UpdateBlackThreesAllowed()
{
    if (BlackThreesMayBeMelded())
        Turn.BlackThreesAllowed = true;
}

bool CanastaGame::BlackThreesMayBeMelded() const
{
    if (Turn.BlackThreesAllowed)
        return true;
    int threes = 0;
    for (int i = 0; i < Human().Hand.Count; ++i)
        if (Human().Hand.Cards[i].Rank == ThreesColumn)
            ++threes;
    return enoughCanastas(*this) && threes >= 3 && Human().Hand.Count - threes <= 1;
}

}  // namespace meldora
