// The Customize dialog driven by clicks: what OK and Apply store, the enabling
// rules, the players edited on a working copy, and a new window size applied to the table.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>

#include "core/memory_settings.h"
#include "records/player_list.h"
#include "table/customize_dialog.h"
#include "support/widgets.h"
#include "table/main_window_fixture.h"
#include "table/help_window.h"
#include "table/table_view.h"

#include <fstream>

namespace meldora::test {
namespace {

class CustomizeTest : public ::testing::Test {
protected:
    MemorySettings settings;
    PlayerList players;
    ScriptedPrompts scripted{QStringLiteral("yes")};
    std::vector<prompts::Request>& asked = scripted.asked;
    std::deque<QString>& answers = scripted.answers;
    int appliedCount = 0;

    void SetUp() override { EnsureGuiApplication(); }

    std::unique_ptr<CustomizeDialog> Open(CustomizeSituation situation = {})
    {
        if (situation.largestAllowedSize == 0)
            situation.largestAllowedSize = 3;
        return std::make_unique<CustomizeDialog>(settings, players, situation, [this] { ++appliedCount; });
    }
    static void Click(QWidget& w, const char* name) { Child<QPushButton>(w, name)->click(); }
    static QStringList Names(QWidget& w) { return ItemTexts(Child<QListWidget>(w, "lbPlayers")); }
};

TEST_F(CustomizeTest, MeldingDelayAndAnimationAreStoredFromTheSliders)
{
    auto dialog = Open();
    auto* delay = Child<QSlider>(*dialog, "tbDelay");
    EXPECT_FALSE(Child<QPushButton>(*dialog, "bnApply")->isEnabled());

    delay->setValue(10);
    Child<QSlider>(*dialog, "tbCardMoves")->setValue(4);
    Child<QCheckBox>(*dialog, "ckCardMoves")->setChecked(true);
    EXPECT_FALSE(Child<QSlider>(*dialog, "tbCardMoves")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(*dialog, "bnApply")->isEnabled());
    Click(*dialog, "bnApply");
    EXPECT_FALSE(Child<QPushButton>(*dialog, "bnApply")->isEnabled());
    EXPECT_EQ(appliedCount, 1);
    EXPECT_EQ(settings.ReadInt("Settings\\Delay", -1), 0);
    EXPECT_FALSE(settings.ReadBool("Settings\\Card Movement", true));
    EXPECT_EQ(settings.ReadInt("Settings\\Card Speed", -1), 4);

    delay->setValue(0);
    Click(*dialog, "bnOk");
    EXPECT_EQ(settings.ReadInt("Settings\\Delay", -1), 3000);
}

TEST_F(CustomizeTest, LevelIsLockedInANetworkGameOrAGameUnderWayAndSizesBeyondTheScreenAreOff)
{
    settings.WriteValue("Settings\\Level", std::string("Advanced"));
    CustomizeSituation network;
    network.networkGame = true;
    network.largestAllowedSize = 1;
    auto dialog = Open(network);
    EXPECT_FALSE(Child<QGroupBox>(*dialog, "rgLevel")->isEnabled());
    EXPECT_FALSE(Child<QSlider>(*dialog, "tbAggressive")->isEnabled());
    EXPECT_TRUE(Child<QRadioButton>(*dialog, "rb800")->isEnabled());
    EXPECT_FALSE(Child<QRadioButton>(*dialog, "rb1024")->isEnabled());
    Child<QGroupBox>(*dialog, "rgLevel")->findChildren<QRadioButton*>().last()->setChecked(true);
    Click(*dialog, "bnOk");
    EXPECT_EQ(settings.ReadString("Settings\\Level", ""), "Advanced");

    CustomizeSituation underWay;
    underWay.gameUnderWay = true;
    auto during = Open(underWay);
    during->show();
    EXPECT_FALSE(Child<QGroupBox>(*during, "rgLevel")->isEnabled());
    EXPECT_FALSE(Child<QSlider>(*during, "tbAggressive")->isEnabled());
    EXPECT_FALSE(Child<QLabel>(*during, "lbWarning")->isHidden());
}

TEST_F(CustomizeTest, PlayersAreEditedOnACopyAndHandedOverOnOk)
{
    auto dialog = Open();
    answers = {QStringLiteral("A,nn")};
    Click(*dialog, "bnPlayerNew");
    ASSERT_EQ(asked.size(), 2u) << "a name with a comma is refused with a message";
    EXPECT_TRUE(Names(*dialog).isEmpty());
    EXPECT_FALSE(Child<QPushButton>(*dialog, "bnPlayerDelete")->isEnabled());

    answers = {QStringLiteral("Ann")};
    Click(*dialog, "bnPlayerNew");
    EXPECT_EQ(Child<QLabel>(*dialog, "lbCurrentPlayer")->text(), "Ann");
    EXPECT_FALSE(Child<QCheckBox>(*dialog, "ckSelectPlayer")->isEnabled());
    answers = {QStringLiteral("Bob")};
    Click(*dialog, "bnPlayerNew");
    EXPECT_TRUE(Child<QCheckBox>(*dialog, "ckSelectPlayer")->isEnabled());
    EXPECT_TRUE(players.Players.empty());

    Child<QListWidget>(*dialog, "lbPlayers")->setCurrentRow(1);
    Click(*dialog, "bnSetCurrent");
    answers = {QStringLiteral("Robert")};
    Click(*dialog, "bnPlayerRename");
    EXPECT_EQ(Names(*dialog), (QStringList{"Ann", "Robert"}));
    Click(*dialog, "bnOk");
    EXPECT_EQ(players.CurrentName(), "Robert");
    EXPECT_EQ(settings.ReadString("Player Names\\PlayerName1", ""), "Robert,0,0");
    EXPECT_EQ(settings.ReadString("Player Names\\PlayerName2", ""), "Ann,0,0");
}

TEST_F(CustomizeTest, DeletingTheCurrentPlayerMakesTheFirstRemainingOneCurrent)
{
    players.Players = {{"Ann", 1, 1}, {"Bob", 2, 2}, {"Cy", 3, 3}};
    players.Current = 1;
    settings.WriteValue("Player Names\\PlayerName4", std::string("Stale,0,0"));
    auto dialog = Open();
    Child<QListWidget>(*dialog, "lbPlayers")->setCurrentRow(1);
    Click(*dialog, "bnPlayerDelete");
    EXPECT_TRUE(asked.back().text.contains("Bob")) << "the deletion is confirmed first";
    EXPECT_EQ(Child<QLabel>(*dialog, "lbCurrentPlayer")->text(), "Ann");
    Click(*dialog, "bnOk");
    EXPECT_EQ(players.CurrentName(), "Ann");
    EXPECT_EQ(settings.ReadString("Player Names\\PlayerName2", ""), "Cy,3,3");
    EXPECT_EQ(settings.ReadString("Player Names\\PlayerName4", ""), "");
}

TEST_F(CustomizeTest, ResetStatsHoldsEvenWhenCancelled)
{
    players.Players = {{"Ann", 5, 1}, {"Bob", 2, 2}};
    players.Current = 0;
    auto dialog = Open();
    Child<QListWidget>(*dialog, "lbPlayers")->setCurrentRow(0);
    Click(*dialog, "bnResetStats");
    Click(*dialog, "bnCancel");
    EXPECT_EQ(players.Players[0].Wins, 0);
    EXPECT_EQ(players.Players[1].Wins, 2);
    EXPECT_EQ(appliedCount, 0);
}

class CustomizeWindowTest : public MainWindowTest {};

TEST_F(CustomizeWindowTest, ALargerSizeKeepsEveryCardInItsColumnAndRow)
{
    MainWindow& w = Create(QString(), 1280);
    StartUp(1);
    w.table().tableMouseUp(Qt::LeftButton, Qt::NoModifier, LeftMargin, w.game().Layout.StockTop);
    const TableLayout old = w.game().Layout;
    const CardPile hand = w.game().Human().Hand;
    std::ofstream(AutoSaveFile()) << "MeldoraSavedGame 414 ";

    WhenModalOpens([](QWidget& dialog) {
        Child<QRadioButton>(dialog, "rb1024")->click();
        Child<QCheckBox>(dialog, "ckSaveExit")->setChecked(false);
        Child<QPushButton>(dialog, "bnOk")->click();
    });
    w.showCustomizeDialog();

    EXPECT_EQ(w.sizeIndex(), 2);
    EXPECT_FALSE(std::filesystem::exists(AutoSaveFile()));
    const TableLayout& now = w.game().Layout;
    EXPECT_GT(now.ColumnPitch, old.ColumnPitch);
    const CardPile& moved = w.game().Human().Hand;
    ASSERT_EQ(moved.Count, hand.Count);
    for (int i = 0; i < hand.Count; ++i) {
        EXPECT_EQ(now.ColumnOf(moved.Cards[i].X), old.ColumnOf(hand.Cards[i].X));
        EXPECT_EQ(moved.Cards[i].Y - now.HumanHandBase, hand.Cards[i].Y - old.HumanHandBase);
    }
    EXPECT_EQ(w.game().Stock.Cards[0].Y, now.StockTop);
    EXPECT_EQ(w.game().DiscardPile.Cards[0].Y, now.DiscardTop);
}

TEST_F(CustomizeWindowTest, HelpLinksOpenTheDialogOnTheirPage)
{
    MainWindow& w = Create();
    StartUp(1);
    w.showHelpTopics();
    std::vector<std::pair<QString, int>> opened;
    auto follow = [&](const QString& link) {
        WhenModalOpens([&opened](QWidget& dialog) {
            opened.emplace_back(dialog.objectName(), dialog.findChild<QTabWidget*>()->currentIndex());
            qobject_cast<QDialog*>(&dialog)->reject();
        });
        emit w.helpWindow()->browser()->anchorClicked(QUrl(link));
    };
    follow(QStringLiteral("meldora:options?page=1"));
    follow(QStringLiteral("meldora:options?page=4"));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], std::make_pair(QStringLiteral("TfmCustomize"), 3));
    EXPECT_NE(opened[1].first, "TfmCustomize") << "the rules have their own dialog";

    w.openOptionsPage(7);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace meldora::test
