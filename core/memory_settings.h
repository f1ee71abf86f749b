// Settings held in memory with the store's name rules: names compared without
// regard to case, booleans kept as integers 0/1. Serves the simulator, which
// must not touch a player's settings, and the tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/settings_access.h"

namespace meldora {

class MemorySettings : public SettingsAccess {
public:
    SettingValue ReadValue(const std::string& name, const SettingValue& defaultValue) override;
    void WriteValue(const std::string& name, const SettingValue& value) override;
    bool KeyExists(const std::string& subkey) override;
    void GetKeyNames(const std::string& subkey, std::vector<std::string>& names) override;
    bool DeleteKey(const std::string& subkey) override;

    // Every value, keyed by its lower-case name.
    const std::map<std::string, SettingValue>& Values() const { return values_; }

private:
    std::map<std::string, SettingValue> values_;
};

}  // namespace meldora
