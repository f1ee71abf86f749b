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

TEST_F(IcqRegistrationTest, TheDefaultsGetTheWholeEntryEvenWithoutUsers)
{
    installMessenger({});
    registerWithIcq(store, Program, HomePage);
    const std::string entry = "DefaultPrefs\\GlobalExt\\Meldora\\";
    EXPECT_EQ(icqValue(entry + "Command Line"), "/ip:%i");
    EXPECT_EQ(icqValue(entry + "Path"), Program);
    EXPECT_EQ(icqValue(entry + "Client Path"), Program);
    EXPECT_EQ(icqValue(entry + "Client Command Line"), "/ip:%i");
    EXPECT_EQ(icqValue(entry + "Server Path"), Program);
    EXPECT_EQ(icqValue(entry + "Server Command Line"), "/ip:%i");
    EXPECT_EQ(icqValue(entry + "URL"), HomePage);
    EXPECT_EQ(icqValue(entry + "Type"), "ClientServer");
}

TEST_F(IcqRegistrationTest, EveryUserGetsTheEntry)
{
    installMessenger({"1234", "98765"});
    registerWithIcq(store, Program, HomePage);
    for (const std::string user : {"1234", "98765"}) {
        const std::string entry = "Owners\\" + user + "\\Prefs\\Externals\\Meldora\\";
        EXPECT_EQ(icqValue(entry + "Server Command Line"), "/ip:%i") << user;
        EXPECT_EQ(icqValue(entry + "Type"), "ClientServer") << user;
    }
    EXPECT_EQ(icqValue("Owners\\1234\\Nick"), "player 1234");
    EXPECT_EQ(store.Key(), MeldoraBaseKey);
    EXPECT_EQ(store.Root(), RootKey::LocalMachine);
}

}  // namespace
