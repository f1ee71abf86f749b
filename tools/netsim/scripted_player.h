// Plays the human's seat of one copy through the human's own moves (the clicks
// of the table: draw, take the pile, meld, lay wild cards, undo, discard, block
// with a red three, End Hand), choosing among them by chance. Every move the
// human can make in a network game is thus sent to the partner as it would be
// from the window.
#pragma once

#include <functional>
#include <random>
#include <string>

#include "core/game.h"

namespace meldora::netsim {

class ScriptedPlayer {
public:
    // afterMove runs after every move: the simulator delivers the messages and
    // compares the two copies there.
    ScriptedPlayer(std::uint32_t seed, std::function<void()> afterMove);

    // Plays one whole turn; false when no move could end it (the table refused
    // every discard), which the simulator reports.
    bool PlayTurn(CanastaGame& game);

private:
    bool TurnIsOver(const CanastaGame& game) const;
    void Draw(CanastaGame& game, bool mayTakePile);
    void CompleteOrUndoTake(CanastaGame& game);
    void Meld(CanastaGame& game);
    bool TryDiscard(CanastaGame& game);
    int Chance(int outOf) { return std::uniform_int_distribution<int>(0, outOf - 1)(random_); }
    void Moved() { afterMove_(); }

    std::mt19937 random_;
    // The deal the turn began in: a turn that ends the hand may see the next deal.
    std::string dealAtStart_;
    std::function<void()> afterMove_;
};

}  // namespace meldora::netsim
