#include "settings/migration.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <system_error>

#include "core/settings_access.h"
#include "core/file_locations.h"
#include "settings/ini_file.h"
#include "settings/setting_keys.h"

namespace meldora {

namespace fs = std::filesystem;

namespace {

constexpr const char* OldFileName = "meldora.ini";
constexpr const char* OldSection = "Meldora Settings";

// Files of the release before the settings store; they are useless now.
constexpr std::array<const char*, 4> OldReleaseFiles{"MELDORA640.DLL", "MELDORA800.DLL", "MELDORA1024.DLL",
                                                     "MELDORA.INI"};

// Copies the old settings file whole. The copy is written beside its final
// name and renamed, so a failed copy never leaves half a file behind.
void CopyOldFile(const fs::path& from, const fs::path& toDir)
{
    std::error_code ec;
    const fs::path to = toDir / OldFileName;
    if (!fs::is_regular_file(from, ec) || fs::equivalent(from, to, ec))
        return;
    const fs::path partial = toDir / (std::string(OldFileName) + ".partial");
    if (fs::copy_file(from, partial, fs::copy_options::overwrite_existing, ec))
        fs::rename(partial, to, ec);
    if (ec)
        fs::remove(partial, ec);
}

void DeleteOldReleaseFiles(const fs::path& dir)
{
    std::error_code ec;
    for (const char* name : OldReleaseFiles)
        fs::remove(dir / name, ec);
}

// Saved games of an older release cannot be loaded by this one.
void DeleteSavedGames(const fs::path& dir)
{
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        std::error_code fileEc;
        if (ext == ".meldora" && it->is_regular_file(fileEc))
            fs::remove(it->path(), fileEc);
    }
}

void ImportOldFile(SettingsAccess& store, const IniFile& ini)
{
    store.WriteValue("Settings\\Background Color",
                     ini.ReadInteger(OldSection, "Background Color", keys::BackgroundColor.Default));
    store.WriteValue("Settings\\Music", ini.ReadString(OldSection, "Music", "On") == "On");
    for (const char* name : {"Sound", "AutoSave", "Canasta Required", "Draw Extra", "Three Block", "Add to Canasta",
                             "Top card counts", "Initial block", "Natural pair"})
        store.WriteValue(std::string("Settings\\") + name, ini.ReadString(OldSection, name, "Yes") == "Yes");
    for (const char* name : {"Number of Canastas", "Number of Cards"})
        store.WriteValue(std::string("Settings\\") + name, ini.ReadString(OldSection, name, "One") == "One" ? 1 : 2);
}

}  // namespace

void MigrateSettings(SettingsAccess& store, const fs::path& oldSettingsDir, const fs::path& userFilesDir)
{
    int version = Read(store, keys::Version);
    if (version == SettingsVersion)
        return;

    const fs::path oldFile = oldSettingsDir / OldFileName;
    std::optional<IniFile> ini;
    if (version == 0) {
        ini.emplace(oldFile);
        version = ini->ReadInteger(OldSection, "Version", 0);
    }

    if (version > 0 && version < 300)
        CopyOldFile(oldFile, userFilesDir);
    if (version > 0 && version < 400) {
        if (!ini)
            ini.emplace(oldFile);
        // Without the old file there is nothing to import, and writing its
        // defaults would overwrite what the store already holds.
        if (ini->Loaded())
            ImportOldFile(store, *ini);
    }

    Write(store, keys::Version, SettingsVersion);

    // Files are deleted only once the store has taken the new version: a store
    // that cannot be written would otherwise cost the saved games at every start.
    if (version <= 0 || Read(store, keys::Version) != SettingsVersion)
        return;
    if (version < 400)
        DeleteOldReleaseFiles(userFilesDir);
    if (version < 41499)
        DeleteSavedGames(userFilesDir);
}

void MigrateSettings(SettingsAccess& store)
{
    MigrateSettings(store, SettingsDir(), UserFilesDir());
}

}  // namespace meldora
