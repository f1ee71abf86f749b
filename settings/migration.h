// Brings the settings of an older release up to the layout of this one. Runs
// once at start-up, before any other setting is read.
#pragma once

#include <filesystem>

namespace meldora {

class SettingsAccess;

// oldSettingsDir holds the old "meldora.ini" that is imported; userFilesDir is
// where the copy of that file goes and whose saved games ("*.meldora") and
// old-release files are deleted when the stored version asks for it.
void MigrateSettings(SettingsAccess& store, const std::filesystem::path& oldSettingsDir,
                     const std::filesystem::path& userFilesDir);

// The same over SettingsDir() and UserFilesDir().
void MigrateSettings(SettingsAccess& store);

}  // namespace meldora
