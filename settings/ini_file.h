// A reader for old-style settings files: "[Section]" headers and
// "key = value" lines. Section and key names are matched without regard to
// case. Lines that fit neither form are skipped, and a file that cannot be
// read reads as empty, so a damaged file never stops the program.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace meldora {

class IniFile {
public:
    IniFile() = default;
    // Reads the file; a missing or unreadable file gives an empty IniFile.
    explicit IniFile(const std::filesystem::path& file);
    static IniFile FromText(std::string_view text);

    // Whether the file was there and could be read.
    bool Loaded() const { return found_; }

    // The value as written, without surrounding blanks or one pair of quotes.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // A value that is not a whole integer gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;

private:
    void Parse(std::string_view text);

    bool found_ = false;
    // Keyed by lower-case section, then lower-case key.
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

}  // namespace meldora
