#include "core/scoring.h"

#include <gtest/gtest.h>

#include "support/table_builder.h"

namespace meldora::test {
namespace {

using Rows = std::array<ScoreLine, ScoreRowCount>;
using Strings = std::vector<std::string>;

constexpr int RedThreeDiamond = CardId(Diamond, 2);
constexpr int RedThreeHeart = CardId(Heart, 2);

// Seven cards of a rank (the last ones twos) as a canasta of the given kind.
void AddCanasta(CanastaGame& game, Side side, int rank, CanastaKind kind, int wildCards = 0)
{
    for (int i = 0; i < 7; ++i) {
        const int id = i < 7 - wildCards ? CardId(static_cast<Suit>(i % 4), rank) : CardId(Spade, 1);
        side == Side::Human ? AddToHumanMelds(game, id, rank) : AddToComputerMelds(game, id, rank);
    }
    CanastaState& state = side == Side::Human ? game.Human().Canastas : game.Computer().Canastas;
    state.Kind[rank] = kind;
    ++state.Count;
}

class ScoringTest : public ::testing::Test, public TableFixture {
protected:
    const HandScore& Scored()
    {
        host.HandScores.clear();
        game.ScoreHand();
        EXPECT_EQ(host.HandScores.size(), 1u);
        return host.HandScores.back();
    }
};

TEST_F(ScoringTest, GoingOutConcealedEarnsTwoHundredAndTheHandIsAddedToTheMatch)
{
    AddCanasta(game, Side::Human, 12, NaturalCanasta);  // seven kings: 70
    AddToHumanMelds(game, RedThreeDiamond, 2);
    AddToHumanMelds(game, RedThreeHeart, 2);
    for (int rank : {4, 4, 4})
        AddToComputerMelds(game, CardId(Club, rank), rank);  // three fives: 15
    AddToHand(game, {JokerCard, CardId(Heart, 13)});
    game.Match.WentOut = HumanWentOut;
    game.Human().MeldedBefore = 0;
    game.Computer().MeldedBefore = 90;
    game.Human().Score = 1000;
    game.Computer().Score = 2000;

    const HandScore& s = Scored();
    EXPECT_EQ(s.Human.Rows, (Rows{{{7, 70}, {0, 0}, {1, 500}, {2, 200}, {0, 200}, {0, 970}}}));
    EXPECT_EQ(s.Computer.Rows, (Rows{{{3, 15}, {2, -70}, {0, 0}, {0, 0}, {0, 0}, {0, -55}}}));
    EXPECT_FALSE(s.Human.Penalised);
    EXPECT_FALSE(s.Computer.Penalised);
    EXPECT_EQ(s.PlayerName, "Player");
    EXPECT_EQ(s.OpponentName, "Computer");
    EXPECT_EQ(game.Human().Score, 1970);
    EXPECT_EQ(game.Computer().Score, 1945);
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::WinHand});
    EXPECT_EQ(host.ResultCalls, (Strings{"ShowHandScore", "OfferHandHighscore"}));
    EXPECT_EQ(host.HandHighscoreOffers, std::vector<int>{1025});

    // Having melded in an earlier turn, the same going out earns 100.
    game.Human().MeldedBefore = 70;
    EXPECT_EQ(Scored().Human.Rows[RowFinish].Value, 100);
    EXPECT_EQ(host.HandScores.back().Human.Total(), 870);
}

TEST_F(ScoringTest, CanastaRequiredPenalisesASideShortOfCanastas)
{
    game.Rules.CanastaRequired = true;
    game.Rules.NumberOfCanastas = 2;
    AddCanasta(game, Side::Human, 11, MixedCanasta, 2);  // five queens and two twos: 90
    AddToHumanMelds(game, RedThreeHeart, 2);
    AddToHumanHand(game, CardId(Club, 6));  // a seven: 5
    AddCanasta(game, Side::Computer, 3, NaturalCanasta);  // seven fours: 35
    AddCanasta(game, Side::Computer, 13, NaturalCanasta);  // seven aces: 140
    game.Match.WentOut = ComputerWentOut;
    game.Human().MeldedBefore = 90;
    game.Computer().MeldedBefore = 50;

    const HandScore& s = Scored();
    EXPECT_TRUE(s.Human.Penalised);
    EXPECT_EQ(s.Human.Rows, (Rows{{{7, -90}, {1, -5}, {0, 0}, {1, -100}, {0, 0}, {0, -195}}}));
    EXPECT_FALSE(s.Computer.Penalised);
    EXPECT_EQ(s.Computer.Rows, (Rows{{{14, 175}, {0, 0}, {2, 1000}, {0, 0}, {0, 100}, {0, 1275}}}));
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::LoseHand});

    // Without the rule the same table scores positively, canasta included.
    game.Rules.CanastaRequired = false;
    const SideScore free = ScoreSide({game.Human().Melds, game.Human().Hand, game.Human().Canastas, false, false}, game.Rules);
    EXPECT_FALSE(free.Penalised);
    EXPECT_EQ(free.Rows, (Rows{{{7, 90}, {1, -5}, {1, 300}, {1, 100}, {0, 0}, {0, 485}}}));

    // A wildcard canasta is worth 1000.
    CanastaState wild;
    wild.Count = 1;
    wild.Kind[1] = WildcardCanasta;
    EXPECT_EQ(ScoreSide({CardPile{}, CardPile{}, wild, true, false}, RuleOptions{}).Rows[RowCanastas],
              (ScoreLine{1, 1000}));
}

