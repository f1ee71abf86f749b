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
    EXPECT_EQ(SettingsDir(), nested);
    EXPECT_TRUE(fs::is_directory(nested));
    EXPECT_EQ(UserFilesDir(), nested);
    EXPECT_EQ(SettingsDatabasePath(), nested / "meldora.db");

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

}  // namespace
}  // namespace meldora
