// Where the Expert puts its wild cards: spare ones when it goes out, and over
// thousands of whole hands no meld of its own ever holds more wild cards than
// naturals, the limit the human's melds are held to as well.
#include <gtest/gtest.h>

#include <functional>

#include "ai/expert.h"
#include "family_support.h"

using namespace meldora;
using namespace meldora::test;

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
