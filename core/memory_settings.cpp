#include "core/memory_settings.h"

#include <algorithm>

namespace meldora {

namespace {

// Key names are plain ASCII: folding them needs no locale, which would be asked
// at every character of every read.
std::string Folded(std::string name)
{
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

bool InSubkey(const std::string& foldedName, const std::string& foldedSubkey)
{
    return foldedName.size() > foldedSubkey.size() + 1 && foldedName.compare(0, foldedSubkey.size(), foldedSubkey) == 0 &&
           foldedName[foldedSubkey.size()] == '\\';
}

}  // namespace

SettingValue MemorySettings::ReadValue(const std::string& name, const SettingValue& defaultValue)
{
    const auto found = values_.find(Folded(name));
    return found == values_.end() ? defaultValue : found->second;
}

void MemorySettings::WriteValue(const std::string& name, const SettingValue& value)
{
    if (const bool* b = std::get_if<bool>(&value))
        values_[Folded(name)] = *b ? 1 : 0;
    else
        values_[Folded(name)] = value;
}

bool MemorySettings::KeyExists(const std::string& subkey)
{
    const std::string folded = Folded(subkey);
    return std::any_of(values_.begin(), values_.end(), [&](const auto& entry) { return InSubkey(entry.first, folded); });
}

void MemorySettings::GetKeyNames(const std::string& subkey, std::vector<std::string>& names)
{
    names.clear();
    const std::string folded = Folded(subkey);
    for (const auto& entry : values_)
        if (InSubkey(entry.first, folded))
            names.push_back(entry.first.substr(folded.size() + 1));
}

bool MemorySettings::DeleteKey(const std::string& subkey)
{
    const std::string folded = Folded(subkey);
    return std::erase_if(values_, [&](const auto& entry) { return InSubkey(entry.first, folded); }) > 0;
}

}  // namespace meldora
