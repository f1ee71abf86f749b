#include "records/highscores.h"

#include <algorithm>
#include <stdexcept>

#include "core/settings_access.h"

namespace meldora {

namespace {

constexpr std::size_t MaxTextLength = 255;

int CheckedLevel(int levelIndex)
{
    if (levelIndex < 0 || levelIndex >= HighscoreLevels)
        throw std::out_of_range("highscore level " + std::to_string(levelIndex));
    return levelIndex;
}

std::string EntryKey(int levelIndex, HighscoreType type, const char* field, int rank)
{
    return HighscoreSection(levelIndex, type) + "\\" + field + std::to_string(rank);
}

}  // namespace

const char* LevelName(int levelIndex)
{
    static const char* const names[HighscoreLevels] = {"Beginner", "Advanced", "Expert", "NetworkGame"};
    return names[CheckedLevel(levelIndex)];
}

std::string HighscoreSection(int levelIndex, HighscoreType type)
{
    return std::string(LevelName(levelIndex)) + (type == HighscoreType::Match ? "Match" : "");
}

int HighscoreRank(const HighscoreList& list, std::int32_t score)
{
    if (score <= list[HighscoreRanks - 1].Score)
        return 0;
    int r = HighscoreRanks;
    while (r >= 1 && score > list[r - 1].Score)
        --r;
    return r + 1;
}

int InsertHighscore(HighscoreList& list, std::int32_t score, const std::string& name, const std::string& date)
{
    const int rank = HighscoreRank(list, score);
    if (rank == 0)
        return 0;
    std::move_backward(list.begin() + (rank - 1), list.end() - 1, list.end());
    list[rank - 1] = HighscoreEntry{score, date.substr(0, MaxTextLength), name.substr(0, MaxTextLength)};
    return rank;
}

HighscoreList LoadHighscoreList(SettingsAccess& settings, int levelIndex, HighscoreType type)
{
    HighscoreList list;
    for (int rank = 1; rank <= HighscoreRanks; ++rank) {
        bool ok = false;
        const int score = SettingToInt(settings.ReadValue(EntryKey(levelIndex, type, "Score", rank), 0), 0, &ok);
        if (!ok || score <= 0)
            continue;
        HighscoreEntry& entry = list[rank - 1];
        entry.Score = score;
        entry.Name = settings.ReadString(EntryKey(levelIndex, type, "Name", rank), "").substr(0, MaxTextLength);
        entry.Date = settings.ReadString(EntryKey(levelIndex, type, "Date", rank), "").substr(0, MaxTextLength);
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const HighscoreEntry& a, const HighscoreEntry& b) { return a.Score > b.Score; });
    return list;
}

void WriteHighscoreList(SettingsAccess& settings, int levelIndex, HighscoreType type, const HighscoreList& list)
{
    for (int rank = 1; rank <= HighscoreRanks; ++rank) {
        const HighscoreEntry& entry = list[rank - 1];
        settings.WriteValue(EntryKey(levelIndex, type, "Score", rank), static_cast<int>(entry.Score));
        settings.WriteValue(EntryKey(levelIndex, type, "Name", rank), entry.Name);
        settings.WriteValue(EntryKey(levelIndex, type, "Date", rank), entry.Date);
    }
}

HighscoreList& HighscoreTables::Of(HighscoreType type, int levelIndex)
{
    return (type == HighscoreType::Match ? Match : Hand)[CheckedLevel(levelIndex)];
}

void HighscoreTables::Load(SettingsAccess& settings)
{
    for (int level = 0; level < HighscoreLevels; ++level) {
        Hand[level] = LoadHighscoreList(settings, level, HighscoreType::Hand);
        Match[level] = LoadHighscoreList(settings, level, HighscoreType::Match);
    }
}

void HighscoreTables::Clear(SettingsAccess& settings, HighscoreType type, int levelIndex)
{
    Of(type, levelIndex) = HighscoreList{};
    settings.DeleteKey(HighscoreSection(levelIndex, type));
}

}  // namespace meldora
