#include <gtest/gtest.h>

#include <string>

#include "core/game.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;

namespace {

constexpr int Six = 5, Eight = 7, Jack = 9, King = 12;

class UndoTest : public ::testing::Test {
protected:
    TableFixture f;
    CanastaGame& game = f.game;
    RecordingHost& host = f.host;

    int HandIndexOf(int id) const
    {
        for (int i = game.HumanHand.Count - 1; i >= 0; --i)
            if (game.HumanHand.Cards[i].Id == id)
                return i;
        return -1;
    }
    void Meld(int id)
    {
        ASSERT_GE(HandIndexOf(id), 0) << "card " << id << " not in hand";
        game.MeldCard(HandIndexOf(id));
    }
    int CountInColumn(int column, int id = -1) const
    {
        int n = 0;
        for (int i = 0; i < game.HumanMelds.Count; ++i) {
            const CardRecord& c = game.HumanMelds.Cards[i];
            if (game.ColumnOf(c) == column && (id < 0 || c.Id == id))
                ++n;
        }
        return n;
    }
    // Eights in column 8, alternating red and black, over both decks.
    void EightsOnTable(int count)
    {
        for (int i = 0; i < count; ++i)
            AddToHumanMelds(game, CardId(i % 2 ? Club : Heart, Eight), -1, static_cast<std::uint8_t>(i / 4));
    }
};

}  // namespace

TEST_F(UndoTest, StackIsLastInFirstOutAndKeepsThePitch)
{
    game.PushUndo(MakeCard(CardId(Spade, King), 0));
    EXPECT_EQ(host.UndoEnabledCalls, std::vector<bool>{true});
    game.Layout.ColumnPitch = 57;
    game.PushUndo(MakeCard(CardId(Heart, Six), 1));
    EXPECT_EQ(game.PopUndo().ColumnPitch, 57);
    EXPECT_EQ(game.PopUndo().Card.Id, CardId(Spade, King));
    EXPECT_THROW(game.PopUndo(), std::out_of_range);
}

TEST_F(UndoTest, UndoMeldAndUndoAllPutTheCardsBack)
{
    for (int id : {CardId(Spade, Six), CardId(Club, Six), CardId(Heart, Six), CardId(Spade, King), CardId(Club, King)})
        AddToHumanHand(game, id);
    const CardPile handBefore = game.HumanHand;
    Meld(CardId(Spade, Six));
    Meld(CardId(Club, Six));
    Meld(CardId(Heart, Six));
    host.UndoEnabledCalls.clear();
    host.Sent.clear();

    game.UndoRunning = true;  // a flight of another undo is still under way
    game.UndoMeld();
    game.UndoAll();
    EXPECT_EQ(game.HumanMelds.Count, 3);
    game.UndoRunning = false;

    game.UndoMeld();
    EXPECT_EQ(game.HumanMelds.Count, 2);
    EXPECT_EQ(game.HumanMelds.ColumnEnds[Six].Y, game.Layout.HumanMeldBase + 24);
    EXPECT_GE(HandIndexOf(CardId(Heart, Six)), 0);
    ASSERT_EQ(game.KnownHumanCards.Count, 1);
    EXPECT_EQ(game.KnownHumanCards.Cards[0].Id, CardId(Heart, Six));
    ASSERT_EQ(host.Sent.size(), 1u);
    EXPECT_EQ(host.Sent[0], std::make_pair(std::string("UNDO"), "5\xFE" + std::to_string(CardId(Heart, Six))));
    EXPECT_TRUE(host.UndoEnabledCalls.empty());  // more to undo

    game.UndoAll();
    EXPECT_TRUE(game.UndoStack.empty());
    EXPECT_EQ(game.HumanMelds.Count, 0);
    EXPECT_EQ(host.UndoEnabledCalls, std::vector<bool>{false});
    EXPECT_EQ(game.HumanHand.ColumnEnds, handBefore.ColumnEnds);
    EXPECT_EQ(game.KnownHumanCards.Count, 3);
    game.UndoMeld();  // nothing left
    EXPECT_EQ(host.Sent.size(), 3u);
}

TEST_F(UndoTest, UndoBreaksACanastaOfExactlySeven)
{
    EightsOnTable(6);
    for (int id : {CardId(Diamond, Eight), CardId(Spade, King), CardId(Club, King)})
        AddToHumanHand(game, id);
    Meld(CardId(Diamond, Eight));
    ASSERT_EQ(game.HumanCanastas.Kind[Eight], NaturalCanasta);

    game.UndoMeld();

    EXPECT_EQ(game.HumanCanastas.Count, 0);
    EXPECT_EQ(game.HumanCanastas.Kind[Eight], NoCanasta);
    EXPECT_GE(HandIndexOf(CardId(Diamond, Eight)), 0);
    ASSERT_EQ(game.HumanMelds.Count, 6);
    for (int i = 0; i < 6; ++i)  // laid out in pile order from the base down
        EXPECT_EQ(game.HumanMelds.Cards[i].Y, game.Layout.HumanMeldBase + 12 * (i + 1)) << i;
    EXPECT_EQ(game.HumanMelds.ColumnEnds[Eight].Y, game.Layout.HumanMeldBase + 72);
}

TEST_F(UndoTest, UndoFromALargerCanastaKeepsItSquared)
{
    EightsOnTable(7);
    game.CheckCanasta(Side::Human, Eight);
    AddToHumanHand(game, CardId(Spade, Eight), 1);
    AddToHumanHand(game, CardId(Spade, King));
    Meld(CardId(Spade, Eight));

    game.UndoMeld();

    EXPECT_EQ(game.HumanCanastas.Count, 1);
    EXPECT_EQ(CountInColumn(Eight), 7);
    for (int i = 0; i < game.HumanMelds.Count; ++i)
        EXPECT_EQ(game.HumanMelds.Cards[i].Y, game.Layout.HumanMeldBase + 12);
    EXPECT_EQ(game.HumanMelds.ColumnEnds[Eight].Y, game.Layout.HumanMeldBase + 12);
}

// Squaring up a canasta reorders its column, so the joker of one column may
// come before a joker melded earlier into another: undo must take the card
// from the column it was melded to.
TEST_F(UndoTest, UndoTakesTheWildCardFromItsOwnColumn)
{
    for (Suit s : {Spade, Club, Heart})
        AddToHumanMelds(game, CardId(s, Jack));
    for (int i = 0; i < 6; ++i)
        AddToHumanMelds(game, CardId(i % 2 ? Spade : Club, Six), -1, static_cast<std::uint8_t>(i / 2));
    AddToHumanHand(game, Joker, 0);
    AddToHumanHand(game, Joker, 1);
    AddToHumanHand(game, CardId(Spade, King));
    AddToHumanHand(game, CardId(Club, King));
    game.AddWildCard(Jack);
    game.AddWildCard(Six);
    ASSERT_EQ(game.HumanCanastas.Kind[Six], MixedCanasta);

    game.UndoMeld();
    EXPECT_EQ(CountInColumn(Jack, Joker), 1);
    EXPECT_EQ(CountInColumn(Six, Joker), 0);
    EXPECT_EQ(game.HumanCanastas.Count, 0);
    game.UndoMeld();
    EXPECT_EQ(CountInColumn(Jack), 3);
}
