// The Advanced computer player's decisions on hand-built tables.
#include <gtest/gtest.h>

#include "ai/advanced.h"
#include "family_support.h"

using namespace meldora;
using namespace meldora::test;
using meldora::ai::AdvancedTurn;

namespace {

struct AdvancedTable : FamilyTable<AdvancedTurn> {
    AdvancedTable() : FamilyTable(meldora::ai::Advanced) {}
};

// Out of 100 seeded decisions, how often the computer (opened with three fives)
// takes a pile of pileSize cards with a king on top.
int KingPileTakes(int kingsInHand, int kingsMelded, int pileSize)
{
    int takes = 0;
    for (std::uint32_t seed = 1; seed <= 100; ++seed) {
        AdvancedTable t;
        t.game.Seed(seed);
        t.Melds({CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4)});
        t.game.Computer().MeldValue = 15;
        for (int i = 0; i < kingsMelded; ++i)
            AddToComputerMelds(t.game, CardId(i % 2 ? Heart : Spade, 12));
        for (int i = 0; i < kingsInHand; ++i)
            t.Hand({CardId(i % 2 ? Club : Spade, 12)});
        t.Hand({CardId(Spade, 3), CardId(Spade, 6), CardId(Spade, 8), CardId(Spade, 10)});
        for (int i = 1; i < pileSize; ++i)
            t.Pile({CardId(Diamond, 5 + i % 5)});
        t.Pile({CardId(Diamond, 12)});
        t.Stock(40);
        t.Ready();
        takes += t.turn.ShouldTakePile();
        EXPECT_EQ(t.game.Computer().Hand.Count, kingsInHand + 4);  // the trial card is gone again
    }
    return takes;
}

}  // namespace

TEST(AdvancedTake, ASmallPileNeedsTwoNaturalsAndABigOneMostlyServesTheMeld)
{
    EXPECT_EQ(KingPileTakes(1, 3, 4), 0);    // 16/16: never merely to add to the meld
    EXPECT_EQ(KingPileTakes(2, 0, 4), 100);  // the top card and two naturals
    EXPECT_GT(KingPileTakes(1, 3, 10), 0);   // a big pile mostly serves the meld
}

TEST(AdvancedTake, TheTopCardDoesNotCountWhenTheRulesSaySo)
{
    for (bool topCardCounts : {true, false}) {
        AdvancedTable t;
        t.game.Rules.TopCardCounts = topCardCounts;
        // Kings 30 with the top card, fives 20: exactly 50, with eight cards to spare.
        t.Hand({CardId(Spade, 12), CardId(Heart, 12), CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4),
                CardId(Diamond, 4), CardId(Spade, 3), CardId(Spade, 5), CardId(Spade, 6), CardId(Spade, 7),
                CardId(Spade, 8), CardId(Spade, 9), CardId(Spade, 10)});
        t.Pile({CardId(Diamond, 6), CardId(Diamond, 8), CardId(Diamond, 9), CardId(Club, 12)});
        t.Stock(40);
        t.Ready();
        EXPECT_EQ(t.turn.ShouldTakePile(), topCardCounts);
        EXPECT_EQ(t.turn.OwnMinimumMeld, 50);  // raised for the decision only
    }
}

TEST(AdvancedOpening, PairsWithWildCardsNeedAHigherMinimumAndSixCardsStayInHand)
{
    AdvancedTable t;
    t.game.Rules.NaturalPair = false;
    t.Hand({CardId(Spade, 13), CardId(Heart, 13), CardId(Spade, 12), CardId(Heart, 12), CardId(Club, 12), JokerCard,
            CardId(Spade, 3), CardId(Spade, 4), CardId(Spade, 5), CardId(Spade, 6), CardId(Spade, 7),
            CardId(Spade, 8), CardId(Spade, 9)});
    t.Ready();
    // Kings 30, then the aces with the joker: 120 points from six cards, one pair.
    for (auto [minimum, possible] : {std::pair{50, false}, std::pair{90, true}, std::pair{120, true}}) {
        t.turn.OwnMinimumMeld = minimum;
        const auto opening = t.turn.EvaluateOpening();
        EXPECT_EQ(opening.Possible, possible) << minimum;
        EXPECT_EQ(opening.Wildcards, 1);
    }
    RemoveCardAt(t.game.Computer().Hand, 12, 1, true, 0);
    t.Ready();
    t.turn.OwnMinimumMeld = 90;
    EXPECT_FALSE(t.turn.EvaluateOpening().Possible);  // twelve cards: only six would stay
}

