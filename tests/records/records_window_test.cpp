// The records as the main window keeps them: hand and match results entered at
// the end of a match, the name question once per hand end, the player chosen at start-up.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "records/records_keeper.h"
#include "support/widgets.h"
#include "table/main_window_fixture.h"

namespace meldora::test {
namespace {

class RecordsWindowTest : public MainWindowTest {
protected:
    // Each modal window that opens: its name, and the bold player of a Hall of Fame.
    std::vector<QString> opened;
    QString boldPlayer;
    QTimer closer;

    // Answers every modal window as it opens: OK for the records, Yes to another match.
    void CloseModalsAsTheyOpen()
    {
        closer.setInterval(10);
        QObject::connect(&closer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || (!opened.empty() && opened.back() == modal->objectName() && !modal->isVisible()))
                return;
            opened.push_back(modal->objectName());
            for (QLabel* label : modal->findChildren<QLabel*>()) {
                if (label->objectName().startsWith("lbPlayer") && label->font().bold())
                    boldPlayer = label->text();
            }
            const char* button = modal->objectName() == "fmGameOver" ? "bnYes" : "bnOK";
            modal->findChild<QPushButton*>(QLatin1String(button))->click();
        });
        closer.start();
    }

    MainWindow& EndMatch(int human, int computer)
    {
        MainWindow& w = *window;
        w.game().Human().Score = human;
        w.game().Computer().Score = computer;
        EXPECT_TRUE(w.game().EndMatchIfOver());
        return w;
    }

    int QuestionsAsked() const
    {
        return static_cast<int>(std::count_if(asked.begin(), asked.end(),
                                              [](const prompts::Request& r) { return r.kind == prompts::Kind::Input; }));
    }
};

TEST_F(RecordsWindowTest, AWonMatchEntersBothListsAsksTheNameOnceAndCountsTheWin)
{
    WriteSetting("Settings\\Show Highscores", true);
    WriteSetting("Settings\\Level", std::string("Expert"));
    WriteSetting("Player Names\\PlayerName1", std::string("Ann,2,1"));
    prompts::setResponder([this](const prompts::Request& r) {
        asked.push_back(r);
        return r.kind == prompts::Kind::Input ? QStringLiteral("Annie") : QString();
    });
    Create();
    StartUp(1);
    CloseModalsAsTheyOpen();

    window->OfferHandHighscore(400);
    ASSERT_EQ(QuestionsAsked(), 1);
    EXPECT_EQ(boldPlayer, "Annie");
    EndMatch(5100, 3000);

    EXPECT_EQ(QuestionsAsked(), 1);
    EXPECT_EQ(opened, (std::vector<QString>{"TfmHighscores", "TfmHighscores", "fmGameOver"}));
    EXPECT_EQ(ReadSetting("Expert\\Name1"), "Annie");
    EXPECT_EQ(ReadSetting("Expert\\Score1"), "400");
    EXPECT_EQ(ReadSetting("ExpertMatch\\Score1"), "2100");
    EXPECT_EQ(ReadSetting("ExpertMatch\\Name1"), "Annie");
    EXPECT_EQ(ReadSetting("Player Names\\PlayerName1"), "Ann,3,1");
    const std::string line = ReadSetting("MatchHistory\\Match0");
    EXPECT_NE(line.find(": Annie - Computer: 5100 - 3000, winner: Annie"), std::string::npos) << line;
    EXPECT_EQ(ReadSetting("MatchHistory\\Match1"), "");

    // The next hand end asks again; a typed name is kept only for its own hand end.
    window->OfferHandHighscore(500);
    EXPECT_EQ(QuestionsAsked(), 2);
    EXPECT_EQ(window->records().playerName(), "Annie");
    window->OfferHandHighscore(-1);
    EXPECT_EQ(window->records().playerName(), "Ann");
}

TEST_F(RecordsWindowTest, ALostMatchWithoutPlayersGoesToTheComputerSilently)
{
    Create();
    StartUp(1);
    CloseModalsAsTheyOpen();

    window->OfferHandHighscore(-300);
    EndMatch(3000, 5200);

    EXPECT_EQ(QuestionsAsked(), 0);
    EXPECT_EQ(opened, std::vector<QString>{"fmGameOver"});
    EXPECT_EQ(ReadSetting("Beginner\\Name1"), "Computer");
    EXPECT_EQ(ReadSetting("Beginner\\Score1"), "300");
    EXPECT_EQ(ReadSetting("BeginnerMatch\\Name1"), "Computer");
    const std::string line = ReadSetting("MatchHistory\\Match0");
    EXPECT_NE(line.find(": Player - Computer: 3000 - 5200, winner: Computer"), std::string::npos) << line;
    EXPECT_EQ(ReadSetting("Player Names\\PlayerName1"), "<absent>");
}

TEST_F(RecordsWindowTest, AWinWithTheListsHiddenStillEntersUnderThePlayersName)
{
    WriteSetting("Player Names\\PlayerName1", std::string("Ann,0,0"));
    Create();
    StartUp(1);
    window->OfferHandHighscore(250);
    EXPECT_EQ(QuestionsAsked(), 0);
    EXPECT_EQ(ReadSetting("Beginner\\Name1"), "Ann");
}

TEST_F(RecordsWindowTest, StartUpAsksForThePlayerWhenTwoOrMoreExist)
{
    WriteSetting("Player Names\\PlayerName1", std::string("Ann,0,0"));
    WriteSetting("Player Names\\PlayerName2", std::string("Bob,1,0"));
    Create();
    WhenModalOpens([](QWidget& modal) {
        Child<QListWidget>(modal, "lbPlayers")->setCurrentRow(1);
        Child<QPushButton>(modal, "bnOK")->click();
    });
    StartUp(1);
    EXPECT_EQ(window->SelectedPlayerName(), "Bob");
}

}  // namespace
}  // namespace meldora::test
