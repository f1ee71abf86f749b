#include <algorithm>
#include <array>
#include <random>
#include <span>

#include "ai/expert.h"

namespace meldora::ai {

namespace {
DiscardChoice FromHand(int index)
{
    DiscardChoice choice;
    choice.HandIndex = index;
    return choice;
}
}  // namespace

DiscardChoice ExpertTurn::ChooseDiscard()
{
    // The melding phase before it leaves the tallies showing the table.
    // Four times in five a two goes before a joker.
    const bool twoFirst = std::uniform_int_distribution<int>(0, 9)(Game.Random) < 8;
    const int firstWild = twoFirst ? 1 : 0;
    const int secondWild = twoFirst ? 0 : 1;

    ComputerMemory& memory = Memory;
    const int need = Need();
    const bool frozen = Frozen();
    const int open = frozen ? 0 : 1;
    const int wilds = Wilds();
    const int threes = Threes();

    auto wildCard = [&] {
        const int index = FindCardOfRank(firstWild);
        return FromHand(index >= 0 ? index : FindCardOfRank(secondWild));
    };
    auto highestHeld = [&] {
        for (int r = 13; r >= 0; --r)
            if (Hand(r) > 0)
                return FromHand(FindCardOfRank(r));
        return DiscardChoice{};
    };

    auto decide = [&]() -> DiscardChoice {
        if (memory.ThreeDiscardMode && threes > 0)
            return FromHand(FindCardOfRank(2));
        if (Cards() == 1)
            return FromHand(0);
        if (wilds > 2 * need + 2 && (frozen || Canastas() < need)) {
            const DiscardChoice wild = wildCard();
            if (wild.Chosen())
                return wild;
        }
        if (Game.Rules.ThreeBlock && need == 2 && !Opened() && Cards() < 14 && Melds(2) >= 1) {
            for (int i = 0; i < Own().Melds.Count; ++i) {
                if (IsRedThree(Own().Melds.Cards[i].Id)) {
                    DiscardChoice block;
                    block.MeldIndex = i;
                    return block;
                }
            }
        }
        const int planned = memory.PlannedDiscardRank;
        if (planned != 0 && Hand(planned) > 0 && CanSpareRank(planned))
            return FromHand(FindCardOfRank(planned));
        memory.PlannedDiscardRank = 0;

        DiscardChoice choice;
        if (PileIsCritical()) {
            if (threes > 0) {
                choice = FromHand(FindCardOfRank(2));
            } else if (Cards() >= 12 && HCards() < 21 && wilds > 0) {
                if (Hand(firstWild) > 0 && CanSpareRank(firstWild))
                    choice = FromHand(FindCardOfRank(firstWild));
                else if (Hand(secondWild) > 0 && CanSpareRank(secondWild))
                    choice = FromHand(FindCardOfRank(secondWild));
            } else {
                // The biggest group that the human is unlikely to want.
                for (int limit = 9; !choice.Chosen();) {
                    auto candidate = [&](int r) { return Hand(r) > 0 && Hand(r) < limit && !(frozen && Hand(r) == 2); };
                    int largest = 0;
                    for (int r = 3; r <= 13; ++r)
                        if (candidate(r))
                            largest = std::max(largest, Hand(r));
                    if (largest == 0)
                        break;
                    for (int r = 3; r <= 13 && !choice.Chosen(); ++r) {
                        if (candidate(r) && Hand(r) == largest && open * HMelds(r) + Known(r) < 2 && CanSpareRank(r)) {
                            choice = FromHand(FindCardOfRank(r));
                            memory.PlannedDiscardRank = static_cast<std::uint8_t>(r);
                        }
                    }
                    limit = largest;
                }
            }
        }

        // Late in the hand, with the human melding much, a wild card blocks the pile.
        if ((wilds >= 4 || (wilds >= 1 && Canastas() >= need)) && HCards() - (Known(0) + Known(1) + Known(2)) < 8
            && HMeldCards() >= 20 && !frozen && !memory.ThreeDiscardMode) {
            const DiscardChoice wild = wildCard();
            if (wild.Chosen())
                choice = wild;
        }
        if (choice.Chosen())
            return choice;

        // The smallest groups first, among them the ranks the human shows least interest in.
        int group = 100;
        for (int floor = 0; !choice.Chosen() && floor <= 8; floor = group) {
            // The smallest group above the floor, and its ranks in order, in one pass.
            group = 100;
            std::array<int, ColumnCount> ranksOfGroup;
            int rankCount = 0;
            for (int r = 3; r <= 13; ++r) {
                const int size = Hand(r) + Melds(r);
                if (Hand(r) == 0 || size <= floor || size > group)
                    continue;
                if (size < group) {
                    group = size;
                    rankCount = 0;
                }
                ranksOfGroup[rankCount++] = r;
            }
            if (group == 100)
                break;
            const std::span<const int> ranks(ranksOfGroup.data(), rankCount);
            if (group >= 2 && threes > 0 && StockSize() <= 69) {
                choice = FromHand(FindCardOfRank(2));
                memory.PlannedDiscardRank = 2;
                break;
            }
            auto score = [&](int r) { return -(open * HMelds(r) + Known(r)); };
            const bool anyRank = Canastas() < need && open * HMeldCards() + HCards() >= 26;
            for (int ceiling = 1; !choice.Chosen();) {
                int best = -1000;
                for (int r : ranks)
                    if (score(r) < ceiling)
                        best = std::max(best, score(r));
                if (best < -8)
                    break;
                for (int r : ranks) {
                    if (score(r) != best)
                        continue;
                    const int seen = HMelds(r) + Known(r);
                    const bool safe = (frozen && Known(r) < 2) || seen + Pile(r) < 6 || seen > 6;
                    if (anyRank || safe) {
                        choice = FromHand(FindCardOfRank(r));
                        memory.PlannedDiscardRank = static_cast<std::uint8_t>(r);
                        break;
                    }
                }
                ceiling = best;
            }
        }
        if (!choice.Chosen() && group > 8) {
            for (int r = 3; r <= 13; ++r) {
                if (Hand(r) > 0 && HNaturals(r) != HMelds(r)) {
                    choice = FromHand(FindCardOfRank(r));
                    memory.PlannedDiscardRank = static_cast<std::uint8_t>(r);
                    break;
                }
            }
        }
        if (choice.Chosen())
            return choice;

        if (threes > 0 && StockSize() <= 69)
            return FromHand(FindCardOfRank(2));
        return highestHeld();
    };

    DiscardChoice choice = decide();

    // The human's last card: never hand over a card that fits one of the human's melds.
    if (!choice.Chosen())
        return choice;
    const int column = choice.MeldIndex >= 0 ? 2 : Own().Hand.Cards[choice.HandIndex].Rank;
    if (PileSize() == 0 && HCards() == 1 && HMelds(column) > 0) {
        for (int r = 3; r <= 13; ++r)
            if (Hand(r) > 0 && HMelds(r) == 0)
                return FromHand(FindCardOfRank(r));
        return highestHeld();
    }
    return choice;
}

}  // namespace meldora::ai
