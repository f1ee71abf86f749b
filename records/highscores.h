// The top-ten lists of the largest winning margins: one of hands and one of
// matches for each of the four levels (three computer levels and the network
// game). Stored under the level's name ("Expert\Score3", "ExpertMatch\Name3").
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace meldora {

class SettingsAccess;

inline constexpr int HighscoreRanks = 10;
inline constexpr int HighscoreLevels = 4;
inline constexpr int NetworkLevelIndex = 3;

enum class HighscoreType { Hand = 0, Match = 1 };

struct HighscoreEntry {
    std::int32_t Score = 0;
    std::string Date;
    std::string Name;
};

// Rank 1 at index 0; empty entries (score 0) fill the end.
using HighscoreList = std::array<HighscoreEntry, HighscoreRanks>;

// "Beginner", "Advanced", "Expert", "NetworkGame" for the level indices 0..3.
const char* LevelName(int levelIndex);
// The settings section of one list: the level's name, followed by "Match" for match lists.
std::string HighscoreSection(int levelIndex, HighscoreType type);

// The rank (1..10) a margin of score would take, below every equal score; 0 when it does not enter.
int HighscoreRank(const HighscoreList& list, std::int32_t score);
// Enters the score at its rank, pushing the last entry out; returns the rank or 0.
int InsertHighscore(HighscoreList& list, std::int32_t score, const std::string& name, const std::string& date);

// Entries whose score is not a number or is negative read as empty; the list is
// put in order, largest first, whatever order the store held.
HighscoreList LoadHighscoreList(SettingsAccess& settings, int levelIndex, HighscoreType type);
void WriteHighscoreList(SettingsAccess& settings, int levelIndex, HighscoreType type, const HighscoreList& list);

struct HighscoreTables {
    std::array<HighscoreList, HighscoreLevels> Hand;
    std::array<HighscoreList, HighscoreLevels> Match;

    HighscoreList& Of(HighscoreType type, int levelIndex);
    void Load(SettingsAccess& settings);
    // Empties one list in memory and deletes its section from the store.
    void Clear(SettingsAccess& settings, HighscoreType type, int levelIndex);
};

}  // namespace meldora
