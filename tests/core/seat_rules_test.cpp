// The rules of a turn's end hold for whoever plays a side: a move the rules
// forbid is refused for the computer's side as for the human's, and the table
// stays as it was.
#include <gtest/gtest.h>

#include "support/table_builder.h"

namespace meldora {
namespace {

using namespace meldora::test;

struct SeatRules : ::testing::Test, TableFixture {
    // A stock card so that the deck is not needed whole for the rules asked here.
    SeatRules() { AddToStock(game, CardId(Club, Nine)); }
};

TEST_F(SeatRules, TheComputersDiscardBelowTheFirstMeldMinimumIsRefused)
{
    for (const int id : {CardId(Spade, Six), CardId(Heart, Six), CardId(Club, Six)})
        AddToComputerMelds(game, id);
    AddToHand(game, {CardId(Heart, Eight), CardId(Club, Four)});
    game.Computer().MinimumMeld = 50;
    const CanastaGame before(game);

    try {
        game.DiscardFromHand(Side::Computer, 1);
        ADD_FAILURE() << "the discard was allowed";
    } catch (const RuleRefusal& refusal) {
        EXPECT_STREQ(refusal.what(),
                     "Discarding is not possible now: your first meld must be at least 50 points (currently 15 points)");
    }
    EXPECT_EQ(game.Computer().Hand, before.Computer().Hand);
    EXPECT_EQ(game.DiscardPile.Count, 0);

    game.Computer().MinimumMeld = 15;
    const CardRecord discarded = game.DiscardFromHand(Side::Computer, 1);
    EXPECT_EQ(discarded.Id, CardId(Club, Four));
    EXPECT_EQ(game.DiscardPile.top().Id, CardId(Club, Four));
    EXPECT_EQ(game.Computer().Hand.Count, 1);
}

TEST_F(SeatRules, ADiscardThatEmptiesTheHandShortOfCanastasIsRefusedForBothSides)
{
    // Six kings and three queens on each side's table, no canasta, one card left.
    for (const Side side : {Side::Human, Side::Computer}) {
        for (int n = 0; n < 6; ++n)
            (side == Side::Human ? AddToHumanMelds : AddToComputerMelds)(game, CardId(Spade, King), -1, n % 2);
        for (int n = 0; n < 3; ++n)
            (side == Side::Human ? AddToHumanMelds : AddToComputerMelds)(game, CardId(Heart, Queen), -1, n % 2);
    }
    AddToHumanHand(game, CardId(Heart, King));
    AddToHand(game, CardId(Diamond, King));

    EXPECT_THROW(game.DiscardFromHand(Side::Computer, 0), RuleRefusal);
    EXPECT_EQ(game.Computer().Hand.Count, 1);

    game.DiscardCard(0);
    EXPECT_EQ(host.Errors.back(),
              std::make_pair(4, std::string("Discarding is not possible now: you need a canasta before you can go out")));
    EXPECT_EQ(game.Human().Hand.Count, 1);
    EXPECT_EQ(game.DiscardPile.Count, 0);

    // With the canasta the same discard goes out.
    game.Computer().Canastas.Count = 1;
    game.DiscardFromHand(Side::Computer, 0);
    EXPECT_EQ(game.Computer().Hand.Count, 0);
}

TEST_F(SeatRules, AFrozenPileIsTakenOnlyWithANaturalPairWhoeverTakesIt)
{
    AddToDiscardPile(game, {CardId(Spade, Four), CardId(Club, Nine)});
    game.Turn.DiscardFrozen = true;
    for (const int id : {CardId(Heart, Nine), JokerCard, CardId(Club, Five), CardId(Club, Six)}) {
        AddToHand(game, id);
        AddToHumanHand(game, id, 1);
    }

    EXPECT_FALSE(game.CanTakePile(Side::Human, true));
    EXPECT_THROW(game.TakePileTop(Side::Computer), RuleRefusal);
    EXPECT_EQ(game.DiscardPile.Count, 2);

    AddToHand(game, CardId(Diamond, Nine));
    EXPECT_EQ(game.TakePileTop(Side::Computer).Id, CardId(Club, Nine));
    EXPECT_EQ(game.DiscardPile.Count, 1);
}

}  // namespace
}  // namespace meldora
