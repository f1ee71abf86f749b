#include "settings/ini_file.h"

#include "core/file_io.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>

namespace meldora {

namespace {

// The old settings file is a few hundred bytes; anything past this is not ours.
constexpr std::size_t MaxFileBytes = 1 << 20;

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

std::string Fold(std::string_view s)
{
    std::string folded(s);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

}  // namespace

IniFile::IniFile(const std::filesystem::path& file)
{
    std::string text, error;
    if (!ReadRegularFile(file.string(), MaxFileBytes, text, error))
        return;
    found_ = true;
    Parse(text);
}

IniFile IniFile::FromText(std::string_view text)
{
    IniFile ini;
    ini.found_ = true;
    ini.Parse(text);
    return ini;
}

void IniFile::Parse(std::string_view text)
{
    std::string section;
    bool inSection = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            inSection = close != std::string_view::npos;
            if (inSection)
                section = Fold(Trim(line.substr(1, close - 1)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos)
            continue;
        const std::string_view key = Trim(line.substr(0, equals));
        if (key.empty())
            continue;
        std::string_view value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        // The first of two equal keys counts.
        sections_[section].emplace(Fold(key), std::string(value));
    }
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    const auto s = sections_.find(Fold(section));
    if (s == sections_.end())
        return defaultValue;
    const auto k = s->second.find(Fold(key));
    return k == s->second.end() ? defaultValue : k->second;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    const std::string text = ReadString(section, key, std::string());
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr == last && first != last ? value : defaultValue;
}

}  // namespace meldora
