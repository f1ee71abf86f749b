// Feeds any bytes to the old-settings INI reader as a file's text, then reads
// the values the migration reads and a section and key named by the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/ini_file.h"

using namespace meldora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniFile ini = IniFile::FromText(text);

    for (const char* key : {"Version", "Background Color", "Music", "Sound", "Number of Canastas", "Number of Cards"}) {
        ini.ReadInteger("Settings", key, 0);
        ini.ReadString("Settings", key, "Yes");
    }
    // The first line's words as a section and a key, so that names the input
    // itself defines are read too.
    const std::string_view firstLine = text.substr(0, text.find('\n'));
    const std::size_t space = firstLine.find(' ');
    const std::string section(firstLine.substr(0, space));
    const std::string key(space == std::string_view::npos ? std::string_view() : firstLine.substr(space + 1));
    ini.ReadInteger(section, key, -1);
    ini.ReadString(section, key, "");
    return 0;
}
