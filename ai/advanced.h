// The Advanced computer player: opens with a reserve of cards, goes for a
// canasta of wild cards when the pile brings one, holds back its melds while the
// human is far from going out, and discards its threes once it has melded much.
//
//   advanced.cpp          the turn, the take, the opening, melding and going out
//   advanced_discard.cpp  the discard
#pragma once

#include "ai/weaker_turn.h"

namespace meldora::ai {

class AdvancedTurn : public WeakerTurn {
public:
    using WeakerTurn::WeakerTurn;

    OpeningEstimate EvaluateOpening() override;
    // The lowest rank that, with the wild cards in hand, makes a canasta worth
    // the initial meld on its own; 0 when there is none.
    int WildCanastaOpeningRank() const;
    void MeldPhase() override;
    void MeldRank(int rank) override;
    void UseWildcardsToGoOut() override;
    DiscardChoice ChooseDiscard() override;

protected:
    bool WantsPile(const CardRecord& top) override;
    void MeldTakenTopCard(const CardRecord& top) override;

private:
    DiscardChoice ChooseFromShortPile();
    DiscardChoice ChooseFromLongPile();
};

}  // namespace meldora::ai
