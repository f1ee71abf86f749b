// The Expert's decisions on hand-built tables: taking the pile, the initial
// meld, the leftover count and the discard.
#include <gtest/gtest.h>

#include <initializer_list>

#include "ai/expert.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;
using meldora::ai::ComputerSettings;
using meldora::ai::ExpertTurn;

namespace {

struct ExpertTable : TableFixture {
    ComputerSettings ai{meldora::ai::Expert, 50, 0, false};
    ExpertTurn turn{game, ai};

    void Hand(std::initializer_list<int> ids)
    {
        for (int id : ids)
            AddToComputerHand(game, id);
    }
    void Pile(std::initializer_list<int> ids)
    {
        for (int id : ids)
            AddToDiscardPile(game, id);
    }
    void Stock(int cards)
    {
        for (int i = 0; i < cards; ++i)
            AddToStock(game, CardId(Club, 3 + i % 10));
    }
    void HumanHolds(int cards)
    {
        for (int i = 0; i < cards; ++i)
            AddToHumanHand(game, CardId(Spade, 3 + i % 11));
    }
    // Counts the human's hand the way the start of a computer turn does.
    void Ready()
    {
        game.RecountColumns();
        turn.RecountForComputer();
    }
    int TopRankOfChoice()
    {
        const auto choice = turn.ChooseDiscard();
        return game.ComputerHand.Cards[choice.HandIndex].Rank;
    }
};

// King pair, the top king, and six singles; the pile's other five cards are odd ones.
void KingPairTable(ExpertTable& t, std::initializer_list<int> openingCards, int pileExtras = 5)
{
    t.Hand({CardId(Spade, 12), CardId(Heart, 12)});
    t.Hand(openingCards);
    t.Hand({CardId(Spade, 5), CardId(Spade, 6), CardId(Spade, 7), CardId(Spade, 8), CardId(Spade, 9),
            CardId(Spade, 10)});
    const int extras[] = {CardId(Diamond, 4), CardId(Diamond, 6), CardId(Diamond, 8), CardId(Diamond, 10),
                          CardId(Diamond, 11), CardId(Heart, 4),    CardId(Heart, 6),   CardId(Heart, 8)};
    for (int i = 0; i < pileExtras; ++i)
        AddToDiscardPile(t.game, extras[i]);
    t.Pile({CardId(Club, 12)});
}

}  // namespace

TEST(ExpertTake, AFrozenPileNeedsTheNaturalPairAndAnOpeningThatReaches)
{
    {
        ExpertTable t;  // not opened: the pile is frozen for the computer
        KingPairTable(t, {CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13)});
        t.Stock(30);
        t.Ready();
        EXPECT_TRUE(t.turn.ShouldTakePile());
        EXPECT_EQ(t.game.Memory.OpeningWildcards, 0);
        EXPECT_EQ(t.game.ComputerHand.Count, 11);  // the trial card is gone again
    }
    {
        ExpertTable t;  // five of a kind worth 15 do not reach 50 with the kings
        KingPairTable(t, {CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4)});
        t.Stock(30);
        t.Ready();
        EXPECT_FALSE(t.turn.ShouldTakePile());
    }
    {
        ExpertTable t;  // one king only
        KingPairTable(t, {CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13)});
        RemoveCardAt(t.game.ComputerHand, 1, 1, true, 0);
        t.Stock(30);
        t.Ready();
        EXPECT_FALSE(t.turn.ShouldTakePile());
    }
}

TEST(ExpertTake, WithoutTopCardCountsTheTopCardRaisesTheMinimum)
{
    for (bool topCardCounts : {true, false}) {
        ExpertTable t;
        t.game.Rules.TopCardCounts = topCardCounts;
        // Three kings with the top card (30) and four fours (20): exactly 50.
        KingPairTable(t, {CardId(Spade, 3), CardId(Heart, 3), CardId(Club, 3), CardId(Diamond, 3)});
        t.Stock(30);
        t.Ready();
        EXPECT_EQ(t.turn.ShouldTakePile(), topCardCounts);
        EXPECT_EQ(t.turn.ComputerMinimumMeld, topCardCounts ? 50 : 60);
    }
}

