#include "support/table_builder.h"

#include <algorithm>
#include <array>

namespace meldora::test {

void ClearTable(CanastaGame& game)
{
    for (CardPile* p : {&game.Stock, &game.DiscardPile, &game.Computer().Hand, &game.Human().Hand,
                        &game.Computer().Melds, &game.Human().Melds, &game.Memory.KnownOpponentCards})
        *p = CardPile{};
    ResetCanastaState(game.Human().Canastas);
    ResetCanastaState(game.Computer().Canastas);
    for (int i = 0; i < ColumnCount; ++i) {
        const int x = game.Layout.ColumnX(i);
        game.Human().Hand.ColumnEnds[i] = {x, game.Layout.HumanHandBase};
        game.Human().Melds.ColumnEnds[i] = {x, game.Layout.HumanMeldBase};
        game.Computer().Melds.ColumnEnds[i] = {x, game.Layout.ComputerMeldBase};
    }
    game.Undo.Stack.clear();
    game.Turn.MustDraw = false;
    game.Turn.HasDrawn = true;
    game.Turn.CardsDrawn = 0;
    game.Turn.ComputerTurn = false;
    game.Turn.DiscardFrozen = false;
    game.Take.Pending = false;
    game.Take.TopCardOnTable = false;
    game.Turn.BlackThreesAllowed = false;
    game.Turn.StockExhausted = false;
    game.Turn.EndHandRequested = false;
    game.Turn.Phase = TurnPhase::MeldDiscard;
    game.Human().MinimumMeld = 50;
    game.TakeSnapshot();
}

void ReadyToDraw(CanastaGame& game)
{
    game.Turn.MustDraw = true;
    game.Turn.HasDrawn = false;
    game.Turn.Phase = TurnPhase::Draw;
}

CardRecord AddToHumanHand(CanastaGame& game, int id, std::uint8_t deck)
{
    CardRecord c = MakeCard(id, deck);
    game.PutInHand(Side::Human, c);
    return c;
}

CardRecord AddToHand(CanastaGame& game, int id, std::uint8_t deck)
{
    CardRecord c = MakeCard(id, deck);
    game.PutInHand(Side::Computer, c);
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
    return addToMelds(game.Human().Melds, id, column, deck, true);
}

CardRecord AddToComputerMelds(CanastaGame& game, int id, int column, std::uint8_t deck)
{
    return addToMelds(game.Computer().Melds, id, column, deck, false);
}

CardRecord AddToDiscardPile(CanastaGame& game, int id, std::uint8_t deck)
{
    CardRecord c = MakeCard(id, deck);
    game.LayOnDiscardPile(c);
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

void AddToHumanHand(CanastaGame& g, std::initializer_list<int> ids) { for (int id : ids) AddToHumanHand(g, id); }
void AddToHand(CanastaGame& g, std::initializer_list<int> ids) { for (int id : ids) AddToHand(g, id); }
void AddToDiscardPile(CanastaGame& g, std::initializer_list<int> ids) { for (int id : ids) AddToDiscardPile(g, id); }
void AddToStock(CanastaGame& g, std::initializer_list<int> ids) { for (int id : ids) AddToStock(g, id); }

void StockTheRestOfTheDeck(CanastaGame& game)
{
    std::array<std::array<int, JokerId + 1>, 2> seen{};
    for (const CardPile* pile : {&game.Stock, &game.DiscardPile, &game.Human().Hand, &game.Computer().Hand,
                                 &game.Human().Melds, &game.Computer().Melds})
        for (int i = 0; i < pile->Count; ++i)
            ++seen[pile->Cards[i].Deck][pile->Cards[i].Id];
    for (std::uint8_t deck = 0; deck < 2; ++deck)
        for (int id = 1; id <= JokerId; ++id)
            for (int n = seen[deck][id]; n < (id == JokerId ? 2 : 1); ++n)
                AddToStock(game, id, deck);
}

int IndexOfCard(const CardPile& pile, int id)
{
    for (int i = pile.Count - 1; i >= 0; --i)
        if (pile.Cards[i].Id == id)
            return i;
    return -1;
}

int FirstNaturalCard(const CardPile& pile)
{
    for (int i = 0; i < pile.Count; ++i)
        if (pile.Cards[i].Rank >= 3)
            return i;
    return -1;
}

int CountOfCard(const CardPile& pile, int id)
{
    return static_cast<int>(std::count_if(pile.Cards.begin(), pile.Cards.begin() + pile.Count,
                                          [id](const CardRecord& c) { return c.Id == id; }));
}

int CountInColumn(const CanastaGame& game, const CardPile& pile, int column, int id)
{
    int n = 0;
    for (int i = 0; i < pile.Count; ++i)
        n += game.ColumnOf(pile.Cards[i]) == column && (id < 0 || pile.Cards[i].Id == id);
    return n;
}

}  // namespace meldora::test
