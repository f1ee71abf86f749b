#include "core/scoring.h"

#include <gtest/gtest.h>

#include "support/table_builder.h"

namespace meldora::test {
namespace {

using Rows = std::array<ScoreLine, ScoreRowCount>;

constexpr int RedThreeDiamond = CardId(Diamond, 2);
constexpr int RedThreeHeart = CardId(Heart, 2);

// Seven cards of a rank as a squared-up canasta of the given kind.
void AddHumanCanasta(CanastaGame& game, int rank, CanastaKind kind, int wildCards = 0)
{
    for (int i = 0; i < 7 - wildCards; ++i)
        AddToHumanMelds(game, CardId(static_cast<Suit>(i % 4), rank), rank);
    for (int i = 0; i < wildCards; ++i)
        AddToHumanMelds(game, CardId(Spade, 1), rank);
    game.HumanCanastas.Kind[rank] = kind;
    ++game.HumanCanastas.Count;
}

void AddComputerCanasta(CanastaGame& game, int rank, CanastaKind kind)
{
    for (int i = 0; i < 7; ++i)
        AddToComputerMelds(game, CardId(static_cast<Suit>(i % 4), rank), rank);
    game.ComputerCanastas.Kind[rank] = kind;
    ++game.ComputerCanastas.Count;
}

class ScoringTest : public ::testing::Test {
protected:
    TableFixture t;
    CanastaGame& game = t.game;
    RecordingHost& host = t.host;

    const HandScore& Scored()
    {
        game.ScoreHand();
        EXPECT_EQ(host.HandScores.size(), 1u);
        return host.HandScores.back();
    }
};

TEST_F(ScoringTest, GoingOutConcealedEarnsTwoHundredAndTheHandIsAddedToTheMatch)
{
    AddHumanCanasta(game, 12, NaturalCanasta);  // seven kings: 70
    AddToHumanMelds(game, RedThreeDiamond, 2);
    AddToHumanMelds(game, RedThreeHeart, 2);
    for (int rank : {4, 4, 4})
        AddToComputerMelds(game, CardId(Club, rank), rank);  // three fives: 15
    AddToComputerHand(game, Joker);
    AddToComputerHand(game, CardId(Heart, 13));
    game.WentOut = HumanWentOut;
    game.HumanMeldedBefore = 0;
    game.ComputerMeldedBefore = 90;
    game.HumanScore = 1000;
    game.ComputerScore = 2000;

    const HandScore& s = Scored();
    EXPECT_EQ(s.Human.Rows, (Rows{{{7, 70}, {0, 0}, {1, 500}, {2, 200}, {0, 200}, {0, 970}}}));
    EXPECT_FALSE(s.Human.Penalised);
    EXPECT_EQ(s.Computer.Rows, (Rows{{{3, 15}, {2, -70}, {0, 0}, {0, 0}, {0, 0}, {0, -55}}}));
    EXPECT_FALSE(s.Computer.Penalised);
    EXPECT_EQ(s.Difference(), 1025);
    EXPECT_EQ(s.PlayerName, "Player");
    EXPECT_EQ(s.OpponentName, "Computer");

    EXPECT_EQ(game.HumanScore, 1970);
    EXPECT_EQ(game.ComputerScore, 1945);
    EXPECT_EQ(game.HumanHandScore, 970);
    EXPECT_EQ(game.ComputerHandScore, -55);
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::WinHand});
    EXPECT_GT(host.Repaints, 0);
    EXPECT_EQ(host.ResultCalls, (std::vector<std::string>{"ShowHandScore", "OfferHandHighscore"}));
    EXPECT_EQ(host.HandHighscoreOffers, std::vector<int>{1025});

    // Having melded in an earlier turn, the same going out earns 100.
    game.HumanMeldedBefore = 70;
    host.HandScores.clear();
    EXPECT_EQ(Scored().Human.Rows[RowFinish].Value, 100);
    EXPECT_EQ(host.HandScores.back().Human.Total(), 870);
}

TEST_F(ScoringTest, CanastaRequiredPenalisesASideShortOfCanastas)
{
    game.Rules.CanastaRequired = true;
    game.Rules.NumberOfCanastas = 2;
    AddHumanCanasta(game, 11, MixedCanasta, 2);  // five queens and two twos: 90
    AddToHumanMelds(game, RedThreeHeart, 2);
    AddToHumanHand(game, CardId(Club, 6));  // a seven: 5
    AddComputerCanasta(game, 3, NaturalCanasta);  // seven fours: 35
    AddComputerCanasta(game, 13, NaturalCanasta);  // seven aces: 140
    game.WentOut = ComputerWentOut;
    game.HumanMeldedBefore = 90;
    game.ComputerMeldedBefore = 50;

    const HandScore& s = Scored();
    EXPECT_TRUE(s.Human.Penalised);
    EXPECT_EQ(s.Human.Rows, (Rows{{{7, -90}, {1, -5}, {0, 0}, {1, -100}, {0, 0}, {0, -195}}}));
    EXPECT_FALSE(s.Computer.Penalised);
    EXPECT_EQ(s.Computer.Rows, (Rows{{{14, 175}, {0, 0}, {2, 1000}, {0, 0}, {0, 100}, {0, 1275}}}));
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::LoseHand});

    // Without the rule the same table scores positively, canasta included.
    game.Rules.CanastaRequired = false;
    const SideScore free =
        ScoreSide({game.HumanMelds, game.HumanHand, game.HumanCanastas, false, false}, game.Rules);
    EXPECT_FALSE(free.Penalised);
    EXPECT_EQ(free.Rows, (Rows{{{7, 90}, {1, -5}, {1, 300}, {1, 100}, {0, 0}, {0, 485}}}));

    // A wildcard canasta is worth 1000 and counts as a canasta.
    CanastaState wild;
    wild.Count = 1;
    wild.Kind[1] = WildcardCanasta;
    EXPECT_EQ(ScoreSide({CardPile{}, CardPile{}, wild, true, false}, RuleOptions{}).Rows[RowCanastas],
              (ScoreLine{1, 1000}));
}

