#include "records/match_history.h"

#include "core/settings_access.h"

namespace meldora {

namespace {

std::string LineKey(int k) { return "MatchHistory\\Match" + std::to_string(k); }

}  // namespace

std::string MatchHistoryLine(const std::string& when, const std::string& playerName, const std::string& opponentName,
                             int humanScore, int opponentScore)
{
    const std::string& winner = humanScore > opponentScore ? playerName : opponentName;
    return when + ": " + playerName + " - " + opponentName + ": " + std::to_string(humanScore) + " - " +
           std::to_string(opponentScore) + ", winner: " + winner;
}

void AddMatchHistoryLine(SettingsAccess& settings, const std::string& line)
{
    for (int k = MatchHistoryLines - 2; k >= 0; --k)
        settings.WriteValue(LineKey(k + 1), settings.ReadString(LineKey(k), ""));
    settings.WriteValue(LineKey(0), line);
}

std::vector<std::string> ReadMatchHistory(SettingsAccess& settings)
{
    std::vector<std::string> lines;
    lines.reserve(MatchHistoryLines);
    for (int k = 0; k < MatchHistoryLines; ++k)
        lines.push_back(settings.ReadString(LineKey(k), ""));
    return lines;
}

}  // namespace meldora