TEST(AdvancedTake, APileThatMakesAWildCanastaOpensWithItAndStopsAtTheMinimum)
{
    AdvancedTable t;
    t.Hand({CardId(Spade, 11), CardId(Heart, 11), CardId(Club, 11), CardId(Spade, 13), CardId(Heart, 13),
            CardId(Club, 13), JokerCard, JokerCard, CardId(Club, 1), CardId(Spade, 3), CardId(Spade, 4), CardId(Spade, 5),
            CardId(Spade, 6)});
    t.Pile({CardId(Diamond, 7), CardId(Diamond, 8), CardId(Diamond, 9), CardId(Diamond, 11)});
    t.game.Turn.DiscardFrozen = true;
    t.Stock(40);
    t.Ready();
    ASSERT_TRUE(t.turn.ShouldTakePile());
    t.turn.TakePile();

    EXPECT_EQ(t.game.Computer().Canastas.Count, 1);
    EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 11), 7);
    EXPECT_EQ(t.game.Computer().MeldValue, 160);
    EXPECT_EQ(t.game.Computer().HandCount[13], 3);  // the aces were not needed
    EXPECT_EQ(t.game.Computer().Hand.Count, 10);
    EXPECT_EQ(t.game.DiscardPile.Count, 0);
    EXPECT_FALSE(t.game.Turn.DiscardFrozen);
}

TEST(AdvancedMelding, CanastasTakeAtMostThreeWildCardsAndNeverTheLastCard)
{
    AdvancedTable t;
    t.Melds({CardId(Spade, 8), CardId(Heart, 8), CardId(Club, 8)});
    AddToComputerMelds(t.game, JokerCard, 8);
    AddToComputerMelds(t.game, JokerCard, 8);
    t.game.Computer().MeldValue = 130;
    t.Hand({CardId(Spade, 12), CardId(Heart, 12), CardId(Club, 12), CardId(Diamond, 12), JokerCard, JokerCard,
            CardId(Club, 1), CardId(Spade, 1), CardId(Heart, 1), CardId(Spade, 5)});
    t.Ready();
    t.turn.CompleteCanastas();
    EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 12), 7);
    EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 8), 5);  // two more twos would make four wild cards
    EXPECT_EQ(t.game.Computer().Hand.Count, 3);

    AdvancedTable last;
    last.Melds({CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4)});
    last.game.Computer().MeldValue = 15;
    last.Hand({CardId(Spade, 12), CardId(Heart, 12), CardId(Club, 12), CardId(Diamond, 12), JokerCard, JokerCard, JokerCard});
    last.Ready();
    last.turn.CompleteCanastas();
    EXPECT_EQ(last.game.Computer().Hand.Count, 7);
}

TEST(AdvancedMelding, HoldsBackWhileTheHumanIsFarFromOutAndThenDiscardsThrees)
{
    for (int humanCards : {3, 30}) {
        AdvancedTable t;
        t.game.Seed(3);
        t.ComputerCanasta(11);
        t.ComputerCanasta(12);
        t.ComputerCanasta(13);
        t.Hand({CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4), CardId(Spade, 2), CardId(Spade, 8),
                CardId(Spade, 9)});
        t.HumanHolds(humanCards);
        t.Ready();
        t.turn.MeldPhase();
        EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 4), humanCards == 3 ? 3 : 0) << humanCards;
        EXPECT_TRUE(t.turn.TalliesCurrent());  // the discard reads them without a recount
        EXPECT_TRUE(t.game.Memory.ThreeDiscardMode);
    }
}

TEST(AdvancedDiscard, NeverASingleThatGivesTheHumanACanasta)
{
    AdvancedTable t;
    t.Hand({CardId(Spade, 12), CardId(Spade, 4), CardId(Spade, 8), CardId(Heart, 8)});
    t.Pile({CardId(Diamond, 6), CardId(Diamond, 7)});
    for (int i = 0; i < 6; ++i)
        AddToHumanMelds(t.game, CardId(Club, 4));  // the five would give the human a canasta
    t.Ready();
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(t.ChosenRank(), 12);
}

TEST(AdvancedDiscard, ALongPileIsBlockedAndAWildCardFreezesItWhenTheHumanIsClose)
{
    AdvancedTable t;
    t.Melds({CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4)});
    t.game.Computer().MeldValue = 15;
    t.Hand({CardId(Spade, 7), CardId(Heart, 7), CardId(Club, 1), CardId(Spade, 2)});
    t.Pile({CardId(Diamond, 4), CardId(Diamond, 5), CardId(Diamond, 6), CardId(Diamond, 8), CardId(Diamond, 9),
            CardId(Diamond, 10)});
    for (int i = 0; i < 3; ++i)
        AddToHumanMelds(t.game, CardId(Diamond, 7));
    t.HumanHolds(9);
    t.Ready();
    EXPECT_EQ(t.ChosenRank(), 2);  // a black three first
    RemoveCardAt(t.game.Computer().Hand, 3, 1, true, 0);
    t.Ready();
    EXPECT_EQ(t.ChosenRank(), 1);  // the eights would feed the human's meld
    t.HumanHolds(1);
    t.Ready();
    EXPECT_EQ(t.ChosenRank(), 7);

    AdvancedTable wild;  // more wild cards than it can use before the initial meld
    wild.Hand({CardId(Club, 1), CardId(Spade, 1), JokerCard, CardId(Spade, 12), CardId(Spade, 4)});
    wild.Ready();
    EXPECT_EQ(wild.ChosenRank(), 1);
}
