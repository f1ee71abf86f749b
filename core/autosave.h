// The automatic save made when the program closes.
#pragma once

namespace meldora {

class CanastaGame;

// Saves the game to the automatic save. A table that cannot be saved as it
// stands (a meld that fails the check, say) is saved as it stood after the
// turn's draw, which always passed it; if even that cannot be saved, the
// older automatic save is deleted, so that the next start never resumes a
// game older than the last one played. Changes the table: meant for closing.
// Returns true when the file was written.
bool SaveGameOnClosing(CanastaGame& game);

}  // namespace meldora
