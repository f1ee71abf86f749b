// Playing on the table with mouse and keyboard on the offscreen platform: whole turns
// driven by clicks and keys, the hit test, and the refusals as the status line shows them.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QSignalSpy>
#include <QTest>

#include "support/table_builder.h"
#include "view_host.h"

namespace meldora {
namespace {

using namespace test;

// Collects the parts of a widget that were painted.
class RegionRecorder : public QObject {
public:
    explicit RegionRecorder(QRegion& painted) : painted_(painted) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted_ += static_cast<QPaintEvent*>(e)->region();
        return false;
    }

private:
    QRegion& painted_;
};

class TableInput : public ::testing::Test, protected ViewTable {
protected:
    TableInput()
    {
        settings.WriteValue("Settings\\Card Movement", false);
        game.Layout = ApplyLayout(0, 632);
        game.Seed(7);
        ClearTable(game);
        images.prepare(0, 1.0, readCardBacks(settings));
        host.OnComputerTurn = [this] {
            game.Turn.ComputerTurn = false;
            game.SetPhase(TurnPhase::Draw);
        };
        // The table of the 640 x 480 window between its menu and status bars.
        view.resize(632, 440);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // The human is to draw: a stock of a few cards, nothing drawn yet.
    void ToDraw()
    {
        AddToStock(game, {CardId(Heart, 9), CardId(Club, 10), CardId(Spade, 6)});
        ReadyToDraw(game);
    }

    QPoint At(const CardRecord& c, int dy = 2) const { return {c.X + 2, c.Y + dy}; }
    void Left(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::mouseClick(&view, Qt::LeftButton, m, p); }
    void Right(QPoint p) { QTest::mouseClick(&view, Qt::RightButton, Qt::NoModifier, p); }
    QPoint Stock() const { return {LeftMargin + 5, game.Layout.StockTop + 5}; }
    QPoint Pile() const { return {LeftMargin + 5, game.Layout.DiscardTop + 5}; }

    int InMelds(int rank) const { return CountInColumn(game, game.Human().Melds, rank); }
    int HandIndex(int id) const { return IndexOfCard(game.Human().Hand, id); }
    bool InHand(int id) const { return HandIndex(id) >= 0; }
    // Where to click the card of that id in the hand.
    QPoint InHandAt(int id) const
    {
        const int i = HandIndex(id);
        if (i < 0)
            ADD_FAILURE() << "card " << id << " not in hand";
        return i < 0 ? QPoint() : At(game.Human().Hand.Cards[i]);
    }
};

// Every click goes through the hit test; here what it must not find.
TEST_F(TableInput, HitTestFindsNothingOnAnExhaustedStockOrAfterTheHand)
{
    const CardRecord a = AddToHumanHand(game, CardId(Spade, 5));
    EXPECT_EQ(view.hitTest(LeftMargin, game.Layout.StockTop).area, HitStock);
    game.Turn.StockExhausted = true;
    EXPECT_EQ(view.hitTest(LeftMargin, game.Layout.StockTop).area, HitNothing);
    EXPECT_EQ(view.hitTest(a.X + 2, a.Y + 2), (HitResult{HitNaturalHandCard, 0}));
    game.Turn.Phase = TurnPhase::HandOver;
    EXPECT_EQ(view.hitTest(a.X + 2, a.Y + 2).area, HitNothing);
}

TEST_F(TableInput, WholeTurnDrawMeldWithModifiersAddWildAndDiscardOnSecondClick)
{
    settings.WriteValue("Settings\\Mouse Options", std::string("Double Right Click"));
    ToDraw();
    AddToHumanHand(game, {CardId(Spade, 5), CardId(Club, 5), CardId(Heart, 5), CardId(Diamond, 5), CardId(Spade, 7),
                          CardId(Club, 7), CardId(Heart, 7), CardId(Spade, 12), JokerCard, CardId(Club, 1)});
    QSignalSpy rulesHint(&view, &TableView::rulesHintChanged);

    Left(Stock());
    EXPECT_TRUE(game.Turn.HasDrawn);
    EXPECT_TRUE(InHand(CardId(Spade, 6)));
    EXPECT_EQ(rulesHint.count(), 1);
    const QString meldHint = view.hintText();

    Left(Stock());
    EXPECT_EQ(view.hintText(), "You have already drawn");

    // Ctrl melds up to three of the rank (sixes), Shift all of it (eights).
    Left(At(game.Human().Hand.Cards[0]), Qt::ControlModifier);
    EXPECT_EQ(InMelds(5), 3);
    Left(InHandAt(CardId(Club, 7)), Qt::ShiftModifier);
    EXPECT_EQ(InMelds(7), 3);

    // A click on a meld adds one wild card to it; that success takes the
    // refusal before it off the status line.
    Left(Pile());
    ASSERT_EQ(view.hintText(), "You have already drawn");
    Left(At(game.Human().Melds.Cards[0]));
    EXPECT_EQ(InMelds(5), 4);
    EXPECT_EQ(view.hintText(), meldHint);
    EXPECT_FALSE(view.errorShowing());

    // Two right clicks: A, then B, then B discards B.
    const QPoint kingAt = InHandAt(CardId(Spade, 12)), drawnAt = InHandAt(CardId(Spade, 6));
    Right(kingAt);
    Right(drawnAt);
    EXPECT_EQ(game.DiscardPile.Count, 0);
    Right(drawnAt);
    ASSERT_EQ(game.DiscardPile.Count, 1);
    EXPECT_EQ(game.DiscardPile.top().Id, CardId(Spade, 6));
    EXPECT_TRUE(InHand(CardId(Spade, 12)));
    EXPECT_EQ(view.discardClicks(), 0);
}

TEST_F(TableInput, OneRightClickDiscardsAtOnceAndRefusalsShowTheirTexts)
{
    ToDraw();
    const CardRecord nine = AddToHumanHand(game, CardId(Diamond, 9));
    AddToHumanHand(game, {CardId(Diamond, 10), CardId(Diamond, 1)});
    QSignalSpy hints(&view, &TableView::hintChanged);

    Left(At(nine));
    EXPECT_EQ(host.LastErrorNumber(), 1);
    ASSERT_FALSE(hints.isEmpty());
    EXPECT_TRUE(hints.last().at(1).toBool()) << "a refusal is shown as an error";
    EXPECT_TRUE(view.errorColourShowing());
    QTest::qWait(700);
    EXPECT_FALSE(view.errorColourShowing()) << "the red colour lasts 600 ms";
    EXPECT_TRUE(view.errorShowing()) << "the message itself stays";
    EXPECT_FALSE(hints.last().at(1).toBool());
    EXPECT_EQ(hints.last().at(0).toString(), view.hintText());

    Right(At(nine));
    EXPECT_EQ(host.LastErrorNumber(), 2);
    EXPECT_EQ(view.discardClicks(), 0);
    EXPECT_EQ(view.lastRightClicked(), -1) << "the refusal leaves the confirmation alone";

    Left(Stock());
    ASSERT_TRUE(game.Turn.HasDrawn);
    EXPECT_FALSE(view.errorShowing()) << "the next phase clears the refusal";
    // Without an initial meld the table cannot be left with melds of fewer than three.
    Left(At(game.Human().Hand.Cards[0]));
    const int discards = game.DiscardPile.Count;
    Right(At(game.Human().Hand.Cards[game.Human().Hand.Count - 1]));
    EXPECT_EQ(host.LastErrorNumber(), 4);
    EXPECT_EQ(game.DiscardPile.Count, discards);

    // With the joker and a two in hand but the rules against wildcard canastas.
    game.Rules.WildcardCanasta = false;
    AddToHumanHand(game, JokerCard);
    Left(At(game.Human().Hand.Cards[game.Human().Hand.Count - 1]), Qt::ShiftModifier);
    EXPECT_EQ(host.LastErrorNumber(), 8);
}

TEST_F(TableInput, TakingThePileAndGivingItBack)
{
    ToDraw();
    AddToDiscardPile(game, {CardId(Club, 4), CardId(Spade, 8)});
    AddToHumanHand(game, {CardId(Heart, 8), CardId(Diamond, 8), CardId(Spade, 13), CardId(Spade, 9)});
    game.Turn.DiscardFrozen = true;

    Left(Pile());
    ASSERT_TRUE(game.Take.Pending);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::Taking);
    EXPECT_EQ(game.DiscardPile.Count, 1);

