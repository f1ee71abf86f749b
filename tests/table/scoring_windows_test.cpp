// The score windows on the offscreen platform: every number of a hand score and of a
// match result in its place, the details with the computer's hand shown while they are
// open, and the two forms of the game-over window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <vector>

#include "support/gui_app.h"
#include "support/widgets.h"
#include "table/details_window.h"
#include "table/game_over_window.h"
#include "table/scoring_window.h"

namespace meldora {
namespace {

using test::Child;
using test::WhenModalOpens;

QString Text(const QWidget& window, const QString& name)
{
    const auto* label = Child<QLabel>(window, name);
    return label ? label->text() : QString();
}

QPushButton* Button(const QWidget& window, const char* name) { return Child<QPushButton>(window, name); }

void ClickWhenShown(const char* button)
{
    WhenModalOpens([button](QWidget& modal) { Button(modal, button)->click(); });
}

HandScore SampleHand()
{
    HandScore s;
    s.Human.Rows = {{{9, 165}, {0, 0}, {1, 500}, {2, 200}, {0, 200}, {0, 1065}}};
    s.Computer.Rows = {{{6, -70}, {4, -95}, {0, 0}, {1, -100}, {0, 0}, {0, -265}}};
    s.Computer.Penalised = true;
    s.PlayerName = "Alice";
    s.OpponentName = "Bob";
    return s;
}

MatchResult SampleMatch()
{
    MatchResult r;
    r.HumanScore = 5000;
    r.ComputerScore = 4990;
    r.Comment = "Congratulations Alice! You won, but it was pretty close!";
    r.OpponentName = "Bob";
    return r;
}

class ScoringWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureGuiApplication(); }
};

TEST_F(ScoringWindowsTest, ScoringAndDetailsWindowsShowEveryNumber)
{
    const HandScore score = SampleHand();
    ScoringWindow window(score);
    EXPECT_TRUE(Text(window, "lbOpponent").startsWith("Bob"));
    EXPECT_EQ(Text(window, "lbPlayerScore"), "1065");
    EXPECT_EQ(Text(window, "lbComputerScore"), "-265");
    EXPECT_EQ(Text(window, "lbDifference"), "1330");

    DetailsWindow details(score, {});
    const std::pair<const char*, const SideScore*> sides[] = {{"Human", &score.Human},
                                                              {"Computer", &score.Computer}};
    for (const auto& [prefix, side] : sides) {
        for (int row = RowTable; row < ScoreRowCount; ++row) {
            EXPECT_EQ(Text(details, QStringLiteral("lb%1Value%2").arg(prefix).arg(row)),
                      QString::number(side->Rows[row].Value))
                << prefix << row;
            const auto* number = details.findChild<QLabel*>(QStringLiteral("lb%1Number%2").arg(prefix).arg(row));
            if (row < RowFinish) {
                ASSERT_NE(number, nullptr) << prefix << row;
                EXPECT_EQ(number->text(), QString::number(side->Rows[row].Number));
            } else {
                EXPECT_EQ(number, nullptr) << "the bonus and the total have no number";
            }
        }
    }
}

TEST_F(ScoringWindowsTest, DetailsButtonLeadsToTheDetailsWhichShowTheComputersHandWhileOpen)
{
    std::vector<bool> handShown;
    bool scoringShown = false;
    bool shownDuringScoring = false;
    WhenModalOpens([&](QWidget& scoring) {
        shownDuringScoring = scoringShown;
        WhenModalOpens([&](QWidget& details) {
            EXPECT_EQ(handShown, std::vector<bool>{true});
            Button(details, "bnOK")->click();
        });
        Button(scoring, "bnDetails")->click();
    });
    showScoringResults(nullptr, SampleHand(), [&](bool faceUp) { handShown.push_back(faceUp); }, &scoringShown);
    EXPECT_TRUE(shownDuringScoring);
    EXPECT_FALSE(scoringShown);
    EXPECT_EQ(handShown, (std::vector<bool>{true, false}));

    // OK closes the scoring window without the details and leaves the hand alone.
    handShown.clear();
    ClickWhenShown("bnOK");
    showScoringResults(nullptr, SampleHand(), [&](bool faceUp) { handShown.push_back(faceUp); });
    EXPECT_TRUE(handShown.empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ScoringWindowsTest, GameOverWindowShowsTheMatchAndAsksOrReportsByMode)
{
    ClickWhenShown("bnYes");
    EXPECT_TRUE(askForAnotherMatch(nullptr, SampleMatch(), false));
    ClickWhenShown("bnNo");
    EXPECT_FALSE(askForAnotherMatch(nullptr, SampleMatch(), false));
    ClickWhenShown("bnOK");
    EXPECT_TRUE(askForAnotherMatch(nullptr, SampleMatch(), true));

    GameOverWindow window(SampleMatch());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(Text(window, "lbComment"), QString::fromStdString(SampleMatch().Comment));
    EXPECT_EQ(Text(window, "lbPlayerScore"), "5000");
    EXPECT_EQ(Text(window, "lbComputerScore"), "4990");
    EXPECT_EQ(Text(window, "lbDifference"), "10");

    window.show();
    EXPECT_TRUE(Button(window, "bnYes")->isVisible());
    EXPECT_TRUE(Button(window, "bnNo")->isVisible());
    EXPECT_FALSE(Button(window, "bnOK")->isVisible());
    window.setNetworkMode(true);
    EXPECT_FALSE(Button(window, "bnYes")->isVisible());
    EXPECT_FALSE(Button(window, "bnNo")->isVisible());
    EXPECT_TRUE(Button(window, "bnOK")->isVisible());

    // Escape or closing the window answers nothing; it stays open.
    window.reject();
    window.close();
    EXPECT_TRUE(window.isVisible());
}

// Going out concealed is read from the going-out bonus; the line names the opponent.
TEST_F(ScoringWindowsTest, ScoringWindowSaysWhoWentOutAndHow)
{
    HandScore score = SampleHand();
    EXPECT_TRUE(handEndLine(score, HandEndWay::PlayerWentOut).contains("concealed"));
    score.Human.Rows[RowFinish].Value = GoingOutBonus;
    EXPECT_FALSE(handEndLine(score, HandEndWay::PlayerWentOut).contains("concealed"));
    EXPECT_FALSE(handEndLine(score, HandEndWay::OpponentWentOut).contains("concealed"));
    score.Computer.Rows[RowFinish].Value = ConcealedGoingOutBonus;
    EXPECT_EQ(handEndLine(score, HandEndWay::OpponentWentOut), "Bob went out concealed.");

    const QString pressed = handEndLine(score, HandEndWay::EndHandPressed);
    EXPECT_EQ(Text(ScoringWindow(score, pressed), "lbHandEnd"), pressed);
    ScoringWindow withoutLine(score);
    EXPECT_EQ(withoutLine.findChild<QLabel*>("lbHandEnd"), nullptr);
}

}  // namespace
}  // namespace meldora
