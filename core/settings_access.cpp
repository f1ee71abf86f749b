#include "core/settings_access.h"

#include <charconv>
#include <cmath>

namespace meldora {

int SettingToInt(const SettingValue& v, int fallback, bool* ok)
{
    bool good = true;
    int result = fallback;
    if (const int* i = std::get_if<int>(&v)) {
        result = *i;
    } else if (const bool* b = std::get_if<bool>(&v)) {
        result = *b ? 1 : 0;
    } else if (const double* d = std::get_if<double>(&v)) {
        if (std::isfinite(*d) && *d >= -2147483648.0 && *d <= 2147483647.0)
            result = static_cast<int>(std::lround(*d));
        else
            good = false;
    } else if (const std::string* s = std::get_if<std::string>(&v)) {
        const char* first = s->data();
        const char* last = s->data() + s->size();
        while (first < last && *first == ' ')
            ++first;
        while (last > first && last[-1] == ' ')
            --last;
        int parsed = 0;
        auto [ptr, ec] = std::from_chars(first, last, parsed);
        if (ec == std::errc() && ptr == last && first != last)
            result = parsed;
        else
            good = false;
    } else {
        good = false;
    }
    if (ok)
        *ok = good;
    return good ? result : fallback;
}

std::string SettingToString(const SettingValue& v)
{
    if (const std::string* s = std::get_if<std::string>(&v))
        return *s;
    if (const int* i = std::get_if<int>(&v))
        return std::to_string(*i);
    if (const bool* b = std::get_if<bool>(&v))
        return *b ? "1" : "0";
    if (const double* d = std::get_if<double>(&v))
        return std::to_string(*d);
    return {};
}

int SettingsAccess::ReadInt(const std::string& name, int defaultValue)
{
    return SettingToInt(ReadValue(name, defaultValue), defaultValue);
}

bool SettingsAccess::ReadBool(const std::string& name, bool defaultValue)
{
    bool ok = false;
    const int v = SettingToInt(ReadValue(name, defaultValue), defaultValue ? 1 : 0, &ok);
    return ok ? v != 0 : defaultValue;
}

std::string SettingsAccess::ReadString(const std::string& name, const std::string& defaultValue)
{
    const SettingValue v = ReadValue(name, defaultValue);
    if (std::holds_alternative<std::monostate>(v))
        return defaultValue;
    return SettingToString(v);
}

}  // namespace meldora
