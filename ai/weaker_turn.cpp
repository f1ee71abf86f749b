#include "ai/weaker_turn.h"

#include <algorithm>

namespace meldora::ai {

WeakerTurn::TakeMinimum::TakeMinimum(WeakerTurn& turn, const CardRecord& top)
    : turn_(turn), before_(turn.OwnMinimumMeld)
{
    if (!turn.Game.Rules.TopCardCounts && !turn.Opened())
        turn.OwnMinimumMeld += top.Points;
}

void WeakerTurn::Play()
{
    // The turn's beginning has counted the table.
    BeginTurn();
    if (ShouldTakePile()) {
        TakePile();
    } else if (!StockEmpty()) {
        DrawCards();
    } else if (OwnForcedToTake()) {
        const CardRecord top = TakeTopCard();
        Recount();
        MeldRank(top.Rank);
    } else {
        // The deal of the next hand starts its own first turn.
        EndHandForEmptyStock();
        return;
    }
    LayDownRedThrees(false);
    MeldPhase();
    DiscardStep([this] { return ChooseDiscard(); });
    FinishTurn();
}

void WeakerTurn::TakePile()
{
    Game.Turn.DiscardFrozen = false;
    MeldPause();
    const CardRecord top = TakeTopCard();
    Recount();
    {
        TakeMinimum minimum(*this, top);
        MeldTakenTopCard(top);
        CompleteOpening();
    }
    RepaintHandRow();
    TakeRestOfPile();
    Recount();
}

bool WeakerTurn::ShouldTakePile()
{
    if (PileSize() == 0)
        return false;
    // Asked first in the turn: the turn's beginning has just counted the table.
    const CardRecord top = Game.DiscardPile.top();
    if (!MayTakePile(top, Frozen()))
        return false;
    TakeMinimum minimum(*this, top);
    return WantsPile(top);
}

bool WeakerTurn::MayTakePile(const CardRecord& top, bool frozen)
{
    // A one-card pile taken onto a hand of nothing but its rank would be
    // melded out to the last card, which a side short of its canastas may not do.
    const bool emptiesHand = PileSize() == 1 && Hand(top.Rank) == Cards() && Canastas() < Need();
    if (!RulesLetTakePile(top, frozen, emptiesHand))
        return false;
    return Opened() || OpeningReachedWith(top);
}

bool WeakerTurn::OpeningReachedWith(const CardRecord& top)
{
    // The human's take stands only when its melds reach the minimum; the
    // computer's opening after the take melds the groups, and pairs with a wild
    // card where the rules let it, so those must reach the minimum beforehand.
    // Wild cards beyond them would find no meld to go on.
    const CardOnTrial trial(*this, top);
    TakeMinimum minimum(*this, top);
    return CountOpening().Points >= OwnMinimumMeld;
}

WeakerTurn::OpeningCount WeakerTurn::CountOpening() const
{
    const int minimum = OwnMinimumMeld;
    OpeningCount count;
    count.Points = Own().MeldValue;
    for (int r = 3; r <= 13 && count.Points < minimum; ++r) {
        if (Hand(r) >= 3) {
            count.Points += Value(r) * Hand(r);
            count.Used += Hand(r);
        }
    }
    if (Game.Rules.NaturalPair)
        return count;
    int jokers = Hand(0);
    int twos = Hand(1);
    for (int r = 13; r >= 3 && count.Points < minimum && jokers + twos > 0; --r) {
        if (Hand(r) != 2)
            continue;
        count.Points += 2 * Value(r) + TakeWildcard(jokers, twos);
        count.Used += 3;
        ++count.Wildcards;
    }
    return count;
}

void WeakerTurn::CompleteOpening()
{
    Recount();
    const int pairs = EvaluateOpening().Wildcards;
    int previous = ColumnCount;
    for (int i = 0; i < pairs; ++i) {
        int r = previous - 1;
        while (r >= 0 && Hand(r) != 2)
            --r;
        if (r < 0)
            break;
        if (r >= 3)
            MeldRank(r);
        previous = r;
    }
    // Then groups in the order the hand holds them, until the minimum is met.
    while (Cards() > 0 && !MinimumReached()) {
        Recount();
        int rank = -1;
        for (int i = 0; i < Cards() && rank < 0; ++i) {
            const int r = Own().Hand.Cards[i].Rank;
            if (r >= 3 && Hand(r) + Melds(r) >= 3)
                rank = r;
        }
        if (rank < 0)
            break;
        MeldRank(rank);
    }
    Recount();
}

void WeakerTurn::CompleteCanastas()
{
    // The tallies are counted again whenever a rank has been melded, and only
    // then: the melding phase calling this has just counted them.
    for (int r = 13; r >= 3; --r) {
        const int h = Hand(r);
        const int m = Melds(r);
        const int wilds = Wilds();
        if (h + m + wilds < 7 || m >= 7)
            continue;
        const int n = std::max(0, 7 - h - m);
        if (n <= wilds && n <= 3 - WildsInColumn(r) && h + n < Cards()) {
            MeldCardsOfRank(r);
            for (int i = 0; i < n; ++i)
                AddWildcardToMeld(r);
            Recount();
        }
    }
}

void WeakerTurn::MeldNaturals(bool keepLastCard)
{
    int budget = Canastas() < Need() ? Cards() - 6 : Cards();
    for (int r = 13; r >= 3; --r) {
        const int h = Hand(r);
        const int m = Melds(r);
        if (!((m >= 1 && h >= 1) || h >= 3) || h > budget)
            continue;
        budget -= h;
        int count = h;
        if (keepLastCard && budget == 0) {
            count = h - 1;
            if (count < (m == 0 ? 3 : 1))
                continue;
        }
        MeldCardsOfRank(r, count);
    }
}

DiscardChoice WeakerTurn::CardOfRank(int rank) const
{
    DiscardChoice choice;
    choice.HandIndex = FindCardOfRank(rank);
    return choice;
}

DiscardChoice WeakerTurn::FirstCardOfHand() const
{
    DiscardChoice choice;
    if (Own().Hand.Count > 0)
        choice.HandIndex = 0;
    return choice;
}

DiscardChoice WeakerTurn::WildCard(bool twoFirst) const
{
    const DiscardChoice first = CardOfRank(twoFirst ? 1 : 0);
    return first.Chosen() ? first : CardOfRank(twoFirst ? 0 : 1);
}

}  // namespace meldora::ai
