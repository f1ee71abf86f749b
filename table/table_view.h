// The card table: the central widget of the main window. It paints the game, flies
// the cards that change place, shows the phase hint and the refusals, and turns the
// player's clicks and keys into the game's operations. The main window owns it and
// hands the table's share of TableHost to it.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <optional>

#include "core/table_host.h"
#include "table/table_input.h"
#include "table/table_painter.h"

namespace meldora {

class CanastaGame;
class CardImages;
class SettingsAccess;
class StatusPanels;
class TurnIndicator;

enum KeyboardModes : int { KeyboardMeld = 0, KeyboardDiscard = 1, KeyboardAddWild = 2 };

class TableView : public QWidget {
    Q_OBJECT

public:
    TableView(CanastaGame& game, CardImages& images, SettingsAccess& settings, QWidget* parent = nullptr);
    ~TableView() override;

    // ---- Painting ------------------------------------------------------------
    // While suspended the table paints nothing but its colour (until the splash closes).
    bool paintSuspended() const { return paintSuspended_; }
    void setPaintSuspended(bool suspended);
    // Re-reads the table colour ("Settings\Background Color") and repaints.
    void applySettings();
    QColor tableColor() const { return tableColor_; }
    // (count - 1) * StackStep while the discard pile is painted spread, else 0.
    int discardSpreadExtra() const { return spreadExtra_; }
    // Ends the spread display of the discard pile that follows a deal.
    void collapseDiscardPile();
    // Repaints the rectangle at once, background included.
    void invalidateTableRect(const TableRect& rect);
    void repaintTable();
    // The panels the paint keeps up to date; nullptr for none.
    void setStatusPanels(StatusPanels* panels);

    // ---- Card flights ---------------------------------------------------------
    // The flight of a card whose record already lies at its destination. The card the
    // player draws from the stock and the top card of a pile the player takes are
    // highlighted at their destination for a moment; every other move is not.
    void moveCard(const CardRecord& card, int fromX, int fromY, int toX, int toY);
    void moveCard(const CardRecord& card, int fromX, int fromY, int toX, int toY, bool highlight);
    // Whether the five-argument moveCard highlights this move.
    bool highlightWanted(const CardRecord& card, int fromX, int fromY) const;
    // Number of flight steps for a move: its length over a step of 4 * speed + 1
    // pixels, halves rounded to even. 0 steps means no flight.
    static int flightSteps(int dx, int dy, int speed);
    bool moveInProgress() const { return moveInProgress_; }
    // Keeps the card on top of the discard pile highlighted until the player's next
    // click or key, or until another card covers it.
    void highlightUntilNextAction(const CardRecord& card);
    bool lastingHighlightShown() const;
    // Waits with the hourglass cursor; the screen and timers go on, the player's input waits.
    void pause(int milliseconds);
    // The hourglass while the computer plays or a deal runs; calls nest.
    void setBusyCursor(bool busy);

    // ---- Phase hint, refusals, End Hand -------------------------------------------
    // The hint of a phase 0..9 as the player's options word it.
    QString phaseHintText(TurnPhase phase) const;
    // Shows the phase's hint in normal colour and clears any refusal.
    void showPhaseHint(TurnPhase phase);
    // Number 0 clears a refusal and shows the current phase's hint; 1..9 beep and show
    // the text in red and bold for 600 ms, then in normal colour until the next hint.
    void showInputError(int number, const QString& text);
    QString hintText() const { return hintText_; }
    bool errorShowing() const { return errorShown_; }
    bool errorColourShowing() const { return errorBlinkTimer_.isActive(); }
    // Shows or hides the End Hand button (through endHandButtonChanged).
    void setStockExhausted(bool exhausted);
    // A menu hint now fills the status line; the next mouse move over the table brings
    // the phase hint back.
    void markMenuHintShown() { menuHintShown_ = true; }

