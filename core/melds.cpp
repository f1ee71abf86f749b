// Melding from the human's hand, canasta recognition for both sides, the
// check of the human's table and the minimum for the initial meld.
#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "core/game.h"
#include "core/table_host.h"

namespace meldora {

namespace {

constexpr int WildcardColumn = 1;
constexpr int ThreesColumn = 2;
constexpr int FirstNaturalColumn = 3;
constexpr int LastColumn = ColumnCount - 1;
constexpr int CanastaSize = 7;
constexpr char FieldSeparator = '\xFE';

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
    for (int i = 0; i < game.HumanHand.Count; ++i)
        if (IsWild(game.HumanHand.Cards[i].Rank))
            ++wild;
    return wild;
}

int countBlackThreesInColumn(const CanastaGame& game, int column)
{
    int n = 0;
    for (int i = 0; i < game.HumanMelds.Count; ++i) {
        const CardRecord& c = game.HumanMelds.Cards[i];
        if (game.ColumnOf(c) == column && IsBlackThree(c.Id))
            ++n;
    }
    return n;
}

bool enoughCanastas(const CanastaGame& game)
{
    return game.HumanCanastas.Count >= game.Rules.NumberOfCanastas;
}

// True while the human may go on melding in this turn: a forced pass, the end
// of the hand or a new deal during a meld stops a move of several cards.
bool turnGoesOn(const CanastaGame& game)
{
    return (game.HasDrawn || game.TakingPile) && !game.ComputerTurn && game.Phase != PhaseHandOver;
}

// The area of a meld column, its spread-out cards and its canasta label.
TableRect meldColumnRect(const CanastaGame& game, Side side, int column)
{
    const CardPile& pile = side == Side::Human ? game.HumanMelds : game.ComputerMelds;
    const TableLayout& l = game.Layout;
    const int base = side == Side::Human ? l.HumanMeldBase : l.ComputerMeldBase;
    int top = side == Side::Human ? base : base - LabelRoom;
    int bottom = side == Side::Human ? base + l.CardHeight + LabelRoom : base;
    for (int i = 0; i < pile.Count; ++i) {
        const CardRecord& c = pile.Cards[i];
        if (game.ColumnOf(c) != column)
            continue;
        top = std::min(top, c.Y);
        bottom = std::max(bottom, c.Y + l.CardHeight);
    }
    return {l.ColumnX(column), top, l.CardWidth, bottom - top};
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
    const int rank = game.HumanHand.Cards[handIndex].Rank;
    const bool wild = IsWild(rank);
    if (!wild)
        column = rank;

    CardRecord card = RemoveCardAt(game.HumanHand, handIndex, +1, false, rank);
    const int fromX = card.X;
    const int fromY = card.Y;
    card.FaceUp = true;

    const bool onCanasta = game.HumanCanastas.Kind[column] != NoCanasta;
    if (wild) {
        ColumnEnd& end = game.HumanMelds.ColumnEnds[column];
        if (!onCanasta)
            end.Y += StackStep;
        card.X = end.X;
        card.Y = end.Y;
    } else {
        PlaceInColumn(game.HumanMelds, true, onCanasta, card);
    }
    AppendCard(game.HumanMelds, card);

    if (wild)
        host.SendMessage("MELDWILDCARD", std::to_string(card.Id) + FieldSeparator + std::to_string(column));
    else
        host.SendMessage("MELD", std::to_string(card.Id));
    RemoveCardById(game.KnownHumanCards, card.Id);
    game.PushUndo(card);
    host.MoveCard(card, fromX, fromY, card.X, card.Y);
    host.InvalidateTableRect(handColumnRect(game, rank));
    host.InvalidateTableRect(meldColumnRect(game, Side::Human, column));

    game.CheckCanasta(Side::Human, column);

    if (game.TakingPile)
        game.CompleteTake();

    if (game.HumanHand.Count == 0 && !game.TopCardOnTable && game.ValidateHumanMelds())
        game.CheckEndOfHand();
    else
        game.CheckForcedPass();
}

// Melds may start while the human has drawn, or while a take of the pile waits
// for its cards.
bool mayMeld(CanastaGame& game)
{
    if (game.HasDrawn || game.TakingPile)
        return true;
    game.ShowInputError(1);
    return false;
}

void requireHandIndex(const CanastaGame& game, int handIndex)
{
    if (handIndex < 0 || handIndex >= game.HumanHand.Count)
        throw std::out_of_range("hand index outside the hand");
}

int lastHandCardOfRank(const CanastaGame& game, int rank)
{
    for (int i = game.HumanHand.Count - 1; i >= 0; --i)
        if (game.HumanHand.Cards[i].Rank == rank)
            return i;
    return -1;
}

}  // namespace

