#include "app/launch_argument.h"

#include <gtest/gtest.h>

using meldora::programArgument;

// A link names the network game's host, a link without a usable host starts without
// an argument, a file address becomes its path, and paths pass unchanged.
TEST(LaunchArgumentTest, LinksFileAddressesAndPaths)
{
    const std::pair<const char*, const char*> cases[] = {
        {"meldora://192.168.1.7", "/ip:192.168.1.7"},
        {"meldora://Friend.Example.net/", "/ip:friend.example.net"},
        {"MELDORA://10.0.0.2:31415", "/ip:10.0.0.2"},
        {"meldora://[::1]", "/ip:::1"},
        {"meldora:", ""},
        {"meldora:///ip:10.0.0.2", ""},
        {"meldora://bad host", ""},
        {"file:///home/ann/My%20Games/last.meldora", "/home/ann/My Games/last.meldora"},
        {"/home/ann/last.meldora", "/home/ann/last.meldora"},
        {"/ip:10.0.0.2", "/ip:10.0.0.2"},
    };
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(programArgument(QString::fromUtf8(given)), QString::fromUtf8(expected)) << given;
}
