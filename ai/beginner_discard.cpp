#include "ai/beginner.h"

namespace meldora::ai {

DiscardChoice BeginnerTurn::ThreeOrWildCard() const
{
    for (int rank : {2, 1, 0})
        if (Hand(rank) > 0)
            return CardOfRank(rank);
    return {};
}

DiscardChoice BeginnerTurn::ChooseDiscard()
{
    // The melding phase before it leaves the tallies showing the table.
    const int threes = Threes();

    // A card the human's meld of five or six waits for is never given away.
    bool humanWaits = false;
    for (int r = 3; r <= 13; ++r)
        humanWaits = humanWaits || (Hand(r) > 0 && (HMelds(r) == 5 || HMelds(r) == 6));
    if (humanWaits && Wilds() > 0 && !Frozen())
        return ThreeOrWildCard();
    if (Wilds() + threes == Cards())
        return ThreeOrWildCard();

    // The smallest group of a rank the human has melded little of.
    int found = -1;
    int group = 0;
    for (int n = 1; n <= 9 && found < 0; ++n) {
        for (int k = 2; k <= 5 && found < 0; ++k)
            for (int r = 3; r <= 13 && found < 0; ++r)
                if (Hand(r) == n && HMelds(r) <= k)
                    found = r;
        for (int r = 3; r <= 13 && found < 0; ++r)
            if (Hand(r) == n && HMelds(r) >= 7)
                found = r;
        group = n;
    }
    // A single card goes, unless only a three keeps it company.
    if (found >= 0 && group == 1)
        return threes > 0 && Cards() - threes == 1 ? CardOfRank(2) : CardOfRank(found);
    if (threes > 0)
        return CardOfRank(2);
    if (found >= 0)
        return CardOfRank(found);
    return FirstCardOfHand();
}

}  // namespace meldora::ai
