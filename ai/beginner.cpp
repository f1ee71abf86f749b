#include "ai/beginner.h"

#include <array>

namespace meldora::ai {

void PlayBeginnerTurn(CanastaGame& game, const ComputerSettings& settings)
{
    BeginnerTurn turn(game, settings);
    turn.Play();
}

OpeningEstimate BeginnerTurn::EvaluateOpening()
{
    const OpeningCount count = CountOpening();
    return {count.Points >= ComputerMinimumMeld && count.Used < Cards(), count.Wildcards};
}

bool BeginnerTurn::ShouldTakePile()
{
    if (PileSize() == 0)
        return false;
    RecountForComputer();
    const CardRecord top = Game.DiscardPile.top();
    if (!MayTakePile(top, Frozen()))
        return false;
    TakeMinimum minimum(*this, top);

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
        canOpen = points + 50 * jokers + 20 * twos >= ComputerMinimumMeld;
        while (canOpen && points < ComputerMinimumMeld) {
            if (jokers > 0) {
                --jokers;
                points += 50;
            } else {
                --twos;
                points += 20;
            }
            ++wildsNeeded;
        }
    }

    // The pile must bring a canasta within reach.
    const int wilds = Wilds();
    for (int t = 13; t >= 3; --t) {
        const int sum = Hand(t) + Pile(t) + Melds(t);
        if (sum >= 4 && sum + wilds >= 7)
            return canOpen && (Hand(t) >= 3 || sum - wildsNeeded + wilds >= 7);
    }
    return false;
}

void BeginnerTurn::MeldTakenTopCard(const CardRecord& top) { MeldRank(top.Rank); }

void BeginnerTurn::MeldRank(int rank)
{
    MeldCardsOfRank(rank);
    if (rank >= 3 && Melds(rank) == 2) {
        AddWildcardToMeld(rank);
        RecountForComputer();
    }
}

void BeginnerTurn::MeldPhase()
{
    RecountForComputer();
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
    RecountForComputer();
    std::array<bool, ColumnCount> pair{};
    int pairs = 0;
    for (int r = 13; r >= 3; --r) {
        if (Hand(r) == 2) {
            pair[r] = true;
            ++pairs;
        }
    }
    const int spare = Wilds() - pairs;
    const int rest = Cards() - 3 * pairs - spare;
    if (spare < 0 || (rest != 0 && rest != 1))
        return;

    for (int r = 13; r >= 3; --r)
        if (pair[r])
            MeldRank(r);
    RecountForComputer();

    // Without a card left over, one wild card stays in hand for the discard.
    HandOutWildcards(spare - 1 + rest);
}

}  // namespace meldora::ai