    Left(Pile());
    EXPECT_FALSE(game.Take.Pending);
    EXPECT_TRUE(game.Turn.MustDraw);
    EXPECT_EQ(game.DiscardPile.Count, 2);

    Left(Stock());
    Left(Pile());
    EXPECT_EQ(host.LastErrorNumber(), 3);
}

TEST_F(TableInput, InputIsIgnoredDuringTheOpponentsTurnAndWhileConnectingAndKeysGoToTheChat)
{
    ToDraw();
    game.Turn.ComputerTurn = true;
    Left(Stock());
    Right(Pile());
    view.tableKeyDown(Qt::Key_F6, Qt::NoModifier);
    EXPECT_EQ(game.Stock.Count, 3);
    EXPECT_TRUE(host.Errors.empty());

    game.Turn.ComputerTurn = false;
    view.setConnectionAttempt(true);
    Left(Stock());
    EXPECT_EQ(game.Stock.Count, 3);
    view.setConnectionAttempt(false);
    QTest::keyClick(&view, Qt::Key_F6);
    EXPECT_EQ(game.Stock.Count, 2) << "F6 draws like a click on the stock";

    // Other keys go to the chat, in a network game only.
    QSignalSpy chat(&view, &TableView::chatKeyPressed);
    QTest::keyClick(&view, Qt::Key_H);
    EXPECT_EQ(chat.count(), 0);
    host.Network = true;
    QTest::keyClick(&view, Qt::Key_H);
    QTest::keyClick(&view, Qt::Key_Shift);
    ASSERT_EQ(chat.count(), 1);
    EXPECT_EQ(chat.at(0).at(0).toInt(), int(Qt::Key_H));
}

TEST_F(TableInput, KeyboardModesSelectByRank)
{
    settings.WriteValue("Settings\\Mouse Options", std::string("Double Right Click"));
    ToDraw();
    AddToHumanHand(game, {CardId(Spade, 10), CardId(Club, 10), CardId(Heart, 10), CardId(Spade, 9), CardId(Club, 9),
                          CardId(Heart, 13), CardId(Club, 13), CardId(Diamond, 13), CardId(Spade, 1)});
    QTest::keyClick(&view, Qt::Key_F6);
    ASSERT_TRUE(game.Turn.HasDrawn);

    QTest::keyClick(&view, Qt::Key_F8);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::KeyboardMeld);
    EXPECT_EQ(view.keyboardMode(), KeyboardMeld);
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(InMelds(13), 3) << "Ctrl with the rank key melds up to three aces";
    EXPECT_EQ(game.Turn.Phase, TurnPhase::KeyboardMeld) << "the keyboard phase comes back for the next card";
    QTest::keyClick(&view, Qt::Key_J, Qt::ShiftModifier);
    EXPECT_EQ(InMelds(10), 3);

