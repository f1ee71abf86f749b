#include "tools/sim/mirror.h"

#include <algorithm>
#include <utility>

namespace meldora::sim {

namespace {

// Rank columns stacked downwards from the hand base, in pile order, as the
// human's hand is dealt and drawn.
void LayOutInColumns(CardPile& hand, const TableLayout& layout)
{
    std::array<int, ColumnCount> stacked{};
    for (int i = 0; i < hand.Count; ++i) {
        CardRecord& card = hand.Cards[i];
        card.X = layout.ColumnX(card.Rank);
        card.Y = layout.HumanHandBase + StackStep * ++stacked[card.Rank];
        card.FaceUp = true;
    }
    for (int column = 0; column < ColumnCount; ++column)
        hand.ColumnEnds[column] = {layout.ColumnX(column), layout.HumanHandBase + StackStep * stacked[column]};
}

// One row at the top, in pile order, as the computer's hand is dealt and drawn.
void LayOutInRow(CardPile& hand, const CanastaGame& game)
{
    for (int i = 0; i < hand.Count; ++i) {
        CardRecord& card = hand.Cards[i];
        card.X = LeftMargin + i * game.ComputerHandSpacing;
        card.Y = game.Layout.ComputerHandTop;
        card.FaceUp = game.ComputerHandRevealed;
    }
    hand.ColumnEnds = {};
}

// The human's melds grow downwards from HumanMeldBase, the computer's upwards
// from ComputerMeldBase; reflecting y about the middle of the two bases maps
// the k-th card of a column (and a squared canasta) of one onto the other.
void ReflectMeldRows(CardPile& melds, const TableLayout& layout)
{
    const int sum = layout.HumanMeldBase + layout.ComputerMeldBase;
    for (int i = 0; i < melds.Count; ++i)
        melds.Cards[i].Y = sum - melds.Cards[i].Y;
    for (ColumnEnd& end : melds.ColumnEnds)
        end.Y = sum - end.Y;
}

// Exchanges two piles' cards in use, counts and column ends; the slots beyond
// both counts stay where they are (turning runs twice every turn).
void SwapPiles(CardPile& a, CardPile& b)
{
    const int inUse = std::max(a.Count, b.Count);
    std::swap_ranges(a.Cards.begin(), a.Cards.begin() + inUse, b.Cards.begin());
    std::swap(a.Count, b.Count);
    std::swap(a.ColumnEnds, b.ColumnEnds);
}

}  // namespace

void MirrorTable(CanastaGame& game, OtherSeat& other)
{
    SwapPiles(game.HumanHand, game.ComputerHand);
    LayOutInColumns(game.HumanHand, game.Layout);
    LayOutInRow(game.ComputerHand, game);

    SwapPiles(game.HumanMelds, game.ComputerMelds);
    ReflectMeldRows(game.HumanMelds, game.Layout);
    ReflectMeldRows(game.ComputerMelds, game.Layout);

    std::swap(game.HumanCanastas, game.ComputerCanastas);
    std::swap(game.HumanMeldCount, game.ComputerMeldCount);
    std::swap(game.HumanHandCount, game.ComputerHandCount);
    std::swap(game.HumanScore, game.ComputerScore);
    std::swap(game.HumanHandScore, game.ComputerHandScore);
    std::swap(game.HumanMeldedBefore, game.ComputerMeldedBefore);
    if (game.WentOut == HumanWentOut)
        game.WentOut = ComputerWentOut;
    else if (game.WentOut == ComputerWentOut)
        game.WentOut = HumanWentOut;
    game.DrawFirst = !game.DrawFirst;

    std::swap(game.ComputerMeldValue, other.MeldValue);
    std::swap(game.HumanMinimumMeld, other.MinimumMeld);
    SwapPiles(game.KnownHumanCards, other.KnownCards);
    std::swap(game.Memory, other.Memory);
}

void RefreshOtherSeat(const CanastaGame& game, OtherSeat& other)
{
    other.MeldValue = game.HumanMeldValue(true);
    other.MinimumMeld = MinimumMeld(game.ComputerScore);
}

void ClearOtherSeatForDeal(OtherSeat& other)
{
    other.MeldValue = 0;
    other.KnownCards = CardPile{};
    other.Memory.ThreeDiscardMode = false;
    other.Memory.PlannedDiscardRank = 0;
}

}  // namespace meldora::sim
