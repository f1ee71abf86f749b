// The Expert's decisions on hand-built tables: taking the pile, the initial
// meld, the leftover count and the discard.
#include <gtest/gtest.h>

#include <initializer_list>

#include "ai/expert.h"
#include "family_support.h"

using namespace meldora;
using namespace meldora::test;

namespace {

struct ExpertTable : FamilyTable<ai::ExpertTurn> {
    ExpertTable() : FamilyTable(ai::Expert) {}
};

// One or two kings, the top king, and six singles; the pile's other cards are odd ones.
void KingPairTable(ExpertTable& t, std::initializer_list<int> openingCards, int pileExtras = 5, int kings = 2)
{
    t.Hand({CardId(Spade, 12)});
    if (kings == 2)
        t.Hand({CardId(Heart, 12)});
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

TEST(ExpertTake, AFrozenPileNeedsTheNaturalPairAnOpeningThatReachesAndTheRightPileAndStock)
{
    const std::initializer_list<int> aces{CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13)};
    const std::initializer_list<int> fives{CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4)};
    // Three kings with the top card (30) and four fours (20): exactly 50.
    const std::initializer_list<int> fours{CardId(Spade, 3), CardId(Heart, 3), CardId(Club, 3), CardId(Diamond, 3)};
    struct Case {
        const char* name;
        std::initializer_list<int> opening;
        int kings, pileExtras, stock, humanCards;
        bool topCardCounts, take;
        int minimum;  // 0: not looked at
    };
    const Case cases[] = {
        {"aces open", aces, 2, 5, 30, 0, true, true, 50},
        {"fives fall short", fives, 2, 5, 30, 0, true, false, 0},
        {"one king only", aces, 1, 5, 30, 0, true, false, 0},
        {"fours reach 50", fours, 2, 5, 30, 0, true, true, 50},
        {"top card not counting", fours, 2, 5, 30, 0, false, false, 60},
        // A human far from going out: a triple with the top card wants a big pile and a thin stock.
        {"small pile", aces, 2, 5, 30, 26, true, false, 0},
        {"big pile", aces, 2, 7, 30, 26, true, true, 0},
        {"big pile, thick stock", aces, 2, 7, 62, 26, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpertTable t;
        t.game.Rules.TopCardCounts = c.topCardCounts;
        KingPairTable(t, c.opening, c.pileExtras, c.kings);
        t.Stock(c.stock);
        t.HumanHolds(c.humanCards);
        t.Ready();
        const int held = t.game.Computer().Hand.Count;
        EXPECT_EQ(t.turn.ShouldTakePile(), c.take);
        // The trial card is gone again, from the hand's size and its tally.
        EXPECT_EQ(t.turn.Cards(), held);
        EXPECT_EQ(t.game.Computer().HandCount[King], c.kings);
        EXPECT_EQ(t.game.Memory.OpeningWildcards, 0);
        if (c.minimum) {
            EXPECT_EQ(t.turn.OwnMinimumMeld, c.minimum);
        }
    }
}

TEST(ExpertTake, MissingCanastaTakesLargePilesByChance)
{
    auto takes = [](int pileExtras) {
        ExpertTable t;
        t.game.Rules.CanastaRequired = true;
        t.game.Computer().MeldValue = 60;
        t.Melds({CardId(Spade, 7), CardId(Spade, 7), CardId(Spade, 7)});
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
    t.game.Computer().MeldValue = 60;
    t.Melds({CardId(Spade, 9), CardId(Spade, 9), CardId(Spade, 9)});
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
    // Fives (15) and a king pair with the joker (70): a plan with pairs. With one
    // canasta needed no wild card is spare below 90, unless a two in the pile pays
    // for the joker; with two canastas needed any wild card goes.
    struct Case {
        int canastas;
        std::initializer_list<int> pile;
        bool possible;
    };
    for (const Case& c : {Case{1, {CardId(Diamond, 8)}, false}, Case{1, {CardId(Diamond, 1), CardId(Diamond, 8)}, true},
                          Case{2, {}, true}}) {
        ExpertTable t;
        t.game.Rules.NumberOfCanastas = c.canastas;
        t.Hand({CardId(Spade, 12), CardId(Heart, 12), JokerCard, CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4),
                CardId(Spade, 7), CardId(Spade, 9), CardId(Spade, 11)});
        t.Pile(c.pile);
        t.Ready();
        const auto r = t.turn.EvaluateOpening(0, false, false);
        SCOPED_TRACE(c.possible);
        EXPECT_EQ(r.Possible, c.possible);
        EXPECT_EQ(t.game.Memory.OpeningPlan, 2);
        EXPECT_EQ(r.Wildcards, 1);
    }
    for (bool naturalPair : {true, false}) {
        ExpertTable t;  // a joker on a triple of fives, only without the natural-pair rule
        t.game.Rules.NaturalPair = naturalPair;
        t.game.Rules.NumberOfCanastas = 2;
        t.Hand({CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4), JokerCard, CardId(Spade, 9)});
        t.Ready();
        EXPECT_EQ(t.turn.EvaluateOpening(0, false, false).Possible, !naturalPair);
        EXPECT_EQ(t.game.Memory.OpeningPlan, naturalPair ? 0 : 1);
    }
}