    QTest::keyClick(&view, Qt::Key_F9);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::KeyboardWildcard);
    QTest::keyClick(&view, Qt::Key_A);
    EXPECT_EQ(InMelds(13), 4) << "the two goes to the aces";

    // Discard mode with two right clicks: the same rank twice discards the column's first card.
    QTest::keyClick(&view, Qt::Key_F10);
    EXPECT_TRUE(view.keyboardColumnOutline().isEmpty());
    QTest::keyClick(&view, Qt::Key_0);
    EXPECT_EQ(game.DiscardPile.Count, 0);
    EXPECT_EQ(view.keyboardColumnOutline().left(), game.Layout.ColumnX(9)) << "the chosen column is marked";
    QTest::keyClick(&view, Qt::Key_0);
    ASSERT_EQ(game.DiscardPile.Count, 1);
    EXPECT_EQ(game.DiscardPile.top().Id, CardId(Spade, 9));
    EXPECT_EQ(host.ComputerTurns, 1);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::Draw) << "the discard ended the turn";
}

// Qt names the character a key gives: Shift+5 arrives as "%", and the five key of a
// layout whose digits need Shift as "(". The key's place on the keyboard decides.
TEST_F(TableInput, RankKeysOfTheDigitRowWorkWithShiftAndOnAnyLayout)
{
    ToDraw();
    AddToHumanHand(game, {CardId(Spade, 4), CardId(Club, 4), CardId(Heart, 4), CardId(Diamond, 9)});
    QTest::keyClick(&view, Qt::Key_F6);
    QTest::keyClick(&view, Qt::Key_F8);
    constexpr quint32 FiveKey = 14;
    auto press = [this](int key, Qt::KeyboardModifiers modifiers, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, FiveKey, 0, 0, text);
        QApplication::sendEvent(&view, &event);
    };

    press(Qt::Key_ParenLeft, Qt::NoModifier, "(");
    EXPECT_EQ(InMelds(4), 1) << "the five key without Shift melds one five";
    press(Qt::Key_Percent, Qt::ShiftModifier, "%");
    EXPECT_EQ(InMelds(4), 3) << "Shift with the five key melds all the fives";
    EXPECT_EQ(keyboardColumn(Qt::Key_Percent), -1) << "without its place a shifted character names no rank";
}

