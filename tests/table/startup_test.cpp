// Start-up and shutdown: where the window opens and how big, what the command line
// loads, and the automatic save written at exit and resumed at the next start.
#include <QFile>
#include <QMessageBox>
#include <fstream>

#include "core/saved_game.h"
#include "main_window_fixture.h"
#include "support/table_builder.h"
#include "table/splash_window.h"
#include "table/table_view.h"
#include "table/window_placement.h"

using namespace meldora;
using namespace meldora::test;

namespace {

// A saved game with a score that a new game never has.
void WriteSavedGame(const std::filesystem::path& file, int humanScore)
{
    TableFixture t;
    t.game.DealHand(false);
    t.game.Human().Score = humanScore;
    t.game.Match.GameInProgress = true;
    ASSERT_TRUE(SaveGame(t.game, false, [&] { return file.string(); }));
}

std::vector<int> HandIds(const CanastaGame& game)
{
    std::vector<int> ids;
    for (int i = 0; i < game.Human().Hand.Count; ++i)
        ids.push_back(game.Human().Hand.Cards[i].Id);
    return ids;
}

QString FileArgument(const std::filesystem::path& file) { return QFile::decodeName(file.c_str()); }

}  // namespace

TEST(WindowPlacementTest, ScreenWidthAndStoredTextDecideThePlacement)
{
    EXPECT_EQ(largestAllowedSizeClass(1023), 1);
    EXPECT_EQ(largestAllowedSizeClass(1024), 2);
    EXPECT_EQ(largestAllowedSizeClass(1281), TooBigSizeClass);

    const struct {
        const char* stored;
        int screen, left, top, sizeIndex;
        bool maximised;
    } cases[] = {
        {"0,0,640x480", 1024, 0, 0, 0, false},
        {"0,0,640x480", 640, 0, 0, 0, true},
        {"50,40,1280x1024", 800, 50, 40, 1, true},  // lowered to 800x600, which fills the screen
        {"50,40,1024x768", 1600, 0, 0, 2, false},   // wider than every class: the screen's corner
        // Edges beyond the largest class or negative become 0, each edge on its own.
        {"801,601,800x600", 1024, 801, 601, 1, false},
        {"1025,700,800x600", 1024, 0, 700, 1, false},
        {"-5,769,800x600", 1024, 0, 0, 1, false},
        {"left,40,800x600", 1024, 0, 40, 1, false},
        {"30", 1024, 30, 0, 0, false},
        {"", 1024, 0, 0, 0, false},
        {"10,10,800X600", 1024, 10, 10, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " on " + std::to_string(c.screen));
        const WindowPlacement p = chooseWindowPlacement(c.stored, c.screen);
        EXPECT_EQ(p.left, c.left);
        EXPECT_EQ(p.top, c.top);
        EXPECT_EQ(p.sizeIndex, c.sizeIndex);
        EXPECT_EQ(p.maximised, c.maximised);
    }
    EXPECT_EQ(resolutionText(-8, 0, 3), "-8,0,1280x1024");
}

