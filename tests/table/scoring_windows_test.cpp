// The score windows on the offscreen platform: every number of a hand score and of a
// match result in its place, the details with the computer's hand shown while they are
// open, and the two forms of the game-over window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <vector>

#include "support/gui_app.h"
#include "table/details_window.h"
#include "table/game_over_window.h"
#include "table/scoring_window.h"

namespace meldora {
namespace {

QString Text(const QWidget& window, const QString& name)
{
    const auto* label = window.findChild<QLabel*>(name);
    if (!label) {
        ADD_FAILURE() << "no label " << name.toStdString();
        return {};
    }
    return label->text();
}

QPushButton* Button(const QWidget& window, const char* name)
{
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    if (!button)
        ADD_FAILURE() << "no button " << name;
    return button;
}

HandScore SampleHand()
{
    HandScore s;
    s.Human.Rows = {{{9, 165}, {0, 0}, {1, 500}, {2, 200}, {0, 200}, {0, 1065}}};
    s.Computer.Rows = {{{6, -70}, {4, -95}, {0, 0}, {1, -100}, {0, 0}, {0, -265}}};
    s.Computer.Penalised = true;
    s.PlayerName = "Alice";
    s.OpponentName = "Computer";
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

// Clicks a button of the modal window that is open once the event loop runs.
void ClickWhenShown(const char* button)
{
    QTimer::singleShot(0, [button] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        Button(*modal, button)->click();
    });
}

class ScoringWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureGuiApplication(); }
};

TEST_F(ScoringWindowsTest, ScoringAndDetailsWindowsShowEveryNumber)
{
    HandScore score = SampleHand();
    score.OpponentName = "Bob";
    ScoringWindow window(score);
    EXPECT_EQ(Text(window, "lbOpponent"), "Bob's Score:");
    EXPECT_EQ(Text(window, "lbPlayerScore"), "1065");
    EXPECT_EQ(Text(window, "lbComputerScore"), "-265");
    EXPECT_EQ(Text(window, "lbDifference"), "1330");

    ScoringWindow againstComputer(SampleHand());
    EXPECT_EQ(Text(againstComputer, "lbOpponent"), "Computer's Score:");

    DetailsWindow details(score, {});
    EXPECT_EQ(details.findChild<QGroupBox*>("pnHuman")->title(), "Alice");
    EXPECT_EQ(details.findChild<QGroupBox*>("pnComputer")->title(), "Bob");
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
    QTimer::singleShot(0, [&] {
        shownDuringScoring = scoringShown;
        Button(*QApplication::activeModalWidget(), "bnDetails")->click();
        QTimer::singleShot(0, [&] {
            QWidget* details = QApplication::activeModalWidget();
            ASSERT_NE(details, nullptr);
            EXPECT_EQ(details->windowTitle(), "Detailed Scoring Results");
            EXPECT_EQ(handShown, std::vector<bool>{true});
            Button(*details, "bnOK")->click();
        });
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
    EXPECT_EQ(Text(window, "lbComment"), "Congratulations Alice! You won, but it was pretty close!");
    EXPECT_EQ(Text(window, "lbOpponent"), "Bob's score:");
    EXPECT_EQ(Text(window, "lbPlayerScore"), "5000");
    EXPECT_EQ(Text(window, "lbComputerScore"), "4990");
    EXPECT_EQ(Text(window, "lbDifference"), "10");

    window.show();
    EXPECT_EQ(Text(window, "lbQuestion"), "Do you want to play another game?");
    EXPECT_TRUE(Button(window, "bnYes")->isVisible());
    EXPECT_TRUE(Button(window, "bnNo")->isVisible());
    EXPECT_FALSE(Button(window, "bnOK")->isVisible());

    window.setNetworkMode(true);
    EXPECT_EQ(Text(window, "lbQuestion"), "Press OK to continue.");
    EXPECT_FALSE(Button(window, "bnYes")->isVisible());
    EXPECT_FALSE(Button(window, "bnNo")->isVisible());
    EXPECT_TRUE(Button(window, "bnOK")->isVisible());

    // Escape or closing the window answers nothing; it stays open.
    window.reject();
    window.close();
    EXPECT_TRUE(window.isVisible());
}


// The line under the heading says who went out and how; going out concealed is
// read from the going-out bonus.
TEST_F(ScoringWindowsTest, ScoringWindowSaysWhoWentOutAndHow)
{
    HandScore score = SampleHand();
    EXPECT_EQ(handEndLine(score, HandEndWay::PlayerWentOut), "You went out concealed.");
    score.Human.Rows[RowFinish].Value = GoingOutBonus;
    EXPECT_EQ(handEndLine(score, HandEndWay::PlayerWentOut), "You went out.");
    score.OpponentName = "Bob";
    EXPECT_EQ(handEndLine(score, HandEndWay::OpponentWentOut), "Bob went out.");
    score.Computer.Rows[RowFinish].Value = ConcealedGoingOutBonus;
    EXPECT_EQ(handEndLine(score, HandEndWay::OpponentWentOut), "Bob went out concealed.");
    EXPECT_EQ(handEndLine(score, HandEndWay::OpponentEndedOnEmptyStock),
              "Nobody went out: the stock ran out and Bob ended the hand.");

    const QString pressed = handEndLine(score, HandEndWay::EndHandPressed);
    EXPECT_EQ(pressed, "Nobody went out: you pressed End Hand on the exhausted stock.");
    EXPECT_EQ(Text(ScoringWindow(score, pressed), "lbHandEnd"), pressed);
    ScoringWindow withoutLine(score);
    EXPECT_EQ(withoutLine.findChild<QLabel*>("lbHandEnd"), nullptr);
}
}  // namespace
}  // namespace meldora
