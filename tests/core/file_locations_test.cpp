#include "core/file_locations.h"

#include <stdlib.h>

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace meldora {
namespace {

namespace fs = std::filesystem;

TEST(FileLocationsTest, MeldoraHomeElseTheUserFoldersAreCreatedAndUsed)
{
    test::TempHome home;
    const fs::path nested = home.Dir / "a" / "b";
    setenv("MELDORA_HOME", nested.c_str(), 1);
    EXPECT_EQ(SettingsDir(), nested / "settings");
    EXPECT_TRUE(fs::is_directory(nested / "settings"));
    EXPECT_EQ(UserFilesDir(), nested);
    EXPECT_EQ(SettingsDatabasePath(), nested / "settings" / "meldora.db");

    unsetenv("MELDORA_HOME");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    const std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", home.Dir.c_str(), 1);
    EXPECT_EQ(SettingsDir(), home.Dir / ".config" / "meldora");
    EXPECT_EQ(UserFilesDir(), home.Dir / ".local" / "share" / "meldora");
    EXPECT_TRUE(fs::is_directory(home.Dir / ".local" / "share" / "meldora"));
    setenv("HOME", savedHome.c_str(), 1);

    setenv("MELDORA_DATA_DIR", home.Dir.c_str(), 1);
    EXPECT_EQ(AssetsDir(), home.Dir);
    unsetenv("MELDORA_DATA_DIR");
    EXPECT_EQ(AssetsDir(), fs::path(MELDORA_SOURCE_ASSETS));
}

// An earlier release kept the database straight in MELDORA_HOME, beside the
// saved games; its settings, log included, move once into their own folder.
TEST(FileLocationsTest, AnOldDatabaseInMeldoraHomeMovesIntoTheSettingsFolder)
{
    test::TempHome home;
    test::WriteFile(home.Dir / "meldora.db", "database");
    test::WriteFile(home.Dir / "meldora.db-wal", "log");
    test::WriteFile(home.Dir / "meldora.db-shm", "index");

    const fs::path database = SettingsDatabasePath();

    EXPECT_EQ(test::ReadFile(database), "database");
    EXPECT_EQ(test::ReadFile(database.string() + "-wal"), "log");
    EXPECT_FALSE(fs::exists(home.Dir / "meldora.db"));
    EXPECT_FALSE(fs::exists(home.Dir / "meldora.db-wal"));
    EXPECT_FALSE(fs::exists(home.Dir / "meldora.db-shm"));

    // Once moved, a later file in the old place is left alone.
    test::WriteFile(home.Dir / "meldora.db", "stray");
    EXPECT_EQ(test::ReadFile(SettingsDatabasePath()), "database");
    EXPECT_EQ(test::ReadFile(home.Dir / "meldora.db"), "stray");
}

}  // namespace
}  // namespace meldora
