// The messenger entry in a real settings database.
#include "net/outside/icq_registration.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "support/temp_home.h"

using namespace meldora;

namespace {

const std::string Program = "/opt/meldora/bin/meldora";
const std::string HomePage = "https://home.example/";
const std::string IcqKey = "Software\\Mirabilis\\ICQ";

class IcqRegistrationTest : public ::testing::Test {
protected:
    IcqRegistrationTest()
    {
        store.SetRoot(RootKey::LocalMachine);
        store.SetKey(MeldoraBaseKey);
    }

    // Puts the messenger's key, and one key per user under "Owners", into the current-user tree.
    void installMessenger(const std::vector<std::string>& users)
    {
        SettingsStore icq((home.Dir / "meldora.db").string());
        icq.SetRoot(RootKey::CurrentUser);
        icq.SetKey(IcqKey);
        icq.WriteValue("Version", std::string("2003b"));
        for (const std::string& user : users)
            icq.WriteValue("Owners\\" + user + "\\Nick", std::string("player " + user));
    }

    std::string icqValue(const std::string& name)
    {
        SettingsStore icq((home.Dir / "meldora.db").string());
        icq.SetRoot(RootKey::CurrentUser);
        icq.SetKey(IcqKey);
        return std::get<std::string>(icq.ReadValue(name, std::string("<absent>")));
    }

    test::TempHome home;
    SettingsStore store{(home.Dir / "meldora.db").string()};
};

TEST_F(IcqRegistrationTest, WithoutTheMessengerNothingIsWrittenAndTheStoreIsBackOnItsOwnKey)
{
    registerWithIcq(store, Program, HomePage);
    EXPECT_EQ(store.Key(), MeldoraBaseKey);
    EXPECT_EQ(store.Root(), RootKey::LocalMachine);
    store.SetRoot(RootKey::CurrentUser);
    store.SetKey("");
    EXPECT_FALSE(store.KeyExists("Software"));
}

TEST_F(IcqRegistrationTest, TheDefaultsAndEveryUserGetTheEntry)
{
    installMessenger({"1234", "98765"});
    registerWithIcq(store, Program, HomePage);
    for (const std::string entry : {"DefaultPrefs\\GlobalExt\\Meldora\\", "Owners\\1234\\Prefs\\Externals\\Meldora\\",
                                    "Owners\\98765\\Prefs\\Externals\\Meldora\\"}) {
        SCOPED_TRACE(entry);
        for (const char* name : {"Command Line", "Client Command Line", "Server Command Line"})
            EXPECT_EQ(icqValue(entry + name), "/ip:%i") << name;
        for (const char* name : {"Path", "Client Path", "Server Path"})
            EXPECT_EQ(icqValue(entry + name), Program) << name;
        EXPECT_EQ(icqValue(entry + "URL"), HomePage);
        EXPECT_EQ(icqValue(entry + "Type"), "ClientServer");
    }
    EXPECT_EQ(icqValue("Owners\\1234\\Nick"), "player 1234");
    EXPECT_EQ(store.Key(), MeldoraBaseKey);
    EXPECT_EQ(store.Root(), RootKey::LocalMachine);
}

}  // namespace
