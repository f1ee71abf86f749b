// What a left click would act on: the card, column or pile under the pointer when
// the game would accept the click, and the rectangle the table outlines for it.
#pragma once

#include <climits>

#include "core/table_host.h"
#include "table/table_input.h"

namespace meldora {

class CanastaGame;

// The spot hitTestTable finds under (x, y) when a plain left click there would be
// carried out in the player's turn; HitNothing when the click would be refused or
// would do nothing. Recounts the columns but changes nothing else of the game.
HitResult leftClickTarget(CanastaGame& game, int x, int y, int tableBottom = INT_MAX);

// The rectangle that shows a target: the stock or the pile's top card, a hand card
// as it is shown, or the whole meld column a meld card belongs to. Empty for none.
TableRect targetOutline(const CanastaGame& game, const HitResult& target, int tableBottom = INT_MAX);

// The human's column a rank key selects in a keyboard mode: the hand column while
// melding or discarding, the meld column while adding wild cards. Empty when the
// column holds no card.
TableRect keyboardColumnOutline(const CanastaGame& game, int column, bool meldColumn, int tableBottom = INT_MAX);

}  // namespace meldora
