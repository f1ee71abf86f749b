#include "records/player_list.h"

#include <charconv>
#include <cstdint>

#include "core/settings_access.h"

namespace meldora {

namespace {

constexpr char PlayerSection[] = "Player Names";
constexpr char PlayerKeyPrefix[] = "Player Names\\PlayerName";
constexpr std::size_t MaxTextLength = 255;

std::int32_t ParseCount(const std::string& text)
{
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < 0)
        return 0;
    return value;
}

}  // namespace

Player ParsePlayerValue(const std::string& value)
{
    Player player;
    const std::size_t nameEnd = value.find(',');
    player.Name = value.substr(0, std::min(nameEnd, MaxTextLength));
    if (nameEnd == std::string::npos)
        return player;
    const std::string rest = value.substr(nameEnd + 1);
    const std::size_t winsEnd = rest.find(',');
    player.Wins = ParseCount(rest.substr(0, winsEnd));
    if (winsEnd != std::string::npos)
        player.Losses = ParseCount(rest.substr(winsEnd + 1));
    return player;
}

std::string PlayerValue(const Player& player)
{
    return player.Name + "," + std::to_string(player.Wins) + "," + std::to_string(player.Losses);
}

std::string WinRatioText(std::int32_t wins, std::int32_t losses)
{
    const std::int64_t played = std::int64_t{wins} + losses;
    if (played <= 0)
        return "?";
    const std::int64_t scaled = std::int64_t{wins} * 100;
    std::int64_t percent = scaled / played;
    const std::int64_t twiceRemainder = (scaled % played) * 2;
    if (twiceRemainder > played || (twiceRemainder == played && percent % 2 != 0))
        ++percent;
    return std::to_string(percent);
}

void PlayerList::Load(SettingsAccess& settings)
{
    Players.clear();
    for (int k = 1;; ++k) {
        const std::string value = settings.ReadString(PlayerKeyPrefix + std::to_string(k), "");
        if (value.empty())
            break;
        Player player = ParsePlayerValue(value);
        // A value that starts with a comma carries no name to show or choose.
        if (!player.Name.empty())
            Players.push_back(std::move(player));
    }
    Current = Players.empty() ? -1 : 0;
}

void PlayerList::Write(SettingsAccess& settings) const
{
    int k = 1;
    auto write = [&](const Player& player) {
        settings.WriteValue(PlayerKeyPrefix + std::to_string(k++), PlayerValue(player));
    };
    if (Current >= 0 && Current < static_cast<int>(Players.size()))
        write(Players[Current]);
    for (int i = 0; i < static_cast<int>(Players.size()); ++i) {
        if (i != Current)
            write(Players[i]);
    }
}

void PlayerList::ResetStatistics(SettingsAccess& settings, int index)
{
    if (index < 0 || index >= static_cast<int>(Players.size()))
        return;
    Players[index].Wins = 0;
    Players[index].Losses = 0;
    settings.DeleteKey(PlayerSection);
    Write(settings);
}

void PlayerList::RecordMatchResult(SettingsAccess& settings, bool won)
{
    if (Current < 0 || Current >= static_cast<int>(Players.size()))
        return;
    Player& player = Players[Current];
    std::int32_t& count = won ? player.Wins : player.Losses;
    if (count < INT32_MAX)
        ++count;
    Write(settings);
}

std::string PlayerList::CurrentName() const
{
    if (Current < 0 || Current >= static_cast<int>(Players.size()))
        return {};
    return Players[Current].Name;
}

}  // namespace meldora