TEST(ExpertTake, ATripleWithTheTopCardWantsABigPileAndAThinStock)
{
    struct Case {
        int pileExtras;
        int stock;
        bool take;
    };
    for (const Case& c : {Case{5, 30, false}, Case{7, 30, true}, Case{7, 62, false}}) {
        ExpertTable t;
        KingPairTable(t, {CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13)}, c.pileExtras);
        t.Stock(c.stock);
        t.HumanHolds(26);  // a human far from going out: the pile is not critical
        t.Ready();
        EXPECT_EQ(t.turn.ShouldTakePile(), c.take) << c.pileExtras + 1 << " cards, stock " << c.stock;
    }
}

TEST(ExpertTake, MissingCanastaTakesLargePilesByChance)
{
    auto takes = [](int pileExtras) {
        ExpertTable t;
        t.game.Rules.CanastaRequired = true;
        t.game.ComputerMeldValue = 60;
        for (int i = 0; i < 3; ++i)
            AddToComputerMelds(t.game, CardId(Spade, 7));
        t.Hand({CardId(Spade, 4), CardId(Spade, 9), CardId(Spade, 11), CardId(Spade, 13)});
        const int extras[] = {CardId(Diamond, 3), CardId(Diamond, 5), CardId(Diamond, 6), CardId(Diamond, 8),
                              CardId(Diamond, 10), CardId(Diamond, 12), CardId(Heart, 3), CardId(Heart, 5),
                              CardId(Heart, 6)};
        for (int i = 0; i < pileExtras; ++i)
            AddToDiscardPile(t.game, extras[i]);
        t.Pile({CardId(Heart, 7)});
        t.Stock(40);
        t.HumanHolds(26);
        t.Ready();
        int taken = 0;
        for (int i = 0; i < 400; ++i)
            taken += t.turn.ShouldTakePile();
        return taken;
    };
    const int tenCards = takes(9);
    EXPECT_GT(tenCards, 260);  // three in four
    EXPECT_LT(tenCards, 340);
    EXPECT_EQ(takes(4), 0);  // 25 / 5² is never exceeded
}

TEST(ExpertTake, RulesThatForbidTheTake)
{
    ExpertTable t;
    t.game.ComputerMeldValue = 60;
    for (int i = 0; i < 3; ++i)
        AddToComputerMelds(t.game, CardId(Spade, 9));
    t.Hand({CardId(Heart, 9)});
    t.Pile({CardId(Club, 9)});
    t.Stock(20);
    t.Ready();
    const CardRecord top = t.game.DiscardPile.top();
    EXPECT_FALSE(t.turn.MayTakePile(top, false));  // one card against one card
    t.Hand({CardId(Heart, 4)});
    t.Ready();
    EXPECT_TRUE(t.turn.MayTakePile(top, false));
    EXPECT_FALSE(t.turn.MayTakePile(top, true));  // frozen: a natural pair is needed

    ExpertTable threes;
    threes.Hand({CardId(Heart, 2), CardId(Club, 2), CardId(Spade, 8), CardId(Spade, 9)});
    threes.Pile({CardId(Spade, 7), CardId(Spade, 2)});
    threes.Ready();
    EXPECT_FALSE(threes.turn.MayTakePile(threes.game.DiscardPile.top(), false));
}

