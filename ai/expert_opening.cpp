#include <array>

#include "ai/expert.h"

namespace meldora::ai {

OpeningResult ExpertTurn::EvaluateOpening(int rank, bool pileCanasta, bool taking)
{
    const int minimum = OwnMinimumMeld;
    int points = Own().MeldValue;
    int used = 0;
    int w = 0;
    int jokers = Hand(0);
    int twos = Hand(1);

    if (rank != 0) {
        points += Value(rank) * Hand(rank);
        used = Hand(rank);
        if (Hand(rank) == 2) {
            w = 1;
            if (jokers >= 1)
                points += 50;
            else if (twos >= 1)
                points += 20;
        }
    }
    for (int r = 3; r <= 13 && points < minimum; ++r) {
        if (r != rank && Hand(r) >= 3) {
            points += Value(r) * Hand(r);
            used += Hand(r);
        }
    }
    auto addWild = [&] {
        points += TakeWildcard(jokers, twos);
        ++w;
    };
    auto wildsOnTriples = [&] {
        if (Game.Rules.NaturalPair)
            return;
        for (int r = 13; r >= 3 && points < minimum && jokers + twos >= 1; --r) {
            if (Hand(r) < 3)
                continue;
            for (int added = 0; added < 3 && points < minimum && jokers + twos >= 1; ++added)
                addWild();
        }
    };

    wildsOnTriples();
    const int p1 = points;
    const int w1 = w;
    for (int r = 13; r >= 3 && points < minimum && jokers + twos >= 1; --r) {
        if (r != rank && Hand(r) == 2) {
            points += 2 * Value(r);
            used += 2;
            addWild();
        }
    }
    wildsOnTriples();

    int& plan = Memory.OpeningPlan;
    if (p1 < minimum && minimum <= points) {
        plan = 2;
    } else if (p1 >= minimum) {
        plan = 1;
        w = w1;
    } else {
        plan = 0;
        points = 0;
    }

    // Wild cards beyond those the pile itself brings.
    const int extra = w - Pile(0) - Pile(1);
    const int need = Need();
    const int pileSize = PileSize();

    const bool reserve = !taking || used + w <= Cards() + pileSize - 9 - 3 * need || (need == 1 && pileCanasta);

    bool budget = true;
    if (need == 1) {
        if (minimum < 90)
            budget = extra <= 0 || (extra <= 1 && pileSize > 14);
        else if (minimum < 120)
            budget = pileSize < 7 ? extra <= 0 : extra <= 1;
        else
            budget = extra <= 2 - (pileSize < 6 ? 1 : 0) - (pileSize < 11 ? 1 : 0);
        if (!budget && pileSize >= 20)
            budget = true;
    }

    const int target = minimum - (taking ? 0 : 5);
    return {points >= target && reserve && budget, w};
}

bool ExpertTurn::InitialMeldStands(int minimum) const
{
    const int value = Own().MeldValue;
    return value == 0 || value >= minimum || (Game.Rules.BonusCounts && Canastas() >= 1);
}

bool ExpertTurn::CanSpareRank(int rank)
{
    if (Opened())
        return true;
    // The opening is reckoned from the hand's tallies alone: while they show
    // the hand as it lies, one card fewer in the tally is the trial.
    if (TalliesCurrent() && rank >= 0 && rank < ColumnCount) {
        if (Hand(rank) == 0)
            return false;
        const int planBefore = Memory.OpeningPlan;
        --Own().HandCount[rank];
        const bool possible = EvaluateOpening(0, false, false).Possible;
        ++Own().HandCount[rank];
        Memory.OpeningPlan = planBefore;
        return possible;
    }
    const int index = FindCardOfRank(rank);
    if (index < 0)
        return false;
    const int planBefore = Memory.OpeningPlan;
    bool possible = false;
    {
        HandTrial trial(*this);
        live_.OutOfHand(TakeCardAt(Own().Hand, index));
        Recount();
        possible = EvaluateOpening(0, false, false).Possible;
    }
    Memory.OpeningPlan = planBefore;
    return possible;
}

LeftoverResult ExpertTurn::CountLeftover() const
{
    return LeftoverOf(Own().HandCount, Cards(), BlackThreesInHand());
}

LeftoverResult ExpertTurn::LeftoverOf(const ColumnCounts& hand, int cards, int black) const
{
    int pairs = 0;
    int groups = 0;
    for (int r = 3; r <= 13; ++r) {
        const int total = hand[r] + Melds(r);
        if (total == 2)
            ++pairs;
        else if (total >= 3)
            groups += hand[r];
    }
    const int spare = hand[Joker] + hand[Two] - pairs;
    int leftover = cards - 3 * pairs - groups - spare;
    if (black >= 3)
        leftover -= black;
    if (spare < 0)
        leftover += 2 * -spare;
    return {spare >= 0 && (leftover == 0 || leftover == 1), leftover};
}

void ExpertTurn::CompleteOpening()
{
    std::array<bool, ColumnCount> marked{};
    for (int r = 13; r >= 3 && !MinimumReached(); --r) {
        if (Hand(r) >= 3) {
            marked[r] = true;
            MeldRank(r, 3);
        }
    }
    for (int r = 13; r >= 3 && !MinimumReached(); --r)
        if (marked[r])
            MeldRank(r, 0);
    if (Memory.OpeningPlan == 2) {
        int pairsMelded = 0;
        for (int r = 13; r >= 3 && !MinimumReached() && pairsMelded < Memory.OpeningWildcards; --r) {
            if (Hand(r) == 2) {
                MeldRank(r, 0);
                ++pairsMelded;
            }
        }
    }
    // Melds that the rest of the pile will nearly complete get wild cards now,
    // though never more than their naturals: the pile's cards come into the hand,
    // not onto the meld, and may stay there.
    Recount();
    const ColumnCounts melds = Own().MeldCount;
    for (int c = 8; c >= 3; --c) {
        for (int r = 13; r >= 3 && !MinimumReached(); --r) {
            if (melds[r] < 1 || melds[r] + Pile(r) != c)
                continue;
            const auto holdsWild = [this] { return FindCardOfRank(0) >= 0 || FindCardOfRank(1) >= 0; };
            for (int added = 0; added < 4 && !MinimumReached() && holdsWild() && WildcardRoom(r) > 0; ++added)
                AddWildcardToMeld(r);
        }
    }
    Recount();
}

}  // namespace meldora::ai
