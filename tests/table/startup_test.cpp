// Start-up and shutdown: where the window opens and how big, what the command line
// loads, and the automatic save written at exit and resumed at the next start.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <fstream>

#include "core/saved_game.h"
#include "main_window_fixture.h"
#include "support/table_builder.h"
#include "table/table_view.h"
#include "table/window_placement.h"

using namespace meldora;
using namespace meldora::test;

namespace {

void ExpectPlacement(const WindowPlacement& p, int left, int top, int sizeIndex, bool maximised)
{
    EXPECT_EQ(p.Left, left);
    EXPECT_EQ(p.Top, top);
    EXPECT_EQ(p.SizeIndex, sizeIndex);
    EXPECT_EQ(p.Maximised, maximised);
}

// A saved game with a score that a new game never has.
void WriteSavedGame(const std::filesystem::path& file, int humanScore)
{
    TableFixture t;
    t.game.DealHand(false);
    t.game.HumanScore = humanScore;
    t.game.GameInProgress = true;
    ASSERT_TRUE(SaveGame(t.game, false, [&] { return file.string(); }));
}

QString FileArgument(const std::filesystem::path& file) { return QFile::decodeName(file.c_str()); }

}  // namespace

TEST(WindowPlacementTest, ScreenWidthDecidesTheLargestClassAndMaximising)
{
    EXPECT_EQ(LargestAllowedSizeClass(600), 0);
    EXPECT_EQ(LargestAllowedSizeClass(640), 0);
    EXPECT_EQ(LargestAllowedSizeClass(1023), 1);
    EXPECT_EQ(LargestAllowedSizeClass(1024), 2);
    EXPECT_EQ(LargestAllowedSizeClass(1280), 3);
    EXPECT_EQ(LargestAllowedSizeClass(1281), TooBigSizeClass);

    // First start: the default placement.
    ExpectPlacement(ChooseWindowPlacement("0,0,640x480", 1024), 0, 0, 0, false);
    ExpectPlacement(ChooseWindowPlacement("0,0,640x480", 640), 0, 0, 0, true);
    // Too big for an 800-pixel screen: lowered to 800x600, which fills it.
    ExpectPlacement(ChooseWindowPlacement("50,40,1280x1024", 800), 50, 40, 1, true);
    ExpectPlacement(ChooseWindowPlacement("50,40,1280x1024", 1280), 50, 40, 3, true);
    // Wider than every class: any stored position gives way to the screen's corner.
    ExpectPlacement(ChooseWindowPlacement("50,40,1024x768", 1600), 0, 0, 2, false);
    EXPECT_EQ(ChooseWindowPlacement("50,40,1024x768", 1600).LargestAllowed, TooBigSizeClass);
}

TEST(WindowPlacementTest, DamagedPlacementsOpenAtTheEdge)
{
    // Edges beyond the largest class or negative become 0; each edge on its own.
    ExpectPlacement(ChooseWindowPlacement("801,601,800x600", 1024), 801, 601, 1, false);
    ExpectPlacement(ChooseWindowPlacement("1025,700,800x600", 1024), 0, 700, 1, false);
    ExpectPlacement(ChooseWindowPlacement("-5,769,800x600", 1024), 0, 0, 1, false);
    // Text where a number belongs, missing parts and unknown size names.
    ExpectPlacement(ChooseWindowPlacement("left,40,800x600", 1024), 0, 40, 1, false);
    ExpectPlacement(ChooseWindowPlacement("30,top,800x600", 1024), 30, 0, 1, false);
    ExpectPlacement(ChooseWindowPlacement("30", 1024), 30, 0, 0, false);
    ExpectPlacement(ChooseWindowPlacement("", 1024), 0, 0, 0, false);
    ExpectPlacement(ChooseWindowPlacement("10,10,toobig", 1600), 0, 0, 0, false);
    ExpectPlacement(ChooseWindowPlacement("10,10,800X600", 1024), 10, 10, 0, false);

    EXPECT_EQ(ResolutionText(50, 40, 1), "50,40,800x600");
    EXPECT_EQ(ResolutionText(-8, 0, 3), "-8,0,1280x1024");
}

