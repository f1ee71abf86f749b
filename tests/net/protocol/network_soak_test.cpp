// Two copies play each other over a loopback connection; after every move the
// two pictures of the table must agree.
#include <gtest/gtest.h>

#include "tools/netsim/network_match.h"

namespace meldora::netsim {
namespace {

TEST(NetworkSoakTest, TwoHundredHandsUnderEachRulePreset)
{
    RuleOptions hoyle = HoyleRules();
    hoyle.ThreeBlock = true;
    for (const auto& [seed, rules] : {std::pair{1u, RuleOptions{}}, std::pair{2u, hoyle}}) {
        SCOPED_TRACE(seed);
        NetworkRunOptions options;
        options.Hands = 200;
        options.Seed = seed;
        options.Rules = rules;
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
        EXPECT_EQ(report.SentByToken.count("DISCARDREDTHREE") > 0, rules.ThreeBlock);
    }
}

}  // namespace
}  // namespace meldora::netsim
