// The Beginner computer player's decisions on hand-built tables.
#include <gtest/gtest.h>

#include "ai/advanced.h"
#include "ai/beginner.h"
#include "family_support.h"

using namespace meldora;
using namespace meldora::test;
using meldora::ai::AdvancedTurn;
using meldora::ai::BeginnerTurn;

namespace {

using BeginnerTable = FamilyTable<BeginnerTurn>;

void OpenWithFives(BeginnerTable& t)
{
    t.Melds({CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4)});
    t.game.Computer().MeldValue += 15;
}

}  // namespace

TEST(BeginnerTake, WithItsCanastasTheTopCardIsNotCountedAndAMeldWantsThreeCards)
{
    for (int kingsInHand : {2, 3}) {
        BeginnerTable t;
        t.ComputerCanasta(11);
        for (int i = 0; i < kingsInHand; ++i)
            t.Hand({CardId(i % 2 ? Heart : Spade, 12)});
        t.Hand({CardId(Spade, 4), CardId(Spade, 6), CardId(Spade, 8)});
        t.Pile({CardId(Diamond, 5), CardId(Diamond, 12)});
        t.Ready();
        EXPECT_EQ(t.turn.ShouldTakePile(), kingsInHand == 3) << kingsInHand;
    }
    for (int pileSize : {2, 3}) {
        BeginnerTable t;
        t.ComputerCanasta(11);
        t.Melds({CardId(Spade, 12), CardId(Heart, 12), CardId(Club, 12)});
        t.Hand({CardId(Spade, 4), CardId(Spade, 6), CardId(Spade, 8), CardId(Spade, 9)});
        for (int i = 1; i < pileSize; ++i)
            t.Pile({CardId(Diamond, 5 + i)});
        t.Pile({CardId(Diamond, 12)});
        t.Ready();
        EXPECT_EQ(t.turn.ShouldTakePile(), pileSize == 3) << pileSize;
    }
}

TEST(BeginnerTake, WithoutACanastaThePileMustBringOneWithinReach)
{
    for (int twos : {1, 2}) {
        BeginnerTable t;
        OpenWithFives(t);
        t.Hand({CardId(Spade, 11), CardId(Heart, 11), JokerCard, CardId(Spade, 3), CardId(Spade, 6), CardId(Spade, 8)});
        for (int i = 0; i < twos; ++i)
            t.Hand({CardId(i ? Heart : Club, 1)});
        t.Pile({CardId(Diamond, 7), CardId(Club, 11), CardId(Diamond, 11)});
        t.Ready();
        // Two queens in hand, two in the pile: with three wild cards a canasta is in reach.
        EXPECT_EQ(t.turn.ShouldTakePile(), twos == 2) << twos;
    }
}

TEST(BeginnerTake, BeforeItsOpeningTakesOnlyWhenItsMeldsWillReachTheMinimum)
{
    // Kings 30 with the top card and fives 15 fall short of 50; the wild cards
    // count for the take only on the pair of eights, and only without NaturalPair.
    for (bool naturalPair : {true, false}) {
        BeginnerTable t;
        t.game.Rules.NaturalPair = naturalPair;
        t.Hand({CardId(Spade, 12), CardId(Heart, 12), CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4), JokerCard,
                JokerCard, CardId(Club, 1), CardId(Spade, 7), CardId(Heart, 7), CardId(Spade, 5), CardId(Spade, 10)});
        t.Pile({CardId(Diamond, 12), CardId(Club, 12)});
        AddToDiscardPile(t.game, CardId(Spade, 12), 1);
        t.game.Turn.DiscardFrozen = true;
        t.Stock(40);
        t.Ready();
        ASSERT_EQ(t.turn.ShouldTakePile(), !naturalPair) << naturalPair;
        EXPECT_EQ(t.game.Computer().Hand.Count, 12);
        if (naturalPair)
            continue;
        t.turn.TakePile();
        EXPECT_EQ(t.game.Computer().MeldValue, 100);  // kings, and the eights with a joker
        EXPECT_EQ(t.WildsInColumn(t.game.Computer().Melds, 7), 1);
    }
}