TEST(ExpertOpening, TriplesPairsAndTheWildCardBudget)
{
    {
        ExpertTable t;  // an ace triple alone opens
        t.Hand({CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13), CardId(Spade, 5), CardId(Spade, 8)});
        t.Ready();
        const auto r = t.turn.EvaluateOpening(0, false, false);
        EXPECT_TRUE(r.Possible);
        EXPECT_EQ(r.Wildcards, 0);
        EXPECT_EQ(t.game.Memory.OpeningPlan, 1);
    }
    auto pairTable = [](ExpertTable& t) {
        t.Hand({CardId(Spade, 12), CardId(Heart, 12), Joker, CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4)});
        t.Hand({CardId(Spade, 7), CardId(Spade, 9), CardId(Spade, 11)});
    };
    {
        ExpertTable t;  // fives (15) and a king pair with the joker (70): a plan with pairs
        pairTable(t);
        t.Pile({CardId(Diamond, 8)});
        t.Ready();
        const auto r = t.turn.EvaluateOpening(0, false, false);
        EXPECT_EQ(t.game.Memory.OpeningPlan, 2);
        EXPECT_EQ(r.Wildcards, 1);
        EXPECT_FALSE(r.Possible);  // one canasta needed: no wild card to spare below 90
    }
    {
        ExpertTable t;  // a two in the pile pays for the joker
        pairTable(t);
        t.Pile({CardId(Diamond, 1), CardId(Diamond, 8)});
        t.Ready();
        EXPECT_TRUE(t.turn.EvaluateOpening(0, false, false).Possible);
    }
    {
        ExpertTable t;  // two canastas needed: any wild card goes
        t.game.Rules.NumberOfCanastas = 2;
        pairTable(t);
        t.Ready();
        EXPECT_TRUE(t.turn.EvaluateOpening(0, false, false).Possible);
    }
    for (bool naturalPair : {true, false}) {
        ExpertTable t;  // a joker on a triple of fives, only without the natural-pair rule
        t.game.Rules.NaturalPair = naturalPair;
        t.game.Rules.NumberOfCanastas = 2;
        t.Hand({CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4), Joker, CardId(Spade, 9)});
        t.Ready();
        const auto r = t.turn.EvaluateOpening(0, false, false);
        EXPECT_EQ(r.Possible, !naturalPair);
        EXPECT_EQ(t.game.Memory.OpeningPlan, naturalPair ? 0 : 1);
    }
}

TEST(ExpertOpening, TakingKeepsAReserveOfCards)
{
    ExpertTable t;
    t.Hand({CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13), CardId(Spade, 5)});
    t.Pile({CardId(Diamond, 8), CardId(Diamond, 13)});
    t.Ready();
    EXPECT_FALSE(t.turn.EvaluateOpening(13, false, true).Possible);  // 4 cards used of 6
    EXPECT_TRUE(t.turn.EvaluateOpening(13, true, true).Possible);   // unless the pile makes the canasta
}

TEST(ExpertOpening, SparingACardMustLeaveTheOpeningIntact)
{
    ExpertTable t;
    t.Hand({CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13), CardId(Spade, 5)});
    t.Ready();
    t.game.Memory.OpeningPlan = 2;
    EXPECT_FALSE(t.turn.CanSpareRank(13));  // two aces are 40
    EXPECT_TRUE(t.turn.CanSpareRank(5));
    EXPECT_FALSE(t.turn.CanSpareRank(9));  // not held
    EXPECT_EQ(t.game.Memory.OpeningPlan, 2);
    EXPECT_EQ(t.game.ComputerHand.Count, 4);
    t.game.ComputerMeldValue = 60;
    EXPECT_TRUE(t.turn.CanSpareRank(13));
}

TEST(ExpertLeftover, PairsTakeAWildCardAndBlackThreesGoTogether)
{
    ExpertTable t;
    t.Hand({CardId(Spade, 12), CardId(Heart, 12), Joker, CardId(Spade, 11), CardId(Heart, 11), CardId(Club, 11),
            CardId(Spade, 7)});
    t.Ready();
    auto r = t.turn.CountLeftover();
    EXPECT_TRUE(r.Possible);
    EXPECT_EQ(r.Leftover, 1);

    t.Hand({CardId(Spade, 2), CardId(Club, 2)});
    t.Ready();
    r = t.turn.CountLeftover();
    EXPECT_FALSE(r.Possible);
    EXPECT_EQ(r.Leftover, 3);
    t.Hand({CardId(Club, 2)});  // three black threes are melded when going out
    t.Ready();
    EXPECT_TRUE(t.turn.CountLeftover().Possible);

    ExpertTable noWild;
    noWild.Hand({CardId(Spade, 12), CardId(Heart, 12), CardId(Spade, 7)});
    noWild.Ready();
    r = noWild.turn.CountLeftover();
    EXPECT_FALSE(r.Possible);
    EXPECT_EQ(r.Leftover, 3);  // 3 - 3 + 1 spare owed, twice
}