TEST_F(ScoringTest, RedThreesAloneOnTheTableOrInTheHandCountAgainstTheSide)
{
    AddToHumanMelds(game, RedThreeDiamond, 2);
    AddToHumanMelds(game, RedThreeHeart, 2);
    AddToHumanHand(game, CardId(Spade, 12));  // a king: 10
    AddCanasta(game, Side::Computer, 7, NaturalCanasta);
    AddToHand(game, RedThreeDiamond, 1);
    game.Match.WentOut = ComputerWentOut;
    game.Computer().MeldedBefore = 40;

    const HandScore& s = Scored();
    EXPECT_TRUE(s.Human.Penalised);
    EXPECT_EQ(s.Human.Rows, (Rows{{{0, 0}, {1, -10}, {0, 0}, {2, -200}, {0, 0}, {0, -210}}}));
    // The computer went out holding a red three (never possible in play, but the
    // rule still applies): it costs 500 and is not a card in hand.
    EXPECT_EQ(s.Computer.Rows, (Rows{{{7, 70}, {0, 0}, {1, 500}, {1, -500}, {0, 100}, {0, 170}}}));

    // Nobody went out: a side with no melds at all is penalised too.
    CardPile hand;
    AppendCard(hand, MakeCard(JokerId, 0));
    const SideScore empty = ScoreSide({CardPile{}, hand, CanastaState{}, false, true}, RuleOptions{});
    EXPECT_TRUE(empty.Penalised);
    EXPECT_EQ(empty.Total(), -50);
}

TEST_F(ScoringTest, AClosestWinEndsTheMatchAndYesStartsANewOne)
{
    game.Human().Score = 4999;
    game.Computer().Score = 4999;
    EXPECT_FALSE(game.EndMatchIfOver());
    EXPECT_TRUE(host.ResultCalls.empty());

    game.Human().Score = 5000;
    game.Computer().Score = 4990;
    game.Match.GameInProgress = true;
    EXPECT_TRUE(game.EndMatchIfOver());
    EXPECT_EQ(host.ResultCalls,
              (Strings{"OfferMatchHighscore", "AddMatchHistory", "RecordMatchResult", "ShowGameOver"}));
    EXPECT_EQ(host.MatchHighscoreOffers, std::vector<int>{10});
    EXPECT_EQ(host.MatchHistory, Strings{"5000 - 4990, Computer"});
    EXPECT_EQ(host.MatchResults, std::vector<bool>{true});
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::WinMatch});
    ASSERT_EQ(host.GameOvers.size(), 1u);
    EXPECT_EQ(host.GameOvers[0].Comment, "Congratulations Player! You won, but it was pretty close!");
    EXPECT_EQ(game.Human().Score, 0);
    EXPECT_EQ(game.Computer().Score, 0);
    EXPECT_FALSE(game.Match.GameInProgress);
    EXPECT_FALSE(game.Match.AutoSaveOff);
    EXPECT_EQ(host.Sent, (std::vector<std::pair<std::string, std::string>>{{"NEWGAME", ""}}));
}

TEST_F(ScoringTest, ADrawAboveTheTargetRecordsNoWinOrLoss)
{
    game.Human().Score = 5120;
    game.Computer().Score = 5120;
    EXPECT_TRUE(game.EndMatchIfOver());
    EXPECT_EQ(host.GameOvers.at(0).Comment, "It's a draw!");
    EXPECT_TRUE(host.MatchResults.empty());
    EXPECT_TRUE(host.Sounds.empty());
    EXPECT_EQ(host.MatchHighscoreOffers, std::vector<int>{0});
    EXPECT_EQ(host.Sent.size(), 1u);  // both copies of a drawn network match announce the new match
}

TEST_F(ScoringTest, ANetworkGameNamesThePartnerAndLeavesTheNewMatchToTheWinner)
{
    host.Network = true;
    host.SelectedPlayer = "Alice";
    const HandScore& s = Scored();  // nothing on the table: equal scores play the winning sound
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::WinHand});
    EXPECT_EQ(s.PlayerName, "Alice");
    EXPECT_EQ(s.OpponentName, "Partner");

    game.Human().Score = 3000;
    game.Computer().Score = 5600;
    EXPECT_TRUE(game.EndMatchIfOver());
    EXPECT_EQ(host.GameOvers.at(0).Comment, "Too bad, Alice, Partner crushed you.");
    EXPECT_EQ(host.MatchHistory, Strings{"3000 - 5600, Partner"});
    EXPECT_EQ(host.MatchResults, std::vector<bool>{false});
    EXPECT_EQ(host.Sounds.back(), SoundEvent::LoseMatch);
    EXPECT_TRUE(host.Sent.empty());
}

}  // namespace
}  // namespace meldora::test