TEST_F(MainWindowTest, FirstStartOnA1024Screen)
{
    TfmMeldoraMain& w = Create({}, 1024);
    EXPECT_EQ(w.windowTitle(), "Meldora 4.14");
    EXPECT_EQ(w.SizeIndex(), 0);
    EXPECT_EQ(w.LargestAllowedSize(), 2);
    EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    EXPECT_TRUE(w.Table().PaintSuspended());
    EXPECT_TRUE(w.SplashTimer().isActive());
    EXPECT_TRUE(w.SplashTimer().isSingleShot());
    EXPECT_EQ(w.SplashTimer().interval(), 2000);
    EXPECT_EQ(ReadSetting("Settings\\Version"), "41402");

    StartUp(1);
    EXPECT_EQ(w.frameGeometry().size(), QSize(640, 480));
    EXPECT_FALSE(w.SplashTimer().isActive());
    EXPECT_FALSE(w.Table().PaintSuspended());
    EXPECT_EQ(w.Game().Layout.ColumnPitch, 45);
    EXPECT_EQ(w.Game().HumanHand.Count, 15);
    EXPECT_EQ(w.Game().Phase, PhaseDraw);
    EXPECT_EQ(w.StatusText()->text(), "Draw a card by clicking on the stock or the discard pile");
    EXPECT_FALSE(w.EndHandButton()->isVisible());
    EXPECT_TRUE(asked.empty());
}

TEST_F(MainWindowTest, StoredPlacementOnASmallerScreen)
{
    WriteSetting("Settings\\Resolution", std::string("50,40,1280x1024"));
    TfmMeldoraMain& w = Create({}, 800);
    EXPECT_EQ(w.SizeIndex(), 1);
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(w.Game().Layout.CardWidth, 53);

    window.reset();
    WriteSetting("Settings\\Resolution", std::string("50,40,1280x1024"));
    TfmMeldoraMain& wide = Create({}, 1600);
    EXPECT_EQ(wide.pos(), QPoint(0, 0));
    EXPECT_EQ(wide.SizeIndex(), 3);
    EXPECT_FALSE(wide.windowState() & Qt::WindowMaximized);

    window.reset();
    WriteSetting("Settings\\Resolution", std::string("x50,40,800x600"));
    TfmMeldoraMain& damaged = Create({}, 1024);
    EXPECT_EQ(damaged.pos(), QPoint(0, 40));
    EXPECT_EQ(damaged.SizeIndex(), 1);
    EXPECT_TRUE(asked.empty());
}

TEST_F(MainWindowTest, ArgumentsThatLoadNothing)
{
    WriteSavedGame(AutoSaveFile(), 1234);
    // Only the first argument counts, exactly as written: "/SETUP" is no "/setup",
    // but like any other unknown argument it loads nothing either.
    for (const QString& argument : {QStringLiteral("/setup"), QStringLiteral("/SETUP"),
                                   QStringLiteral("/ip:192.168.1.7"), QStringLiteral("whatever")}) {
        SCOPED_TRACE(argument.toStdString());
        TfmMeldoraMain& w = Create(argument);
        StartUp();
        EXPECT_EQ(w.Game().HumanScore, 0);
        EXPECT_FALSE(w.Game().RevealBlocked);
        EXPECT_EQ(w.Game().HumanHand.Count, 15);
        EXPECT_FALSE(w.LoadPending);
        window.reset();
    }
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(std::filesystem::exists(AutoSaveFile()));
}

