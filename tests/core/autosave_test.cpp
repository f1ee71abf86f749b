// The automatic save at closing never leaves an older game to be resumed.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/autosave.h"
#include "core/saved_game.h"
#include "support/table_builder.h"
#include "support/temp_home.h"

namespace meldora {
namespace {

using namespace test;
namespace fs = std::filesystem;

class AutoSaveTest : public ::testing::Test, public TableFixture {
protected:
    TempHome home;

    // A dealt game with the human's draw made, and an older automatic save on disk.
    void DealAndDraw()
    {
        game.NewGame();
        game.Turn.ComputerTurn = false;
        game.SetPhase(TurnPhase::Draw);
        game.Turn.MustDraw = true;
        game.Turn.HasDrawn = false;
        game.DrawFromStock();
        ASSERT_TRUE(game.Turn.HasDrawn);
        WriteFile(AutoSavePath(), "an older game");
    }
};

TEST_F(AutoSaveTest, ALoneMeldedCardSavesTheTableAsItStoodAfterTheDraw)
{
    DealAndDraw();
    const int handAfterDraw = game.Human().Hand.Count;
    const int index = FirstNaturalCard(game.Human().Hand);
    ASSERT_GE(index, 0);
    game.MeldCard(index);
    ASSERT_EQ(game.Human().Melds.Count, 1);
    ASSERT_FALSE(game.ValidateMelds(Side::Human));

    EXPECT_TRUE(SaveGameOnClosing(game));

    TableFixture other;
    ASSERT_TRUE(LoadGame(other.game, AutoSavePath())) << (other.host.Messages.empty() ? "" : other.host.Messages.back().Text);
    EXPECT_EQ(other.game.Human().Melds.Count, 0);
    EXPECT_EQ(other.game.Human().Hand.Count, handAfterDraw);
}

TEST_F(AutoSaveTest, AGameThatCannotBeSavedDeletesTheOlderSave)
{
    DealAndDraw();
    game.Take.Pending = true;

    EXPECT_FALSE(SaveGameOnClosing(game));
    EXPECT_FALSE(fs::exists(AutoSavePath()));
}

}  // namespace
}  // namespace meldora
