#include "ai/computer_player.h"

#include "core/table_host.h"

namespace meldora::ai {

void RunComputerTurn(CanastaGame& game, const ComputerSettings& settings)
{
    // In a network game the remote person plays the computer's side.
    if (game.Host().IsNetworkGame())
        return;
    try {
        switch (settings.Level) {
        case Beginner:
            PlayBeginnerTurn(game, settings);
            break;
        case Advanced:
            PlayAdvancedTurn(game, settings);
            break;
        case Expert:
            PlayExpertTurn(game, settings);
            break;
        default:
            break;
        }
    } catch (...) {
        // A failed turn must not leave the table locked against the human's input.
        game.Turn.ComputerTurn = false;
        game.Host().SetBusyCursor(false);
        throw;
    }
}

}  // namespace meldora::ai
