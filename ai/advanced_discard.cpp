#include "ai/advanced.h"

namespace meldora::ai {

DiscardChoice AdvancedTurn::ChooseDiscard()
{
    // The melding phase before it leaves the tallies showing the table.
    if (Cards() == 1)
        return FirstCardOfHand();
    // Too many wild cards to use before going out: one goes, a two before a joker.
    const int wilds = Wilds();
    if (wilds > 2 && wilds >= Cards() - 4 && (Frozen() || Canastas() < Need()))
        return WildCard(true);
    return PileSize() <= 5 ? ChooseFromShortPile() : ChooseFromLongPile();
}

DiscardChoice AdvancedTurn::ChooseFromShortPile()
{
    // The rank nearest to nothing goes first; mostly a low one, as it costs least.
    for (int c = 1; c <= 15; ++c) {
        const bool upwards = Chance() < 0.8;
        for (int k = 0; k <= 10; ++k) {
            const int r = upwards ? 3 + k : 13 - k;
            if (Hand(r) == 0 || Hand(r) + Melds(r) != c)
                continue;
            if (Hand(r) >= 2 && Threes() > 0)
                return CardOfRank(2);
            if (HMelds(r) == 6)
                continue;  // the card would give the human a canasta
            return CardOfRank(r);
        }
    }
    if (Threes() > 0)
        return CardOfRank(2);
    return FirstCardOfHand();
}

DiscardChoice AdvancedTurn::ChooseFromLongPile()
{
    // A pile worth having is blocked with a three, else fed a card the human cannot use.
    if (Threes() > 0)
        return CardOfRank(2);
    // A rank is of no use to the human when its meld is small, or a canasta that the top card may not join.
    const bool closedCanastas = !Game.Rules.AddToCanasta;
    auto useless = [&](int r, int floor) { return HMelds(r) <= floor || (HMelds(r) >= 7 && closedCanastas); };
    for (int r = 3; r <= 13; ++r) {
        const int h = Hand(r);
        if ((h == 1 || h == 4 || h == 5) && useless(r, 2))
            return CardOfRank(r);
    }
    for (int floor = 0; floor <= 15; ++floor) {
        int best = -1;
        for (int r = 3; r <= 13; ++r)
            if (Hand(r) > 0 && useless(r, floor) && (best < 0 || Hand(r) < Hand(best)))
                best = r;
        if (best < 0)
            continue;
        if (Wilds() > 0 && HCards() < 10 && HMelds(best) >= 2 && !Frozen())
            return WildCard(true);  // the human is close to out: freeze the pile instead
        return CardOfRank(best);
    }
    return FirstCardOfHand();
}

}  // namespace meldora::ai