TEST_F(ScoringTest, RedThreesAloneOnTheTableCountAgainstASideThatDidNotGoOut)
{
    AddToHumanMelds(game, RedThreeDiamond, 2);
    AddToHumanMelds(game, RedThreeHeart, 2);
    AddToHumanHand(game, CardId(Spade, 12));  // a king: 10
    AddComputerCanasta(game, 7, NaturalCanasta);
    game.WentOut = ComputerWentOut;
    game.ComputerMeldedBefore = 40;

    const HandScore& s = Scored();
    EXPECT_TRUE(s.Human.Penalised);
    EXPECT_EQ(s.Human.Rows, (Rows{{{0, 0}, {1, -10}, {0, 0}, {2, -200}, {0, 0}, {0, -210}}}));

    // Nobody went out: a side with no melds at all is penalised too, the other is not.
    CardPile hand;
    AppendCard(hand, MakeCard(JokerId, 0));
    const SideScore empty = ScoreSide({CardPile{}, hand, CanastaState{}, false, true}, RuleOptions{});
    EXPECT_TRUE(empty.Penalised);
    EXPECT_EQ(empty.Total(), -50);
    const SideScore melded =
        ScoreSide({game.ComputerMelds, CardPile{}, game.ComputerCanastas, false, false}, RuleOptions{});
    EXPECT_FALSE(melded.Penalised);
    EXPECT_EQ(melded.Total(), 70 + 500);
}

TEST_F(ScoringTest, RedThreesLeftInTheHandCostFiveHundredEachAndCountAsRedThrees)
{
    AddHumanCanasta(game, 9, NaturalCanasta);  // seven tens: 70
    AddToHumanMelds(game, RedThreeDiamond, 2);
    AddToHumanHand(game, RedThreeHeart);
    AddToHumanHand(game, CardId(Diamond, 3));  // a four: 5
    AddToComputerHand(game, RedThreeDiamond, 1);
    AddComputerCanasta(game, 5, MixedCanasta);  // seven sixes: 35
    game.WentOut = ComputerWentOut;
    game.ComputerMeldedBefore = 35;

    const HandScore& s = Scored();
    EXPECT_EQ(s.Human.Rows, (Rows{{{7, 70}, {1, -5}, {1, 500}, {2, -400}, {0, 0}, {0, 165}}}));
    // The computer went out holding a red three in its hand (never possible in
    // play, but the rule still applies): it costs 500 and is not a card in hand.
    EXPECT_EQ(s.Computer.Rows, (Rows{{{7, 35}, {0, 0}, {1, 300}, {1, -500}, {0, 100}, {0, -65}}}));
}

TEST_F(ScoringTest, EqualHandScoresPlayTheWinningSoundAndNetworkNamesTheHeadings)
{
    host.Network = true;
    host.SelectedPlayer = "Alice";
    game.WentOut = NobodyWentOut;
    const HandScore& s = Scored();
    EXPECT_EQ(s.Difference(), 0);
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::WinHand});
    EXPECT_EQ(s.PlayerName, "Alice");
    EXPECT_EQ(s.OpponentName, "Partner");
}

TEST_F(ScoringTest, TheMatchGoesOnBelowTheTarget)
{
    game.HumanScore = 4999;
    game.ComputerScore = 4999;
    EXPECT_FALSE(game.EndMatchIfOver());
    EXPECT_TRUE(host.ResultCalls.empty());
    EXPECT_TRUE(host.Sounds.empty());
    EXPECT_EQ(game.HumanScore, 4999);
}

