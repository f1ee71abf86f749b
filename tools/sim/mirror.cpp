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
        card.X = LeftMargin + i * game.Presentation.ComputerHandSpacing;
        card.Y = game.Layout.ComputerHandTop;
        card.FaceUp = game.Presentation.ComputerHandRevealed;
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
    SwapPiles(game.Human().Hand, game.Computer().Hand);
    LayOutInColumns(game.Human().Hand, game.Layout);
    LayOutInRow(game.Computer().Hand, game);

    SwapPiles(game.Human().Melds, game.Computer().Melds);
    ReflectMeldRows(game.Human().Melds, game.Layout);
    ReflectMeldRows(game.Computer().Melds, game.Layout);

    std::swap(game.Human().Canastas, game.Computer().Canastas);
    std::swap(game.Human().MeldCount, game.Computer().MeldCount);
    std::swap(game.Human().HandCount, game.Computer().HandCount);
    std::swap(game.Human().Score, game.Computer().Score);
    std::swap(game.Human().HandScore, game.Computer().HandScore);
    std::swap(game.Human().MeldedBefore, game.Computer().MeldedBefore);
    if (game.Match.WentOut == HumanWentOut)
        game.Match.WentOut = ComputerWentOut;
    else if (game.Match.WentOut == ComputerWentOut)
        game.Match.WentOut = HumanWentOut;
    game.Match.DrawFirst = !game.Match.DrawFirst;

    std::swap(game.Computer().MeldValue, other.MeldValue);
    std::swap(game.Human().MinimumMeld, other.MinimumMeld);
    std::swap(game.Memory, other.Memory);
    std::swap(game.Memory.KnownOpponentCards, other.Memory.KnownOpponentCards);
    SwapPiles(game.Memory.KnownOpponentCards, other.KnownCards);
}

void RefreshOtherSeat(const CanastaGame& game, OtherSeat& other)
{
    other.MeldValue = game.HumanMeldValue(true);
    other.MinimumMeld = MinimumMeld(game.Computer().Score);
}

void ClearOtherSeatForDeal(OtherSeat& other)
{
    other.MeldValue = 0;
    other.KnownCards = CardPile{};
    other.Memory.ThreeDiscardMode = false;
    other.Memory.PlannedDiscardRank = 0;
}

}  // namespace meldora::sim
