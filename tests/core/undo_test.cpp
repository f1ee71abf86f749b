#include <gtest/gtest.h>

#include <string>

#include "core/game.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;

namespace {


class UndoTest : public ::testing::Test, public TableFixture {
protected:
    int HandIndexOf(int id) const { return IndexOfCard(game.Human().Hand, id); }
    void Meld(int id)
    {
        ASSERT_GE(HandIndexOf(id), 0) << "card " << id << " not in hand";
        game.MeldCard(HandIndexOf(id));
    }
    int CountInColumn(int column, int id = -1) const { return test::CountInColumn(game, game.Human().Melds, column, id); }
};

}  // namespace

TEST_F(UndoTest, UndoMeldAndUndoAllPutTheCardsBack)
{
    AddToHumanHand(game, {CardId(Spade, Six), CardId(Club, Six), CardId(Heart, Six), CardId(Spade, King), CardId(Club, King)});
    const CardPile handBefore = game.Human().Hand;
    for (int id : {CardId(Spade, Six), CardId(Club, Six), CardId(Heart, Six)})
        Meld(id);
    EXPECT_EQ(host.UndoEnabledCalls.back(), true);
    host.UndoEnabledCalls.clear();
    host.Sent.clear();

    game.Undo.Running = true;  // a flight of another undo is still under way
    game.UndoMeld();
    game.UndoAll();
    EXPECT_EQ(game.Human().Melds.Count, 3);
    game.Undo.Running = false;

    game.UndoMeld();
    EXPECT_EQ(game.Human().Melds.Count, 2);
    EXPECT_EQ(game.Human().Melds.ColumnEnds[Six].Y, game.Layout.HumanMeldBase + 24);
    EXPECT_GE(HandIndexOf(CardId(Heart, Six)), 0);
    EXPECT_EQ(game.Memory.KnownOpponentCards.Count, 1);
    EXPECT_EQ(game.Memory.KnownOpponentCards.Cards[0].Id, CardId(Heart, Six));
    EXPECT_EQ(host.Sent, (std::vector<std::pair<std::string, std::string>>{{"UNDO", "5\xFE" "44"}}));
    EXPECT_TRUE(host.UndoEnabledCalls.empty());  // more to undo

    game.UndoAll();
    EXPECT_TRUE(game.Undo.Stack.empty());
    EXPECT_EQ(game.Human().Melds.Count, 0);
    EXPECT_EQ(game.Memory.KnownOpponentCards.Count, 3);
    EXPECT_EQ(host.UndoEnabledCalls, std::vector<bool>{false});
    EXPECT_EQ(game.Human().Hand.ColumnEnds, handBefore.ColumnEnds);
    game.UndoMeld();  // nothing left
    EXPECT_EQ(host.Sent.size(), 3u);
    EXPECT_THROW(game.PopUndo(), std::out_of_range);
}

TEST_F(UndoTest, UndoKeepsALargerCanastaSquaredAndBreaksOneOfExactlySeven)
{
    for (int i = 0; i < 6; ++i)  // eights alternating red and black over both decks
        AddToHumanMelds(game, CardId(i % 2 ? Club : Heart, Eight), -1, static_cast<std::uint8_t>(i / 4));
    AddToHumanHand(game, CardId(Diamond, Eight));
    AddToHumanHand(game, CardId(Spade, Eight), 1);
    AddToHumanHand(game, CardId(Spade, King));
    Meld(CardId(Diamond, Eight));
    ASSERT_EQ(game.Human().Canastas.Kind[Eight], NaturalCanasta);
    Meld(CardId(Spade, Eight));

    const int squareY = game.Layout.HumanMeldBase + StackStep;
    game.UndoMeld();
    EXPECT_EQ(game.Human().Canastas.Count, 1);
    EXPECT_EQ(CountInColumn(Eight), 7);
    for (int i = 0; i < game.Human().Melds.Count; ++i)
        EXPECT_EQ(game.Human().Melds.Cards[i].Y, squareY);
    EXPECT_EQ(game.Human().Melds.ColumnEnds[Eight].Y, squareY);

    game.UndoMeld();
    EXPECT_EQ(game.Human().Canastas.Count, 0);
    EXPECT_EQ(game.Human().Canastas.Kind[Eight], NoCanasta);
    EXPECT_GE(HandIndexOf(CardId(Diamond, Eight)), 0);
    ASSERT_EQ(game.Human().Melds.Count, 6);
    for (int i = 0; i < 6; ++i)  // laid out in pile order from the base down
        EXPECT_EQ(game.Human().Melds.Cards[i].Y, game.Layout.HumanMeldBase + 12 * (i + 1)) << i;
    EXPECT_EQ(game.Human().Melds.ColumnEnds[Eight].Y, game.Layout.HumanMeldBase + 72);
}

// Squaring up a canasta reorders its column, so the joker of one column may
// come before a joker melded earlier into another: undo must take the card
// from the column it was melded to.
TEST_F(UndoTest, UndoTakesTheWildCardFromItsOwnColumn)
{
    for (Suit s : {Spade, Club, Heart})
        AddToHumanMelds(game, CardId(s, Ten));
    for (int i = 0; i < 6; ++i)
        AddToHumanMelds(game, CardId(i % 2 ? Spade : Club, Six), -1, static_cast<std::uint8_t>(i / 2));
    AddToHumanHand(game, JokerCard, 0);
    AddToHumanHand(game, JokerCard, 1);
    AddToHumanHand(game, {CardId(Spade, King), CardId(Club, King)});
    game.AddWildCard(Ten);
    game.AddWildCard(Six);
    ASSERT_EQ(game.Human().Canastas.Kind[Six], MixedCanasta);

    game.UndoMeld();
    EXPECT_EQ(CountInColumn(Ten, JokerCard), 1);
    EXPECT_EQ(CountInColumn(Six, JokerCard), 0);
    EXPECT_EQ(game.Human().Canastas.Count, 0);
    game.UndoMeld();
    EXPECT_EQ(CountInColumn(Ten), 3);
}
