// The computer opponent: one whole turn at the level the player chose.
#pragma once

#include <cstdint>

#include "core/game.h"

namespace meldora::ai {

enum ComputerLevel : std::uint8_t { Beginner = 0, Advanced = 1, Expert = 2, NoComputer = 3 };

struct ComputerSettings {
    std::uint8_t Level = Beginner;
    int Aggression = 50;   // percent, read by the Expert only
    int MeldDelay = 300;   // milliseconds after each card the computer melds
    bool Animate = true;   // false: no flights and no pauses (the simulator)
    // The side of the table the level plays, and its memory between turns:
    // the game's own memory when none is given.
    Side Seat = Side::Computer;
    ComputerMemory* Memory = nullptr;
};

// Plays one whole computer turn at the chosen level; none for NoComputer or a network game.
void RunComputerTurn(CanastaGame& game, const ComputerSettings& settings);

// The entries of the three strategy families, each one whole turn.
void PlayBeginnerTurn(CanastaGame& game, const ComputerSettings& settings);
void PlayAdvancedTurn(CanastaGame& game, const ComputerSettings& settings);
void PlayExpertTurn(CanastaGame& game, const ComputerSettings& settings);

}  // namespace meldora::ai
