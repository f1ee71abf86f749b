// Whole simulated matches: every pairing of levels under both rule presets must
// keep the table sound and every level the meld rules the human is held to,
// duplicate play must cancel the luck of the deal, and a game saved by the
// simulator must play on to the end of its match.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

#include "ai/computer_player.h"
#include "core/saved_game.h"
#include "support/recording_host.h"
#include "support/temp_home.h"
#include "tools/sim/match_runner.h"
#include "tools/sim/simulation.h"

namespace meldora::sim {
namespace {

SimOptions Options(std::uint8_t first, std::uint8_t second, const std::string& rules, int matches, std::uint32_t seed)
{
    SimOptions o;
    o.FirstLevel = first;
    o.SecondLevel = second;
    o.RulesName = rules;
    o.Rules = rules == "hoyle" ? HoyleRules() : RuleOptions{};
    o.Matches = matches;
    o.Seed = seed;
    // The soak watches the table after every card move.
    o.Checks = TableChecks::AfterEveryMove;
    return o;
}

TEST(Soak, EveryPairingOfLevelsKeepsTheTableSoundAndTheMeldRules)
{
    const std::uint8_t levels[] = {ai::Beginner, ai::Advanced, ai::Expert};
    int matches = 0;
    for (const char* rules : {"default", "hoyle"}) {
        for (const std::uint8_t first : levels) {
            for (const std::uint8_t second : levels) {
                std::ostringstream log;
                const SimOptions o = Options(first, second, rules, 16, 1000 + 10 * first + second);
                const SimReport r = RunSimulation(o, log);
                const std::string pairing = LevelName(first) + " against " + LevelName(second) + ", " + rules;
                EXPECT_EQ(r.InvariantViolations, 0) << pairing << '\n' << log.str();
                EXPECT_EQ(r.RuleBreaks, 0) << pairing << '\n' << log.str();
                EXPECT_EQ(r.ScoreDisagreements, 0) << pairing << '\n' << log.str();
                EXPECT_EQ(r.Matches, o.Matches) << pairing << '\n' << log.str();
                EXPECT_EQ(r.WinsFirst + r.WinsSecond + r.Draws, r.Matches) << pairing;
                EXPECT_GE(r.Hands, r.Matches) << pairing;
                // A finished match has a side at the target.
                EXPECT_GE(r.PointsFirst + r.PointsSecond, 5000LL * r.Matches) << pairing;
                matches += r.Matches;
            }
        }
    }
    EXPECT_EQ(matches, 288);
}

TEST(Soak, ASeedPlaysTheSameMatchesEveryTime)
{
    std::ostringstream log;
    auto outcome = [&](std::uint32_t seed) {
        const SimReport r = RunSimulation(Options(ai::Expert, ai::Expert, "default", 12, seed), log);
        return std::tuple{r.Hands, r.PointsFirst, r.PointsSecond, r.WinsFirst};
    };
    EXPECT_EQ(outcome(77), outcome(77));
    EXPECT_NE(outcome(77), outcome(78));
}

TEST(Soak, DuplicatePlayOfOneLevelAgainstItselfCancelsOut)
{
    // Each deal is replayed with the seats exchanged: with one level in both seats
    // the turned table must hide or reveal nothing the real one does not.
    for (const char* rules : {"default", "hoyle"}) {
        SimOptions o = Options(ai::Expert, ai::Expert, rules, 20, 5);
        o.Duplicate = true;
        std::ostringstream log;
        const SimReport r = RunSimulation(o, log);
        EXPECT_EQ(r.InvariantViolations, 0) << log.str();
        EXPECT_EQ(r.RuleBreaks, 0) << log.str();
        EXPECT_EQ(r.Matches, 20);
        EXPECT_EQ(r.WinsFirst, r.WinsSecond) << rules;
        EXPECT_EQ(r.PointsFirst, r.PointsSecond) << rules;
    }
}

TEST(Soak, AnEndlessHandIsCutOffAsAViolation)
{
    SimOptions o = Options(ai::Expert, ai::Expert, "default", 3, 1);
    o.HandTurnCap = 4;
    std::ostringstream log;
    const SimReport r = RunSimulation(o, log);
    EXPECT_EQ(r.Matches, 0);
    EXPECT_EQ(r.AbandonedMatches, 3);
    EXPECT_EQ(r.InvariantViolations, 3);
    EXPECT_NE(log.str().find("the hand did not end after 4 turns"), std::string::npos);
}

// A card lost from the stock as a turn begins: the strict mode finds it as the
// turn moves its first card, the lightest mode when the hand ends.
TEST(Soak, ALostCardIsFoundInTheStrictModeDuringTheTurnOtherwiseWhenTheHandEnds)
{
    for (const TableChecks checks : {TableChecks::AfterEveryMove, TableChecks::AtHandEnd}) {
        SimOptions o = Options(ai::Expert, ai::Beginner, "default", 1, 3);
        o.Checks = checks;
        std::ostringstream log;
        MatchRunner runner(o, log);
        bool planted = false;
        runner.OnHumanSeatTurn = [&planted](CanastaGame& game) {
            if (!planted && game.Stock.Count > 10) {
                PopCard(game.Stock);
                planted = true;
            }
        };
        const MatchOutcome outcome = runner.PlayMatch(0, MatchSeed(o.Seed, 0), o.FirstLevel, o.SecondLevel);
        EXPECT_TRUE(planted);
        EXPECT_FALSE(outcome.Completed);
        EXPECT_NE(log.str().find("the piles hold 107 cards"), std::string::npos) << log.str();
        const char* when = checks == TableChecks::AfterEveryMove ? "after table update" : "when the hand was scored";
        EXPECT_NE(log.str().find(when), std::string::npos) << log.str();
    }
}

TEST(SaveAndLoad, AGameSavedMidHandPlaysOnToTheEndOfItsMatch)
{
    test::TempHome folder;
    const std::string file = (folder.Dir / "turn4.meldora").string();
    SimOptions save = Options(ai::Expert, ai::Advanced, "default", 1, 31);
    save.SaveFile = file;
    save.SaveTurn = 4;
    std::ostringstream log;
    const SimReport saved = RunSimulation(save, log);
    ASSERT_TRUE(saved.Saved) << saved.FileProblem << log.str();
    EXPECT_EQ(saved.Hands, 0);
    test::RecordingHost host;
    ASSERT_TRUE(IsSavedGame(host, file));

    SimOptions load = Options(ai::Expert, ai::Advanced, "default", 1, 31);
    load.LoadFile = file;
    const SimReport played = RunSimulation(load, log);
    EXPECT_EQ(played.FileProblem, "");
    EXPECT_EQ(played.Matches, 1);
    EXPECT_GE(played.Hands, 1);
    EXPECT_EQ(played.InvariantViolations, 0) << log.str();
    EXPECT_EQ(played.RuleBreaks, 0) << log.str();
    EXPECT_GE(std::max(played.PointsFirst, played.PointsSecond), 5000);
}

TEST(SaveAndLoad, ProblemsAreReportedNotPlayedThrough)
{
    test::TempHome folder;
    std::ostringstream log;

    SimOptions late = Options(ai::Expert, ai::Expert, "default", 1, 31);
    late.SaveFile = (folder.Dir / "never.meldora").string();
    late.SaveTurn = 5000;
    const SimReport notReached = RunSimulation(late, log);
    EXPECT_FALSE(notReached.Saved);
    EXPECT_NE(notReached.FileProblem.find("the first hand ended"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(late.SaveFile));

    test::WriteFile(folder.Dir / "garbage.meldora", "MeldoraSavedGame 414 12 999 1 2 3");
    for (const char* name : {"absent.meldora", "garbage.meldora"}) {
        SimOptions load = Options(ai::Expert, ai::Expert, "default", 1, 31);
        load.LoadFile = (folder.Dir / name).string();
        const SimReport r = RunSimulation(load, log);
        EXPECT_NE(r.FileProblem, "") << name;
        EXPECT_EQ(r.Matches, 0);
        EXPECT_EQ(r.InvariantViolations, 0);
    }
}

TEST(Report, IsOneJsonObjectWithTheAgreedFields)
{
    const SimReport r{.Matches = 4, .Hands = 30, .Seconds = 0.5, .RuleBreaks = 2, .WinsFirst = 3, .WinsSecond = 1,
                      .PointsFirst = 21000, .PointsSecond = 17000, .FileProblem = "a \"quoted\" name"};
    const std::string json = ReportJson(r, Options(ai::Expert, ai::Beginner, "hoyle", 4, 9));
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.back(), '}');
    for (const char* field :
         {"\"matches\": 4", "\"hands\": 30", "\"draws\": 0", "\"seconds\": 0.500", "\"hands_per_second\": 60.0",
          "\"invariant_violations\": 0", "\"wins_first\": 3", "\"wins_second\": 1", "\"points_first\": 21000",
          "\"points_second\": 17000", "\"rule_breaks\": 2", "\"first\": \"expert\"", "\"second\": \"beginner\"",
          "\"rules\": \"hoyle\"", "\"file_problem\": \"a \\\"quoted\\\" name\""})
        EXPECT_NE(json.find(field), std::string::npos) << field << " in " << json;
}

}  // namespace
}  // namespace meldora::sim
