// The Expert computer player: the strongest level, the only one that reads the
// Aggressiveness setting and remembers plans between its turns.
//
//   expert_turn.cpp     the turn, the take or draw, melding one rank
//   expert_pile.cpp     whether to take the discard pile
//   expert_opening.cpp  the initial meld and the leftover count
//   expert_melding.cpp  canastas, naturals and going out
//   expert_discard.cpp  the discard
#pragma once

#include <array>
#include <functional>

#include "ai/turn_frame.h"

namespace meldora::ai {

enum TakeOrDrawResult { Drew = 0, TookPile = 1, HandEnded = 2 };

struct OpeningResult {
    bool Possible = false;
    int Wildcards = 0;
};

struct LeftoverResult {
    bool Possible = false;
    int Leftover = 0;
};

struct ReachableCanastas {
    int Canastas = 0;
    int CardsUsed = 0;
};

class ExpertTurn : public TurnFrame {
public:
    using TurnFrame::TurnFrame;

    // The whole turn.
    void Play();

    // ---- Start of the turn, take or draw -----------------------------------
    // Right after BeginTurn, whose count of the table it reads.
    int TakeOrDraw();
    void DrawAggressiveTurn();
    void TakePile();
    // Right after BeginTurn, whose count of the table it reads.
    bool ShouldTakePile();
    bool MayTakePile(const CardRecord& top, bool frozen);
    bool PileIsCritical();
    bool PileCompletesCanasta() const;

    // ---- Initial meld --------------------------------------------------------
    OpeningResult EvaluateOpening(int rank, bool pileCanasta, bool taking);
    // Whether the computer's melds pass as its initial meld the way the human's
    // would: none yet, at least the minimum, or a canasta while canastas count.
    bool InitialMeldStands(int minimum) const;
    // Whether the top card and the opening melded after taking the pile reach
    // the minimum, as a human's take must before the pile is picked up.
    bool TakeReachesMinimum();
    bool CanSpareRank(int rank);
    LeftoverResult CountLeftover() const;
    void CompleteOpening();

    // ---- Melding and going out -----------------------------------------------
    void MeldPhase();
    // Called by MeldGroups alone, which keeps the tallies current for them.
    void CompleteCanastas();
    void MeldNaturals(int keep);
    void UseWildcardsToGoOut();
    ReachableCanastas CountReachableCanastas() const;
    // How many ranks, four to ace, have each total of cards from one to
    // eight in the hand and the melds together.
    std::array<int, 9> RanksPerTotal() const;
    // Whether the hand could be melded out this turn, wild cards completing the
    // missing canastas: by how many ranks have each total of hand and melds
    // (RanksPerTotal; which ranks does not matter), the wild cards and threes in
    // hand and the canastas laid.
    static bool MeldsOutWith(const std::array<int, 9>& ranksPerTotal, int wilds, int canastas, int need, int threes);
    bool GoingOutPays() const;
    void MeldRank(int rank, int max);

    // ---- Discard -------------------------------------------------------------
    // Asked right after the melding phase, whose tallies it reads.
    DiscardChoice ChooseDiscard();

private:
    // Melds the top card just taken with its rank and, before the initial meld, the opening.
    void MeldTakenTopCard(int rank);
    // The meld phase after the red threes: canastas, naturals, going out.
    void MeldGroups();
    // Whether MeldGroups would meld any card. It is run as a probe on the table
    // as it is; when it would meld nothing, the probe has played it through.
    bool MeldGroupsWouldMeld();
    // The hand is empty, or its last card goes as the discard with the canastas complete.
    bool GoesOut() const { return Cards() == 0 || (Cards() == 1 && Canastas() >= Need()); }
    // Plays part of the turn on a copy of the game; returns what the part found there.
    bool Rehearse(const std::function<bool(ExpertTurn&)>& part);
    int LeftoverWithWholePile();
    // The leftover of a hand of those cards per rank, so many cards and black
    // threes, beside the computer's melds.
    LeftoverResult LeftoverOf(const ColumnCounts& hand, int cards, int blackThrees) const;
};

}  // namespace meldora::ai
