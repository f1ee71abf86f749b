// An in-memory settings store with the same name rules as the real one:
// names compared without regard to case, values typed as written.
#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "core/settings_access.h"

namespace meldora::test {

class MemorySettings : public SettingsAccess {
public:
    std::map<std::string, SettingValue> Values;  // keyed by lower-case name

    static std::string Fold(std::string s)
    {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    }
    SettingValue ReadValue(const std::string& name, const SettingValue& def) override
    {
        auto it = Values.find(Fold(name));
        return it == Values.end() ? def : it->second;
    }
    void WriteValue(const std::string& name, const SettingValue& value) override
    {
        SettingValue stored = value;
        if (const bool* b = std::get_if<bool>(&value))
            stored = *b ? 1 : 0;
        Values[Fold(name)] = stored;
    }
    bool KeyExists(const std::string& subkey) override
    {
        const std::string prefix = Fold(subkey) + "\\";
        return std::any_of(Values.begin(), Values.end(),
                           [&](const auto& kv) { return kv.first.rfind(prefix, 0) == 0; });
    }
    void GetKeyNames(const std::string&, std::vector<std::string>&) override {}
    bool DeleteKey(const std::string& subkey) override
    {
        const std::string prefix = Fold(subkey) + "\\";
        std::erase_if(Values, [&](const auto& kv) { return kv.first.rfind(prefix, 0) == 0; });
        return true;
    }
};

// A MemorySettings that also lists the names written, in order.
class RecordingSettings : public MemorySettings {
public:
    std::vector<std::string> Written;
    void WriteValue(const std::string& name, const SettingValue& value) override
    {
        Written.push_back(name);
        MemorySettings::WriteValue(name, value);
    }
};

}  // namespace meldora::test
