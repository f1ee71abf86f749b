// The Hall of Fame, Win Ratio, Match History and Select Player dialogs, driven by clicks.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/memory_settings.h"
#include "records/highscores_dialog.h"
#include "records/player_dialogs.h"
#include "records/player_list.h"
#include "support/gui_app.h"
#include "support/scripted_prompts.h"
#include "support/widgets.h"

namespace meldora {
namespace {

using test::Child;

class RecordsDialogsTest : public ::testing::Test {
protected:
    MemorySettings settings;
    test::ScriptedPrompts scripted{QStringLiteral("yes")};
    std::vector<prompts::Request>& asked = scripted.asked;
    QString& answer = scripted.answer;

    void SetUp() override { test::EnsureGuiApplication(); }

    static QString Text(QWidget& parent, const QString& name) { return Child<QLabel>(parent, name)->text(); }
    static void ChooseRadio(QWidget& parent, const char* group, const QString& caption)
    {
        for (QRadioButton* b : Child<QGroupBox>(parent, QLatin1String(group))->findChildren<QRadioButton*>()) {
            if (b->text() == caption)
                b->click();
        }
    }
};

HighscoreTables SampleTables()
{
    HighscoreTables tables;
    tables.Hand[0][0] = {900, "1/1/26", "Beginner hand"};
    tables.Hand[2][0] = {700, "1/1/26", "Expert hand"};
    tables.Hand[2][1] = {650, "1/1/26", "New one"};
    tables.Match[2][0] = {4000, "1/1/26", "Expert match"};
    return tables;
}

TEST_F(RecordsDialogsTest, HallOfFameShowsTheChosenLevelAndType)
{
    HighscoreTables tables = SampleTables();
    HighscoresDialog dialog(tables, settings, 2, HighscoreType::Hand, 2);
    EXPECT_EQ(Text(dialog, "lbPlayer1"), "Expert hand");
    EXPECT_EQ(Text(dialog, "lbScore10"), "0");
    EXPECT_TRUE(Child<QLabel>(dialog, "lbPlayer2")->font().bold());
    EXPECT_FALSE(Child<QLabel>(dialog, "lbPlayer1")->font().bold());

    ChooseRadio(dialog, "rgHighscoreType", "&Match");
    EXPECT_EQ(Text(dialog, "lbPlayer1"), "Expert match");
    EXPECT_EQ(Text(dialog, "lbScore1"), "4000");
    EXPECT_FALSE(Child<QLabel>(dialog, "lbPlayer2")->font().bold());

    ChooseRadio(dialog, "rgLevel", "&Beginner");
    EXPECT_EQ(Text(dialog, "lbPlayer1"), "");
    ChooseRadio(dialog, "rgHighscoreType", "&Hand");
    EXPECT_EQ(Text(dialog, "lbPlayer1"), "Beginner hand");
}

TEST_F(RecordsDialogsTest, ClearEmptiesOnlyTheShownListAfterYes)
{
    HighscoreTables tables = SampleTables();
    WriteHighscoreList(settings, 2, HighscoreType::Hand, tables.Hand[2]);
    WriteHighscoreList(settings, 2, HighscoreType::Match, tables.Match[2]);
    HighscoresDialog dialog(tables, settings, 2, HighscoreType::Hand);

    answer = QStringLiteral("no");
    Child<QPushButton>(dialog, "bnClear")->click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Are you sure you want to clear all highscores for the Expert level?");
    EXPECT_EQ(Text(dialog, "lbPlayer1"), "Expert hand");

    answer = QStringLiteral("yes");
    Child<QPushButton>(dialog, "bnClear")->click();
    EXPECT_EQ(Text(dialog, "lbPlayer1"), "");
    EXPECT_EQ(tables.Hand[2][0].Score, 0);
    EXPECT_EQ(tables.Hand[0][0].Score, 900);
    EXPECT_EQ(tables.Match[2][0].Score, 4000);
    EXPECT_FALSE(settings.KeyExists("Expert"));
    EXPECT_TRUE(settings.KeyExists("ExpertMatch"));
}

TEST_F(RecordsDialogsTest, WinRatioShowsTheSelectedPlayerAndResetsOnlyThem)
{
    PlayerList players;
    players.Players = {{"zoe", 1, 7}, {"Adam", 3, 1}, {"Max", 0, 0}};
    players.Current = 0;
    WinRatioDialog dialog(players, settings);
    auto* names = Child<QComboBox>(dialog, "cbPlayers");
    ASSERT_EQ(names->count(), 3);
    EXPECT_EQ(names->itemText(0), "Adam");
    EXPECT_EQ(names->currentText(), "zoe");
    EXPECT_EQ(Text(dialog, "lbRatio"), "12");
    EXPECT_EQ(Text(dialog, "lbLosses"), "7");

    names->setCurrentIndex(names->findText("Max"));
    EXPECT_EQ(Text(dialog, "lbRatio"), "?");

    names->setCurrentIndex(names->findText("Adam"));
    EXPECT_EQ(Text(dialog, "lbWins"), "3");
    Child<QPushButton>(dialog, "bnReset")->click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Do you want to reset the win ratio statistics for player Adam?");
    EXPECT_EQ(Text(dialog, "lbWins"), "0");
    EXPECT_EQ(Text(dialog, "lbRatio"), "?");
    EXPECT_EQ(settings.ReadString("Player Names\\PlayerName1", ""), "zoe,1,7");
    EXPECT_EQ(settings.ReadString("Player Names\\PlayerName2", ""), "Adam,0,0");
}

TEST_F(RecordsDialogsTest, SelectPlayerWithNothingChosenLeavesNoCurrentPlayer)
{
    PlayerList players;
    players.Players = {{"Ann", 0, 0}, {"Bob", 0, 0}};
    players.Current = 0;
    SelectPlayerDialog again(players);
    Child<QListWidget>(again, "lbPlayers")->clearSelection();
    Child<QPushButton>(again, "bnOK")->click();
    EXPECT_EQ(players.Current, -1);
}

}  // namespace
}  // namespace meldora