TEST(BeginnerOpening, KeepsNoReserveOfCardsUnlikeTheAdvancedPlayer)
{
    BeginnerTable t;
    t.Hand({CardId(Spade, 12), CardId(Heart, 12), CardId(Club, 12), CardId(Spade, 13), CardId(Heart, 13),
            CardId(Club, 13), CardId(Spade, 5)});
    t.Ready();
    EXPECT_TRUE(t.turn.EvaluateOpening().Possible);
    AdvancedTurn advanced(t.game, t.ai);
    EXPECT_FALSE(advanced.EvaluateOpening().Possible);

    RemoveCardAt(t.game.Computer().Hand, 6, 1, true, 0);
    t.Ready();
    EXPECT_FALSE(t.turn.EvaluateOpening().Possible);  // it would meld its last card
}

TEST(BeginnerMelding, NaturalsLeaveOneCardForTheDiscard)
{
    BeginnerTable t;
    t.ComputerCanasta(11);
    t.Melds({CardId(Spade, 8), CardId(Heart, 8), CardId(Club, 8)});
    t.Hand({CardId(Diamond, 8), CardId(Spade, 6), CardId(Heart, 6), CardId(Club, 6)});
    t.Ready();
    t.turn.MeldNaturals(true);
    EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 8), 4);
    EXPECT_EQ(t.game.Computer().Hand.Count, 3);  // two sevens would be too few for a meld

    BeginnerTable onMeld;
    onMeld.ComputerCanasta(11);
    onMeld.Melds({CardId(Spade, 6), CardId(Heart, 6), CardId(Club, 6)});
    onMeld.Hand({CardId(Diamond, 6), CardId(Spade, 6)});
    onMeld.Ready();
    onMeld.turn.MeldNaturals(true);
    EXPECT_EQ(onMeld.game.Computer().Hand.Count, 1);
    EXPECT_TRUE(onMeld.turn.TalliesCurrent());  // going out and the discard read them without a recount
}

TEST(BeginnerMelding, GoingOutKeepsAWildCardToDiscardAndNoMeldGetsMoreWildCardsThanNaturals)
{
    BeginnerTable t;
    t.ComputerCanasta(11);
    t.Melds({CardId(Spade, 8), CardId(Heart, 8), CardId(Club, 8)});
    t.Hand({CardId(Spade, 4), CardId(Heart, 4), JokerCard, CardId(Club, 1), CardId(Spade, 1), CardId(Heart, 1)});
    t.Ready();
    t.turn.UseWildcardsToGoOut();

    ASSERT_EQ(t.game.Computer().Hand.Count, 1);
    EXPECT_EQ(t.game.Computer().Hand.Cards[0].Rank, 1);
    EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 4), 4);  // the pair, the joker and one two
    EXPECT_EQ(t.WildsInColumn(t.game.Computer().Melds, 4), 2);
    EXPECT_EQ(t.WildsInColumn(t.game.Computer().Melds, 8), 1);
}

TEST(BeginnerDiscard, NeverFeedsAMeldOfFiveOrSixWhileItHoldsAWildCard)
{
    BeginnerTable t;
    OpenWithFives(t);
    t.Hand({CardId(Spade, 9), CardId(Spade, 5), JokerCard, CardId(Spade, 1), CardId(Spade, 2)});
    for (int i = 0; i < 5; ++i)
        AddToHumanMelds(t.game, CardId(Diamond, 9));
    t.Ready();
    EXPECT_EQ(t.ChosenRank(), 2);
    RemoveCardAt(t.game.Computer().Hand, 4, 1, true, 0);
    t.Ready();
    EXPECT_EQ(t.ChosenRank(), 1);  // a two before a joker
    t.game.Turn.DiscardFrozen = true;
    t.Ready();
    EXPECT_EQ(t.ChosenRank(), 5);  // a frozen pile is no danger: the plain single goes

    BeginnerTable single;
    single.Hand({CardId(Spade, 12), CardId(Spade, 2)});
    single.Ready();
    EXPECT_EQ(single.ChosenRank(), 2);  // the king would stay alone with the three
    single.Hand({CardId(Spade, 11)});
    single.Ready();
    EXPECT_EQ(single.ChosenRank(), 11);
}