// After a big pile a hand column can be longer than the table below the hand:
// it is drawn closer, its last card whole above the status bar, and the hit test
// follows what is drawn.
TEST_F(TableInput, ALongHandColumnStaysOnTheTableAndEveryCardCanBeHit)
{
    ToDraw();
    std::vector<CardRecord> kings;
    for (int deck = 0; deck < 2; ++deck)
        for (Suit suit : {Spade, Club, Diamond, Heart})
            kings.push_back(AddToHumanHand(game, CardId(suit, 12), static_cast<std::uint8_t>(deck)));
    const TableLayout& l = game.Layout;
    ASSERT_GT(kings.back().Y + l.CardHeight, view.height()) << "the plain steps would run off the table";

    const CardPile& hand = game.Human().Hand;
    const int lastTop = shownHandCardY(hand, kings.back(), l.CardHeight, view.height());
    EXPECT_LE(lastTop + l.CardHeight, view.height());
    int previousTop = -1;
    for (int i = 0; i < hand.Count; ++i) {
        const int top = shownHandCardY(hand, hand.Cards[i], l.CardHeight, view.height());
        EXPECT_GT(top, previousTop);
        previousTop = top;
        EXPECT_EQ(hitTestTable(game, hand.Cards[i].X + 2, top + 1, view.height()).index, i);
    }
    EXPECT_EQ(hitTestTable(game, kings.back().X + 2, lastTop + l.CardHeight - 2, view.height()).index,
              hand.Count - 1);
    EXPECT_EQ(hand.Cards[hand.Count - 1].Y, kings.front().Y + 7 * StackStep) << "the records keep their plain steps";
}

// Taking the top card of a frozen pile leaves the rest of the pile waiting: its
// count must read what is left at once, not at the next meld.
TEST_F(TableInput, ThePileCountIsRepaintedWhenItsTopCardIsTaken)
{
    ToDraw();
    AddToDiscardPile(game, {CardId(Club, 4), CardId(Spade, 11), CardId(Heart, 8)});
    AddToHumanHand(game, {CardId(Diamond, 8), CardId(Spade, 8), CardId(Spade, 13)});
    game.Turn.DiscardFrozen = true;
    QApplication::processEvents();
    QRegion painted;
    RegionRecorder recorder(painted);
    view.installEventFilter(&recorder);

    Left(Pile());
    QApplication::processEvents();

    ASSERT_TRUE(game.Take.Pending);
    EXPECT_EQ(game.DiscardPile.Count, 2);
    const TableLayout& l = game.Layout;
    const QPoint count(LeftMargin + l.CardWidth / 2, l.CardHeight + l.MiddleLine + 6 + view.discardSpreadExtra());
    EXPECT_TRUE(painted.contains(count));
}