TEST_F(ScoringTest, AClosestWinEndsTheMatchAndYesStartsANewOne)
{
    game.HumanScore = 5000;
    game.ComputerScore = 4990;
    game.GameInProgress = true;

    EXPECT_TRUE(game.EndMatchIfOver());
    EXPECT_EQ(host.ResultCalls, (std::vector<std::string>{"OfferMatchHighscore", "AddMatchHistory",
                                                          "RecordMatchResult", "ShowGameOver"}));
    EXPECT_EQ(host.MatchHighscoreOffers, std::vector<int>{10});
    EXPECT_EQ(host.MatchHistory, std::vector<std::string>{"5000 - 4990, Computer"});
    EXPECT_EQ(host.MatchResults, std::vector<bool>{true});
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::WinMatch});
    ASSERT_EQ(host.GameOvers.size(), 1u);
    const MatchResult& r = host.GameOvers[0];
    EXPECT_EQ(r.Comment, "Congratulations Player! You won, but it was pretty close!");
    EXPECT_EQ(r.OpponentName, "Computer");
    EXPECT_EQ(r.HumanScore, 5000);
    EXPECT_EQ(r.ComputerScore, 4990);
    EXPECT_EQ(r.Difference(), 10);

    EXPECT_EQ(game.HumanScore, 0);
    EXPECT_EQ(game.ComputerScore, 0);
    EXPECT_FALSE(game.GameInProgress);
    EXPECT_FALSE(game.AutoSaveOff);
    EXPECT_EQ(host.Sent, (std::vector<std::pair<std::string, std::string>>{{"NEWGAME", ""}}));
}

TEST_F(ScoringTest, ADrawAboveTheTargetRecordsNoWinOrLoss)
{
    game.HumanScore = 5120;
    game.ComputerScore = 5120;
    EXPECT_TRUE(game.EndMatchIfOver());
    EXPECT_EQ(host.GameOvers.at(0).Comment, "It's a draw!");
    EXPECT_TRUE(host.MatchResults.empty());
    EXPECT_TRUE(host.Sounds.empty());
    EXPECT_EQ(host.MatchHighscoreOffers, std::vector<int>{0});
    // Both copies of a drawn network match announce the new match.
    EXPECT_EQ(host.Sent.size(), 1u);
}

TEST_F(ScoringTest, ALostNetworkMatchNamesThePartnerAndLeavesTheNewMatchToTheWinner)
{
    host.Network = true;
    host.SelectedPlayer = "Alice";
    game.HumanScore = 3000;
    game.ComputerScore = 5600;
    EXPECT_TRUE(game.EndMatchIfOver());
    EXPECT_EQ(host.GameOvers.at(0).Comment, "Too bad, Alice, Partner crushed you.");
    EXPECT_EQ(host.GameOvers.at(0).OpponentName, "Partner");
    EXPECT_EQ(host.MatchHistory, std::vector<std::string>{"3000 - 5600, Partner"});
    EXPECT_EQ(host.MatchResults, std::vector<bool>{false});
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::LoseMatch});
    EXPECT_TRUE(host.Sent.empty());
    EXPECT_EQ(game.HumanScore, 0);
}

TEST_F(ScoringTest, NoAnotherMatchDeletesTheAutomaticSaveAndQuits)
{
    game.HumanScore = 6000;
    game.ComputerScore = 2000;
    game.GameInProgress = true;
    host.AnotherMatch = false;
    EXPECT_TRUE(game.EndMatchIfOver());
    EXPECT_TRUE(game.AutoSaveOff);
    EXPECT_EQ(std::vector<std::string>(host.ResultCalls.end() - 3, host.ResultCalls.end()),
              (std::vector<std::string>{"ShowGameOver", "DeleteAutoSave", "QuitProgram"}));
    EXPECT_TRUE(host.Sent.empty());
    EXPECT_EQ(game.HumanScore, 6000);
}

TEST(MatchCommentTest, EachMarginGetsItsOwnComment)
{
    const std::pair<int, std::string> cases[] = {
        {2501, "Congratulations Bob! You crushed the computer."},
        {2500, "Congratulations Bob! You defeated the computer."},
        {1801, "Congratulations Bob! You defeated the computer."},
        {1800, "Congratulations Bob! You beat the computer."},
        {501, "Congratulations Bob! You beat the computer."},
        {500, "Congratulations Bob! You won."},
        {201, "Congratulations Bob! You won."},
        {200, "Congratulations Bob! You won, but it was pretty close!"},
        {1, "Congratulations Bob! You won, but it was pretty close!"},
        {0, "It's a draw!"},
        {-1, "Too bad, Bob, you lost but it was pretty close."},
        {-200, "Too bad, Bob, you lost but it was pretty close."},
        {-201, "Too bad, Bob, you lost."},
        {-500, "Too bad, Bob, you lost."},
        {-501, "Too bad, Bob, the computer beat you."},
        {-1800, "Too bad, Bob, the computer beat you."},
        {-1801, "Too bad, Bob, the computer defeated you."},
        {-2500, "Too bad, Bob, the computer defeated you."},
        {-2501, "Too bad, Bob, the computer crushed you."},
    };
    for (const auto& [margin, comment] : cases)
        EXPECT_EQ(MatchComment(margin, "Bob", "the computer"), comment) << margin;
    EXPECT_TRUE(MatchIsOver(4990, 5000));
    EXPECT_FALSE(MatchIsOver(4999, -20));
}

}  // namespace
}  // namespace meldora::test
