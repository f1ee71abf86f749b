// The Expert's initial meld is held to the minimum the human's is held to: a
// canasta worth less stays in hand, a pile whose opening would fall short is
// left alone, and going out or a canasta that counts for the opening is allowed.
#include <gtest/gtest.h>

#include "ai/expert.h"
#include "family_support.h"

using namespace meldora;
using namespace meldora::test;

namespace {

struct MinimumTable : FamilyTable<ai::ExpertTurn> {
    explicit MinimumTable(int score)
    {
        ai.Level = ai::Expert;
        game.Computer().Score = score;
        game.Turn.Phase = TurnPhase::Opponent;
        HumanHolds(11);
    }
    void Play() { ai::PlayExpertTurn(game, ai); }
    // Four fives and three twos: a mixed canasta of 80 points.
    void FivesAndTwos()
    {
        Hand({CardId(Club, 4), CardId(Heart, 4), CardId(Diamond, 4), CardId(Diamond, 1), CardId(Heart, 1),
              CardId(Club, 1)});
        AddToHand(game, CardId(Club, 4), 1);
    }
};

}  // namespace

TEST(ExpertInitialMeld, ACanastaBelowTheMinimumIsLaidOnlyWhenTheRulesAcceptIt)
{
    struct Case {
        int score;
        bool bonusCounts;
        int meldValue;
    };
    // Minimum 120: kept in hand; canastas counting for the opening, or minimum 50: laid.
    for (const Case c : {Case{3000, false, 0}, Case{3000, true, 80}, Case{0, false, 80}}) {
        MinimumTable t(c.score);
        t.game.Rules.BonusCounts = c.bonusCounts;
        t.FivesAndTwos();
        t.Hand({CardId(Club, 8), CardId(Club, 10), CardId(Club, 12)});
        t.Pile({CardId(Heart, 6)});
        // Three cards left: the turn is aggressive and finishes what canastas it can.
        for (int rank : {7, 9, 11})
            AddToStock(t.game, CardId(Diamond, rank));

        t.Play();

        SCOPED_TRACE(c.score);
        EXPECT_EQ(t.game.Computer().MeldValue, c.meldValue);
        EXPECT_EQ(t.game.Computer().Canastas.Count, c.meldValue > 0 ? 1 : 0);
        EXPECT_EQ(t.game.Computer().Hand.Count, c.meldValue > 0 ? 3 : 10);
        EXPECT_EQ(t.game.DiscardPile.Count, 2);
        EXPECT_TRUE(t.host.Messages.empty());
    }
}

TEST(ExpertInitialMeld, GoingOutNeedsNoMinimum)
{
    MinimumTable t(3000);
    t.FivesAndTwos();
    t.Hand({CardId(Club, 8), CardId(Heart, 8), CardId(Diamond, 8)});
    t.Pile({CardId(Heart, 6)});
    for (int rank : {7, 9, 12})
        AddToStock(t.game, CardId(Diamond, rank));

    t.Play();

    // The canasta and the nines make 110 points; the king is the last discard.
    EXPECT_EQ(t.game.Match.WentOut, ComputerWentOut);
    EXPECT_EQ(t.host.HandScores.size(), 1u);
}

TEST(ExpertInitialMeld, APileIsTakenOnlyWhenTheOpeningReachesTheMinimum)
{
    // The ace on top pairs with the ace in hand and a joker; with the sixes and,
    // as planned, a wild card on them the opening needs a second wild card.
    for (const bool secondJoker : {false, true}) {
        MinimumTable t(3000);
        t.game.Rules.NaturalPair = false;
        t.game.Rules.InitialBlock = false;
        t.game.Rules.CanastaRequired = true;
        t.Hand({CardId(Club, 13), JokerCard, CardId(Club, 5), CardId(Heart, 5), CardId(Diamond, 5), CardId(Club, 4),
                CardId(Club, 6)});
        if (secondJoker)
            AddToHand(t.game, JokerCard, 1);
        t.Pile({CardId(Diamond, 3), CardId(Diamond, 7), CardId(Diamond, 8), CardId(Diamond, 9), CardId(Diamond, 10),
                CardId(Diamond, 11), CardId(Diamond, 12)});
        AddToDiscardPile(t.game, CardId(Club, 5), 1);
        AddToDiscardPile(t.game, CardId(Heart, 5), 1);
        AddToDiscardPile(t.game, CardId(Diamond, 5), 1);
        t.Pile({CardId(Heart, 13)});
        t.Stock(20);

        t.Play();

        SCOPED_TRACE(secondJoker);
        if (secondJoker) {
            // Aces and a joker, sixes and a joker (155) before the pile comes in;
            // then the pile's sixes make the canasta.
            EXPECT_EQ(t.game.Computer().MeldValue, 170);
            EXPECT_EQ(t.game.Computer().Canastas.Count, 1);
            EXPECT_EQ(t.game.DiscardPile.Count, 1);
        } else {
            EXPECT_EQ(t.game.Computer().MeldValue, 0);  // it drew instead
            EXPECT_EQ(t.game.DiscardPile.Count, 12);
            EXPECT_EQ(t.game.Stock.Count, 19);
        }
        EXPECT_TRUE(t.host.Messages.empty());
    }
}

// Rehearsals reuse one copy of the game: a take that reaches the minimum on one
// table must not leak into the rehearsal of another that cannot, nor reach the table.
TEST(ExpertInitialMeld, EveryRehearsalStartsFromTheTableAsItIsNowAndNeverReachesIt)
{
    MinimumTable reaches(0);
    reaches.FivesAndTwos();
    reaches.Hand({CardId(Spade, 4)});
    reaches.Pile({CardId(Heart, 8), CardId(Spade, 4)});
    // Animated, as in the program: a rehearsal that reached the window would fly and repaint.
    reaches.turn.Settings.Animate = true;
    reaches.turn.Recount();
    const CanastaGame before(reaches.game);
    MinimumTable fallsShort(0);
    fallsShort.Hand({CardId(Spade, 4), CardId(Club, 4)});
    fallsShort.Pile({CardId(Heart, 8), CardId(Spade, 4)});
    fallsShort.turn.Recount();

    EXPECT_TRUE(reaches.turn.TakeReachesMinimum());
    EXPECT_FALSE(fallsShort.turn.TakeReachesMinimum());
    EXPECT_TRUE(reaches.turn.TakeReachesMinimum());

    EXPECT_TRUE(reaches.host.Flights.empty());
    EXPECT_EQ(reaches.host.Repaints, 0);
    EXPECT_EQ(reaches.game.DiscardPile, before.DiscardPile);
    EXPECT_EQ(reaches.game.Computer().Hand, before.Computer().Hand);
}
