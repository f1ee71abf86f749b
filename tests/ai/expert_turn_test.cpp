// Whole Expert turns: the forced take of an exhausted stock, holding back or
// going out, where spare wild cards go when it goes out, and how aggressive a turn is.
#include <gtest/gtest.h>

#include "ai/expert.h"
#include "family_support.h"

using namespace meldora;
using namespace meldora::test;

namespace {

// Flights and pauses on, as in the game.
struct TurnTable : FamilyTable<ai::ExpertTurn> {
    TurnTable() : FamilyTable(ai::Expert)
    {
        ai = {ai::Expert, 50, 300, true};
        game.Turn.Phase = TurnPhase::Opponent;
    }
    void OpenedWithKingCanasta()
    {
        game.Computer().MeldValue = 70;
        for (int i = 0; i < 7; ++i)
            AddToComputerMelds(game, CardId(i % 2 ? Heart : Spade, 12));
        game.CheckCanasta(Side::Computer, 12);
    }
};

}  // namespace

TEST(ExpertTurnFrame, AnExhaustedStockForcesTheTopCardOntoTheMeld)
{
    TurnTable t;
    t.game.Computer().Score = -100;  // a first meld of 30 points is enough
    t.game.Computer().MeldValue = 60;
    t.Melds({CardId(Spade, 9), CardId(Heart, 9), CardId(Club, 9)});
    t.Hand({CardId(Spade, 4), CardId(Spade, 6), CardId(Spade, 12)});
    AddToHumanHand(t.game, CardId(Heart, 6));
    t.Pile({CardId(Diamond, 5), CardId(Diamond, 9)});
    t.game.Turn.StockExhausted = true;

    t.Play();

    EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 9), 4);
    EXPECT_EQ(t.game.Computer().MeldValue, 70);
    ASSERT_EQ(t.game.DiscardPile.Count, 2);
    EXPECT_EQ(t.game.DiscardPile.Cards[0].Id, CardId(Diamond, 5));  // the rest of the pile stays
    EXPECT_EQ(t.game.Computer().Hand.Count, 2);
    EXPECT_TRUE(t.host.HandScores.empty());
}

TEST(ExpertMelding, AQuietTurnKeepsItsCardsWhileTheHumanIsFarFromOut)
{
    TurnTable t;
    t.OpenedWithKingCanasta();
    t.Hand({CardId(Spade, 11), CardId(Heart, 11), CardId(Club, 11), CardId(Spade, 6), CardId(Heart, 6), JokerCard});
    for (int i = 0; i < 10; ++i)
        AddToHumanHand(t.game, CardId(Club, 3 + i));
    for (int i = 0; i < 5; ++i)
        AddToHumanMelds(t.game, CardId(Diamond, 8));
    t.Stock(40);
    ai::ExpertTurn turn(t.game, t.ai);
    t.game.RecountColumns();
    t.game.Memory.AggressiveTurn = false;
    turn.MeldPhase();
    EXPECT_EQ(t.game.Computer().Hand.Count, 6);

    t.game.Memory.AggressiveTurn = true;
    turn.MeldPhase();
    EXPECT_EQ(t.game.Computer().Hand.Count, 0);
    EXPECT_TRUE(turn.TalliesCurrent());  // the discard reads them without a recount
    EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 6), 3);  // the sevens took the joker
}

TEST(ExpertMelding, CompleteOpeningStopsAtTheMinimum)
{
    TurnTable t;
    t.Hand({CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13), CardId(Spade, 12), CardId(Heart, 12),
            CardId(Club, 12), CardId(Spade, 11), CardId(Heart, 11), CardId(Club, 11)});
    t.turn.Recount();  // built before the flights were switched on
    t.turn.CompleteOpening();
    EXPECT_EQ(t.game.Computer().MeldValue, 60);
    EXPECT_EQ(t.game.Computer().Hand.Count, 6);
}

