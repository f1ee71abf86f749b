#include "tools/sim/known_cards.h"

#include <algorithm>

namespace meldora::sim {

namespace {

const CardPile& MeldsOf(const CanastaGame& game, Side side)
{
    return side == Side::Human ? game.Human().Melds : game.Computer().Melds;
}

bool SameCard(const CardRecord& a, const CardRecord& b) { return a.Id == b.Id && a.Deck == b.Deck; }

// Cards per identity; a pile holds at most four of one (two jokers a deck).
// A card that is no card of the deck is left out rather than counted out of bounds.
std::array<std::uint8_t, JokerId + 1> IdCounts(const CardPile& pile)
{
    std::array<std::uint8_t, JokerId + 1> counts{};
    const int count = std::min<int>(pile.Count, DeckSize);
    for (int i = 0; i < count; ++i)
        if (pile.Cards[i].Id <= JokerId)
            ++counts[pile.Cards[i].Id];
    return counts;
}

}  // namespace

TurnStart RecordTurnStart(const CanastaGame& game, Side side)
{
    TurnStart start;
    RecordTurnStart(game, side, start);
    return start;
}

void RecordTurnStart(const CanastaGame& game, Side side, TurnStart& start)
{
    start.MeldIds = IdCounts(MeldsOf(game, side));
    start.DiscardPile = game.DiscardPile;
}

void UpdateKnownCards(const TurnStart& start, const CanastaGame& game, Side side, CardPile& known)
{
    // The pile is only ever taken from the top and added to on top: what is left
    // of the old pile is the common bottom, the rest of the old pile was taken,
    // and what lies above the common bottom now is the side's discard.
    const CardPile& before = start.DiscardPile;
    const int beforeCount = before.Count;
    const CardPile& after = game.DiscardPile;
    int common = 0;
    while (common < beforeCount && common < after.Count && SameCard(before.Cards[common], after.Cards[common]))
        ++common;

    for (int i = common; i < beforeCount; ++i)
        if (!IsRedThree(before.Cards[i].Id))
            AppendCard(known, before.Cards[i]);

    const std::array<std::uint8_t, JokerId + 1> meldIds = IdCounts(MeldsOf(game, side));
    if (meldIds != start.MeldIds) {
        for (int id = 1; id <= JokerId; ++id)
            for (int n = start.MeldIds[id]; n < meldIds[id]; ++n)
                RemoveCardById(known, id);
    }
    for (int i = common; i < after.Count; ++i)
        RemoveCardById(known, after.Cards[i].Id);
}

}  // namespace meldora::sim
