// The Save and Load menu commands: the offered file name and folder, and cancelling.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/saved_game.h"
#include "support/gui_app.h"
#include "support/table_builder.h"
#include "support/temp_home.h"
#include "support/scripted_prompts.h"
#include "table/saved_game_commands.h"

using namespace meldora;
using namespace meldora::test;
namespace fs = std::filesystem;

namespace {

class SavedGameCommandsTest : public ::testing::Test {
protected:
    TempHome home;
    TableFixture t;
    ScriptedPrompts scripted;
    std::vector<prompts::Request>& asked = scripted.asked;
    QString& answer = scripted.answer;

    void SetUp() override { EnsureGuiApplication(); }
};

TEST_F(SavedGameCommandsTest, DialogsOfferTheUserFilesFolder)
{
    t.host.SelectedPlayer = "Jo: the best?";
    t.game.Human().Score = 310;
    t.game.MakeDeck();  // a saved game holds the whole deck
    answer = QString::fromStdString((home.Dir / "mine.meldora").string());
    ASSERT_TRUE(saveGameCommand(nullptr, t.game));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, prompts::Kind::SaveFile);
    EXPECT_EQ(asked[0].text, QString::fromStdString((home.Dir / "Jo the best.meldora").string()));

    t.game.Human().Score = 0;
    ASSERT_TRUE(loadGameCommand(nullptr, t.game));
    EXPECT_EQ(asked.back().kind, prompts::Kind::OpenFile);
    EXPECT_EQ(fs::path(asked.back().text.toStdString()), home.Dir);
    EXPECT_EQ(t.game.Human().Score, 310);

    // Cancel does nothing.
    answer.clear();
    EXPECT_FALSE(loadGameCommand(nullptr, t.game));
    EXPECT_FALSE(saveGameCommand(nullptr, t.game));
    EXPECT_TRUE(t.host.Messages.empty());
    EXPECT_EQ(asked.back().text, QString::fromStdString((home.Dir / "Jo the best.meldora").string()));
    EXPECT_EQ(t.game.Human().Score, 310);
}

}  // namespace
