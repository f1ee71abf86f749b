#include "tools/sim/known_cards.h"

namespace meldora::sim {

namespace {

const CardPile& MeldsOf(const CanastaGame& game, Side side)
{
    return side == Side::Human ? game.Human().Melds : game.Computer().Melds;
}

bool SameCard(const CardRecord& a, const CardRecord& b) { return a.Id == b.Id && a.Deck == b.Deck; }

}  // namespace

TurnStart RecordTurnStart(const CanastaGame& game, Side side)
{
    TurnStart start;
    const CardPile& melds = MeldsOf(game, side);
    for (int i = 0; i < melds.Count; ++i)
        ++start.MeldIds[melds.Cards[i].Id];
    start.DiscardPile.assign(game.DiscardPile.Cards.begin(), game.DiscardPile.Cards.begin() + game.DiscardPile.Count);
    return start;
}

void UpdateKnownCards(const TurnStart& start, const CanastaGame& game, Side side, CardPile& known)
{
    // The pile is only ever taken from the top and added to on top: what is left
    // of the old pile is the common bottom, the rest of the old pile was taken,
    // and what lies above the common bottom now is the side's discard.
    const std::vector<CardRecord>& before = start.DiscardPile;
    const int beforeCount = static_cast<int>(before.size());
    const CardPile& after = game.DiscardPile;
    int common = 0;
    while (common < beforeCount && common < after.Count && SameCard(before[common], after.Cards[common]))
        ++common;

    for (int i = common; i < beforeCount; ++i)
        if (!IsRedThree(before[i].Id))
            AppendCard(known, before[i]);

    std::array<int, JokerId + 1> meldIds{};
    const CardPile& melds = MeldsOf(game, side);
    for (int i = 0; i < melds.Count; ++i)
        ++meldIds[melds.Cards[i].Id];
    if (meldIds != start.MeldIds) {
        for (int id = 1; id <= JokerId; ++id)
            for (int n = start.MeldIds[id]; n < meldIds[id]; ++n)
                RemoveCardById(known, id);
    }
    for (int i = common; i < after.Count; ++i)
        RemoveCardById(known, after.Cards[i].Id);
}

}  // namespace meldora::sim
