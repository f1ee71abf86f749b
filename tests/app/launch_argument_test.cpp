#include "app/launch_argument.h"

#include <gtest/gtest.h>

using meldora::programArgument;

TEST(LaunchArgumentTest, MeldoraLinkBecomesTheNetworkGameWithItsHost)
{
    EXPECT_EQ(programArgument(QStringLiteral("meldora://192.168.1.7")), QStringLiteral("/ip:192.168.1.7"));
    EXPECT_EQ(programArgument(QStringLiteral("meldora://Friend.Example.net/")), QStringLiteral("/ip:friend.example.net"));
    EXPECT_EQ(programArgument(QStringLiteral("MELDORA://10.0.0.2:31415")), QStringLiteral("/ip:10.0.0.2"));
    EXPECT_EQ(programArgument(QStringLiteral("meldora://[::1]")), QStringLiteral("/ip:::1"));
}

TEST(LaunchArgumentTest, LinkWithoutHostStartsWithoutArgument)
{
    EXPECT_EQ(programArgument(QStringLiteral("meldora:")), QString());
    EXPECT_EQ(programArgument(QStringLiteral("meldora:///ip:10.0.0.2")), QString());
    EXPECT_EQ(programArgument(QStringLiteral("meldora://bad host")), QString());
}

TEST(LaunchArgumentTest, FileAddressBecomesItsPathAndPathsPassUnchanged)
{
    EXPECT_EQ(programArgument(QStringLiteral("file:///home/ann/My%20Games/last.meldora")),
              QStringLiteral("/home/ann/My Games/last.meldora"));
    EXPECT_EQ(programArgument(QStringLiteral("/home/ann/last.meldora")), QStringLiteral("/home/ann/last.meldora"));
    EXPECT_EQ(programArgument(QStringLiteral("/ip:10.0.0.2")), QStringLiteral("/ip:10.0.0.2"));
}
