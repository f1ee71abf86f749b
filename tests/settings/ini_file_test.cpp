#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_home.h"

namespace meldora {
namespace {

TEST(IniFileTest, SectionsAndKeysIgnoreCase)
{
    const IniFile ini = IniFile::FromText(
        "stray=before any section\n"
        "[Meldora Settings]\r\n"
        "  Sound =  Yes  \r\n"
        "Name=\"  quoted  \"\n"
        "sound=No\n"
        "; Music=Off\n"
        "[second]\n"
        "Version=300\n"
        "[MELDORA SETTINGS]\n"
        "Level=Expert\n");
    EXPECT_EQ(ini.ReadString("meldora settings", "SOUND", ""), "Yes");  // the first of two wins
    EXPECT_EQ(ini.ReadString("Meldora Settings", "Name", ""), "  quoted  ");
    EXPECT_EQ(ini.ReadString("Meldora Settings", "Level", ""), "Expert");  // sections merge
    EXPECT_EQ(ini.ReadString("Meldora Settings", "Music", "On"), "On");
    EXPECT_EQ(ini.ReadString("", "stray", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("Second", "version", 0), 300);
    EXPECT_EQ(ini.ReadInteger("Second", "missing", 7), 7);
}

TEST(IniFileTest, MalformedInputIsSkipped)
{
    std::string text = "[Broken\nVersion=1\n[]\nempty=\n=no key\nno equals\n[ok]\n";
    text += std::string("bin\0ary=\xff\x01", 10) + "\nVersion=12x\nNumber= -4 \nHuge=99999999999\n[unclosed";
    const IniFile ini = IniFile::FromText(text);
    EXPECT_EQ(ini.ReadInteger("Broken", "Version", -1), -1);
    EXPECT_EQ(ini.ReadString("", "empty", "d"), "");
    EXPECT_EQ(ini.ReadInteger("ok", "Version", 0), 0);
    EXPECT_EQ(ini.ReadInteger("ok", "Number", 0), -4);
    EXPECT_EQ(ini.ReadInteger("ok", "Huge", 5), 5);
    EXPECT_EQ(ini.ReadString("ok", std::string("bin\0ary", 7), ""), "\xff\x01");
}

// A missing file or a folder reads as empty; a device or a fifo is neither read nor waited on.
TEST(IniFileTest, WhatIsNoRegularFileReadsAsEmpty)
{
    test::TempHome home;
    EXPECT_FALSE(IniFile(home.Dir / "missing.ini").Loaded());
    EXPECT_EQ(IniFile(home.Dir).ReadString("a", "b", "c"), "c");
    const std::filesystem::path fifo = home.Dir / "meldora.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(IniFile(fifo).Loaded());
    EXPECT_FALSE(IniFile("/dev/zero").Loaded());
}

}  // namespace
}  // namespace meldora
