#include "settings/migration.h"

#include <gtest/gtest.h>

#include "core/file_locations.h"
#include "settings/settings_store.h"
#include "settings/setting_keys.h"
#include "support/temp_home.h"

namespace meldora {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

const std::string OldIni =
    "; written by the old release\r\n"
    "[Meldora Settings]\r\n"
    "Version=250\r\n"
    "Background Color=255\r\n"
    "Music=Off\r\n"
    "Sound = No\r\n"
    "canasta required=Yes\r\n"
    "Three Block=No\r\n"
    "Number of Canastas=Two\r\n"
    "Number of Cards=One\r\n"
    "[Other]\r\n"
    "AutoSave=No\r\n";

class MigrationTest : public ::testing::Test {
protected:
    test::TempHome Home;
    fs::path ConfigDir = Home.Dir / "config";
    fs::path UserDir = Home.Dir / "data";
    SettingsStore Store{(Home.Dir / "meldora.db").string()};

    void SetUp() override
    {
        fs::create_directories(ConfigDir);
        fs::create_directories(UserDir);
        Store.SetKey(MeldoraBaseKey);
        Store.SetRoot(RootKey::LocalMachine);
        for (const char* name : {"MELDORA640.DLL", "MELDORA800.DLL", "MELDORA1024.DLL", "MELDORA.INI",
                                 "autosave.meldora", "Game One.MELDORA", "notes.txt", "game.meldora.bak"})
            WriteFile(UserDir / name, "old");
        fs::create_directory(UserDir / "folder.meldora");
    }
    void Migrate() { MigrateSettings(Store, ConfigDir, UserDir); }
    bool Exists(const char* name) const { return fs::exists(UserDir / name); }
    bool OldReleaseFilesPresent() const
    {
        return Exists("MELDORA640.DLL") && Exists("MELDORA800.DLL") && Exists("MELDORA1024.DLL") &&
               Exists("MELDORA.INI");
    }
    bool SavedGamesPresent() const { return Exists("autosave.meldora") && Exists("Game One.MELDORA"); }
};

TEST_F(MigrationTest, OldReleaseFileIsCopiedImportedAndCleanedUp)
{
    WriteFile(ConfigDir / "meldora.ini", OldIni);
    Migrate();
    EXPECT_EQ(ReadFile(UserDir / "meldora.ini"), OldIni);
    EXPECT_EQ(ReadFile(ConfigDir / "meldora.ini"), OldIni);
    EXPECT_EQ(Store.ReadValue("Settings\\Background Color", 0), SettingValue(255));
    EXPECT_EQ(Store.ReadValue("Settings\\Music", 1), SettingValue(0));
    EXPECT_EQ(Store.ReadValue("Settings\\AutoSave", 0), SettingValue(1));  // absent from its section
    EXPECT_EQ(Store.ReadValue("Settings\\Three Block", 1), SettingValue(0));
    EXPECT_EQ(Store.ReadValue("Settings\\Number of Canastas", 0), SettingValue(2));
    EXPECT_EQ(Store.ReadValue("Settings\\Number of Cards", 0), SettingValue(1));
    for (const char* gone : {"MELDORA640.DLL", "MELDORA800.DLL", "MELDORA1024.DLL", "MELDORA.INI", "autosave.meldora",
                             "Game One.MELDORA"})
        EXPECT_FALSE(Exists(gone)) << gone;
    for (const char* kept : {"notes.txt", "game.meldora.bak", "folder.meldora"})
        EXPECT_TRUE(Exists(kept)) << kept;
    EXPECT_EQ(Read(Store, keys::Version), SettingsVersion);
}

// Each stored version takes only its own steps: copy before 300, import before 400,
// old-release files before 400, saved games before 41499.
TEST_F(MigrationTest, EachVersionTakesOnlyItsSteps)
{
    struct Case {
        int stored;
        const char* ini;
        bool copied, imported, oldFilesDeleted, savedGamesDeleted;
        int canastas;
    };
    const Case cases[] = {
        {SettingsVersion, OldIni.c_str(), false, false, false, false, 0},
        {250, "[meldora settings]\nnumber of canastas = 2\nSound=No\n", true, true, true, true, 2},
        {0, "[Meldora Settings]\nVersion=350\nSound=No\n", false, true, true, true, 1},
        {41000, OldIni.c_str(), false, false, false, true, 0},
        {50000, OldIni.c_str(), false, false, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        SetUp();
        fs::remove(UserDir / "meldora.ini");
        Store.DeleteKey("Settings");
        Store.WriteValue("Settings\\Sound", true);
        if (c.stored != 0)
            Write(Store, keys::Version, c.stored);
        WriteFile(ConfigDir / "meldora.ini", c.ini);
        Migrate();
        EXPECT_EQ(Exists("meldora.ini"), c.copied);
        EXPECT_EQ(Store.ReadBool("Settings\\Sound", true), !c.imported);
        EXPECT_EQ(Store.ReadInt("Settings\\Number of Canastas", 0), c.canastas);
        EXPECT_EQ(OldReleaseFilesPresent(), !c.oldFilesDeleted);
        EXPECT_EQ(SavedGamesPresent(), !c.savedGamesDeleted);
        EXPECT_EQ(Read(Store, keys::Version), SettingsVersion);
    }
}

TEST_F(MigrationTest, MalformedOldFileGivesDefaults)
{
    std::string junk = "[Meldora Settings\nVersion\n=250\n\x01\x02\xff garbage\n";
    junk += std::string("\0\0[", 3) + "\n";
    WriteFile(ConfigDir / "meldora.ini", junk);
    Migrate();
    EXPECT_TRUE(SavedGamesPresent());  // no readable version: nothing to migrate
    EXPECT_EQ(Read(Store, keys::Version), SettingsVersion);

    SetUp();
    Store.DeleteKey("Settings");
    WriteFile(ConfigDir / "meldora.ini",
              "[Meldora Settings]\nVersion=250\nBackground Color=dark\nNumber of Canastas\n==\n\xfe\xff\n");
    Migrate();
    EXPECT_EQ(Read(Store, keys::BackgroundColor), 32768);
    EXPECT_EQ(Store.ReadInt("Settings\\Number of Canastas", 0), 1);
    EXPECT_TRUE(Store.ReadBool("Settings\\Sound", false));
    EXPECT_EQ(Read(Store, keys::Version), SettingsVersion);
}

// Under MELDORA_HOME the old file is read from the settings folder and copied
// into the user files folder above it.
TEST(MigrationHomeTest, SettingsFolderInsideTheUserFilesFolder)
{
    test::TempHome home;
    WriteFile(SettingsDir() / "meldora.ini", OldIni);
    WriteFile(home.Dir / "autosave.meldora", "game");
    // A store that cannot take the new version must not cost the saved games.
    WriteFile(home.Dir / "broken.db", std::string(4096, '\x5a'));
    SettingsStore broken((home.Dir / "broken.db").string());
    ASSERT_FALSE(broken.IsOpen());
    MigrateSettings(broken);
    EXPECT_TRUE(fs::exists(home.Dir / "autosave.meldora"));

    SettingsStore store(SettingsDatabasePath().string());
    ASSERT_TRUE(store.IsOpen());
    MigrateSettings(store);
    EXPECT_EQ(ReadFile(home.Dir / "meldora.ini"), OldIni);
    EXPECT_EQ(ReadFile(home.Dir / "settings" / "meldora.ini"), OldIni);
    EXPECT_FALSE(fs::exists(home.Dir / "autosave.meldora"));
    EXPECT_EQ(store.ReadInt("Settings\\Number of Canastas", 0), 2);
}

}  // namespace
}  // namespace meldora
