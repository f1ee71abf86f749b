// The instant messenger's external-application entry: with it, an ICQ contact starts a
// network game with this program in one click (the messenger runs it with "/ip:" and the
// contact's address).
#pragma once

#include <string>
#include <vector>

namespace meldora {

class SettingsStore;

// Writes the entry under the messenger's defaults and for every messenger user found in the
// current-user tree of the store. Writes nothing, and says nothing, when the messenger's key
// is absent. Afterwards the store is back on its own base key and on the local-machine root.
void registerWithIcq(SettingsStore& store, const std::string& programPath, const std::string& homePage);

// The messenger's user numbers on this machine (empty without the messenger), with the store
// switched there and back the same way.
std::vector<std::string> icqUserNumbers(SettingsStore& store);

}  // namespace meldora
