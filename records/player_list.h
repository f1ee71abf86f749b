// The named players, one of whom may be current, with their won and lost
// matches. Stored as "Player Names\PlayerName<k>" = "name,wins,losses", the
// current player always as number 1 so that it is current again at the next start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace meldora {

class SettingsAccess;

struct Player {
    std::string Name;
    std::int32_t Wins = 0;
    std::int32_t Losses = 0;
};

// One stored player value. A value without commas is a name with no matches;
// counts that are not decimal numbers or are negative read as 0; the name is
// cut to 255 characters.
Player ParsePlayerValue(const std::string& value);
std::string PlayerValue(const Player& player);

// The share of won matches in whole percent, halves to the even neighbour;
// "?" when no match was played. Counts up to the 32-bit limit do not overflow.
std::string WinRatioText(std::int32_t wins, std::int32_t losses);

class PlayerList {
public:
    std::vector<Player> Players;
    // Index into Players, -1 when no player is current.
    int Current = -1;

    // Reads until the first missing or empty value; the first player read is current.
    void Load(SettingsAccess& settings);
    // Writes the current player first, then the others in list order; nothing when empty.
    void Write(SettingsAccess& settings) const;
    // Zeroes one player's counts and rewrites the whole stored list.
    void ResetStatistics(SettingsAccess& settings, int index);
    // Counts a won or lost match for the current player (none: nothing) and writes the list.
    void RecordMatchResult(SettingsAccess& settings, bool won);

    // The current player's name, empty when no player is current.
    std::string CurrentName() const;
};

}  // namespace meldora
