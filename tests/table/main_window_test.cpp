// The main window as the game's host: menus, the End Hand button, the help window,
// a whole turn against the computer, and quitting after a match.
#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <fstream>

#include "main_window_fixture.h"
#include "support/table_builder.h"
#include "support/widgets.h"
#include "table/deck_dialog.h"
#include "table/game_over_window.h"
#include "table/help_window.h"
#include "table/table_view.h"

using namespace meldora;
using namespace meldora::test;

namespace {

QAction* Item(QWidget& window, const char* name) { return window.findChild<QAction*>(QLatin1String(name)); }

}  // namespace

TEST_F(MainWindowTest, MenuItemsAndTheEndHandButtonFollowTheGame)
{
    MainWindow& w = Create();
    w.UndoItemsEnabled(true);
    EXPECT_TRUE(Item(w, "UndoAll1")->isEnabled());
    StartUp(1);
    EXPECT_FALSE(Item(w, "UndoMeld1")->isEnabled()) << "a new hand has nothing to undo";
    EXPECT_FALSE(Item(w, "UndoAll1")->isEnabled());

    // The End Hand button shows only while the stock is exhausted.
    EXPECT_FALSE(w.endHandButton()->isVisible());
    w.game().SetStockExhausted(true);
    EXPECT_TRUE(w.endHandButton()->isVisible());
}

TEST_F(MainWindowTest, TheDecksMenuPutsTheChosenBackOnTheTable)
{
    MainWindow& w = Create();
    StartUp(1);
    const QImage before = w.table().grab().toImage();
    WhenModalOpens([](QWidget& deck) {
        ASSERT_NE(qobject_cast<DeckDialog*>(&deck), nullptr);
        Child<QAbstractButton>(deck, "rgCardbackTypeItem1")->click();
        Child<QPushButton>(deck, "bnOk")->click();
    });
    Item(w, "Decks1")->trigger();
    EXPECT_EQ(ReadSetting("Cardback\\Type0"), "1");
    EXPECT_NE(w.table().grab().toImage(), before);  // the computer's hand shows the new back
}

// A whole turn against the Expert. A click on the stock and F6 made while the
// computer plays are dropped, not carried out once its turn is over.
TEST_F(MainWindowTest, AWholeTurnAgainstTheExpertDropsInputMadeDuringItsTurn)
{
    WriteSetting("Settings\\Level", std::string("Expert"));
    MainWindow& w = Create();
    EXPECT_EQ(w.computerLevel, 2);
    StartUp(1, 777);
    CanastaGame& game = w.game();
    TableView& table = w.table();
    ASSERT_EQ(game.Turn.Phase, TurnPhase::Draw);
    table.tableMouseUp(Qt::LeftButton, Qt::NoModifier, LeftMargin, game.Layout.StockTop);
    ASSERT_EQ(game.Turn.Phase, TurnPhase::MeldDiscard);
    EXPECT_NE(Item(w, "Rules1")->statusTip(), RulesMenuHint) << "the rules are fixed during a game";

    const QPoint stock(LeftMargin + 5, game.Layout.StockTop + 5);
    bool posted = false;
    QObject::connect(&table, &TableView::hintChanged, &table, [&] {
        if (!game.Turn.ComputerTurn || posted)
            return;
        posted = true;
        QCoreApplication::postEvent(&table, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(stock),
                                                            QPointF(table.mapToGlobal(stock)), Qt::LeftButton,
                                                            Qt::NoButton, Qt::NoModifier));
        QCoreApplication::postEvent(&table, new QKeyEvent(QEvent::KeyPress, Qt::Key_F6, Qt::NoModifier));
    });
    const CardRecord card = game.Human().Hand.Cards[FirstNaturalCard(game.Human().Hand)];
    table.tableMouseUp(Qt::RightButton, Qt::NoModifier, card.X + 2, card.Y + 2);
    ASSERT_TRUE(posted);
    const int stockAfterTurn = game.Stock.Count;
    QCoreApplication::processEvents();

    // The player's next turn begins with nothing drawn by the dropped input.
    EXPECT_EQ(game.Turn.Phase, TurnPhase::Draw);
    EXPECT_EQ(game.Stock.Count, stockAfterTurn);
    EXPECT_EQ(game.Human().Hand.Count, 15);

    // A new game lets the rules be changed again.
    Item(w, "New1")->trigger();
    EXPECT_FALSE(game.Match.GameInProgress);
    EXPECT_EQ(Item(w, "Rules1")->statusTip(), RulesMenuHint);
}

TEST_F(MainWindowTest, HelpTopicsShowTheContentsAndEveryLinkLeadsToAPage)
{
    MainWindow& w = Create();
    Item(w, "HelpTopics1")->trigger();
    HelpWindow* help = w.helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->browser()->source().fileName(), "index.html");
    EXPECT_FALSE(help->browser()->documentTitle().isEmpty());

    // Every page the contents reach, and every link on them, exists; a link to a place
    // on a page (a word of the game) finds that place.
    const QDir folder(helpFolder());
    const QStringList pages = folder.entryList({QStringLiteral("*.html")}, QDir::Files);
    EXPECT_GE(pages.size(), 4);
    const auto read = [&folder](const QString& page) {
        QFile file(folder.filePath(page));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]*)(?:#([^\"]*))?\""));
    for (const QString& page : pages) {
        const QString html = read(page);
        ASSERT_FALSE(html.isEmpty()) << page.toStdString();
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const QString target = match.captured(1).isEmpty() ? page : match.captured(1);
            EXPECT_TRUE(folder.exists(target)) << page.toStdString() << " links to " << target.toStdString();
            const QString place = match.captured(2);
            if (!place.isEmpty()) {
                EXPECT_TRUE(read(target).contains("id=\"" + place + "\""))
                    << page.toStdString() << " links to " << target.toStdString() << "#" << place.toStdString();
            }
        }
        help->showPage(page);
        EXPECT_FALSE(help->browser()->documentTitle().isEmpty()) << page.toStdString();
    }
}

