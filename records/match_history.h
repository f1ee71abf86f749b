// The last hundred finished matches, one line each, newest first, kept only in
// the settings store under "MatchHistory\Match0" (newest) to "MatchHistory\Match99".
#pragma once

#include <string>
#include <vector>

namespace meldora {

class SettingsAccess;

inline constexpr int MatchHistoryLines = 100;

// "<when>: <player> - <opponent>: <player's score> - <opponent's score>, winner: <name>";
// a drawn match names the opponent as the winner.
std::string MatchHistoryLine(const std::string& when, const std::string& playerName, const std::string& opponentName,
                             int humanScore, int opponentScore);

// Moves every line one place older (the oldest is lost) and stores the line as the newest.
void AddMatchHistoryLine(SettingsAccess& settings, const std::string& line);

// All hundred lines, newest first, missing ones empty.
std::vector<std::string> ReadMatchHistory(SettingsAccess& settings);

}  // namespace meldora
