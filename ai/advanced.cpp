#include "ai/advanced.h"

namespace meldora::ai {

void PlayAdvancedTurn(CanastaGame& game, const ComputerSettings& settings)
{
    AdvancedTurn turn(game, settings);
    turn.Play();
}

OpeningEstimate AdvancedTurn::EvaluateOpening()
{
    const OpeningCount count = CountOpening();
    const int minimum = OwnMinimumMeld;
    // The higher the minimum, the more pairs with a wild card it may take.
    const bool withinBudget = minimum >= 120 || count.Wildcards <= (minimum >= 90 ? 1 : 0);
    // Six cards stay in hand after the opening.
    const bool possible = count.Used < Cards() - 6 && count.Points >= minimum && withinBudget;
    return {possible, count.Wildcards};
}

int AdvancedTurn::WildCanastaOpeningRank() const
{
    int jokers = Hand(0);
    int twos = Hand(1);
    int found = 0;
    for (int r = 13; r >= 3; --r) {
        const int h = Hand(r);
        if (h < 4 || h + jokers + Hand(1) < 7)
            continue;
        int points = Value(r) * h;
        for (int i = 0; i < 7 - h; ++i)
            points += TakeWildcard(jokers, twos);
        if (points >= OwnMinimumMeld)
            found = r;
    }
    return found;
}

bool AdvancedTurn::WantsPile(const CardRecord& top)
{
    // Decide as if the top card were already in the hand.
    const CardOnTrial trial(*this, top);
    bool canOpen = Opened();
    int pairs = 0;
    if (!canOpen) {
        const OpeningEstimate opening = EvaluateOpening();
        canOpen = opening.Possible;
        pairs = opening.Wildcards;
    }

    const int r = top.Rank;
    const int wilds = Wilds();
    const int pileSize = PileSize();
    bool take = false;
    if (Canastas() < Need() && Game.Rules.CanastaRequired) {
        // A missing canasta that the score depends on: is one in reach?
        const bool found = CanastaInReach(r, pairs);
        take = canOpen && found;
        if (canOpen && !found)
            take = Chance() > 25.0 / (pileSize * pileSize);
    } else {
        const int t = Hand(r) + Melds(r) + Pile(r);
        const bool hasGroup = Hand(r) >= 3;
        if (t >= 4 && t + wilds >= 7)
            take = canOpen && (hasGroup || Melds(r) >= 3);
        else if (Chance() <= 16.0 / (pileSize * pileSize))
            take = canOpen && hasGroup;  // a small pile is not worth a card on an old meld
        else
            take = canOpen && (hasGroup || Melds(r) >= 3);
    }
    return take;
}

void AdvancedTurn::MeldTakenTopCard(const CardRecord& top)
{
    const int r = top.Rank;
    if (!Opened() && WildCanastaOpeningRank() == r) {
        MeldRank(r);
        while (Melds(r) < 7 && Wilds() > 0) {
            AddWildcardToMeld(r);
            Recount();
        }
    } else {
        MeldRank(r);
    }
}

void AdvancedTurn::MeldRank(int rank)
{
    const int melded = MeldLastCardsOfRank(rank);
    if ((rank >= 3 && Melds(rank) == 2) || (rank == 2 && melded == 2)) {
        AddWildcardToMeld(rank);
        Recount();
    }
}

void AdvancedTurn::MeldPhase()
{
    const int need = Need();
    Recount();
    if (!Opened()) {
        const OpeningEstimate opening = EvaluateOpening();
        if (opening.Possible && (opening.Wildcards < 2 || OwnMinimumMeld > 50))
            CompleteOpening();
    }
    if (Opened())
        CompleteCanastas();

    // The opening and the canastas recount after every card they move.
    if (Canastas() >= need || !Game.Rules.CanastaRequired) {
        if (Canastas() < need) {
            // Without its canastas the computer melds only to cut its loss.
            if (HCanastas() >= need && Opened() && HCards() < 7)
                MeldNaturals(false);
        } else {
            // Held cards keep the human guessing while the human is far from going out.
            const double x = Chance();
            const int hcards = HCards();
            const bool holdBack = HMeldCards() + hcards < 31
                                  && (CMeldCards() + Cards() > 6 || Memory.ThreeDiscardMode)
                                  && x >= 16.0 / (hcards * hcards + 1) && Cards() != 2;
            if (!holdBack) {
                MeldNaturals(false);
                UseWildcardsToGoOut();
            }
        }
    }

    // Melding the naturals and going out recount after every card they move.
    if (CMeldCards() > 20 && Canastas() >= need && Threes() >= 1)
        Memory.ThreeDiscardMode = true;
}

void AdvancedTurn::UseWildcardsToGoOut()
{
    Recount();
    const int black = BlackThreesInHand();
    const GoOutPlan plan = PlanGoingOut(black >= 3 ? black : 0);
    if (!plan.Possible())
        return;

    for (int r = 13; r >= 3; --r)
        if (plan.Pair[r])
            MeldRank(r);
    // Handing out the wild cards recounts first.
    HandOutWildcards(plan.Spare);

    // Black threes go down only as the last cards of a hand that goes out, as
    // the human's must. Short of canastas, or with wild cards that found no
    // room, they stay in hand for the discard.
    if (black >= 3 && Canastas() >= Need() && Cards() - black <= 1)
        MeldRank(2);
}

}  // namespace meldora::ai
