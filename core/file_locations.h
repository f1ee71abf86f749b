// Where the program keeps its files. Setting MELDORA_HOME puts the settings
// database and every writable file under that one folder (tests rely on it, so
// that they never touch a real user's files).
#pragma once

#include <filesystem>

namespace meldora {

// The settings database and the old "meldora.ini": $MELDORA_HOME/settings,
// else the user configuration folder (~/.config/meldora). Created when missing.
std::filesystem::path SettingsDir();

// Writable files (the automatic save, saved games): $MELDORA_HOME, else the
// user data folder (~/.local/share/meldora). Created when missing.
std::filesystem::path UserFilesDir();

// Read-only sounds, music and help pages: $MELDORA_DATA_DIR, else the
// installed share/meldora next to the program, else the source tree's assets.
std::filesystem::path AssetsDir();

// SettingsDir() / "meldora.db". A database left straight in $MELDORA_HOME by an
// earlier release is moved there first.
std::filesystem::path SettingsDatabasePath();

}  // namespace meldora