TEST_F(MainWindowTest, DecliningAnotherMatchQuitsWithoutAnAutoSave)
{
    MainWindow& w = Create();
    StartUp(1);
    w.table().tableMouseUp(Qt::LeftButton, Qt::NoModifier, LeftMargin, w.game().Layout.StockTop);
    std::ofstream(AutoSaveFile()) << "MeldoraSavedGame 414 ";
    w.game().Human().Score = 5100;
    w.game().Computer().Score = 3000;

    WhenModalOpens([](QWidget& gameOver) {
        ASSERT_NE(qobject_cast<GameOverWindow*>(&gameOver), nullptr);
        Child<QPushButton>(gameOver, "bnNo")->click();
    });
    EXPECT_TRUE(w.game().EndMatchIfOver());
    EXPECT_FALSE(std::filesystem::exists(AutoSaveFile()));
    EXPECT_TRUE(w.isVisible());

    // No further hand is dealt; the window closes once the handler has returned.
    const int stock = w.game().Stock.Count;
    const int computerHand = w.game().Computer().Hand.Count;
    w.RunComputerTurn();
    EXPECT_EQ(w.game().Stock.Count, stock);
    EXPECT_EQ(w.game().Computer().Hand.Count, computerHand);
    QApplication::processEvents();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(std::filesystem::exists(AutoSaveFile()));
}

// The desktop shortcuts trigger the same menu items as the keys they stand beside;
// a Ctrl+rank key of a keyboard mode stays the table's.
TEST_F(MainWindowTest, DesktopShortcutsReachTheMenuCommands)
{
    MainWindow& w = Create();
    StartUp(1, 777);
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.UndoItemsEnabled(true);
    w.table().setFocus();

    // The desktop keys beside the program's own F2 and Delete.
    const std::pair<const char*, QKeySequence> aliases[] = {
        {"New1", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"UndoMeld1", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"UndoAll1", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
    };
    for (const auto& [item, keys] : aliases) {
        w.UndoItemsEnabled(true);
        QSignalSpy triggered(Item(w, item), &QAction::triggered);
        QTest::keySequence(&w.table(), keys);
        EXPECT_EQ(triggered.count(), 1) << item << " " << keys.toString().toStdString();
    }

    // In the keyboard meld mode Ctrl+Q is the queens' column, not Exit.
    QSignalSpy exitTriggered(Item(w, "Exit1"), &QAction::triggered);
    w.game().SetPhase(TurnPhase::KeyboardMeld);
    QTest::keySequence(&w.table(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(exitTriggered.count(), 0);
    w.game().SetPhase(TurnPhase::Draw);
    QTest::keySequence(&w.table(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(exitTriggered.count(), 1);
}

// After the computer's turn the status line's tool tip tells what it did, and its
// discard stays highlighted until the player acts.
TEST_F(MainWindowTest, TheComputersTurnIsSummedUpAndItsDiscardHighlighted)
{
    MainWindow& w = Create();
    StartUp(0, 777);
    CanastaGame& game = w.game();
    ASSERT_FALSE(game.Turn.ComputerTurn);
    ASSERT_GT(game.DiscardPile.Count, 0);

    const QStringList lines = w.statusText()->toolTip().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], w.statusText()->text());
    EXPECT_TRUE(lines[1].endsWith(", discarded " + cardText(game.DiscardPile.top().Id))) << lines[1].toStdString();
    EXPECT_EQ(lines[1], "Computer's last turn: " + w.lastComputerTurn().text());

    EXPECT_TRUE(w.table().lastingHighlightShown());
    w.table().tableMouseUp(Qt::LeftButton, Qt::NoModifier, LeftMargin, game.Layout.StockTop);
    EXPECT_FALSE(w.table().lastingHighlightShown());
    EXPECT_TRUE(game.Turn.HasDrawn);
}

TEST_F(MainWindowTest, TheScoringWindowSaysTheHandWasEndedWithEndHand)
{
    MainWindow& w = Create();
    StartUp(1, 777);
    CanastaGame& game = w.game();
    game.SetStockExhausted(true);
    ASSERT_TRUE(w.endHandButton()->isEnabled());
    QString line;
    bool tableVisible = false;
    int scoringTop = 0;
    WhenModalOpens([&](QWidget& scoring) {
        line = Child<QLabel>(scoring, "lbHandEnd")->text();
        tableVisible = w.table().isVisible();
        scoringTop = scoring.frameGeometry().top();
        Child<QPushButton>(scoring, "bnOK")->click();
    });
    w.endHandButton()->click();
    EXPECT_EQ(line, "Nobody went out: you pressed End Hand on the exhausted stock.");
    EXPECT_TRUE(tableVisible);
    // The window leaves the opponent's half of the table in view.
    EXPECT_GT(scoringTop, w.table().mapToGlobal(QPoint(0, game.Layout.MiddleLine)).y());
}
