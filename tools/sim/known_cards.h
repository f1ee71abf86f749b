// What each side knows of the other's hand: the cards the other side picked up
// with the discard pile and has neither melded nor discarded since. The game
// keeps this for the human's hand only (KnownHumanCards, filled as the human
// takes the pile); when a computer level plays the human's side, the simulator
// works out both sides' knowledge from the table before and after each turn.
#pragma once

#include "core/game.h"
#include "tools/sim/card_counts.h"

namespace meldora::sim {

// After the side's turn (within the same hand): adds the cards it took from
// the discard pile to what the other side knows of its hand, and drops the
// cards it melded or discarded, by identity. The discard pile and the side's
// melds as the turn began are kept elsewhere (the referee keeps a copy of the
// whole table), with what the keeper of that copy found alike already.
void UpdateKnownCards(const CardPile& discardPileBefore, const CardPile& meldsBefore, const CanastaGame& game, Side side,
                      CardPile& known, const TurnPilesAlike& alike = {});

}  // namespace meldora::sim