TEST(ExpertOpening, TakingKeepsAReserveAndSparingACardLeavesTheOpeningIntact)
{
    ExpertTable t;
    t.Hand({CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13), CardId(Spade, 5)});
    t.Pile({CardId(Diamond, 8), CardId(Diamond, 13)});
    t.Ready();
    EXPECT_FALSE(t.turn.EvaluateOpening(13, false, true).Possible);  // 4 cards used of 6
    EXPECT_TRUE(t.turn.EvaluateOpening(13, true, true).Possible);   // unless the pile makes the canasta

    t.game.Memory.OpeningPlan = 2;
    EXPECT_FALSE(t.turn.CanSpareRank(13));  // two aces are 40
    EXPECT_TRUE(t.turn.CanSpareRank(5));
    EXPECT_FALSE(t.turn.CanSpareRank(9));  // not held
    EXPECT_EQ(t.game.Memory.OpeningPlan, 2);
    EXPECT_EQ(t.game.Computer().Hand.Count, 4);
    t.game.Computer().MeldValue = 60;
    EXPECT_TRUE(t.turn.CanSpareRank(13));

    // A card laid in and not yet in the tallies: sparing is tried on the hand
    // itself, and the hand comes back with its red three counted.
    t.game.Computer().MeldValue = 0;
    t.turn.AddToHand(MakeCard(CardId(Diamond, 2), 0), false);
    t.turn.CanSpareRank(2);
    t.turn.Recount();
    EXPECT_EQ(t.turn.BlackThreesInHand(), 0);
}

TEST(ExpertLeftover, PairsTakeAWildCardAndBlackThreesGoTogether)
{
    ExpertTable t;
    t.Hand({CardId(Spade, 12), CardId(Heart, 12), JokerCard, CardId(Spade, 11), CardId(Heart, 11), CardId(Club, 11),
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
    for (const bool nineOnPile : {true, false}) {
        ExpertTable t;
        t.Melds({CardId(Spade, 9), CardId(Spade, 9), CardId(Spade, 9)});
        t.Hand({CardId(Heart, 9), CardId(Club, 9), JokerCard, CardId(Spade, 4)});
        if (nineOnPile)
            t.Pile({CardId(Diamond, 9)});
        t.Pile({CardId(Spade, 5)});
        t.Ready();
        EXPECT_EQ(t.turn.PileCompletesCanasta(), nineOnPile);
        if (!nineOnPile)
            continue;
        t.Hand({CardId(Club, 1)});  // with two wild cards the hand does it alone
        t.Ready();
        EXPECT_FALSE(t.turn.PileCompletesCanasta());
    }
}

TEST(ExpertDiscard, TheHumansLastCardIsNeverFedToItsMeld)
{
    ExpertTable t;
    t.game.Computer().MeldValue = 60;
    for (int i = 0; i < 3; ++i)
        AddToHumanMelds(t.game, CardId(Spade, 8));
    t.Hand({CardId(Heart, 8), CardId(Spade, 12), CardId(Heart, 12)});
    t.Stock(30);
    t.HumanHolds(2);
    t.Ready();
    EXPECT_EQ(t.ChosenRank(), 8);  // the single eight, while the human holds two cards
    RemoveCardAt(t.game.Human().Hand, 0, 1, false, t.game.Human().Hand.Cards[0].Rank);
    t.Ready();
    EXPECT_EQ(t.ChosenRank(), 12);
}

TEST(ExpertDiscard, ThreesFirstInThreeModeAndABlockingRedThreeFromTheTable)
{
    ExpertTable t;
    t.game.Memory.ThreeDiscardMode = true;
    t.Hand({CardId(Spade, 9), CardId(Spade, 2), CardId(Heart, 9)});
    t.Ready();
    EXPECT_EQ(t.ChosenRank(), 2);

    ExpertTable block;
    block.game.Rules.ThreeBlock = true;
    block.game.Rules.NumberOfCanastas = 2;
    block.Melds({CardId(Heart, 2), CardId(Diamond, 2)});
    block.Hand({CardId(Spade, 9), CardId(Spade, 10), CardId(Heart, 4)});
    block.Pile({CardId(Spade, 7)});
    block.Ready();
    const auto choice = block.turn.ChooseDiscard();
    ASSERT_EQ(choice.MeldIndex, 0);
    block.turn.DiscardStep([&] { return choice; });
    EXPECT_EQ(block.game.DiscardPile.top().Id, CardId(Heart, 2));
    EXPECT_TRUE(block.game.Turn.DiscardFrozen);
    EXPECT_EQ(block.game.Computer().Hand.Count, 3);
    EXPECT_EQ(block.game.Computer().Melds.Count, 1);
}