    // ---- Turn window ----------------------------------------------------------------
    void showTurnWindow(const QString& text);
    void setChatWindow(QWidget* chat);
    TurnIndicator& turnIndicator() { return *turnIndicator_; }

    // ---- Input --------------------------------------------------------------------------
    // The spot under the point; the stock, the discard pile and a natural hand card
    // mark the game as in progress.
    HitResult hitTest(int x, int y);
    // A mouse release on the table at (x, y), as the player or a key gives it.
    void tableMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    // A key for the table; true when the table used it. The main window passes the
    // keys it sees first (before its other controls) here. The scan code places a
    // rank key of the digit row (0 when not known).
    bool tableKeyDown(int key, Qt::KeyboardModifiers modifiers, const QString& text = {},
                      std::uint32_t nativeScanCode = 0);
    // Throws away the clicks and keys that arrived while the computer played: they
    // were held back by its pauses and must not act in the player's turn.
    void dropInputMadeDuringComputerTurn();
    int keyboardMode() const { return keyboardMode_; }
    // Shows the computer's cards face up (and spread wider), or hides them again.
    void toggleComputerHandReveal();
    // While a connection attempt runs the table ignores the mouse.
    void setConnectionAttempt(bool running) { connecting_ = running; }
    // What a left click at the pointer would act on, outlined on the table: empty
    // when the pointer is off the table, a card is in flight or the click would be refused.
    QRect clickTargetOutline();
    // The column the last rank key selected, marked while its keyboard mode lasts.
    QRect keyboardColumnOutline() const;
    int discardClicks() const { return discardClicks_; }
    int lastRightClicked() const { return lastRightClicked_; }

signals:
    void hintChanged(const QString& text, bool isError);
    // The End Hand button is shown while the stock is exhausted and enabled in phase 0.
    void endHandButtonChanged(bool visible, bool enabled);
    // The Rules menu item's hint once the first card of the game has been drawn.
    void rulesHintChanged(const QString& hint);
    // A key the chat window's input line should have (network game only).
    void chatKeyPressed(int key, Qt::KeyboardModifiers modifiers, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // A Ctrl+rank key of a keyboard mode stays the table's, ahead of a menu shortcut.
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The player acts: the computer's discard is no longer highlighted.
    void endLastingHighlight();
    void handleMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void leftRelease(const HitResult& hit, Qt::KeyboardModifiers modifiers);
    void rightRelease(const HitResult& hit);
    void rankKey(int column, Qt::KeyboardModifiers modifiers);
    void enterKeyboardMode(int mode, TurnPhase phase);
    // 0: one right click discards; 1: two right clicks on the same card.
    int discardOption() const;
    bool networkGame() const;
    void setHint(const QString& text, bool isError);
    void onErrorBlinkTimer();
    // Runs a game operation started by input; a programming error is shown in an
    // error box and the program goes on.
    template <typename Action>
    void guarded(Action action);

    CanastaGame& game_;
    CardImages& images_;
    SettingsAccess& settings_;
    StatusPanels* panels_ = nullptr;
    TurnIndicator* turnIndicator_ = nullptr;

    bool paintSuspended_ = false;
    QColor tableColor_;
    int spreadExtra_ = 0;
    TablePaintInput paint_;

    bool moveInProgress_ = false;
    int busyDepth_ = 0;

    QString hintText_;
    bool errorShown_ = false;
    // Refusals shown so far, to tell an action that went through.
    int refusals_ = 0;
    bool menuHintShown_ = false;
    QTimer errorBlinkTimer_;

    bool connecting_ = false;
    int keyboardMode_ = KeyboardMeld;
    int discardClicks_ = 0;
    int lastRightClicked_ = -1;
    int selectedColumn_ = -1;
    std::optional<CardRecord> lastingHighlight_;
    QPoint pointer_;
    bool pointerOnTable_ = false;
    QRect shownClickTarget_;
};

}  // namespace meldora
