// The one-line account of the computer's turn, from the card moves the game
// reports while the computer plays.
#include <gtest/gtest.h>

#include "support/table_builder.h"
#include "table/computer_turn_summary.h"

namespace meldora {
namespace {

using namespace test;

class ComputerTurnSummaryTest : public ::testing::Test, protected TableFixture {
protected:
    ComputerTurnSummaryTest()
    {
        game.Layout = ApplyLayout(0, 632);
        ClearTable(game);
    }
    // A card that went from the computer's hand to where its record now lies.
    void FromHand(const CardRecord& card) { summary.noteMove(game, card, LeftMargin, game.Layout.ComputerHandTop, card.X, card.Y); }

    ComputerTurnSummary summary;
};

TEST_F(ComputerTurnSummaryTest, TellsTheTakenPileTheMeldAndTheDiscard)
{
    AddToDiscardPile(game, {CardId(Heart, 7), CardId(Club, 9), CardId(Diamond, 10), CardId(Spade, 6), CardId(Heart, 11),
                            CardId(Club, 13), CardId(Spade, 4)});
    summary.begin(game);
    EXPECT_TRUE(summary.text().isEmpty());

    const TableLayout& l = game.Layout;
    const CardRecord top = AddToComputerMelds(game, CardId(Spade, 4));
    summary.noteMove(game, top, LeftMargin, l.DiscardTop, top.X, top.Y);
    FromHand(AddToComputerMelds(game, CardId(Heart, 4)));
    FromHand(AddToComputerMelds(game, CardId(Club, 4)));
    const CardRecord discard = AddToDiscardPile(game, CardId(Spade, 8));
    FromHand(discard);

    EXPECT_EQ(summary.text(), QStringLiteral("took the pile (7 cards), melded three 5s, discarded 9\u2660"));
    ASSERT_TRUE(summary.discard().has_value());
    EXPECT_EQ(summary.discard()->Id, discard.Id);
}

TEST_F(ComputerTurnSummaryTest, TellsDrawsRedThreesAndMeldsOfSeveralRanks)
{
    summary.begin(game);
    const TableLayout& l = game.Layout;
    const CardRecord redThree = AddToComputerMelds(game, CardId(Heart, 2));
    summary.noteMove(game, redThree, LeftMargin, l.StockTop, redThree.X, redThree.Y);
    const CardRecord drawn = AddToHand(game, CardId(Diamond, 12));
    summary.noteMove(game, drawn, LeftMargin, l.StockTop, drawn.X, drawn.Y);
    FromHand(AddToComputerMelds(game, CardId(Diamond, 12)));
    FromHand(AddToComputerMelds(game, CardId(Spade, 12)));
    FromHand(AddToComputerMelds(game, JokerCard, King));

    EXPECT_EQ(summary.text(), QStringLiteral("drew 2 cards, laid out a red 3, melded a joker and two Ks"));
    EXPECT_FALSE(summary.discard().has_value());
}

}  // namespace
}  // namespace meldora
