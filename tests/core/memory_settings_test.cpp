#include "core/memory_settings.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using meldora::MemorySettings;
using meldora::SettingValue;

TEST(MemorySettings, NamesMeetWhateverTheCaseOfTheirLetters)
{
    MemorySettings settings;
    settings.WriteValue("Settings\\Show Turns", false);
    settings.WriteValue("Zone@", 1);
    settings.WriteValue("Zone[", 2);

    EXPECT_EQ(settings.ReadValue("SETTINGS\\show turns", SettingValue(7)), SettingValue(0));
    EXPECT_TRUE(settings.KeyExists("settings"));
    EXPECT_EQ(settings.ReadValue("zONE@", SettingValue()), SettingValue(1));
    // Only letters fold: '@' and '[' lie either side of the capitals, and
    // folded as letters would become '`' and '{'.
    EXPECT_EQ(settings.ReadValue("zone`", SettingValue()), SettingValue());
    EXPECT_EQ(settings.ReadValue("zone{", SettingValue()), SettingValue());
}

}  // namespace
