#include "tools/sim/known_cards.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace meldora::sim {

namespace {

const CardPile& MeldsOf(const CanastaGame& game, Side side)
{
    return side == Side::Human ? game.Human().Melds : game.Computer().Melds;
}

bool SameCard(const CardRecord& a, const CardRecord& b) { return a.Id == b.Id && a.Deck == b.Deck; }

// The first count cards of a and b are alike, byte for byte; so are their counts when count is b's.
bool SameCards(const CardPile& a, const CardPile& b, int count)
{
    return a.Count == count && b.Count >= count &&
           std::memcmp(a.Cards.data(), b.Cards.data(), std::min<int>(count, DeckSize) * sizeof(CardRecord)) == 0;
}

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
    start.Melds = MeldsOf(game, side);
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
    // Mostly the pile is the old one with the side's discard on top.
    int common = SameCards(before, after, beforeCount) ? beforeCount : 0;
    while (common < beforeCount && common < after.Count && SameCard(before.Cards[common], after.Cards[common]))
        ++common;

    for (int i = common; i < beforeCount; ++i)
        if (!IsRedThree(before.Cards[i].Id))
            AppendCard(known, before.Cards[i]);

    const CardPile& melds = MeldsOf(game, side);
    if (!SameCards(start.Melds, melds, melds.Count)) {
        // Every card of an identity beyond as many as the melds held before
        // was melded this turn. (Taking out one card of an identity leaves the
        // others of the pile in place whichever goes first.)
        std::array<std::uint8_t, JokerId + 1> meldedBefore = IdCounts(start.Melds);
        for (int i = 0; i < std::min<int>(melds.Count, DeckSize); ++i) {
            const int id = melds.Cards[i].Id;
            if (id == 0 || id > JokerId)
                continue;
            if (meldedBefore[id] > 0)
                --meldedBefore[id];
            else
                RemoveCardById(known, id);
        }
    }
    for (int i = common; i < after.Count; ++i)
        RemoveCardById(known, after.Cards[i].Id);
}

}  // namespace meldora::sim
