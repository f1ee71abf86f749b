#include "net/outside/icq_registration.h"

#include <vector>

#include "settings/settings_store.h"

namespace meldora {

namespace {

void writeEntry(SettingsStore& store, const std::string& key, const std::string& programPath,
                const std::string& homePage)
{
    const std::string command = "/ip:%i";
    const std::pair<const char*, std::string> values[] = {
        {"Command Line", command},        {"Path", programPath},
        {"Client Path", programPath},     {"Client Command Line", command},
        {"Server Path", programPath},     {"Server Command Line", command},
        {"URL", homePage},                {"Type", "ClientServer"},
    };
    for (const auto& [name, value] : values)
        store.WriteValue(key + name, value);
}

std::vector<std::string> icqOwners(SettingsStore& store)
{
    std::vector<std::string> owners;
    store.GetKeyNames("Owners", owners);
    return owners;
}

// Runs work with the store on the messenger's key in the current-user tree, then puts the
// store back on its own base key and the local-machine root.
template <typename Work>
void onIcqKey(SettingsStore& store, Work work)
{
    const std::string ownKey = store.Key();
    store.SetRoot(RootKey::CurrentUser);
    store.SetKey("Software\\Mirabilis\\ICQ");
    if (store.KeyExists(""))
        work();
    store.SetKey(ownKey);
    store.SetRoot(RootKey::LocalMachine);
}

}  // namespace

void registerWithIcq(SettingsStore& store, const std::string& programPath, const std::string& homePage)
{
    onIcqKey(store, [&] {
        writeEntry(store, "DefaultPrefs\\GlobalExt\\Meldora\\", programPath, homePage);
        for (const std::string& owner : icqOwners(store))
            writeEntry(store, "Owners\\" + owner + "\\Prefs\\Externals\\Meldora\\", programPath, homePage);
    });
}

std::vector<std::string> icqUserNumbers(SettingsStore& store)
{
    std::vector<std::string> numbers;
    onIcqKey(store, [&] { numbers = icqOwners(store); });
    return numbers;
}

}  // namespace meldora
