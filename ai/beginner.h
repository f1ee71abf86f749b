// The Beginner computer player: takes the pile only for a canasta in reach or a
// group it already holds, opens as soon as it can, melds whatever it can once it
// has its canastas, and remembers nothing between its turns.
//
//   beginner.cpp          the turn, the take, the opening, melding and going out
//   beginner_discard.cpp  the discard
#pragma once

#include "ai/weaker_turn.h"

namespace meldora::ai {

class BeginnerTurn : public WeakerTurn {
public:
    using WeakerTurn::WeakerTurn;

    OpeningEstimate EvaluateOpening() override;
    void MeldPhase() override;
    void MeldRank(int rank) override;
    void UseWildcardsToGoOut() override;
    DiscardChoice ChooseDiscard() override;

protected:
    bool WantsPile(const CardRecord& top) override;
    void MeldTakenTopCard(const CardRecord& top) override;

private:
    // A three if the hand holds one, else a two, else a joker.
    DiscardChoice ThreeOrWildCard() const;
};

}  // namespace meldora::ai
