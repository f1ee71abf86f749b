#include "ai/beginner.h"

namespace meldora::ai {

void PlayBeginnerTurn(CanastaGame& game, const ComputerSettings& settings)
{
    BeginnerTurn turn(game, settings);
    turn.Play();
}

OpeningEstimate BeginnerTurn::EvaluateOpening()
{
    const OpeningCount count = CountOpening();
    return {count.Points >= OwnMinimumMeld && count.Used < Cards(), count.Wildcards};
}

bool BeginnerTurn::WantsPile(const CardRecord& top)
{
    // The decision reads the hand as it is: the top card counts in the pile only.
    const int r = top.Rank;
    if (Canastas() >= Need())
        return Hand(r) >= 3 || (Melds(r) >= 3 && PileSize() >= 3);

    bool canOpen = Opened();
    int wildsNeeded = 0;
    if (!canOpen) {
        int points = 0;
        for (int rank = 3; rank <= 13; ++rank)
            if (Hand(rank) >= 3)
                points += Value(rank) * Hand(rank);
        int jokers = Hand(0);
        int twos = Hand(1);
        canOpen = points + 50 * jokers + 20 * twos >= OwnMinimumMeld;
        while (canOpen && points < OwnMinimumMeld) {
            points += TakeWildcard(jokers, twos);
            ++wildsNeeded;
        }
    }

    // The pile must bring a canasta within reach.
    return canOpen && CanastaInReach(-1, wildsNeeded);
}

void BeginnerTurn::MeldTakenTopCard(const CardRecord& top) { MeldRank(top.Rank); }

void BeginnerTurn::MeldRank(int rank)
{
    MeldCardsOfRank(rank);
    if (rank >= 3 && Melds(rank) == 2) {
        AddWildcardToMeld(rank);
        Recount();
    }
}

void BeginnerTurn::MeldPhase()
{
    Recount();
    if (!Opened() && EvaluateOpening().Possible)
        CompleteOpening();
    if (Opened())
        CompleteCanastas();
    if (Canastas() >= Need()) {
        MeldNaturals(true);
        UseWildcardsToGoOut();
    }
}

void BeginnerTurn::UseWildcardsToGoOut()
{
    Recount();
    const GoOutPlan plan = PlanGoingOut(0);
    if (!plan.Possible())
        return;

    for (int r = 13; r >= 3; --r)
        if (plan.Pair[r])
            MeldRank(r);

    // Without a card left over, one wild card stays in hand for the discard.
    // Handing out the wild cards recounts first.
    HandOutWildcards(plan.Spare - 1 + plan.Rest);
}

}  // namespace meldora::ai
