// Saved games: the text file a game in progress is written to and read back
// from, by the menu, by the automatic save when the program closes and at
// start-up.
//
// The file holds the piles (card identities disguised by a per-pile key), the
// canasta states, the scores and most turn flags; the rule options, DrawFirst,
// CardsDrawn (a save is refused while a draw is incomplete), KnownHumanCards, the
// take-pile top card and WentOut are not stored and keep their values on load.
// Whether each side had melded before the turn is rebuilt from its melds.
#pragma once

#include <functional>
#include <string>

namespace meldora {

class CanastaGame;
class TableHost;

inline constexpr char SavedGameSignature[] = "MeldoraSavedGame";
inline constexpr int SavedGameVersion = 414;
inline constexpr char SavedGameExtension[] = ".meldora";
inline constexpr char AutoSaveName[] = "autosave.meldora";

// "autosave.meldora" in the folder the program writes its own files to.
std::string AutoSavePath();

// Saves the game. Refused while the discard pile is being taken, between the
// cards of a draw, or while the human's melds fail the meld check; a refusal
// is explained unless automatic.
// An automatic save writes AutoSavePath(); otherwise chooseFile is asked for
// the file name (empty: cancelled). The file is written beside the target and
// renamed over it only when complete, so a failed save never damages the file
// it was to replace. Returns true when the file was written.
bool SaveGame(CanastaGame& game, bool automatic, const std::function<std::string()>& chooseFile = {});

// Loads a saved game into the game. The whole file is read and checked before
// anything on the table changes: a file that cannot be read, has the wrong
// signature or version, is damaged, or holds a table no game can reach leaves the game as it was and is
// reported through the host. Returns true when the game was loaded.
bool LoadGame(CanastaGame& game, const std::string& fileName);

// LoadGame for a file's text already read; fileName only names it in messages.
bool LoadGameText(CanastaGame& game, const std::string& text, const std::string& fileName);

// False for a file that does not exist (silently) and for one that does not
// begin with the signature (reported through the host).
bool IsSavedGame(TableHost& host, const std::string& fileName);

// The default file name offered for a player's saved game.
std::string PlayerFileName(const std::string& playerName);

}  // namespace meldora
