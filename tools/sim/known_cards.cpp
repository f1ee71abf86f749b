#include "tools/sim/known_cards.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "tools/sim/card_counts.h"

namespace meldora::sim {

namespace {

const CardPile& MeldsOf(const CanastaGame& game, Side side)
{
    return side == Side::Human ? game.Human().Melds : game.Computer().Melds;
}

// Cards per identity; a pile holds at most four of one (two jokers a deck).
// A card that is no card of the deck is left out rather than counted out of bounds.
std::array<std::uint8_t, JokerId + 1> IdCounts(std::span<const CardRecord> cards)
{
    std::array<std::uint8_t, JokerId + 1> counts{};
    for (const CardRecord& card : cards)
        if (card.Id <= JokerId)
            ++counts[card.Id];
    return counts;
}

}  // namespace

void UpdateKnownCards(const CardPile& discardPileBefore, const CardPile& meldsBefore, const CanastaGame& game, Side side,
                      CardPile& known, const TurnPilesAlike& alike)
{
    // The pile is only ever taken from the top and added to on top: what is left
    // of the old pile is the common bottom, the rest of the old pile was taken,
    // and what lies above the common bottom now is the side's discard.
    const std::span<const CardRecord> before = CardsOf(discardPileBefore);
    const std::span<const CardRecord> after = CardsOf(game.DiscardPile);
    const int beforeCount = static_cast<int>(before.size());
    const int afterCount = static_cast<int>(after.size());
    // Mostly the pile is the old one with the side's discard on top.
    int common = alike.DiscardPileBelow ||
                         (afterCount >= beforeCount && SameBytes(before, after.first(before.size())))
                     ? beforeCount
                     : 0;
    while (common < beforeCount && common < afterCount && SameKey(before[common], after[common]))
        ++common;

    for (int i = common; i < beforeCount; ++i)
        if (!IsRedThree(before[i].Id))
            AppendCard(known, before[i]);

    // Most of the time the other side knows nothing of this hand: there is
    // nothing to drop, and the melds and the discard need no look.
    if (known.Count == 0)
        return;
    // Most cards melded or discarded were never known: the pile is searched
    // only for identities a count of it holds. The cards to forget are counted
    // by identity and dropped in one pass at the end: the first cards of an
    // identity, as taking them out one at a time would.
    std::array<std::uint8_t, JokerId + 1> knownIds = IdCounts(CardsOf(known));
    std::array<std::uint8_t, JokerId + 1> forgotten{};
    int forgetting = 0;
    const auto forget = [&](int id) {
        if (id > JokerId) {
            RemoveCardById(known, id);
            return;
        }
        if (knownIds[id] == 0)
            return;
        --knownIds[id];
        ++forgotten[id];
        ++forgetting;
    };
    const CardPile& melds = MeldsOf(game, side);
    if (alike.MeldCardsMovedKnown) {
        // The cards matched between the melds before and after are alike in
        // face: what an identity gained is what the moved cards of it add up to.
        std::array<std::int8_t, JokerId + 1> gained{};
        const auto isCard = [](const MovedMeldCard& card) { return card.Id != 0 && card.Id <= JokerId; };
        for (const MovedMeldCard& card : alike.MeldCardsMoved)
            if (isCard(card))
                gained[card.Id] = static_cast<std::int8_t>(gained[card.Id] + card.Sign);
        for (const MovedMeldCard& card : alike.MeldCardsMoved)
            if (card.Sign > 0 && isCard(card) && gained[card.Id] > 0) {
                --gained[card.Id];
                forget(card.Id);
            }
    } else if (!alike.Melds && !SameBytes(CardsOf(meldsBefore), CardsOf(melds))) {
        // Every card of an identity beyond as many as the melds held before
        // was melded this turn. (Taking out one card of an identity leaves the
        // others of the pile in place whichever goes first.) The melds grow at
        // their end: the same cards at the start count alike and are left out.
        const std::span<const CardRecord> wasMelded = CardsOf(meldsBefore);
        const std::span<const CardRecord> isMelded = CardsOf(melds);
        std::size_t alikeAtStart = 0;
        while (alikeAtStart < wasMelded.size() && alikeAtStart < isMelded.size() &&
               SameKey(wasMelded[alikeAtStart], isMelded[alikeAtStart]))
            ++alikeAtStart;
        std::array<std::uint8_t, JokerId + 1> meldedBefore = IdCounts(wasMelded.subspan(alikeAtStart));
        for (const CardRecord& card : isMelded.subspan(alikeAtStart)) {
            const int id = card.Id;
            if (id == 0 || id > JokerId)
                continue;
            if (meldedBefore[id] > 0)
                --meldedBefore[id];
            else
                forget(id);
        }
    }
    for (int i = common; i < afterCount; ++i)
        forget(after[i].Id);
    if (forgetting == 0)
        return;
    int kept = 0;
    for (const CardRecord& card : CardsOf(known)) {
        if (card.Id <= JokerId && forgotten[card.Id] > 0) {
            --forgotten[card.Id];
            continue;
        }
        known.Cards[kept++] = card;
    }
    known.Count = static_cast<std::uint8_t>(kept);
}

}  // namespace meldora::sim
