#include "core/card.h"

#include <algorithm>
#include <stdexcept>

namespace meldora {

const CardRecord& CardPile::top() const
{
    if (Count == 0)
        throw std::out_of_range("top card of an empty pile");
    return Cards[Count - 1];
}

int CardRank(int id)
{
    if (id == JokerId)
        return 0;
    const int r = id % 13;
    return r == 0 ? 13 : r;
}

int CardPoints(int id)
{
    if (id == JokerId)
        return 50;
    const int rank = CardRank(id);
    if (rank == 1 || rank == 13)
        return 20;
    if (IsRedThree(id))
        return 0;
    if (rank <= 6)
        return 5;  // black threes, fours..sevens
    return 10;
}

CardNameResult CardName(int suit, int face)
{
    static const char* const suits[] = {"spade", "club", "diamond", "heart"};
    static const char* const faces[] = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "b", "v", "h", "a"};
    if (suit < 0 || suit > 3 || face < 0 || face > 12)
        throw std::out_of_range("card name of a card that does not exist");
    return {std::string(suits[suit]) + faces[face], suit * 13 + face + 1};
}

CardRecord MakeCard(int id, std::uint8_t deck)
{
    CardRecord c;
    c.Id = static_cast<std::uint8_t>(id);
    c.Rank = static_cast<std::uint8_t>(CardRank(id));
    c.Points = CardPoints(id);
    c.Deck = deck;
    return c;
}

const std::array<CardRecord, DeckSize>& CardsInDealOrder()
{
    // Asked for at every deal, and always the same: made once.
    static const std::array<CardRecord, DeckSize> inOrder = [] {
        std::array<CardRecord, DeckSize> cards;
        int next = 0;
        for (std::uint8_t deck = 0; deck < 2; ++deck) {
            for (int id = 1; id < JokerId; ++id)
                cards[next++] = MakeCard(id, deck);
            cards[next++] = MakeCard(JokerId, deck);
            cards[next++] = MakeCard(JokerId, deck);
        }
        return cards;
    }();
    return inOrder;
}

void ThrowPileFull() { throw std::out_of_range("a pile cannot hold more than 108 cards"); }

void ThrowPileEmpty() { throw std::out_of_range("card taken from an empty pile"); }

void RemoveCardById(CardPile& pile, int id)
{
    for (int i = 0; i < pile.Count; ++i) {
        if (pile.Cards[i].Id == id) {
            for (int j = i; j + 1 < pile.Count; ++j)
                pile.Cards[j] = pile.Cards[j + 1];
            --pile.Count;
            return;
        }
    }
}

void ThrowIndexOutsidePile() { throw std::out_of_range("card index outside the pile"); }

void ThrowColumnOutsideTable() { throw std::out_of_range("column outside the table"); }

void ThrowRankOutsideTable() { throw std::out_of_range("card rank outside the table"); }

void ResetCanastaState(CanastaState& state) { state = CanastaState{}; }

}  // namespace meldora
