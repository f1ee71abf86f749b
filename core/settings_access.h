// The settings store as the game sees it: named, typed values read with a
// default. The SQLite store implements it.
#pragma once

#include <map>
#include <string>
#include <variant>
#include <vector>

namespace meldora {

// A settings value as stored: booleans are written as integers 0/1 and read back as integers.
using SettingValue = std::variant<std::monostate, bool, int, double, std::string>;

class SettingsAccess {
public:
    virtual ~SettingsAccess() = default;

    // The stored value, typed as stored; the default unchanged when absent.
    virtual SettingValue ReadValue(const std::string& name, const SettingValue& defaultValue) = 0;
    virtual void WriteValue(const std::string& name, const SettingValue& value) = 0;
    virtual bool KeyExists(const std::string& subkey) = 0;
    virtual void GetKeyNames(const std::string& subkey, std::vector<std::string>& names) = 0;
    virtual bool DeleteKey(const std::string& subkey) = 0;

    // Typed reads. A value that cannot be read as the asked type gives the default:
    // a stray text in the store must never stop the game.
    int ReadInt(const std::string& name, int defaultValue);
    bool ReadBool(const std::string& name, bool defaultValue);
    std::string ReadString(const std::string& name, const std::string& defaultValue);
};

// Converts a value read from the store; nullopt-like failure is reported through ok.
int SettingToInt(const SettingValue& v, int fallback, bool* ok = nullptr);
std::string SettingToString(const SettingValue& v);

}  // namespace meldora
