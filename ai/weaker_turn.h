// What the two weaker computer levels, Advanced and Beginner, share: their own
// course of a turn around the common frame (the pile is unfrozen and the turn
// pauses before taking it, the top card is melded and the opening completed
// before the rest of the pile comes in), the rules' test whether the pile may be
// taken, and the melding steps both levels run the same way.
//
//   weaker_turn.cpp       the turn, the take, the opening, canastas, naturals
//   advanced*.cpp         the Advanced level's own decisions
//   beginner*.cpp         the Beginner level's own decisions
#pragma once

#include "ai/turn_frame.h"

namespace meldora::ai {

struct OpeningEstimate {
    bool Possible = false;
    int Wildcards = 0;  // pairs that are planned to take one wild card each
};

class WeakerTurn : public TurnFrame {
public:
    using TurnFrame::TurnFrame;

    // The whole turn.
    void Play();

    // ---- Take or draw ------------------------------------------------------
    // Whether the rules let the computer take the pile and the level wants it.
    // Right after BeginTurn, whose count of the table it reads.
    bool ShouldTakePile();
    // Unfreezes, takes the top card, melds it, completes the opening, then
    // takes the rest of the pile.
    void TakePile();
    // The rules' test; before the initial meld it also asks OpeningReachedWith.
    bool MayTakePile(const CardRecord& top, bool frozen);
    // Whether the melds the opening after a take would make, with the top card
    // in hand, reach the minimum.
    bool OpeningReachedWith(const CardRecord& top);

    // ---- Initial meld ------------------------------------------------------
    virtual OpeningEstimate EvaluateOpening() = 0;
    // Melds the planned pairs, then groups in hand order until the minimum is met.
    void CompleteOpening();

    // ---- Melding -----------------------------------------------------------
    virtual void MeldPhase() = 0;
    // Melds every card of a rank from the hand; a meld of two gets a wild card.
    virtual void MeldRank(int rank) = 0;
    // Finishes canastas with up to three wild cards each. Like MeldNaturals,
    // it reads the tallies as they stand: the melding phase keeps them current.
    void CompleteCanastas();
    // Melds natural groups and adds to melds; keepLastCard leaves one card for the discard.
    void MeldNaturals(bool keepLastCard);
    virtual void UseWildcardsToGoOut() = 0;

    // ---- Discard -----------------------------------------------------------
    // Asked right after the melding phase, whose tallies it reads.
    virtual DiscardChoice ChooseDiscard() = 0;

protected:
    // Neither weaker level looks at the opponent's melds by rank or at its known cards.
    bool CountsOpponentRanks() const override { return false; }
    // The level's decision on a pile the rules let it take, while TakeMinimum holds.
    virtual bool WantsPile(const CardRecord& top) = 0;
    // The top card just taken is melded with its rank, as the level decides.
    virtual void MeldTakenTopCard(const CardRecord& top) = 0;

    // Points, cards and wild cards of the groups and pairs that would open.
    struct OpeningCount {
        int Points = 0;
        int Used = 0;
        int Wildcards = 0;
    };
    OpeningCount CountOpening() const;
    // A joker when the hand holds one, else a two; no choice when it holds neither.
    DiscardChoice WildCard(bool twoFirst) const;
    DiscardChoice CardOfRank(int rank) const;
    DiscardChoice FirstCardOfHand() const;

    // While the pile is considered or taken for the initial meld, a top card that
    // may not count towards it raises the minimum by its points.
    class TakeMinimum {
    public:
        TakeMinimum(WeakerTurn& turn, const CardRecord& top);
        ~TakeMinimum() { turn_.OwnMinimumMeld = before_; }
        TakeMinimum(const TakeMinimum&) = delete;
        TakeMinimum& operator=(const TakeMinimum&) = delete;

    private:
        WeakerTurn& turn_;
        int before_;
    };
};

}  // namespace meldora::ai