TEST_F(MainWindowTest, SavedGameNamedOnTheCommandLine)
{
    const auto saved = home.Dir / "evening.meldora";
    WriteSavedGame(saved, 1234);
    TfmMeldoraMain& w = Create(FileArgument(saved));
    StartUp();
    EXPECT_EQ(w.Game().HumanScore, 1234);
    EXPECT_TRUE(w.Game().RevealBlocked);
    EXPECT_TRUE(asked.empty());
    window.reset();

    // Not a saved game: the player is told, and a new game follows.
    const auto notes = home.Dir / "notes.meldora";
    std::ofstream(notes) << "shopping list\r\n";
    TfmMeldoraMain& other = Create(FileArgument(notes));
    StartUp(1);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, prompts::Kind::Information);
    EXPECT_EQ(asked[0].text, FileArgument(notes).toUpper() + " : this file is not a Meldora saved game");
    EXPECT_EQ(other.Game().HumanScore, 0);
    EXPECT_EQ(other.Game().HumanHand.Count, 15);
    EXPECT_EQ(other.Game().Phase, PhaseDraw);
}

TEST_F(MainWindowTest, DamagedAutoSaveIsReportedAndANewGameDealt)
{
    std::ofstream(AutoSaveFile()) << "MeldoraSavedGame 414 12 3 4 5\r\n";
    TfmMeldoraMain& w = Create();
    StartUp(1);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, prompts::Kind::Error);
    EXPECT_EQ(w.Game().HumanHand.Count, 15);
    EXPECT_EQ(w.Game().Phase, PhaseDraw);
}

TEST_F(MainWindowTest, ClosingDuringAGameSavesItAndTheNextStartResumesIt)
{
    TfmMeldoraMain& w = Create();
    StartUp(1, 4242);
    CanastaGame& game = w.Game();
    w.Table().TableMouseUp(Qt::LeftButton, Qt::NoModifier, LeftMargin, game.Layout.StockTop);
    ASSERT_TRUE(game.GameInProgress);
    ASSERT_EQ(game.HumanHand.Count, 16);
    game.HumanScore = 770;
    std::vector<int> hand;
    for (int i = 0; i < game.HumanHand.Count; ++i)
        hand.push_back(game.HumanHand.Cards[i].Id);

    w.close();
    EXPECT_TRUE(std::filesystem::exists(AutoSaveFile()));
    EXPECT_EQ(ReadSetting("Settings\\Resolution"), "0,0,640x480");
    window.reset();

    TfmMeldoraMain& next = Create();
    StartUp();
    EXPECT_TRUE(asked.empty());
    CanastaGame& resumed = next.Game();
    EXPECT_EQ(resumed.HumanScore, 770);
    EXPECT_TRUE(resumed.HasDrawn);
    EXPECT_EQ(resumed.Phase, PhaseMeldDiscard);
    ASSERT_EQ(resumed.HumanHand.Count, 16);
    for (int i = 0; i < resumed.HumanHand.Count; ++i)
        EXPECT_EQ(resumed.HumanHand.Cards[i].Id, hand[static_cast<std::size_t>(i)]);
}

TEST_F(MainWindowTest, ClosingWithoutAGameToKeepDeletesTheAutoSave)
{
    // Between games.
    WriteSavedGame(AutoSaveFile(), 100);
    Create(QStringLiteral("/setup")).show();
    StartUp();
    ASSERT_FALSE(window->Game().GameInProgress);
    window->close();
    EXPECT_FALSE(std::filesystem::exists(AutoSaveFile()));
    window.reset();

    // Automatic save switched off, in the middle of a game.
    WriteSavedGame(AutoSaveFile(), 100);
    WriteSetting("Settings\\AutoSave", false);
    Create();
    StartUp(1);
    EXPECT_EQ(window->Game().HumanScore, 0);
    window->Table().TableMouseUp(Qt::LeftButton, Qt::NoModifier, LeftMargin, window->Game().Layout.StockTop);
    ASSERT_TRUE(window->Game().GameInProgress);
    window->close();
    EXPECT_FALSE(std::filesystem::exists(AutoSaveFile()));
}

TEST_F(MainWindowTest, ClosingBeforeStartUpFinishedKeepsTheAutoSave)
{
    WriteSavedGame(AutoSaveFile(), 100);
    WriteSetting("Settings\\Resolution", std::string("0,0,800x600"));
    Create({}, 1024).show();
    window->close();
    EXPECT_TRUE(std::filesystem::exists(AutoSaveFile()));
    EXPECT_EQ(ReadSetting("Settings\\Resolution"), "0,0,800x600");
}
