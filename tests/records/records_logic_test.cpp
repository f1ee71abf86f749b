// The rank rule, the stored forms of players, highscores and match lines, and the win ratio.
#include <gtest/gtest.h>

#include <climits>

#include "core/memory_settings.h"
#include "records/highscores.h"
#include "records/match_history.h"
#include "records/player_list.h"

namespace meldora {
namespace {

HighscoreList ListOf(std::initializer_list<int> scores)
{
    HighscoreList list;
    int i = 0;
    for (int score : scores)
        list[i++] = HighscoreEntry{score, "1/1/26", std::string("P").append(std::to_string(score))};
    return list;
}

// An empty list takes any win but not a draw; equal scores go below; an insert
// pushes the last entry out.
TEST(HighscoreRank, EqualScoresGoBelowAndAnInsertPushesTheLastEntryOut)
{
    EXPECT_EQ(HighscoreRank(HighscoreList{}, 1), 1);
    EXPECT_EQ(HighscoreRank(HighscoreList{}, 0), 0);
    HighscoreList list = ListOf({1000, 900, 800, 700, 600, 500, 400, 300, 200, 100});
    EXPECT_EQ(HighscoreRank(list, 100), 0);
    EXPECT_EQ(HighscoreRank(list, 800), 4);
    EXPECT_EQ(HighscoreRank(list, 1001), 1);
    EXPECT_EQ(InsertHighscore(list, 850, "Ann", "2/2/26"), 3);
    EXPECT_EQ(list[2].Name, "Ann");
    EXPECT_EQ(list[3].Score, 800);
    EXPECT_EQ(list[9].Score, 200);
    EXPECT_EQ(InsertHighscore(list, 200, "Bob", "2/2/26"), 0);
    EXPECT_EQ(list[9].Name, "P200");
}

TEST(HighscoreStorage, UnreadableScoresAreEmptyAndTheRestIsOrdered)
{
    MemorySettings s;
    s.WriteValue("Beginner\\Score1", std::string("lots"));
    s.WriteValue("Beginner\\Name1", std::string("Cheat"));
    s.WriteValue("Beginner\\Score2", -40);
    s.WriteValue("Beginner\\Score3", 100);
    s.WriteValue("Beginner\\Name3", std::string("Low"));
    s.WriteValue("Beginner\\Score4", 700);
    s.WriteValue("Beginner\\Name4", std::string("High"));
    const HighscoreList list = LoadHighscoreList(s, 0, HighscoreType::Hand);
    EXPECT_EQ(list[0].Name, "High");
    EXPECT_EQ(list[1].Name, "Low");
    EXPECT_EQ(list[2].Score, 0);
    EXPECT_EQ(list[2].Name, "");
}

TEST(PlayerValue, ReadsWhatCanBeRead)
{
    const struct {
        const char* value;
        const char* name;
        int wins, losses;
    } cases[] = {{"Ann,3,1", "Ann", 3, 1}, {"Bob", "Bob", 0, 0}, {"Cy,x7,-2", "Cy", 0, 0}, {"Di,99999999999,5", "Di", 0, 5}};
    for (const auto& c : cases) {
        const Player p = ParsePlayerValue(c.value);
        EXPECT_EQ(p.Name, c.name) << c.value;
        EXPECT_EQ(p.Wins, c.wins) << c.value;
        EXPECT_EQ(p.Losses, c.losses) << c.value;
    }
    EXPECT_EQ(ParsePlayerValue(std::string(300, 'n') + ",1,1").Name.size(), 255u);
}

TEST(PlayerList, ReadingStopsAtTheFirstEmptyValueAndSkipsNamelessOnes)
{
    MemorySettings s;
    s.WriteValue("Player Names\\PlayerName1", std::string(",5,5"));
    s.WriteValue("Player Names\\PlayerName2", std::string("Ann,1,0"));
    s.WriteValue("Player Names\\PlayerName4", std::string("Lost,1,0"));
    PlayerList list;
    list.Load(s);
    ASSERT_EQ(list.Players.size(), 1u);
    EXPECT_EQ(list.CurrentName(), "Ann");

    PlayerList none;
    MemorySettings empty;
    none.Load(empty);
    EXPECT_EQ(none.Current, -1);
}

TEST(PlayerList, AWinCountedAtTheLargestNumberStaysThere)
{
    MemorySettings s;
    PlayerList list;
    list.Players = {{"Ann", 0, 0}, {"Bob", INT32_MAX, 0}};
    list.Current = 1;
    list.RecordMatchResult(s, true);
    list.RecordMatchResult(s, false);
    EXPECT_EQ(list.Players[1].Wins, INT32_MAX);
    EXPECT_EQ(s.ReadString("Player Names\\PlayerName1", ""), "Bob,2147483647,1");
}

TEST(WinRatio, RoundsHalvesToEven)
{
    EXPECT_EQ(WinRatioText(1, 7), "12");
    EXPECT_EQ(WinRatioText(3, 5), "38");
    EXPECT_EQ(WinRatioText(2, 1), "67");
    EXPECT_EQ(WinRatioText(0, 0), "?");
    EXPECT_EQ(WinRatioText(INT32_MAX, INT32_MAX), "50");
    EXPECT_EQ(WinRatioText(INT32_MAX, 0), "100");
}

TEST(MatchHistory, ADrawGoesToTheOpponentAndTheHundredAndFirstMatchPushesTheOldestOut)
{
    EXPECT_EQ(MatchHistoryLine("d", "Ann", "Computer", 5000, 5000), "d: Ann - Computer: 5000 - 5000, winner: Computer");
    MemorySettings s;
    for (int i = 1; i <= 101; ++i)
        AddMatchHistoryLine(s, "match " + std::to_string(i));
    const std::vector<std::string> lines = ReadMatchHistory(s);
    ASSERT_EQ(lines.size(), 100u);
    EXPECT_EQ(lines.front(), "match 101");
    EXPECT_EQ(lines.back(), "match 2");
}

}  // namespace
}  // namespace meldora
