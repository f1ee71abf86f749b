// The table as painted and animated on the offscreen platform.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QTest>

#include "support/table_builder.h"
#include "table/status_panels.h"
#include "table/turn_window.h"
#include "view_host.h"

namespace meldora {
namespace {

using namespace test;

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

class TableViewTest : public ::testing::Test, protected ViewTable {
protected:
    TableViewTest() { UseSize(0); }

    // The main window's client area at the size class: the table less frame, menu and status bar.
    void UseSize(int index)
    {
        const QSize client(SizeClasses[index].TableWidth - 8, SizeClasses[index].TableHeight - 62);
        game.Layout = ApplyLayout(index, client.width());
        images.prepare(index, 1.0, readCardBacks(settings));
        view.resize(client);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QImage Grab() { return view.grab().toImage(); }
    QColor PixelAt(int x, int y) { return Grab().pixelColor(x, y); }
};

TEST_F(TableViewTest, DealtTableSpreadsTheDiscardPileUntilTheFirstClick)
{
    game.Seed(3);
    game.Match.DrawFirst = true;
    game.DealHand(false);
    ASSERT_TRUE(game.Presentation.DiscardSpread);
    while (game.DiscardPile.Count < 4) {
        CardRecord c = PopCard(game.Stock);
        c.FaceUp = true;
        c.X = LeftMargin;
        c.Y = game.Layout.DiscardTop;
        AppendCard(game.DiscardPile, c);
    }
    view.repaintTable();
    const TableLayout& l = game.Layout;
    const int belowPile = l.DiscardTop + l.CardHeight + 28;
    EXPECT_NE(PixelAt(LeftMargin + l.CardWidth / 2, belowPile), view.tableColor());

    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(600, 5));
    EXPECT_FALSE(game.Presentation.DiscardSpread);
    EXPECT_EQ(PixelAt(LeftMargin + l.CardWidth / 2, belowPile), view.tableColor());
}

TEST_F(TableViewTest, CtrlF11RevealsTheComputersHandWhereThatIsAllowed)
{
    ClearTable(game);
    AddToHand(game, {CardId(Heart, 12), CardId(Spade, 4), CardId(Club, 9)});
    const QRect hand(0, 0, 200, game.Layout.CardHeight + 10);
    QTest::keyClick(&view, Qt::Key_F11);
    EXPECT_FALSE(game.Presentation.ComputerHandRevealed) << "F11 alone does nothing";

    QTest::keyClick(&view, Qt::Key_F11, Qt::ControlModifier);
    EXPECT_TRUE(game.Presentation.ComputerHandRevealed);
    EXPECT_TRUE(game.Computer().Hand.Cards[0].FaceUp);
    EXPECT_TRUE(game.Computer().Hand.Cards[2].FaceUp);
    const QImage revealed = Grab().copy(hand);
    auto turnCards = [&](bool up) {
        for (int i = 0; i < game.Computer().Hand.Count; ++i)
            game.Computer().Hand.Cards[i].FaceUp = up;
    };
    turnCards(false);
    const QImage hidden = Grab().copy(hand);
    turnCards(true);
    EXPECT_NE(revealed, hidden);

    host.Network = true;
    EXPECT_EQ(Grab().copy(hand), hidden) << "the partner's cards never show";
    host.Network = false;
    game.Presentation.RevealBlocked = true;
    EXPECT_EQ(Grab().copy(hand), hidden) << "a loaded game does not reveal";

    game.Presentation.RevealBlocked = false;
    QTest::keyClick(&view, Qt::Key_F11, Qt::ControlModifier);
    EXPECT_FALSE(game.Computer().Hand.Cards[1].FaceUp);
}

TEST_F(TableViewTest, StatusPanelsShowMeldsAndScoresAndASuspendedTableOnlyItsColour)
{
    StatusPanels panels;
    view.setStatusPanels(&panels);
    ClearTable(game);
    for (int id : {CardId(Spade, 6), CardId(Heart, 6), CardId(Club, 6), CardId(Spade, 13)})
        AddToHumanMelds(game, id);
    AddToHumanHand(game, JokerCard);
    AddToStock(game, CardId(Spade, 4));
    game.Human().Score = 1234;
    game.Computer().Score = -40;
    game.Computer().MeldValue = 75;
    game.Human().MinimumMeld = 5000;
    view.repaintTable();
    const int melded = game.MeldValueOnTable(Side::Human, true);
    EXPECT_EQ(panels.playerMeldValuePanel_->text(), QString("%1 (5000)").arg(melded));
    EXPECT_EQ(panels.computerMeldValuePanel_->text(), "75");
    EXPECT_EQ(panels.playerScorePanel_->text(), "1234");
    EXPECT_EQ(panels.computerScorePanel_->text(), "-40");
    game.Human().MinimumMeld = 15;
    view.repaintTable();
    EXPECT_EQ(panels.playerMeldValuePanel_->text(), QString::number(melded));

    // While start-up is under way the table shows only its colour.
    view.setPaintSuspended(true);
    const QImage blank = Grab();
    for (int y = 0; y < blank.height(); y += 7)
        for (int x = 0; x < blank.width(); x += 7)
            ASSERT_EQ(blank.pixelColor(x, y), view.tableColor()) << x << "," << y;
    view.setPaintSuspended(false);
    EXPECT_NE(Grab(), blank);
}

TEST_F(TableViewTest, FlightsStepAtTheChosenSpeedAndThePlayersDrawIsHighlighted)
{
    EXPECT_EQ(TableView::flightSteps(30, 40, -3), 50) << "a broken speed setting still flies";

    ClearTable(game);
    game.Turn.ComputerTurn = true;  // no highlight
    const CardRecord card = AddToHumanHand(game, CardId(Heart, 13));
    PaintCounter counter;
    view.installEventFilter(&counter);
    view.moveCard(card, card.X - 410, card.Y, card.X, card.Y);
    const int defaultSpeedPaints = counter.Paints;
    EXPECT_GT(defaultSpeedPaints, 2) << "steps of a flight and the landing";
    EXPECT_FALSE(view.moveInProgress());

    counter.Paints = 0;
    view.moveCard(card, card.X - 20, card.Y, card.X, card.Y);
    EXPECT_EQ(counter.Paints, 1) << "a zero-step move shows no flight, only the card where it landed";

    counter.Paints = 0;
    settings.WriteValue("Settings\\Card Movement", false);
    view.moveCard(card, card.X - 410, card.Y, card.X, card.Y);
    EXPECT_EQ(counter.Paints, 1);
    counter.Paints = 0;
    settings.WriteValue("Settings\\Card Movement", true);
    settings.WriteValue("Settings\\Card Speed", 50);
    view.moveCard(card, card.X - 410, card.Y, card.X, card.Y);
    EXPECT_LT(counter.Paints, defaultSpeedPaints) << "a faster speed takes fewer, longer steps";
    EXPECT_GT(counter.Paints, 1);
    view.removeEventFilter(&counter);

    // The player's draw and the top card of a taken pile are highlighted.
    ClearTable(game);
    game.Turn.ComputerTurn = false;
    const TableLayout& l = game.Layout;
    CardRecord drawn = MakeCard(CardId(Club, 7), 0);
    EXPECT_TRUE(view.highlightWanted(drawn, LeftMargin, l.StockTop));
    EXPECT_FALSE(view.highlightWanted(drawn, LeftMargin, l.DiscardTop)) << "the rest of a taken pile";
    game.Take.TopCardOnTable = true;
    game.Take.TopCard = drawn;
    EXPECT_TRUE(view.highlightWanted(drawn, LeftMargin, l.DiscardTop));
    EXPECT_FALSE(view.highlightWanted(drawn, l.ColumnX(6), l.HumanHandBase + 12)) << "a discard";
    game.Turn.ComputerTurn = true;
    EXPECT_FALSE(view.highlightWanted(drawn, LeftMargin, l.StockTop)) << "the opponent's draw";

    // The highlight holds the card for 400 ms even without flights.
    settings.WriteValue("Settings\\Card Movement", false);
    game.Turn.ComputerTurn = false;
    ReadyToDraw(game);
    AddToStock(game, CardId(Club, 7));
    AddToHumanHand(game, {CardId(Club, 9), CardId(Club, 10)});
    QElapsedTimer clock;
    clock.start();
    game.DrawFromStock();
    EXPECT_GE(clock.elapsed(), 400);
}

TEST_F(TableViewTest, PhaseHintsFollowTheOptionsAndAMenuHintGivesWay)
{
    const QString twoClicks = view.phaseHintText(TurnPhase::MeldDiscardTwice);
    settings.WriteValue("Settings\\Mouse Options", std::string("Double Right Click"));
    EXPECT_NE(view.phaseHintText(TurnPhase::MeldDiscardTwice), twoClicks) << "the hint follows the mouse option";
    host.Network = true;
    EXPECT_TRUE(view.phaseHintText(TurnPhase::Opponent).contains("Partner"));

    // A menu hint gives way to the phase hint at the next move over the table.
    game.Turn.Phase = TurnPhase::SecondCard;
    view.markMenuHintShown();
    QTest::mouseMove(&view, QPoint(100, 100));
    EXPECT_EQ(view.hintText(), view.phaseHintText(TurnPhase::SecondCard));
}

TEST_F(TableViewTest, TurnWindowShowsOverAnActiveMainWindowAndCloses)
{
    QMainWindow main;
    main.resize(640, 480);
    TableView& table = *new TableView(game, images, settings);
    main.setCentralWidget(&table);
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

    table.showTurnWindow("It's your turn to draw first.");
    QPointer<TurnWindow> first = table.turnIndicator().window();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text(), "It's your turn to draw first.");

    // A new hand before the timer closes the old window first.
    table.showTurnWindow("It's the computer's turn to draw first.");
    QTest::qWait(10);
    EXPECT_TRUE(first.isNull() || !first->isVisible());
    EXPECT_TRUE(table.turnIndicator().displayTimer().isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !table.turnIndicator().window(); }, 3000));
    EXPECT_FALSE(table.turnIndicator().displayTimer().isActive());

    // In the background no window opens.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    table.showTurnWindow("It's your turn to draw first.");
    EXPECT_FALSE(table.turnIndicator().window());
}

}  // namespace
}  // namespace meldora
