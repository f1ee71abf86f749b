// Whole Expert turns: the draw with red threes, the pass, the forced take of an
// exhausted stock, going out, holding back, and how aggressive a turn is.
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

TEST(ExpertTurnFrame, RedThreesDrawnInARowAreLaidDownInTheSameTurn)
{
    TurnTable t;
    t.game.Rules.DrawExtra = true;
    t.Hand({CardId(Spade, 4), CardId(Spade, 6), CardId(Spade, 8), CardId(Spade, 10), CardId(Spade, 12)});
    t.Pile({CardId(Heart, 5)});
    for (int i = 0; i < 20; ++i)
        AddToStock(t.game, CardId(Club, 4 + i % 8));
    for (int id : {CardId(Club, 13), CardId(Heart, 2), CardId(Diamond, 2)})
        AddToStock(t.game, id);

    t.Play();

    EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 2), 2);
    EXPECT_EQ(t.game.Computer().Melds.Count, 2);
    EXPECT_EQ(t.game.Computer().MeldValue, 0);
    EXPECT_EQ(t.game.Stock.Count, 20);
    EXPECT_EQ(t.game.Computer().Hand.Count, 5);  // drew the ace, discarded one card
    EXPECT_EQ(t.game.DiscardPile.Count, 2);
    EXPECT_EQ(t.host.Flights[0].Card.Id, 54);
    EXPECT_FALSE(t.game.Turn.ComputerTurn);
    EXPECT_TRUE(t.game.Turn.MustDraw);
    ASSERT_FALSE(t.host.Phases.empty());
    EXPECT_EQ(t.host.Phases.back(), TurnPhase::Draw);
}

TEST(ExpertTurnFrame, OneCardWithoutACanastaPassesTheDiscard)
{
    TurnTable t;
    t.game.Rules.DrawExtra = false;
    t.Hand({CardId(Spade, 9)});
    t.Pile({CardId(Heart, 5)});
    AddToStock(t.game, CardId(Club, 7));
    AddToStock(t.game, CardId(Heart, 2));

    t.Play();

    EXPECT_EQ(t.game.Computer().Hand.Count, 1);
    EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, 2), 1);
    EXPECT_EQ(t.game.DiscardPile.Count, 1);
    ASSERT_EQ(t.host.Messages.size(), 1u);
    EXPECT_EQ(t.host.Messages[0].Kind, MessageKind::Information);
    EXPECT_EQ(t.host.Messages[0].Text, "The computer passes the discard.");
    EXPECT_EQ(t.host.Phases.back(), TurnPhase::Draw);
}

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

TEST(ExpertMelding, AnAggressiveTurnGoesOutWithAPairAndAJoker)
{
    TurnTable t;
    t.ai.Aggression = 100;
    t.OpenedWithKingCanasta();
    ASSERT_EQ(t.game.Computer().Canastas.Count, 1);
    t.Hand({CardId(Spade, 11), CardId(Heart, 11), CardId(Club, 11), CardId(Spade, 6), JokerCard});
    AddToHumanHand(t.game, CardId(Heart, 5));
    t.Pile({CardId(Heart, 13), CardId(Heart, 3)});
    for (int i = 0; i < 9; ++i)
        AddToStock(t.game, CardId(Club, 4 + i));
    AddToStock(t.game, CardId(Diamond, 6));

    t.Play();

    EXPECT_EQ(t.game.Match.WentOut, ComputerWentOut);
    ASSERT_EQ(t.host.HandScores.size(), 1u);
    EXPECT_GT(t.host.HandScores[0].Computer.Total(), 0);
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
