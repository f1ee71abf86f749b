// Whole Expert turns: the draw with red threes, the pass, the end of an
// exhausted stock, the forced take, going out, and the turn started by the
// human's discard.
#include <gtest/gtest.h>

#include <initializer_list>

#include "ai/expert.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;
using meldora::ai::ComputerSettings;
using meldora::ai::ExpertTurn;

namespace {

struct TurnTable : TableFixture {
    ComputerSettings ai{meldora::ai::Expert, 50, 300, true};

    TurnTable() { game.Phase = PhaseOpponent; }
    void Hand(std::initializer_list<int> ids)
    {
        for (int id : ids)
            AddToComputerHand(game, id);
    }
    void Play() { meldora::ai::RunComputerTurn(game, ai); }
    bool DiscardFlown() const
    {
        for (const RecordedFlight& f : host.Flights)
            if (f.ToX == LeftMargin && f.ToY == game.Layout.DiscardTop)
                return true;
        return false;
    }
    int ColumnSize(const CardPile& pile, int column) const
    {
        int n = 0;
        for (int i = 0; i < pile.Count; ++i)
            n += game.ColumnOf(pile.Cards[i]) == column;
        return n;
    }
};

}  // namespace

TEST(ExpertTurnFrame, RedThreesDrawnInARowAreLaidDownInTheSameTurn)
{
    TurnTable t;
    t.game.Rules.DrawExtra = true;
    t.Hand({CardId(Spade, 4), CardId(Spade, 6), CardId(Spade, 8), CardId(Spade, 10), CardId(Spade, 12)});
    AddToDiscardPile(t.game, CardId(Heart, 5));
    for (int i = 0; i < 20; ++i)
        AddToStock(t.game, CardId(Club, 4 + i % 8));
    AddToStock(t.game, CardId(Club, 13));
    AddToStock(t.game, CardId(Heart, 2));
    AddToStock(t.game, CardId(Diamond, 2));

    t.Play();

    EXPECT_EQ(t.ColumnSize(t.game.ComputerMelds, 2), 2);
    EXPECT_EQ(t.game.ComputerMelds.Count, 2);
    EXPECT_EQ(t.game.ComputerMeldValue, 0);
    EXPECT_EQ(t.game.Stock.Count, 20);
    EXPECT_EQ(t.game.ComputerHand.Count, 5);  // drew the ace, discarded one card
    EXPECT_EQ(t.game.DiscardPile.Count, 2);
    EXPECT_EQ(t.host.Flights[0].Card.Id, 54);
    EXPECT_FALSE(t.game.ComputerTurn);
    EXPECT_TRUE(t.game.MustDraw);
    ASSERT_FALSE(t.host.Phases.empty());
    EXPECT_EQ(t.host.Phases.back(), PhaseDraw);
}

TEST(ExpertTurnFrame, OneCardWithoutACanastaPassesTheDiscard)
{
    TurnTable t;
    t.game.Rules.DrawExtra = false;
    t.Hand({CardId(Spade, 9)});
    AddToDiscardPile(t.game, CardId(Heart, 5));
    AddToStock(t.game, CardId(Club, 7));
    AddToStock(t.game, CardId(Heart, 2));

    t.Play();

    EXPECT_EQ(t.game.ComputerHand.Count, 1);
    EXPECT_EQ(t.ColumnSize(t.game.ComputerMelds, 2), 1);
    EXPECT_EQ(t.game.DiscardPile.Count, 1);
    ASSERT_EQ(t.host.Messages.size(), 1u);
    EXPECT_EQ(t.host.Messages[0].Kind, MessageKind::Information);
    EXPECT_EQ(t.host.Messages[0].Text, "The computer passes the discard.");
    EXPECT_EQ(t.host.Phases.back(), PhaseDraw);
}

TEST(ExpertTurnFrame, AnExhaustedStockWithoutAForcedTakeEndsTheHand)
{
    TurnTable t;
    t.Hand({CardId(Spade, 9), CardId(Spade, 11), CardId(Heart, 4)});
    AddToHumanHand(t.game, CardId(Heart, 6));
    AddToDiscardPile(t.game, CardId(Heart, 5));
    t.game.StockExhausted = true;

    t.Play();

    EXPECT_EQ(t.game.WentOut, NobodyWentOut);
    EXPECT_EQ(t.host.HandScores.size(), 1u);
    EXPECT_FALSE(t.DiscardFlown());
    EXPECT_FALSE(t.game.ComputerTurn);
    EXPECT_EQ(t.game.Stock.Count + t.game.DiscardPile.Count + t.game.ComputerHand.Count + t.game.HumanHand.Count
                  + t.game.ComputerMelds.Count + t.game.HumanMelds.Count,
              DeckSize);  // a fresh hand was dealt
}

TEST(ExpertTurnFrame, AnExhaustedStockForcesTheTopCardOntoTheMeld)
{
    TurnTable t;
    t.game.ComputerMeldValue = 60;
    for (int suit : {Spade, Heart, Club})
        AddToComputerMelds(t.game, CardId(static_cast<Suit>(suit), 9));
    t.Hand({CardId(Spade, 4), CardId(Spade, 6), CardId(Spade, 12)});
    AddToHumanHand(t.game, CardId(Heart, 6));
    AddToDiscardPile(t.game, CardId(Diamond, 5));
    AddToDiscardPile(t.game, CardId(Diamond, 9));
    t.game.StockExhausted = true;

    t.Play();

    EXPECT_EQ(t.ColumnSize(t.game.ComputerMelds, 9), 4);
    EXPECT_EQ(t.game.ComputerMeldValue, 70);
    ASSERT_EQ(t.game.DiscardPile.Count, 2);
    EXPECT_EQ(t.game.DiscardPile.Cards[0].Id, CardId(Diamond, 5));  // the rest of the pile stays
    EXPECT_EQ(t.game.ComputerHand.Count, 2);
    EXPECT_TRUE(t.host.HandScores.empty());
}

