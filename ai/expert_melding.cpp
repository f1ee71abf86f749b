#include <algorithm>
#include <array>
#include <bit>

#include "ai/expert.h"

namespace meldora::ai {

namespace {
int MeldPoints(const CardPile& melds)
{
    int points = 0;
    for (int i = 0; i < melds.Count; ++i)
        points += melds.Cards[i].Points;
    return points;
}
}  // namespace

void ExpertTurn::MeldPhase()
{
    LayDownRedThrees(true);
    // The human may not discard over an initial meld short of the minimum, so
    // the computer lays one only when it reaches the minimum (or a canasta counts
    // for it), or when the computer goes out this turn.
    // Melding that moves no card needs no rehearsal on a copy of the table,
    // and most turns before the initial meld meld nothing.
    const int minimum = MinimumMeld(Own().Score);
    const auto meldsStand = [minimum](ExpertTurn& trial) {
        trial.MeldGroups();
        return trial.InitialMeldStands(minimum) || trial.GoesOut();
    };
    if (Opened())
        MeldGroups();
    else if (MeldGroupsWouldMeld() && Rehearse(meldsStand))
        MeldGroups();

    // The melding recounts after every card it moves, and a rehearsal moves
    // none here: the tallies show the table.
    if (StockSize() <= 3 * Need() + 68 && Threes() >= 2)
        Memory.ThreeDiscardMode = true;
}

bool ExpertTurn::MeldGroupsWouldMeld()
{
    class Probe {
    public:
        explicit Probe(bool& probing) : probing_(probing) { probing_ = true; }
        ~Probe() { probing_ = false; }
        Probe(const Probe&) = delete;
        Probe& operator=(const Probe&) = delete;

    private:
        bool& probing_;
    } probe(probing_);
    probeWouldMeld_ = false;
    MeldGroups();
    return probeWouldMeld_;
}

void ExpertTurn::MeldGroups()
{
    const ComputerMemory& memory = Memory;
    const bool aggressive = memory.AggressiveTurn;
    const int need = Need();

    // Natural canastas; before the initial meld only one that reaches the minimum
    // alone. Melding a rank recounts the tallies; before it, every caller has
    // just recounted (the red threes laid down, or a rehearsal's start).
    for (int r = 3; r <= 13; ++r) {
        if (Hand(r) + Melds(r) >= 7 && Melds(r) == Naturals(r)
            && (Opened() || 7 * Value(r) >= OwnMinimumMeld))
            MeldRank(r, 0);
    }

    // Could the hand be melded out this turn, completing the missing canastas
    // with wild cards? Only an aggressive turn asks.
    if (aggressive && MeldsOutWith(RanksPerTotal(), Wilds(), Canastas(), need, Threes())) {
        CompleteCanastas();
        MeldNaturals(0);
        UseWildcardsToGoOut();
    }

    // These sizes are read from the table itself, not from the tallies, and
    // completing the canastas recounts them first.
    if (StockSize() < 6
        || (!OpponentHoarding
            && ((HCanastas() >= need && HCards() < 10)
                || (HCanastas() == 0 && need == 1 && StockSize() < 55 && HMeldCards() < 5)))) {
        CompleteCanastas();
        if (Canastas() >= need) {
            MeldNaturals(0);
            UseWildcardsToGoOut();
        }
    }

    // From here on too, the tallies show the table: every step above that
    // moves a card recounts right after it.
    if (need == 2) {
        const ReachableCanastas reach = CountReachableCanastas();
        const int cardsLeft = Cards() - reach.CardsUsed;
        if (reach.Canastas >= 2 || StockSize() < 5) {
            if ((cardsLeft != 2 && reach.Canastas >= 2) || StockSize() < 5)
                CompleteCanastas();
            if (cardsLeft < 2 && reach.Canastas >= 2) {
                MeldNaturals(0);
                UseWildcardsToGoOut();
            }
        }
    }

    [&] {
        if (Canastas() < need && Game.Rules.CanastaRequired)
            return;
        if (Canastas() < need) {
            if (HCanastas() >= need && HCards() < 5 && !OpponentHoarding
                && Cards() + CMeldCards() >= 7 * need + 10 - 7 * Canastas() && Opened())
                MeldNaturals(1);
            return;
        }
        // Going out, unless the hand is still worth building on.
        const int x = (1 - FrozenFlag()) * CMeldCards() + Cards();
        const int humanCards = HCards() + HMeldCards();
        const bool holdBack
            = (aggressive && HCanastas() < need - 1 && humanCards < 35 && x >= 15)
              || (!aggressive && humanCards < 35 && x >= 7 && (HCanastas() < need || HCards() > 3));
        if (!holdBack && CountLeftover().Possible && GoingOutPays()) {
            MeldNaturals(0);
            CompleteCanastas();
            UseWildcardsToGoOut();
            return;
        }
        // Asked last, as the costliest part of the test.
        const auto onlyRedThreesMelded = [this] {
            const CardPile& melds = Opp().Melds;
            return std::all_of(melds.Cards.begin(), melds.Cards.begin() + melds.Count,
                               [](const CardRecord& c) { return IsRedThree(c.Id); });
        };
        if (HCards() < 6 || StockSize() < 5 || (StockSize() < 60 && aggressive && onlyRedThreesMelded())) {
            CompleteCanastas();
            if (StockSize() < 5 || (HCards() < 6 && HCanastas() >= need))
                MeldNaturals(1);
        }
    }();
}

void ExpertTurn::CompleteCanastas()
{
    // The melding of groups, its only caller, has the tallies current here.
    std::array<int, ColumnCount> wildsNeeded;
    wildsNeeded.fill(-1);
    int mostWildsNeeded = -1;
    for (int r = 13; r >= 3; --r) {
        const int total = Hand(r) + Melds(r);
        if (total + Wilds() < 7 || total < 4 || Melds(r) >= 7)
            continue;
        const int n = std::max(0, 7 - total);
        if (n <= 3 - WildsInColumn(r)) {
            wildsNeeded[r] = n;
            mostWildsNeeded = std::max(mostWildsNeeded, n);
        }
    }

    // The tallies are counted again whenever a rank has been melded, and only
    // then. Beyond the most wild cards a rank needs, no rank is left to meld.
    for (int n = 0; n <= mostWildsNeeded; ++n) {
        for (int r = 13; r >= 3; --r) {
            if (wildsNeeded[r] != n || n > Wilds())
                continue;
            MeldCardsOfRank(r);
            for (int i = 0; i < n; ++i)
                AddWildcardToMeld(r);
            Recount();
        }
        if (n == mostWildsNeeded)
            break;
        // Mixed canastas only when the game calls for them; otherwise naturals alone.
        const bool mixedWanted = Memory.AggressiveTurn || Canastas() < Need() || HCanastas() > Canastas()
                                 || Wilds() > 5 || CountLeftover().Possible;
        const int limit = mixedWanted ? 3 : 0;
        if (n + 1 > limit)
            break;
    }
}

void ExpertTurn::MeldNaturals(int keep)
{
    // The melding of groups, its only caller, has the tallies current here.
    int budget = Canastas() < Need() ? Cards() - (6 * Need() + 2) : Cards() - 2 * keep;
    for (int r = 13; r >= 3; --r) {
        const int h = Hand(r);
        const int m = Melds(r);
        if (((m >= 1 && h >= 1) || h >= 3) && h <= budget) {
            budget -= h;
            if (h >= (m == 0 ? 3 : 1))
                MeldCardsOfRank(r);
        }
    }
}

void ExpertTurn::UseWildcardsToGoOut()
{
    Recount();
    const int black = BlackThreesInHand();
    const GoOutPlan plan = PlanGoingOut(black >= 3 ? black : 0);
    if (!plan.Possible())
        return;

    for (int r = 13; r >= 3; --r) {
        // A pair and its wild card as the last three cards would empty a hand
        // that cannot go out.
        if (plan.Pair[r] && Cards() == 3 && Canastas() < Need())
            break;
        if (plan.Pair[r])
            MeldRank(r, 0);
    }
    // Handing out the wild cards recounts first.
    HandOutWildcards(plan.Spare);

    // Black threes go down only as the last cards of a hand that goes out, as
    // the human's must. Short of canastas, or with wild cards that found no
    // room, they stay in hand for the discard.
    if (black >= 3 && Canastas() >= Need() && Cards() - black <= 1)
        MeldRank(2, 0);
}

ReachableCanastas ExpertTurn::CountReachableCanastas() const
{
    int k = Canastas();
    int w = Wilds();
    int u = Wilds();
    // The ranks short of a canasta with four to eight cards, one set of ranks
    // per total: each total is gone through from the lowest rank up.
    std::array<unsigned, 9> ranksWithTotal{};
    const ColumnCounts& hand = Own().HandCount;
    const ColumnCounts& melds = Own().MeldCount;
    for (int r = 3; r <= 13; ++r) {
        const int total = hand[r] + melds[r];
        if (total >= 4 && total <= 8 && melds[r] < 7)
            ranksWithTotal[total] |= 1u << r;
    }
    for (int c = 8; c >= 4 && w >= 0; --c) {
        for (unsigned ranks = ranksWithTotal[c]; ranks != 0; ranks &= ranks - 1) {
            if (7 - c <= w) {
                w -= 7 - c;
                ++k;
                u += hand[std::countr_zero(ranks)];
            }
        }
    }
    return {k, u};
}

bool ExpertTurn::MeldsOutWith(const std::array<int, 9>& ranksPerTotal, int wilds, int canastas, int need, int threes)
{
    int w = wilds;
    int k = canastas;
    int singles = 0;
    bool ok = true;
    // The ranks of one total are alike, so each total is settled at once:
    // four or more complete canastas while some are missing and the wild
    // cards last, a pair takes one wild card each, a single is counted.
    for (int c = 8; c >= 1 && ok; --c) {
        const int ranks = ranksPerTotal[c];
        if (c >= 4) {
            for (int i = 0; i < ranks && k < need && w + c - 7 >= 0; ++i) {
                w -= 7 - c;
                ++k;
            }
        } else if (c == 2) {
            if (w < ranks)
                ok = false;
            else
                w -= ranks;
        } else if (c == 1) {
            singles += ranks;
        }
    }
    return k >= need && ok && singles <= 1 && (threes == 0 || threes >= 3 || (singles == 1 && threes == 1));
}

std::array<int, 9> ExpertTurn::RanksPerTotal() const
{
    std::array<int, 9> ranks{};
    const ColumnCounts& hand = Own().HandCount;
    const ColumnCounts& melds = Own().MeldCount;
    for (int r = 3; r <= 13; ++r) {
        const int total = hand[r] + melds[r];
        if (total <= 8)
            ++ranks[total];
    }
    return ranks;
}

bool ExpertTurn::GoingOutPays() const
{
    const int human = Opp().Score + 300 * HCanastas() + MeldPoints(Opp().Melds);
    const int computer = Own().Score + 300 * Canastas() + MeldPoints(Own().Melds);
    return human < computer || human < 5000;
}

}  // namespace meldora::ai