int MinimumMeld(int score)
{
    if (score < 0)
        return 15;
    if (score < 1500)
        return 50;
    if (score < 3000)
        return 90;
    return 120;
}

void CanastaGame::MeldCard(int handIndex)
{
    requireHandIndex(*this, handIndex);
    if (!mayMeld(*this))
        return;
    const CardRecord& chosen = HumanHand.Cards[handIndex];
    if (IsWild(chosen.Rank))
        return;  // wild cards are laid with AddWildCard or MeldWildcards
    if (IsBlackThree(chosen.Id)) {
        UpdateBlackThreesAllowed();
        if (!BlackThreesAllowed) {
            ShowInputError(6);
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
    const int inColumn = rank == ThreesColumn ? countBlackThreesInColumn(*this, ThreesColumn) : HumanMeldCount[rank];
    if (HumanHandCount[rank] != 0 || inColumn != 2)
        return;
    if (HumanHand.Count < 2 && !enoughCanastas(*this) && !TakingPile)
        return;
    AddWildCard(rank);
}

void CanastaGame::MeldRank(int handIndex, MeldRankMode mode)
{
    requireHandIndex(*this, handIndex);
    if (!mayMeld(*this))
        return;
    const int rank = HumanHand.Cards[handIndex].Rank;
    if (IsWild(rank))
        return;

    RecountColumns();
    const int inHand = HumanHandCount[rank];
    // The threes column also holds the red threes, which are no part of a meld.
    const int inColumn = rank == ThreesColumn ? countBlackThreesInColumn(*this, ThreesColumn) : HumanMeldCount[rank];
    int count = mode == MeldRankMode::All ? inHand : 3 - inColumn;
    count = std::min(count, inHand);
    if (count >= HumanHand.Count && !enoughCanastas(*this))
        count = HumanHand.Count - 1;

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
        for (int i = 0; i < HumanHand.Count && index < 0; ++i)
            if (HumanHand.Cards[i].Rank == wanted)
                index = i;
        if (index >= 0)
            break;
    }
    if (index < 0)
        return;

    // With one card left and a canasta missing, the last wild card may only
    // complete a canasta: anything else would leave an empty hand that cannot go out.
    RecountColumns();
    if (HumanHand.Count <= 1 && !enoughCanastas(*this) && HumanMeldCount[column] != CanastaSize - 1)
        return;

    meldFromHand(*this, index, column);
}

void CanastaGame::FillCanasta(int column)
{
    requireMeldColumn(column);
    if (!mayMeld(*this))
        return;
    RecountColumns();
    const int inColumn = HumanMeldCount[column];
    if (inColumn < 4 || inColumn >= CanastaSize || inColumn + countWildInHand(*this) < CanastaSize)
        return;
    for (int i = inColumn; i < CanastaSize; ++i) {
        const int before = HumanHand.Count;
        AddWildCard(column);
        if (HumanHand.Count == before || !turnGoesOn(*this))
            return;
    }
}

void CanastaGame::MeldWildcards(WildMeldMode mode)
{
    if (!mayMeld(*this))
        return;
    if (!Rules.WildcardCanasta) {
        ShowInputError(8);
        return;
    }
    RecountColumns();
    const int inColumn = HumanMeldCount[WildcardColumn];
    if (countWildInHand(*this) + inColumn < CanastaSize) {
        ShowInputError(7);
        return;
    }
    int count = 1;
    if (mode == WildMeldMode::UpToThree)
        count = 3 - inColumn;
    else if (mode == WildMeldMode::UpToSeven)
        count = CanastaSize - inColumn;
    for (int i = 0; i < count; ++i) {
        const int before = HumanHand.Count;
        AddWildCard(WildcardColumn);
        if (HumanHand.Count == before || !turnGoesOn(*this))
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
    CardPile& pile = human ? HumanMelds : ComputerMelds;
    CanastaState& state = human ? HumanCanastas : ComputerCanastas;

    int total = 0;
    int naturals = 0;
    for (int i = 0; i < pile.Count; ++i) {
        const CardRecord& c = pile.Cards[i];
        if (ColumnOf(c) != column)
            continue;
        ++total;
        if (!IsWild(c.Rank))
            ++naturals;
    }
    if (total < CanastaSize || (naturals < 4 && column != WildcardColumn))
        return;

    std::uint8_t kind = MixedCanasta;
    if (column == WildcardColumn)
        kind = WildcardCanasta;
    else if (total == naturals)
        kind = NaturalCanasta;

    if (state.Kind[column] == NoCanasta) {
        // A column that grew past seven without being a canasta (too many wild
        // cards at the seventh card) never becomes one.
        if (total != CanastaSize)
            return;
        ++state.Count;
        state.Kind[column] = kind;
        if (human)
            Host().PlaySound(kind == MixedCanasta ? SoundEvent::MixedCanasta : SoundEvent::NaturalCanasta);
    } else {
        // A wild card laid on a natural canasta makes it a mixed one.
        state.Kind[column] = kind;
    }

    const TableRect area = meldColumnRect(*this, side, column);
    const int squareY = human ? Layout.HumanMeldBase + StackStep : Layout.ComputerMeldBase - StackStep;
    int lastIndex = -1;
    int lastBlack = -1;
    int lastRed = -1;
    for (int i = 0; i < pile.Count; ++i) {
        CardRecord& c = pile.Cards[i];
        if (ColumnOf(c) != column)
            continue;
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
    Host().InvalidateTableRect(area);
}

bool CanastaGame::ValidateHumanMelds(int handReduction, bool ignorePendingTopCard)
{
    RecountColumns();
    const bool handEmpty = HumanHand.Count - handReduction <= 0;

    std::array<int, ColumnCount> wild{};
    int meldPoints = 0;
    int blackThrees = 0;
    for (int i = 0; i < HumanMelds.Count; ++i) {
        const CardRecord& c = HumanMelds.Cards[i];
        meldPoints += IsRedThree(c.Id) ? 0 : c.Points;
        if (IsBlackThree(c.Id))
            ++blackThrees;
        const int col = ColumnOf(c);
        if (IsWild(c.Rank) && col >= 0 && col < ColumnCount)
            ++wild[col];
    }

    auto failWith = [this](std::string reason) {
        MeldCheckReason = std::move(reason);
        return false;
    };
    if (TopCardOnTable && !ignorePendingTopCard)
        return failWith("you have not melded the top card correctly");

    for (int col = FirstNaturalColumn; col <= LastColumn; ++col)
        if (HumanMeldCount[col] != 0 && HumanMeldCount[col] < 3)
            return failWith("every column on the table must contain at least three cards");

    const bool minimumMet = meldPoints >= HumanMinimumMeld || (Rules.BonusCounts && HumanCanastas.Count >= 1) ||
                            meldPoints == 0 || handEmpty;
    if (!minimumMet)
        return failWith("your first meld must be at least " + std::to_string(HumanMinimumMeld) + " points (currently " +
                        std::to_string(meldPoints) + " points)");

    for (int col = FirstNaturalColumn; col <= LastColumn; ++col)
        if (wild[col] > HumanMeldCount[col] - wild[col])
            return failWith("there are too many wildcards within one column");

    if (handEmpty ? (blackThrees != 0 && blackThrees < 3) : blackThrees != 0)
        return failWith("the Black Threes have not been melded correctly");

    if (HumanMeldCount[WildcardColumn] != 0 && HumanMeldCount[WildcardColumn] < CanastaSize)
        return failWith("wildcards must be melded as a canasta");

    MeldCheckReason.clear();
    return true;
}

void CanastaGame::UpdateBlackThreesAllowed()
{
    if (BlackThreesAllowed)
        return;
    int threes = 0;
    for (int i = 0; i < HumanHand.Count; ++i)
        if (HumanHand.Cards[i].Rank == ThreesColumn)
            ++threes;
    if (enoughCanastas(*this) && threes >= 3 && HumanHand.Count - threes <= 1)
        BlackThreesAllowed = true;
}

}  // namespace meldora
