// The Save and Load menu commands: the offered file name and folder, cancelling, and a
// chosen file that is not a saved game.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/saved_game.h"
#include "support/gui_app.h"
#include "support/table_builder.h"
#include "support/temp_home.h"
#include "table/prompts.h"
#include "table/saved_game_commands.h"

using namespace meldora;
using namespace meldora::test;
namespace fs = std::filesystem;

namespace {

class SavedGameCommandsTest : public ::testing::Test {
protected:
    TempHome home;
    TableFixture t;
    std::vector<prompts::Request> asked;
    QString answer;

    void SetUp() override
    {
        EnsureGuiApplication();
        prompts::setResponder([this](const prompts::Request& r) {
            asked.push_back(r);
            return answer;
        });
    }
    void TearDown() override { prompts::setResponder({}); }
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
    EXPECT_EQ(asked[0].title, "Save Meldora Game");
    EXPECT_EQ(asked[0].text, QString::fromStdString((home.Dir / "Jo the best.meldora").string()));

    t.game.Human().Score = 0;
    ASSERT_TRUE(loadGameCommand(nullptr, t.game));
    EXPECT_EQ(asked.back().kind, prompts::Kind::OpenFile);
    EXPECT_EQ(asked.back().title, "Load Meldora Game");
    EXPECT_EQ(fs::path(asked.back().text.toStdString()), home.Dir);
    EXPECT_EQ(t.game.Human().Score, 310);

    // A file that is not a saved game is reported and not loaded; Cancel does nothing.
    const fs::path other = home.Dir / "notes.txt";
    std::ofstream(other) << "shopping list";
    answer = QString::fromStdString(other.string());
    EXPECT_FALSE(loadGameCommand(nullptr, t.game));
    ASSERT_EQ(t.host.Messages.size(), 1u);
    EXPECT_NE(t.host.Messages[0].Text.find(" : this file is not a Meldora saved game"), std::string::npos);
    answer.clear();
    EXPECT_FALSE(loadGameCommand(nullptr, t.game));
    EXPECT_FALSE(saveGameCommand(nullptr, t.game));
    EXPECT_EQ(t.host.Messages.size(), 1u);
    EXPECT_EQ(asked.back().text, QString::fromStdString((home.Dir / "Jo the best.meldora").string()));
    EXPECT_EQ(t.game.Human().Score, 310);
}

}  // namespace