TEST(ExpertPile, CompletesACanastaOnlyThroughThePile)
{
    ExpertTable t;
    for (int i = 0; i < 3; ++i)
        AddToComputerMelds(t.game, CardId(Spade, 9));
    t.Hand({CardId(Heart, 9), CardId(Club, 9), Joker, CardId(Spade, 4)});
    t.Pile({CardId(Diamond, 9), CardId(Spade, 5)});
    t.Ready();
    EXPECT_TRUE(t.turn.PileCompletesCanasta());

    t.Hand({CardId(Club, 1)});  // with two wild cards the hand does it alone
    t.Ready();
    EXPECT_FALSE(t.turn.PileCompletesCanasta());

    ExpertTable noNine;
    for (int i = 0; i < 3; ++i)
        AddToComputerMelds(noNine.game, CardId(Spade, 9));
    noNine.Hand({CardId(Heart, 9), CardId(Club, 9), Joker});
    noNine.Pile({CardId(Spade, 5)});
    noNine.Ready();
    EXPECT_FALSE(noNine.turn.PileCompletesCanasta());
}

TEST(ExpertDiscard, TheHumansLastCardIsNeverFedToItsMeld)
{
    ExpertTable t;
    t.game.ComputerMeldValue = 60;
    for (int i = 0; i < 3; ++i)
        AddToHumanMelds(t.game, CardId(Spade, 8));
    t.Hand({CardId(Heart, 8), CardId(Spade, 12), CardId(Heart, 12)});
    t.Stock(30);
    t.HumanHolds(2);
    t.Ready();
    EXPECT_EQ(t.TopRankOfChoice(), 8);  // the single eight, while the human holds two cards

    RemoveCardAt(t.game.HumanHand, 0, 1, false, t.game.HumanHand.Cards[0].Rank);
    t.Ready();
    EXPECT_EQ(t.TopRankOfChoice(), 12);
}

TEST(ExpertDiscard, SurplusWildCardsOnAFrozenPileAreMostlyTwos)
{
    ExpertTable t;
    t.game.DiscardFrozen = true;
    t.Hand({Joker, Joker, CardId(Spade, 1), CardId(Heart, 1), CardId(Club, 1), CardId(Spade, 9)});
    t.Pile({CardId(Spade, 7)});
    t.Ready();
    int twos = 0;
    for (int i = 0; i < 1000; ++i)
        twos += t.TopRankOfChoice() == 1;
    EXPECT_GT(twos, 740);
    EXPECT_LT(twos, 860);
}

TEST(ExpertDiscard, ThreesFirstInThreeModeAndABlockingRedThreeFromTheTable)
{
    ExpertTable t;
    t.game.Memory.ThreeDiscardMode = true;
    t.Hand({CardId(Spade, 9), CardId(Spade, 2), CardId(Heart, 9)});
    t.Ready();
    EXPECT_EQ(t.TopRankOfChoice(), 2);

    ExpertTable block;
    block.game.Rules.ThreeBlock = true;
    block.game.Rules.NumberOfCanastas = 2;
    AddToComputerMelds(block.game, CardId(Heart, 2));
    AddToComputerMelds(block.game, CardId(Diamond, 2));
    block.Hand({CardId(Spade, 9), CardId(Spade, 10), CardId(Heart, 4)});
    block.Pile({CardId(Spade, 7)});
    block.Ready();
    const auto choice = block.turn.ChooseDiscard();
    ASSERT_EQ(choice.MeldIndex, 0);

    block.turn.DiscardStep([&] { return choice; });
    EXPECT_EQ(block.game.DiscardPile.top().Id, CardId(Heart, 2));
    EXPECT_TRUE(block.game.DiscardFrozen);
    EXPECT_EQ(block.game.ComputerHand.Count, 3);
    ASSERT_EQ(block.game.ComputerMelds.Count, 1);
    const int base = block.game.Layout.ComputerMeldBase;
    EXPECT_EQ(block.game.ComputerMelds.Cards[0].Y, base - StackStep);  // the column closes up
    EXPECT_EQ(block.game.ComputerMelds.ColumnEnds[2].Y, base - StackStep);
}
