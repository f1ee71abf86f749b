// Two copies play each other over a loopback connection; after every move the
// two pictures of the table must agree.
#include <gtest/gtest.h>

#include "tools/netsim/network_match.h"

namespace meldora::netsim {
namespace {

NetworkReport ExpectCleanRun(const NetworkRunOptions& options)
{
    const NetworkReport report = RunNetworkGames(options);
    EXPECT_EQ(report.Hands, options.Hands);
    EXPECT_EQ(report.Disagreements, 0);
    EXPECT_EQ(report.Problems, 0);
    EXPECT_EQ(report.StuckTurns, 0);
    for (const auto& finding : report.Findings)
        ADD_FAILURE() << finding;
    // Every kind of move travelled.
    for (const char* token : {"DEAL", "DRAWNEW", "DRAWPILETOP", "DRAWPILEREST", "UNDOPILE", "MELD", "MELDWILDCARD",
                              "UNDO", "DISCARD", "PASSDISCARD", "HANDOVER", "NEWGAME"})
        EXPECT_GT(report.SentByToken.count(token), 0u) << token;
    return report;
}

TEST(NetworkSoakTest, TwoHundredHandsUnderTheDefaultRules)
{
    NetworkRunOptions options;
    options.Hands = 200;
    options.Seed = 1;
    ExpectCleanRun(options);
}

TEST(NetworkSoakTest, TwoHundredHandsUnderHoyleRulesWithRedThreeBlocks)
{
    NetworkRunOptions options;
    options.Hands = 200;
    options.Seed = 2;
    options.Rules = HoyleRules();
    options.Rules.ThreeBlock = true;
    EXPECT_GT(ExpectCleanRun(options).SentByToken.count("DISCARDREDTHREE"), 0u);
}

}  // namespace
}  // namespace meldora::netsim