// The splash stays on top of every window: a box shown during start-up would
// be hidden behind it, so the splash steps aside first.
TEST(SplashTest, ABoxShownDuringStartUpIsNotHiddenBehindTheSplash)
{
    EnsureGuiApplication();
    SplashWindow splash;
    splash.showNow();
    ASSERT_TRUE(splash.isVisible());
    QMessageBox box(QMessageBox::Warning, "Meldora", "The settings could not be opened");
    box.show();
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(MainWindowTest, FirstStartOnA1024ScreenAndAStoredPlacementOnASmallerOne)
{
    MainWindow& w = Create({}, 1024);
    EXPECT_EQ(w.sizeIndex(), 0);
    EXPECT_EQ(w.largestAllowedSize(), 2);
    EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.table().paintSuspended());
    EXPECT_TRUE(w.splashTimer().isActive());

    StartUp(1);
    EXPECT_EQ(w.frameGeometry().size(), QSize(640, 480));
    EXPECT_FALSE(w.splashTimer().isActive());
    EXPECT_FALSE(w.table().paintSuspended());
    EXPECT_TRUE(asked.empty());
    window.reset();

    WriteSetting("Settings\\Resolution", std::string("50,40,1280x1024"));
    MainWindow& smaller = Create({}, 800);
    EXPECT_EQ(smaller.sizeIndex(), 1);
    EXPECT_TRUE(smaller.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(smaller.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(MainWindowTest, ArgumentsThatLoadNothing)
{
    WriteSavedGame(AutoSaveFile(), 1234);
    // Only the first argument counts, exactly as written: "/SETUP" is no "/setup",
    // but like any other unknown argument it loads nothing either.
    for (const QString& argument : {QStringLiteral("/setup"), QStringLiteral("/SETUP"),
                                   QStringLiteral("/ip:192.168.1.7"), QStringLiteral("whatever")}) {
        SCOPED_TRACE(argument.toStdString());
        MainWindow& w = Create(argument);
        StartUp();
        EXPECT_EQ(w.game().Human().Score, 0);
        EXPECT_FALSE(w.game().Presentation.RevealBlocked);
        EXPECT_EQ(w.game().Human().Hand.Count, 15);
        EXPECT_FALSE(w.loadPending);
        window.reset();
    }
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(std::filesystem::exists(AutoSaveFile()));
}

TEST_F(MainWindowTest, SavedGameNamedOnTheCommandLineAndFilesThatAreNone)
{
    const auto saved = home.Dir / "evening.meldora";
    WriteSavedGame(saved, 1234);
    MainWindow& w = Create(FileArgument(saved));
    StartUp();
    EXPECT_EQ(w.game().Human().Score, 1234);
    EXPECT_TRUE(w.game().Presentation.RevealBlocked);
    EXPECT_TRUE(asked.empty());
    window.reset();

    // Not a saved game: the player is told, and a new game follows.
    const auto notes = home.Dir / "notes.meldora";
    std::ofstream(notes) << "shopping list\r\n";
    MainWindow& other = Create(FileArgument(notes));
    StartUp(1);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, prompts::Kind::Information);
    EXPECT_EQ(asked[0].text, FileArgument(notes).toUpper() + " : this file is not a Meldora saved game");
    EXPECT_EQ(other.game().Human().Hand.Count, 15);
    window.reset();

    // A damaged automatic save likewise.
    std::ofstream(AutoSaveFile()) << "MeldoraSavedGame 414 12 3 4 5\r\n";
    MainWindow& resumed = Create();
    StartUp(1);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].kind, prompts::Kind::Error);
    EXPECT_EQ(resumed.game().Human().Hand.Count, 15);
}

TEST_F(MainWindowTest, ClosingDuringAGameSavesItAndTheNextStartResumesIt)
{
    MainWindow& w = Create();
    StartUp(1, 4242);
    CanastaGame& game = w.game();
    w.table().tableMouseUp(Qt::LeftButton, Qt::NoModifier, LeftMargin, game.Layout.StockTop);
    ASSERT_TRUE(game.Match.GameInProgress);
    ASSERT_EQ(game.Human().Hand.Count, 16);
    game.Human().Score = 770;
    const std::vector<int> hand = HandIds(game);

    w.close();
    EXPECT_TRUE(std::filesystem::exists(AutoSaveFile()));
    EXPECT_EQ(ReadSetting("Settings\\Resolution"), "0,0,640x480");
    window.reset();

    MainWindow& next = Create();
    StartUp();
    EXPECT_TRUE(asked.empty());
    CanastaGame& resumed = next.game();
    EXPECT_EQ(resumed.Human().Score, 770);
    EXPECT_TRUE(resumed.Turn.HasDrawn);
    EXPECT_EQ(resumed.Turn.Phase, TurnPhase::MeldDiscard);
    EXPECT_EQ(HandIds(resumed), hand);
}

TEST_F(MainWindowTest, ClosingWithoutAGameToKeepDeletesTheAutoSaveUnlessStartUpIsUnfinished)
{
    // Between games.
    WriteSavedGame(AutoSaveFile(), 100);
    Create(QStringLiteral("/setup")).show();
    StartUp();
    ASSERT_FALSE(window->game().Match.GameInProgress);
    window->close();
    EXPECT_FALSE(std::filesystem::exists(AutoSaveFile()));
    window.reset();

    // Automatic save switched off, in the middle of a game.
    WriteSavedGame(AutoSaveFile(), 100);
    WriteSetting("Settings\\AutoSave", false);
    Create();
    StartUp(1);
    EXPECT_EQ(window->game().Human().Score, 0);
    window->table().tableMouseUp(Qt::LeftButton, Qt::NoModifier, LeftMargin, window->game().Layout.StockTop);
    ASSERT_TRUE(window->game().Match.GameInProgress);
    window->close();
    EXPECT_FALSE(std::filesystem::exists(AutoSaveFile()));
    window.reset();

    // Closed before start-up finished: nothing is decided yet, nothing is touched.
    WriteSetting("Settings\\AutoSave", true);
    WriteSavedGame(AutoSaveFile(), 100);
    WriteSetting("Settings\\Resolution", std::string("0,0,800x600"));
    Create({}, 1024).show();
    window->close();
    EXPECT_TRUE(std::filesystem::exists(AutoSaveFile()));
    EXPECT_EQ(ReadSetting("Settings\\Resolution"), "0,0,800x600");
}
