#include "support/table_builder.h"

#include <algorithm>

namespace meldora::test {

void ClearTable(CanastaGame& game)
{
    for (CardPile* p : {&game.Stock, &game.DiscardPile, &game.ComputerHand, &game.HumanHand,
                        &game.ComputerMelds, &game.HumanMelds, &game.KnownHumanCards})
        *p = CardPile{};
    ResetCanastaState(game.HumanCanastas);
    ResetCanastaState(game.ComputerCanastas);
    for (int i = 0; i < ColumnCount; ++i) {
        const int x = game.Layout.ColumnX(i);
        game.HumanHand.ColumnEnds[i] = {x, game.Layout.HumanHandBase};
        game.HumanMelds.ColumnEnds[i] = {x, game.Layout.HumanMeldBase};
        game.ComputerMelds.ColumnEnds[i] = {x, game.Layout.ComputerMeldBase};
    }
    game.UndoStack.clear();
    game.MustDraw = false;
    game.HasDrawn = true;
    game.CardsDrawn = 0;
    game.ComputerTurn = false;
    game.DiscardFrozen = false;
    game.TakingPile = false;
    game.TopCardOnTable = false;
    game.BlackThreesAllowed = false;
    game.StockExhausted = false;
    game.EndHandRequested = false;
    game.Phase = PhaseMeldDiscard;
    game.HumanMinimumMeld = 50;
    game.TakeSnapshot();
}

CardRecord AddToHumanHand(CanastaGame& game, int id, std::uint8_t deck)
{
    CardRecord c = MakeCard(id, deck);
    c.FaceUp = true;
    PlaceInColumn(game.HumanHand, true, false, c);
    AppendCard(game.HumanHand, c);
    return c;
}

CardRecord AddToComputerHand(CanastaGame& game, int id, std::uint8_t deck)
{
    CardRecord c = MakeCard(id, deck);
    c.FaceUp = game.ComputerHandRevealed;
    int x = LeftMargin - game.ComputerHandSpacing;
    for (int i = 0; i < game.ComputerHand.Count; ++i)
        x = std::max<int>(x, game.ComputerHand.Cards[i].X);
    c.X = x + game.ComputerHandSpacing;
    c.Y = game.Layout.ComputerHandTop;
    AppendCard(game.ComputerHand, c);
    return c;
}

namespace {
CardRecord addToMelds(CardPile& pile, int id, int column, std::uint8_t deck, bool downwards)
{
    CardRecord c = MakeCard(id, deck);
    c.FaceUp = true;
    const int col = column < 0 ? c.Rank : column;
    ColumnEnd& end = pile.ColumnEnds[col];
    end.Y += downwards ? StackStep : -StackStep;
    c.X = end.X;
    c.Y = end.Y;
    AppendCard(pile, c);
    return c;
}
}  // namespace

CardRecord AddToHumanMelds(CanastaGame& game, int id, int column, std::uint8_t deck)
{
    return addToMelds(game.HumanMelds, id, column, deck, true);
}

CardRecord AddToComputerMelds(CanastaGame& game, int id, int column, std::uint8_t deck)
{
    return addToMelds(game.ComputerMelds, id, column, deck, false);
}

CardRecord AddToDiscardPile(CanastaGame& game, int id, std::uint8_t deck)
{
    CardRecord c = MakeCard(id, deck);
    c.FaceUp = true;
    c.X = LeftMargin;
    c.Y = game.Layout.DiscardTop;
    AppendCard(game.DiscardPile, c);
    return c;
}

CardRecord AddToStock(CanastaGame& game, int id, std::uint8_t deck)
{
    CardRecord c = MakeCard(id, deck);
    c.X = LeftMargin;
    c.Y = game.Layout.StockTop;
    AppendCard(game.Stock, c);
    return c;
}

}  // namespace meldora::test
