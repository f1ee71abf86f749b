#include "tools/sim/rule_settings.h"

#include <algorithm>
#include <cctype>

namespace meldora::sim {

namespace {

std::string Folded(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name;
}

bool InSubkey(const std::string& foldedName, const std::string& foldedSubkey)
{
    return foldedName.size() > foldedSubkey.size() + 1 && foldedName.compare(0, foldedSubkey.size(), foldedSubkey) == 0 &&
           foldedName[foldedSubkey.size()] == '\\';
}

}  // namespace

RuleSettings::RuleSettings(const RuleOptions& rules) { SaveRuleOptions(*this, rules); }

SettingValue RuleSettings::ReadValue(const std::string& name, const SettingValue& defaultValue)
{
    const auto found = values_.find(Folded(name));
    return found == values_.end() ? defaultValue : found->second;
}

void RuleSettings::WriteValue(const std::string& name, const SettingValue& value) { values_[Folded(name)] = value; }

bool RuleSettings::KeyExists(const std::string& subkey)
{
    const std::string folded = Folded(subkey);
    return std::any_of(values_.begin(), values_.end(), [&](const auto& entry) { return InSubkey(entry.first, folded); });
}

void RuleSettings::GetKeyNames(const std::string& subkey, std::vector<std::string>& names)
{
    names.clear();
    const std::string folded = Folded(subkey);
    for (const auto& entry : values_)
        if (InSubkey(entry.first, folded))
            names.push_back(entry.first.substr(folded.size() + 1));
}

bool RuleSettings::DeleteKey(const std::string& subkey)
{
    const std::string folded = Folded(subkey);
    return std::erase_if(values_, [&](const auto& entry) { return InSubkey(entry.first, folded); }) > 0;
}

}  // namespace meldora::sim
