// Letting a computer level play the human's side of the table.
//
// The strategies only ever read and change the computer's side, so the
// simulator turns the table round for the human side's turn: the two sides
// exchange hands, melds, canastas, scores and every other value the game keeps
// per side, the turn is played as an ordinary computer turn, and the table is
// turned back. Some values the game keeps for one side only (the computer's
// meld value and memory, the human's minimum meld, what the computer knows of
// the human's hand); their counterparts for the other side live in OtherSeat.
#pragma once

#include <cstdint>

#include "core/game.h"

namespace meldora::sim {

struct OtherSeat {
    // The human side's meld value this hand (the game keeps the computer's only).
    std::int32_t MeldValue = 0;
    // The computer side's minimum for its initial meld (the game keeps the human's only).
    std::int32_t MinimumMeld = 50;
    // Cards the human side knows to be in the computer's hand: the cards it
    // picked up with the discard pile and still holds.
    CardPile KnownCards;
    // What the player of the human side remembers between its turns.
    ComputerMemory Memory;
};

// Exchanges the two sides of the table. The hands are laid out anew in the
// other side's fashion (rank columns below, a row above) and the meld rows are
// reflected between the lower and the upper half, so that a canasta squares up
// where that side's canastas belong. Turning twice restores the table exactly.
void MirrorTable(CanastaGame& game, OtherSeat& other);

// Brings the values the game does not keep for the human side up to date from
// the table, right before the table is turned for that side's turn.
void RefreshOtherSeat(const CanastaGame& game, OtherSeat& other);

// A new hand: what either side knew of the other's hand and planned for its
// discards is gone, as the deal clears it for the computer.
void ClearOtherSeatForDeal(OtherSeat& other);

// Turns the table for the length of a scope, and back even when a turn fails.
class MirroredTable {
public:
    MirroredTable(CanastaGame& game, OtherSeat& other) : game_(game), other_(other) { MirrorTable(game_, other_); }
    ~MirroredTable() { MirrorTable(game_, other_); }
    MirroredTable(const MirroredTable&) = delete;
    MirroredTable& operator=(const MirroredTable&) = delete;

private:
    CanastaGame& game_;
    OtherSeat& other_;
};

}  // namespace meldora::sim
