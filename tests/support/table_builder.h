// Builds tables card by card for rule tests: an empty table laid out like a
// fresh deal, and small helpers to put given cards into given piles.
#pragma once

#include <initializer_list>

#include "core/card.h"
#include "core/game.h"
#include "support/memory_settings.h"
#include "support/recording_host.h"

namespace meldora::test {

enum Suit { Spade = 0, Club = 1, Diamond = 2, Heart = 3 };

// Rank 1 two, 2 three, 3..12 four..king, 13 ace.
constexpr int CardId(Suit suit, int rank) { return suit * 13 + rank; }
constexpr int JokerCard = JokerId;

// Empties every pile and sets the column ends as a deal does; the human is to
// move, has drawn (HasDrawn) and may meld and discard.
void ClearTable(CanastaGame& game);

// The human is to draw: nothing drawn yet this turn.
void ReadyToDraw(CanastaGame& game);

// Each returns the card as placed.
CardRecord AddToHumanHand(CanastaGame& game, int id, std::uint8_t deck = 0);
CardRecord AddToHand(CanastaGame& game, int id, std::uint8_t deck = 0);
// Lays a card into a meld column (by default the column of its rank), stacked like play does.
CardRecord AddToHumanMelds(CanastaGame& game, int id, int column = -1, std::uint8_t deck = 0);
CardRecord AddToComputerMelds(CanastaGame& game, int id, int column = -1, std::uint8_t deck = 0);
CardRecord AddToDiscardPile(CanastaGame& game, int id, std::uint8_t deck = 0);
CardRecord AddToStock(CanastaGame& game, int id, std::uint8_t deck = 0);
// The cards of the list in turn, from deck 0.
void AddToHumanHand(CanastaGame& game, std::initializer_list<int> ids);
void AddToHand(CanastaGame& game, std::initializer_list<int> ids);
void AddToDiscardPile(CanastaGame& game, std::initializer_list<int> ids);
void AddToStock(CanastaGame& game, std::initializer_list<int> ids);
// Lays every card the table does not hold yet onto the stock, so that it holds the whole deck.
void StockTheRestOfTheDeck(CanastaGame& game);

// Where the last card of that id lies in the pile, or -1.
int IndexOfCard(const CardPile& pile, int id);
int CountOfCard(const CardPile& pile, int id);
// The index of the pile's first natural card (four to ace), or -1.
int FirstNaturalCard(const CardPile& pile);
// How many cards of the pile lie in the meld column (with id >= 0: of that id).
int CountInColumn(const CanastaGame& game, const CardPile& pile, int column, int id = -1);

// A recording host, an in-memory settings store and a seeded game on a cleared table.
struct TableFixture {
    RecordingHost host;
    MemorySettings settings;
    CanastaGame game{host, &settings};
    TableFixture()
    {
        game.Seed(12345);
        ClearTable(game);
    }
};

}  // namespace meldora::test
