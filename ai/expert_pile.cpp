#include <algorithm>

#include "ai/expert.h"

namespace meldora::ai {

bool ExpertTurn::MayTakePile(const CardRecord& top, bool frozen)
{
    const RuleOptions& rules = Game.Rules;
    const int h = Hand(top.Rank);
    const int m = Melds(top.Rank);
    // A one-card pile must not be taken when the melds of the take would leave
    // the hand empty while the canastas are short: with a hand of nothing but
    // its rank, before the initial meld (all of them go down), or when up to
    // three go down and the hand holds two.
    const bool upToThree = m < 3 || frozen || (rules.NaturalPair && rules.AddExistingMeld);
    const bool meldsHandOut = (m < 3 && !Opened()) || (upToThree && h <= 2);
    const bool emptiesHand = PileSize() == 1 && h == Cards() && Canastas() < Need() && meldsHandOut;
    return RulesLetTakePile(top, frozen, emptiesHand);
}

bool ExpertTurn::PileCompletesCanasta() const
{
    for (int r = 3; r <= 13; ++r) {
        const int t = Hand(r) + Naturals(r) + Pile(r);
        if (t >= 4 && t + Wilds() >= 7 && t + Wilds() - Pile(r) < 7 && Melds(r) < 7)
            return true;
    }
    return false;
}

bool ExpertTurn::PileIsCritical()
{
    if (PileSize() == 0)
        return false;
    int big = 0, three = 0, pairs = 0;
    for (int r = 3; r <= 13; ++r) {
        const int total = Hand(r) + Melds(r);
        if (total >= 4)
            ++big;
        else if (total == 3)
            ++three;
        if (Hand(r) >= 2)
            ++pairs;
    }
    const int wilds = Wilds();
    Memory.StrongHand = (three >= 1 && three + wilds >= 3) || (big >= 1 && big + wilds >= 2);

    if (OpponentHoarding)
        return false;
    if (!Opened() && Memory.PlannedDiscardRank == 0 && !EvaluateOpening(0, false, false).Possible)
        return false;

    // The opponent's hand is searched for wild cards and threes only when the
    // sizes of its hand and melds alone leave the answer open.
    const int opponentCards = HCards() + HMeldCards();
    if (opponentCards >= 26 || opponentCards + OpponentWildsAndThrees() >= 26)
        return false;
    if ((Need() == 2 && pairs > 4) || (!Memory.StrongHand && Canastas() == 0) || PileSize() > 19
        || (Cards() > 19 && Canastas() >= Need()))
        return true;
    // Would the pile give the human the canasta of its top card?
    const int r = Game.DiscardPile.top().Rank;
    return Known(r) + HMelds(r) + Pile(r) > 6 && Known(r) + HMelds(r) < 7;
}

int ExpertTurn::LeftoverWithWholePile()
{
    // Counted as if the pile under its top card were in the hand, without moving a card.
    Recount();
    ColumnCounts hand = Own().HandCount;
    int blackThrees = BlackThreesInHand();
    const CardPile& pile = Game.DiscardPile;
    for (int i = pile.Count - 2; i >= 0; --i) {
        ++hand[pile.Cards[i].Rank];
        if (IsBlackThree(pile.Cards[i].Id))
            ++blackThrees;
    }
    return LeftoverOf(hand, Cards() + std::max(0, pile.Count - 1), blackThrees).Leftover;
}

bool ExpertTurn::ShouldTakePile()
{
    if (PileSize() == 0)
        return false;
    // Asked first in the turn: the turn's beginning has just counted the table.
    const CardRecord top = Game.DiscardPile.top();
    const int r = top.Rank;
    OwnMinimumMeld = MinimumMeld(Own().Score);
    if (!Game.Rules.TopCardCounts)
        OwnMinimumMeld += top.Points;

    const bool frozen = Frozen();
    if (!MayTakePile(top, frozen))
        return false;

    ComputerMemory& memory = Memory;
    memory.PileMakesCanasta = PileCompletesCanasta();
    // The leftover as the hand stands is read only on an aggressive turn with the canastas complete.
    const bool leftoverMatters = memory.AggressiveTurn && Canastas() >= Need();
    const int before = leftoverMatters ? CountLeftover().Leftover : 0;

    // Decide as if the top card were already in the hand.
    const CardOnTrial trial(*this, top);
    bool canOpen = true;
    if (Opened()) {
        memory.OpeningWildcards = 0;
    } else {
        const OpeningResult opening = EvaluateOpening(r, memory.PileMakesCanasta, true);
        canOpen = opening.Possible;
        memory.OpeningWildcards = opening.Wildcards;
    }

    const int need = Need();
    const int wilds = Wilds();
    bool take = false;
    if (PileIsCritical()) {
        const bool spareWild = Cards() > 24 && HCards() < 21
                               && ((Hand(1) > 0 && CanSpareRank(1)) || (Hand(0) > 0 && CanSpareRank(0)));
        if (Threes() > 0 || memory.PlannedDiscardRank != 0 || spareWild)
            take = false;
        else
            take = canOpen && ((StockSize() <= 70 && PileSize() >= 3) || Pile(0) + Pile(1) >= 1);
    } else {
        // The leftover with the whole pile in hand is counted only where a test reads it.
        const auto leftoverGrows = [&] { return before + 1 < LeftoverWithWholePile(); };
        const bool fitsMeld = Melds(r) >= 1 && !frozen;
        if (memory.ThreeDiscardMode) {
            const bool blocked = memory.AggressiveTurn && Canastas() >= need && before <= 2 && leftoverGrows();
            bool decided = false;
            if (canOpen && Threes() == 0 && memory.PlannedDiscardRank == 0 && !blocked
                && (Hand(r) >= 3 || fitsMeld || (Canastas() >= need && PileSize() >= 8 / need))) {
                take = true;
                decided = true;
            }
            if (!decided)
                take = canOpen && memory.PileMakesCanasta && (Hand(r) >= 3 || fitsMeld);
        } else {
            if (Canastas() < need && Game.Rules.CanastaRequired) {
                const bool found = CanastaInReach(r, memory.OpeningWildcards);
                take = canOpen && found;
                if (canOpen && !found)
                    take = Chance() > 25.0 / (PileSize() * PileSize());
            } else if (memory.AggressiveTurn && Canastas() >= need && before <= 2) {
                take = canOpen && !leftoverGrows();
            } else {
                const int t = Hand(r) + Melds(r) + Pile(r);
                const bool nearCanasta = t >= 5 && Melds(r) < 7 && t + wilds >= 8;
                const bool twoNeeded = need == 2 && PileSize() >= 3 && (Melds(r) >= 1 || Hand(r) >= 3);
                const bool twoNeededBigPile
                    = need == 2 && PileSize() >= 6 && (Melds(r) >= 1 || (Hand(r) == 2 && wilds >= 1));
                const int stockLimit = 15 * need + 46;
                if (nearCanasta || twoNeeded || twoNeededBigPile)
                    take = canOpen;
                else if (fitsMeld)
                    take = canOpen && PileSize() >= 4;
                else if (Hand(r) >= 4)
                    take = canOpen && StockSize() <= stockLimit;
                else if (Hand(r) == 3)
                    take = canOpen && PileSize() >= 15 - 7 * need && StockSize() <= stockLimit;
                else
                    take = false;
            }
            if (need == 1 && StockSize() >= 68)
                take = false;
        }
    }
    return take;
}

}  // namespace meldora::ai