TEST(ExpertAggression, TheDrawDependsOnTheStockAndTheSetting)
{
    auto aggressiveTurns = [](int aggression, int stock) {
        TurnTable t;
        t.ai.Aggression = aggression;
        for (int i = 0; i < stock; ++i)
            AddToStock(t.game, CardId(Club, 4));
        ai::ExpertTurn turn(t.game, t.ai);
        int n = 0;
        for (int i = 0; i < 500; ++i) {
            turn.DrawAggressiveTurn();
            n += t.game.Memory.AggressiveTurn;
        }
        return n;
    };
    EXPECT_EQ(aggressiveTurns(100, 70), 500);
    EXPECT_EQ(aggressiveTurns(0, 10), 500);
    EXPECT_EQ(aggressiveTurns(0, 0), 500);
    const int rare = aggressiveTurns(0, 100);  // below 10 of 100
    EXPECT_GT(rare, 25);
    EXPECT_LT(rare, 80);
    EXPECT_LT(aggressiveTurns(100, 71), 500);
}

TEST(ExpertGoingOut, SpareWildCardsFillMeldsUpToTheirNaturalsAndTheRestStayInHand)
{
    FamilyTable<ai::ExpertTurn> t(ai::Expert);
    // A mixed canasta of queens (four naturals, three wild cards) and three nines.
    for (int i = 0; i < 4; ++i)
        AddToComputerMelds(t.game, CardId(i % 2 ? Heart : Club, 11), -1, static_cast<std::uint8_t>(i / 2));
    AddToComputerMelds(t.game, JokerCard, 11);
    AddToComputerMelds(t.game, CardId(Spade, 1), 11);
    AddToComputerMelds(t.game, CardId(Club, 1), 11);
    t.game.CheckCanasta(Side::Computer, 11);
    ASSERT_EQ(t.game.Computer().Canastas.Count, 1);
    t.Melds({CardId(Spade, 8), CardId(Heart, 8), CardId(Club, 8)});
    t.game.Computer().MeldValue = 200;
    t.Hand({CardId(Spade, 4), CardId(Heart, 4), JokerCard, CardId(Diamond, 1), CardId(Heart, 1)});
    AddToHand(t.game, JokerCard, 1);
    for (Suit s : {Spade, Club, Diamond})
        AddToHand(t.game, CardId(s, 1), 1);
    t.Ready();
    t.turn.UseWildcardsToGoOut();

    // The pair of fives takes a joker; of the six spare wild cards the fives take
    // one more, the nines three and the canasta one, and the last stays in hand.
    EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 4), 4);
    EXPECT_EQ(t.WildsInColumn(t.game.Computer().Melds, 4), 2);
    EXPECT_EQ(t.WildsInColumn(t.game.Computer().Melds, 8), 3);
    EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 11), 8);
    EXPECT_EQ(t.WildsInColumn(t.game.Computer().Melds, 11), 4);
    ASSERT_EQ(t.game.Computer().Hand.Count, 1);
    EXPECT_EQ(t.game.Computer().Hand.Cards[0].Rank, 1);
    EXPECT_TRUE(t.host.Messages.empty());

    // With that wild card the computer discards and goes out on a legal table.
    t.turn.DiscardStep([&] { return t.turn.ChooseDiscard(); });
    EXPECT_EQ(t.game.Computer().Hand.Count, 0);
    EXPECT_EQ(t.game.DiscardPile.Count, 1);
}

// An aggressive turn melds out when wild cards complete the missing canastas
// and are left for every pair; a canasta no longer missing takes none.
TEST(ExpertGoingOut, AnAggressiveTurnCountsWildCardsForTheMissingCanastasAndThePairs)
{
    const auto meldsOut = [](std::array<int, 9> ranksPerTotal, int wilds, int canastas, int threes = 0) {
        return ai::ExpertTurn::MeldsOutWith(ranksPerTotal, wilds, canastas, 2, threes);
    };
    // Two ranks of five and a pair: one five takes two wild cards, the pair one,
    // and the other five none, its canasta not being missing.
    EXPECT_TRUE(meldsOut({0, 0, 1, 0, 0, 2}, 4, 1));
    EXPECT_FALSE(meldsOut({0, 0, 1, 0, 0, 2}, 2, 1));
    EXPECT_FALSE(meldsOut({0, 0, 1, 0, 0, 2}, 1, 1));
    EXPECT_FALSE(meldsOut({0, 0, 2}, 1, 2));
    // One single may stay for the discard, with one three beside it.
    EXPECT_TRUE(meldsOut({0, 1}, 0, 2, 1));
    EXPECT_FALSE(meldsOut({0, 2}, 0, 2));
    EXPECT_FALSE(meldsOut({0, 0}, 0, 2, 2));
}