TEST_F(TableInput, EscapeAndModeKeysRespectTheTurn)
{
    ToDraw();
    game.Turn.StockExhausted = true;
    QSignalSpy endHand(&view, &TableView::endHandButtonChanged);
    QTest::keyClick(&view, Qt::Key_F10);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::KeyboardDiscard);
    ASSERT_FALSE(endHand.isEmpty());
    EXPECT_FALSE(endHand.last().at(1).toBool()) << "End Hand is only enabled in the draw phase";
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::Draw) << "Esc returns to the draw while it is due";
    EXPECT_TRUE(endHand.last().at(1).toBool());

    game.Turn.Phase = TurnPhase::HandOver;
    QTest::keyClick(&view, Qt::Key_F8);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::HandOver) << "between hands the keys leave the phase alone";
}

// The pointer outlines what a left click would act on, found by the click's own
// hit test, and nothing where the click would be refused.
TEST_F(TableInput, PointerOutlinesWhatALeftClickWouldActOn)
{
    ToDraw();
    game.Rules.WildcardCanasta = false;
    AddToHumanHand(game, {CardId(Spade, 5), CardId(Club, 5), CardId(Heart, 5)});
    AddToHumanHand(game, CardId(Spade, 2));  // a black three
    AddToHumanHand(game, JokerCard);
    const CardRecord k1 = AddToHumanMelds(game, CardId(Spade, 12));
    AddToHumanMelds(game, CardId(Club, 12));
    const CardRecord k3 = AddToHumanMelds(game, CardId(Heart, 12));
    const TableLayout& l = game.Layout;
    auto hover = [this](QPoint p) {
        QTest::mouseMove(&view, p);
        return view.clickTargetOutline();
    };

    EXPECT_EQ(hover(Stock()), QRect(LeftMargin, l.StockTop, l.CardWidth, l.CardHeight));
    EXPECT_TRUE(hover(Pile()).isEmpty()) << "an empty pile cannot be taken";
    EXPECT_TRUE(hover(InHandAt(CardId(Spade, 5))).isEmpty()) << "no meld before the draw";
    game.Turn.ComputerTurn = true;
    EXPECT_TRUE(hover(Stock()).isEmpty());
    game.Turn.ComputerTurn = false;

    Left(Stock());
    ASSERT_TRUE(game.Turn.HasDrawn);
    EXPECT_TRUE(hover(Stock()).isEmpty()) << "already drawn";
    // A covered card shows only its strip, and so does its outline.
    const CardRecord five = game.Human().Hand.Cards[HandIndex(CardId(Spade, 5))];
    EXPECT_EQ(hover(At(five)), QRect(five.X, five.Y, l.CardWidth, StackStep));
    EXPECT_TRUE(hover(InHandAt(CardId(Spade, 2))).isEmpty()) << "black threes only when going out";
    EXPECT_TRUE(hover(InHandAt(JokerCard)).isEmpty()) << "no wild card canasta under these rules";
    // A meld card stands for its column, which takes the joker of the hand.
    EXPECT_EQ(hover(At(k1)), QRect(k1.X, k1.Y, l.CardWidth, k3.Y + l.CardHeight - k1.Y));
    Left(At(k1));
    EXPECT_FALSE(InHand(JokerCard));
    EXPECT_TRUE(hover(At(k1)).isEmpty()) << "no wild card left to add";
    QTest::mouseMove(&view, Stock());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view, &leave);
    EXPECT_TRUE(view.clickTargetOutline().isEmpty());
}

}  // namespace
}  // namespace meldora
