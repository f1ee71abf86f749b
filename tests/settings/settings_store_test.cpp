#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "settings/setting_keys.h"
#include "support/temp_home.h"

namespace meldora {
namespace {

using test::ReadFile;
using test::TempHome;
using test::WriteFile;

class StoreTest : public ::testing::Test {
protected:
    TempHome Home;
    std::string DbPath = (Home.Dir / "meldora.db").string();
    SettingsStore Store{DbPath};

    void SetUp() override
    {
        ASSERT_TRUE(Store.IsOpen()) << Store.OpenError();
        Store.SetKey(MeldoraBaseKey);
        Store.SetRoot(RootKey::LocalMachine);
    }
};

TEST_F(StoreTest, ValuesKeepTheirTypeAndWrongTypesGiveTheDefault)
{
    Store.WriteValue("Settings\\Sound", false);
    Store.WriteValue("Settings\\Music", true);
    Store.WriteValue("Settings\\Ratio", 0.25);
    Store.WriteValue("Settings\\Nothing", SettingValue{});
    EXPECT_EQ(Store.ReadValue("Settings\\Sound", true), SettingValue(0));
    EXPECT_EQ(Store.ReadValue("Settings\\Music", false), SettingValue(1));
    EXPECT_EQ(Store.ReadValue("Settings\\Ratio", 0), SettingValue(0.25));
    EXPECT_EQ(Store.ReadValue("Settings\\Nothing", true), SettingValue(true));
    Store.WriteValue("Settings\\Music", std::string("loud"));
    EXPECT_EQ(Store.ReadValue("Settings\\Music", 0), SettingValue(std::string("loud")));

    Store.WriteValue(keys::Delay.Name, std::string("fast"));
    Store.WriteValue(keys::Sound.Name, std::string("loud"));
    Store.WriteValue(keys::Level.Name, 2);
    Store.WriteValue(keys::CardSpeed.Name, std::string(" 25 "));
    EXPECT_EQ(Read(Store, keys::Delay), keys::Delay.Default);
    EXPECT_EQ(Read(Store, keys::Sound), keys::Sound.Default);
    EXPECT_EQ(Read(Store, keys::Level), "2");
    EXPECT_EQ(Read(Store, keys::CardSpeed), 25);
}

TEST_F(StoreTest, NamesIgnoreCaseAndStrayBackslashes)
{
    Store.WriteValue("Settings\\Mouse Options", std::string("Double Click"));
    EXPECT_EQ(Store.ReadString("Settings\\Mouse options", ""), "Double Click");
    EXPECT_EQ(Store.ReadString("\\SETTINGS\\\\mouse OPTIONS\\", ""), "Double Click");
    // Other capitals replace the value rather than adding a second one.
    Store.WriteValue("settings\\MOUSE OPTIONS", std::string("Single Right Click"));
    EXPECT_EQ(Store.ReadString("Settings\\Mouse Options", ""), "Single Right Click");
    std::vector<std::string> names;
    Store.GetKeyNames("", names);
    EXPECT_EQ(names, std::vector<std::string>{"Settings"});

    SettingsStore other(DbPath);
    EXPECT_EQ(other.Root(), RootKey::CurrentUser);
    other.SetKey("\\software\\\\CORVANE\\meldora\\");
    EXPECT_EQ(other.ReadString("Settings\\Mouse Options", "none"), "none");  // each root is its own tree
    other.SetRoot(RootKey::LocalMachine);
    EXPECT_EQ(other.ReadString("Settings\\Mouse Options", ""), "Single Right Click");
    other.SetKey("");
    EXPECT_EQ(other.ReadString("Software\\Corvane\\Meldora\\Settings\\Mouse Options", ""), "Single Right Click");
}

TEST_F(StoreTest, KeysAreListedAndDeletedAsWholeSubtrees)
{
    Store.WriteValue("Expert\\Score1", 900);
    Store.WriteValue("Beginner\\Score1", 100);
    Store.WriteValue("Beginner\\Deep\\Deeper\\Name", std::string("Ann"));
    Store.WriteValue("advanced\\Score1", 300);
    EXPECT_TRUE(Store.KeyExists("beginner\\DEEP"));
    EXPECT_FALSE(Store.KeyExists("Beginner\\Score1"));  // a value, not a key

    std::vector<std::string> names{"stale"};
    Store.GetKeyNames("", names);
    EXPECT_EQ(names, (std::vector<std::string>{"advanced", "Beginner", "Expert"}));
    Store.GetKeyNames("Missing", names);
    EXPECT_EQ(names.size(), 3u);

    EXPECT_TRUE(Store.DeleteKey("BEGINNER"));
    EXPECT_FALSE(Store.KeyExists("Beginner\\Deep"));
    Store.WriteValue("Beginner\\Score2", 5);
    EXPECT_EQ(Store.ReadInt("Beginner\\Score1", -1), -1);
    EXPECT_EQ(Store.ReadString("Beginner\\Deep\\Deeper\\Name", "none"), "none");
    EXPECT_FALSE(Store.DeleteKey("Missing"));
    EXPECT_FALSE(Store.DeleteKey("\\\\"));  // a blank name never wipes the base key
    EXPECT_EQ(Store.ReadInt("Expert\\Score1", 0), 900);

    Store.SetAccess(AccessMode::Read);
    Store.WriteValue("Expert\\Score1", 5);
    EXPECT_FALSE(Store.DeleteKey("Expert"));
    EXPECT_EQ(Store.ReadInt("Expert\\Score1", 0), 900);
    Store.SetAccess(AccessMode::Write);
    EXPECT_EQ(Store.ReadInt("Expert\\Score1", 0), 0);
}

void ExpectUnusableButHarmless(const std::filesystem::path& file, const std::string& bytes)
{
    SettingsStore store(file.string());
    EXPECT_FALSE(store.IsOpen());
    EXPECT_NE(store.OpenError().find(file.string()), std::string::npos) << store.OpenError();
    store.SetKey(MeldoraBaseKey);
    EXPECT_EQ(store.ReadInt("Settings\\Delay", 300), 300);
    store.WriteValue("Settings\\Delay", 5);
    EXPECT_FALSE(store.DeleteKey("Settings"));
    EXPECT_EQ(ReadFile(file), bytes);
}

TEST(StoreFailureTest, DamagedFilesGiveDefaultsAndStayUntouched)
{
    TempHome home;
    const auto file = home.Dir / "meldora.db";
    const std::string garbage(8192, '\x5a');
    WriteFile(file, garbage);
    ExpectUnusableButHarmless(file, garbage);

    // A real database whose pages were overwritten behind the header.
    std::filesystem::remove(file);
    {
        SettingsStore store(file.string());
        for (int i = 0; i < 30; ++i)
            store.WriteValue("Key" + std::to_string(i) + "\\Value", std::string(1000, 'x'));
    }
    std::string damaged = ReadFile(file);
    ASSERT_GT(damaged.size(), 8192u);
    for (std::size_t i = 4096; i < damaged.size(); i += 3)
        damaged[i] = static_cast<char>(0xA5);
    WriteFile(file, damaged);
    ExpectUnusableButHarmless(file, damaged);

    SettingsStore missingFolder((home.Dir / "no such folder" / "meldora.db").string());
    EXPECT_FALSE(missingFolder.IsOpen());
    EXPECT_EQ(missingFolder.ReadInt("Settings\\Delay", 300), 300);
}

}  // namespace
}  // namespace meldora
