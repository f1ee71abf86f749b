#include "table/table_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "core/game.h"
#include "core/settings_access.h"
#include "settings/setting_keys.h"
#include "table/card_images.h"
#include "table/status_panels.h"
#include "table/turn_window.h"

namespace meldora {

namespace {

constexpr int ErrorColourTime = 600;
constexpr int HighlightTime = 400;
constexpr qint64 FlightFrameMs = 8;
constexpr const char* OpponentTurnAfterError = "It's the turn of your opponent now";

bool cursorIsHourglass()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

// The picture a flight shows: the face of a card, or the back of a deck for the
// computer's cards, whose records travel with id 54 + deck.
const QPixmap* flightImage(const CardImages& images, const CardRecord& card)
{
    if (card.Id >= 1 && card.Id <= JokerId)
        return &images.face(card);
    if (card.Id == JokerId + 1 || card.Id == JokerId + 2)
        return &images.back(card.Id - JokerId - 1);
    return nullptr;
}

}  // namespace

TableView::TableView(CanastaGame& game, CardImages& images, SettingsAccess& settings, QWidget* parent)
    : QWidget(parent), game_(game), images_(images), settings_(settings)
{
    setObjectName("tableView");
    setAutoFillBackground(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    turnIndicator_ = new TurnIndicator(this);
    errorBlinkTimer_.setInterval(ErrorColourTime);
    connect(&errorBlinkTimer_, &QTimer::timeout, this, &TableView::onErrorBlinkTimer);
    applySettings();
}

TableView::~TableView()
{
    while (busyDepth_ > 0)
        setBusyCursor(false);
}

// ---- Painting ---------------------------------------------------------------------

void TableView::setPaintSuspended(bool suspended)
{
    paintSuspended_ = suspended;
    update();
}

void TableView::applySettings()
{
    const int bgr = Read(settings_, keys::BackgroundColor);
    tableColor_ = colorFromSetting(static_cast<std::uint32_t>(bgr));
    QPalette p = palette();
    p.setColor(QPalette::Window, tableColor_);
    setPalette(p);
    paint_.tableColor = tableColor_;
    update();
}

void TableView::paintEvent(QPaintEvent* event)
{
    if (paintSuspended_)
        return;
    QPainter painter(this);
    painter.setClipRect(event->rect());
    paint_.networkGame = networkGame();
    paint_.tableBottom = height();
    shownClickTarget_ = clickTargetOutline();
    paint_.clickTargetOutline = shownClickTarget_;
    paint_.keyboardColumnOutline = keyboardColumnOutline();
    paint_.lastingHighlight = {};
    if (lastingHighlightShown()) {
        const CardRecord& top = game_.DiscardPile.top();
        // The spread pile that follows a deal shows its top card lowest.
        const int shownY = top.Y + (game_.Presentation.DiscardSpread ? (game_.DiscardPile.Count - 1) * StackStep : 0);
        paint_.lastingHighlight = {true, highlightedImage(images_.face(top), palette().color(QPalette::Highlight)),
                                   QPoint(top.X, shownY)};
    }
    spreadExtra_ = paintTable(painter, game_, images_, paint_);
    if (panels_)
        panels_->updateFromGame(game_);
}

void TableView::collapseDiscardPile()
{
    if (!game_.CollapseDiscardPile())
        return;
    const TableLayout& l = game_.Layout;
    invalidateTableRect({0, l.DiscardTop, l.CardWidth + LeftMargin + 10, l.CardHeight + spreadExtra_ + 30});
}

void TableView::invalidateTableRect(const TableRect&)
{
    // The rectangles the game asks for follow the card records, but the computer's hand
    // is painted grouped by rank and the pile counts and the spread pile reach beyond the
    // top card; a rectangle that misses them leaves stale cards behind. The whole table
    // paints in a fraction of a millisecond, so it is repainted at once instead.
    repaint();
}

void TableView::repaintTable() { repaint(); }

void TableView::setStatusPanels(StatusPanels* panels)
{
    panels_ = panels;
    if (panels_)
        panels_->updateFromGame(game_);
}

// ---- Card flights -------------------------------------------------------------------

int TableView::flightSteps(int dx, int dy, int speed)
{
    // A speed below zero would make the step length zero or negative.
    const double stepLength = 4.0 * std::max(speed, 0) + 1.0;
    const double length = std::sqrt(double(dx) * dx + double(dy) * dy);
    return static_cast<int>(std::nearbyint(length / stepLength));
}

bool TableView::highlightWanted(const CardRecord& card, int fromX, int fromY) const
{
    if (game_.Turn.ComputerTurn || fromX != LeftMargin)
        return false;
    if (fromY == game_.Layout.StockTop)
        return true;
    return fromY == game_.Layout.DiscardTop && game_.Take.TopCardOnTable && card.Id == game_.Take.TopCard.Id &&
           card.Deck == game_.Take.TopCard.Deck;
}

void TableView::moveCard(const CardRecord& card, int fromX, int fromY, int toX, int toY)
{
    moveCard(card, fromX, fromY, toX, toY, highlightWanted(card, fromX, fromY));
}

void TableView::moveCard(const CardRecord& card, int fromX, int fromY, int toX, int toY, bool highlight)
{
    if (moveInProgress_)
        return;
    moveInProgress_ = true;
    const bool ownCursor = !cursorIsHourglass();
    if (ownCursor)
        QApplication::setOverrideCursor(Qt::WaitCursor);

    const QPixmap* image = flightImage(images_, card);
    const QSize cardSize(game_.Layout.CardWidth, game_.Layout.CardHeight);
    const int steps = flightSteps(toX - fromX, toY - fromY, Read(settings_, keys::CardSpeed));
    if (image && steps > 0 && Read(settings_, keys::CardMovement)) {
        const double stepX = double(toX - fromX) / steps;
        const double stepY = double(toY - fromY) / steps;
        paint_.hideLanding = true;
        paint_.landing = card;
        paint_.landing.X = toX;
        paint_.landing.Y = toY;
        paint_.flight = {true, *image, QPoint(fromX, fromY)};
        double x = fromX;
        double y = fromY;
        QRect shown;
        QElapsedTimer frame;
        for (int i = 0; i < steps; ++i) {
            frame.start();
            paint_.flight.pos = QPoint(int(std::nearbyint(x)), int(std::nearbyint(y)));
            const QRect at(paint_.flight.pos, cardSize);
            repaint(shown.isNull() ? at : shown.united(at));
            shown = at;
            x += stepX;
            y += stepY;
            // Today's machines paint a step in well under a millisecond; hold each step for
            // one frame so the flight can be seen at all. The speed setting still decides
            // the number of steps.
            const qint64 left = FlightFrameMs - frame.elapsed();
            if (left > 0)
                QThread::msleep(static_cast<unsigned long>(left));
        }
        paint_.flight = {};
        paint_.hideLanding = false;
    }
    // The card has left one pile and reached another: the card, both piles and
    // their counts are shown as they are now, with or without a flight.
    repaint();

    if (highlight && image) {
        const QRect landing(QPoint(toX, toY), cardSize);
        paint_.highlight = {true, highlightedImage(*image, palette().color(QPalette::Highlight)), landing.topLeft()};
        repaint(landing);
        pause(HighlightTime);
        paint_.highlight = {};
        repaint(landing);
    }

    if (ownCursor)
        QApplication::restoreOverrideCursor();
    moveInProgress_ = false;
}

void TableView::highlightUntilNextAction(const CardRecord& card)
{
    lastingHighlight_ = card;
    update();
}

void TableView::endLastingHighlight()
{
    if (!lastingHighlight_ || game_.Turn.ComputerTurn)
        return;
    lastingHighlight_.reset();
    update();
}

bool TableView::lastingHighlightShown() const
{
    if (!lastingHighlight_ || game_.DiscardPile.Count == 0)
        return false;
    const CardRecord& top = game_.DiscardPile.top();
    return top.Id == lastingHighlight_->Id && top.Deck == lastingHighlight_->Deck;
}

void TableView::pause(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop wait;
    QTimer::singleShot(milliseconds, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    QApplication::restoreOverrideCursor();
}

void TableView::setBusyCursor(bool busy)
{
    if (busy) {
        if (busyDepth_++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
        QApplication::restoreOverrideCursor();
    }
}

// ---- Phase hint, refusals, End Hand -------------------------------------------------------

int TableView::discardOption() const
{
    return Read(settings_, keys::MouseOptions) == "Single Right Click" ? 0 : 1;
}

bool TableView::networkGame() const { return game_.Host().IsNetworkGame(); }

QString TableView::phaseHintText(TurnPhase phase) const
{
    static const char* const Texts[] = {
        "Draw a card by clicking on the stock or the discard pile",
        "Meld a card by clicking it, discard a card by right-clicking it",
        "Meld by clicking a card, discard by right-clicking it twice",
        "Meld by clicking left, undo taking discard pile by clicking it",
        "Draw a second card from the stock",
        "Select a card to meld by typing one of the characters 2 thru 9, 0 (for 10), J, Q, K, A or W for a wildcard",
        "Select a card to discard by typing one of the characters 2 thru 9, 0 (for 10), J, Q, K, A or W for a wildcard",
        "Select a card to add a wildcard to by typing one of the characters 2 thru 9, 0 (for 10), J, Q, K or A",
        "It's the computer's turn",
        "Please wait for the next hand to be dealt",
    };
    switch (phase) {
    case TurnPhase::Draw:
        return game_.Turn.StockExhausted ? "Stock exhausted; take discard pile or end hand" : Texts[0];
    case TurnPhase::MeldDiscard:
    case TurnPhase::MeldDiscardTwice:
        // One phase, worded for the discard option in force.
        return Texts[static_cast<int>(discardOption() == 0 ? TurnPhase::MeldDiscard : TurnPhase::MeldDiscardTwice)];
    case TurnPhase::Opponent:
        if (networkGame())
            return "It's " + QString::fromStdString(game_.Host().OpponentName()) + "'s turn";
        return Texts[static_cast<int>(TurnPhase::Opponent)];
    default:
        if (phase > TurnPhase::HandOver)
            return {};
        return Texts[static_cast<int>(phase)];
    }
}

void TableView::setHint(const QString& text, bool isError)
{
    hintText_ = text;
    emit hintChanged(text, isError);
}

void TableView::showPhaseHint(TurnPhase phase)
{
    errorShown_ = false;
    errorBlinkTimer_.stop();
    setHint(phaseHintText(phase), false);
    emit endHandButtonChanged(game_.Turn.StockExhausted, phase == TurnPhase::Draw);
}

void TableView::showInputError(int number, const QString& text)
{
    errorBlinkTimer_.stop();
    if (number == 0) {
        errorShown_ = false;
        setHint(
            game_.Turn.Phase == TurnPhase::Opponent ? QString(OpponentTurnAfterError) : phaseHintText(game_.Turn.Phase),
            false);
        return;
    }
    QApplication::beep();
    ++refusals_;
    errorShown_ = true;
    setHint(text, true);
    errorBlinkTimer_.start();
}

void TableView::onErrorBlinkTimer()
{
    errorBlinkTimer_.stop();
    if (errorShown_)
        emit hintChanged(hintText_, false);
}

void TableView::setStockExhausted(bool exhausted)
{
    emit endHandButtonChanged(exhausted, game_.Turn.Phase == TurnPhase::Draw);
}

// ---- Turn window ----------------------------------------------------------------------------

void TableView::showTurnWindow(const QString& text) { turnIndicator_->showWhoseTurnWindow(text); }

void TableView::setChatWindow(QWidget* chat) { turnIndicator_->setChatWindow(chat); }

}  // namespace meldora
