// The settings the game reads while it plays, answered from the rules chosen
// on the command line (the deal reads the initial freeze of the pile from the
// settings store, where the rules dialog keeps it). Nothing is stored on disk.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/rule_options.h"
#include "core/settings_access.h"

namespace meldora::sim {

class RuleSettings : public SettingsAccess {
public:
    explicit RuleSettings(const RuleOptions& rules);

    SettingValue ReadValue(const std::string& name, const SettingValue& defaultValue) override;
    void WriteValue(const std::string& name, const SettingValue& value) override;
    bool KeyExists(const std::string& subkey) override;
    void GetKeyNames(const std::string& subkey, std::vector<std::string>& names) override;
    bool DeleteKey(const std::string& subkey) override;

private:
    // Names compared without regard to case, as the settings store does.
    std::map<std::string, SettingValue> values_;
};

}  // namespace meldora::sim
