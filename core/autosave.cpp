#include "core/autosave.h"

#include <filesystem>
#include <system_error>

#include "core/game.h"
#include "core/saved_game.h"

namespace meldora {

bool SaveGameOnClosing(CanastaGame& game)
{
    if (SaveGame(game, true))
        return true;
    // A pending take has its own snapshot, taken with the pile's top card
    // among the melds: it is no state to resume from.
    if (!game.Take.Pending) {
        game.RestoreSnapshot();
        game.RecountColumns();
        if (SaveGame(game, true))
            return true;
    }
    std::error_code ec;
    std::filesystem::remove(AutoSavePath(), ec);
    return false;
}

}  // namespace meldora