TEST(ExpertMelding, AnAggressiveTurnGoesOutWithAPairAndAJoker)
{
    TurnTable t;
    t.ai.Aggression = 100;
    t.game.ComputerMeldValue = 70;
    for (int i = 0; i < 7; ++i)
        AddToComputerMelds(t.game, CardId(i % 2 ? Heart : Spade, 12));
    t.game.CheckCanasta(Side::Computer, 12);
    ASSERT_EQ(t.game.ComputerCanastas.Count, 1);
    t.Hand({CardId(Spade, 11), CardId(Heart, 11), CardId(Club, 11), CardId(Spade, 6), Joker});
    AddToHumanHand(t.game, CardId(Heart, 5));
    AddToDiscardPile(t.game, CardId(Heart, 13));
    AddToDiscardPile(t.game, CardId(Heart, 3));
    for (int i = 0; i < 9; ++i)
        AddToStock(t.game, CardId(Club, 4 + i));
    AddToStock(t.game, CardId(Diamond, 6));

    t.Play();

    EXPECT_EQ(t.game.WentOut, ComputerWentOut);
    ASSERT_EQ(t.host.HandScores.size(), 1u);
    EXPECT_GT(t.host.HandScores[0].Computer.Total(), 0);
}

TEST(ExpertMelding, AQuietTurnKeepsItsCardsWhileTheHumanIsFarFromOut)
{
    TurnTable t;
    t.game.ComputerMeldValue = 70;
    for (int i = 0; i < 7; ++i)
        AddToComputerMelds(t.game, CardId(i % 2 ? Heart : Spade, 12));
    t.game.CheckCanasta(Side::Computer, 12);
    t.Hand({CardId(Spade, 11), CardId(Heart, 11), CardId(Club, 11), CardId(Spade, 6), CardId(Heart, 6), Joker});
    for (int i = 0; i < 10; ++i)
        AddToHumanHand(t.game, CardId(Club, 3 + i));
    for (int i = 0; i < 5; ++i)
        AddToHumanMelds(t.game, CardId(Diamond, 8));
    for (int i = 0; i < 40; ++i)
        AddToStock(t.game, CardId(Club, 4 + i % 9));
    ExpertTurn turn(t.game, t.ai);
    t.game.RecountColumns();
    t.game.Memory.AggressiveTurn = false;
    turn.MeldPhase();
    EXPECT_EQ(t.game.ComputerHand.Count, 6);

    t.game.Memory.AggressiveTurn = true;
    turn.MeldPhase();
    EXPECT_EQ(t.game.ComputerHand.Count, 0);
    EXPECT_EQ(t.ColumnSize(t.game.ComputerMelds, 6), 3);  // the sevens took the joker
}

TEST(ExpertMelding, CompleteOpeningStopsAtTheMinimum)
{
    TurnTable t;
    t.ai.Animate = false;
    t.Hand({CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13), CardId(Spade, 12), CardId(Heart, 12),
            CardId(Club, 12), CardId(Spade, 11), CardId(Heart, 11), CardId(Club, 11)});
    ExpertTurn turn(t.game, t.ai);
    turn.RecountForComputer();
    turn.CompleteOpening();
    EXPECT_EQ(t.game.ComputerMeldValue, 60);
    EXPECT_EQ(t.game.ComputerHand.Count, 6);
}

TEST(ExpertAggression, TheDrawDependsOnTheStockAndTheSetting)
{
    auto aggressiveTurns = [](int aggression, int stock) {
        TurnTable t;
        t.ai.Aggression = aggression;
        for (int i = 0; i < stock; ++i)
            AddToStock(t.game, CardId(Club, 4));
        ExpertTurn turn(t.game, t.ai);
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

TEST(ExpertTurnFrame, TheHumansDiscardStartsTheComputersTurn)
{
    TurnTable t;
    t.host.OnComputerTurn = [&] { meldora::ai::RunComputerTurn(t.game, t.ai); };
    t.Hand({CardId(Spade, 4), CardId(Spade, 6), CardId(Spade, 8), CardId(Spade, 10), CardId(Spade, 12)});
    AddToHumanHand(t.game, CardId(Heart, 6));
    AddToHumanHand(t.game, CardId(Heart, 9));
    AddToDiscardPile(t.game, CardId(Heart, 5));
    for (int i = 0; i < 20; ++i)
        AddToStock(t.game, CardId(Club, 4 + i % 8));
    t.game.Phase = PhaseMeldDiscard;

    t.game.DiscardCard(0);

    EXPECT_EQ(t.host.ComputerTurns, 1);
    EXPECT_EQ(t.game.Stock.Count, 19);
    EXPECT_EQ(t.game.DiscardPile.Count, 3);
    EXPECT_EQ(t.game.ComputerHand.Count, 5);
    EXPECT_FALSE(t.game.ComputerTurn);
    EXPECT_EQ(t.game.Phase, PhaseDraw);
    EXPECT_EQ(t.host.Phases.back(), PhaseDraw);
}
