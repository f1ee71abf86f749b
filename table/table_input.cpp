// The player's clicks and keys on the table and the game operations they start.
#include "table/table_input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <exception>

#include "core/game.h"
#include "settings/setting_keys.h"
#include "table/click_target.h"
#include "table/prompts.h"
#include "table/table_view.h"

namespace meldora {

namespace {

constexpr const char* RulesLockedHint = " Changing the rules is only possible when starting a new game";

bool inside(int v, int from, int to) { return from <= v && v <= to; }

// The first card of the pile under the point. A card is shown whole when it is the
// last card placed in its column, otherwise only its strip at the top (narrower in
// a hand column drawn closer to stay on the table).
int cardUnder(const CanastaGame& game, const CardPile& pile, bool hand, int x, int y, int tableBottom)
{
    const TableLayout& l = game.Layout;
    for (int i = 0; i < pile.Count; ++i) {
        const CardRecord& c = pile.Cards[i];
        const int column = hand ? c.Rank : game.ColumnOf(c);
        if (column < 0 || column >= ColumnCount)
            continue;
        const ColumnEnd& end = pile.ColumnEnds[column];
        const bool whole = end.X == c.X && end.Y == c.Y;
        int top = c.Y;
        int strip = StackStep;
        if (hand) {
            top = shownHandCardY(pile, c, l.CardHeight, tableBottom);
            CardRecord below = c;
            below.Y += StackStep;
            strip = shownHandCardY(pile, below, l.CardHeight, tableBottom) - top;
        }
        const int height = whole ? l.CardHeight : strip;
        if (inside(x, c.X, c.X + l.CardWidth) && inside(y, top, top + height))
            return i;
    }
    return -1;
}

// Keys that stay with the table in a network game: modifiers alone and the control
// keys below the printable range.
bool isChatKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_Space:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Pause:
    case 0:
    case Qt::Key_unknown:
        return false;
    default:
        return true;
    }
}

// The keys of the digit row by their place on the keyboard (X and Wayland key
// codes: the kernel's code plus 8), so that a digit typed with Shift, or on a
// layout whose digits need Shift, still names its rank.
constexpr std::uint32_t DigitOneKeyCode = 10;
constexpr std::uint32_t DigitZeroKeyCode = 19;

int digitRowKey(std::uint32_t nativeScanCode)
{
    if (nativeScanCode < DigitOneKeyCode || nativeScanCode > DigitZeroKeyCode)
        return 0;
    if (nativeScanCode == DigitZeroKeyCode)
        return Qt::Key_0;
    return Qt::Key_1 + static_cast<int>(nativeScanCode - DigitOneKeyCode);
}

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

// Eats every click and key while it is installed on the application.
class InputDropper : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override { return isUserInput(event->type()); }
};

}  // namespace

int shownHandCardY(const CardPile& hand, const CardRecord& card, int cardHeight, int tableBottom)
{
    int top = card.Y;
    int cards = 0;
    for (int i = 0; i < hand.Count; ++i) {
        if (hand.Cards[i].X != card.X)
            continue;
        top = std::min<int>(top, hand.Cards[i].Y);
        ++cards;
    }
    if (cards <= 1 || top + (cards - 1) * StackStep + cardHeight <= tableBottom)
        return card.Y;
    const int step = std::max(1, (tableBottom - cardHeight - top) / (cards - 1));
    return top + (card.Y - top) / StackStep * step;
}

HitResult hitTestTable(const CanastaGame& game, int x, int y, int tableBottom)
{
    HitResult hit;
    if (game.Turn.Phase == TurnPhase::HandOver)
        return hit;
    const TableLayout& l = game.Layout;
    const bool pileX = inside(x, LeftMargin, LeftMargin + l.CardWidth);
    if (!game.Turn.StockExhausted && pileX && inside(y, l.StockTop, l.StockTop + l.CardHeight))
        hit.area = HitStock;
    else if (pileX && inside(y, l.DiscardTop, l.DiscardTop + l.CardHeight))
        hit.area = HitDiscardPile;

    bool handCard = false;
    if (hit.area == HitNothing) {
        if (const int i = cardUnder(game, game.Human().Hand, true, x, y, tableBottom); i >= 0) {
            hit = {game.Human().Hand.Cards[i].Rank < 2 ? HitWildHandCard : HitNaturalHandCard, i};
            handCard = true;
        }
    }
    if (!handCard) {
        if (const int i = cardUnder(game, game.Human().Melds, false, x, y, tableBottom); i >= 0) {
            const bool threes = game.Human().Melds.Cards[i].X == l.ColumnX(2);
            hit = {threes ? HitThreesMeldCard : HitMeldCard, i};
        }
    }
    return hit;
}

int keyboardColumn(int key, std::uint32_t nativeScanCode)
{
    if (const int digit = digitRowKey(nativeScanCode))
        key = digit;
    switch (key) {
    case Qt::Key_W:
        return 0;
    case Qt::Key_0:
        return 9;
    case Qt::Key_J:
        return 10;
    case Qt::Key_Q:
        return 11;
    case Qt::Key_K:
        return 12;
    case Qt::Key_A:
        return 13;
    default:
        if (key >= Qt::Key_2 && key <= Qt::Key_9)
            return key - Qt::Key_2 + 1;
        return -1;
    }
}

HitResult TableView::hitTest(int x, int y)
{
    const HitResult hit = hitTestTable(game_, x, y, height());
    if (hit.area == HitStock || hit.area == HitDiscardPile || hit.area == HitNaturalHandCard)
        game_.MarkGameInProgress();
    return hit;
}

template <typename Action>
void TableView::guarded(Action action)
{
    try {
        action();
    } catch (const std::exception& e) {
        prompts::error(window(), QString::fromLocal8Bit(e.what()));
    }
}

void TableView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    tableMouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

void TableView::tableMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)
{
    endLastingHighlight();
    guarded([&] { handleMouseUp(button, modifiers, x, y); });
    moveInProgress_ = false;
}

void TableView::handleMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)
{
    if (game_.Turn.ComputerTurn || connecting_)
        return;
    const HitResult hit = hitTest(x, y);
    const int refusalsBefore = refusals_;
    if (button == Qt::LeftButton) {
        collapseDiscardPile();
        leftRelease(hit, modifiers);
    } else if (button == Qt::RightButton) {
        rightRelease(hit);
    }
    // An action that went through takes an earlier refusal off the status line,
    // also when it leaves the phase as it was.
    if (hit.area != HitNothing && errorShown_ && refusals_ == refusalsBefore)
        showPhaseHint(game_.Turn.Phase);
}

void TableView::dropInputMadeDuringComputerTurn()
{
    // The pauses and flights of the computer's turn hold clicks and keys back
    // rather than letting them act in the middle of its moves; they are dropped
    // here instead of acting once the turn is over.
    InputDropper dropper;
    qApp->installEventFilter(&dropper);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&dropper);
}

void TableView::leftRelease(const HitResult& hit, Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    auto meldPhase = [this] {
        if (game_.Turn.Phase != TurnPhase::Taking)
            game_.SetPhase(TurnPhase::MeldDiscard);
    };

    switch (hit.area) {
    case HitStock:
        emit rulesHintChanged(RulesLockedHint);
        game_.DrawFromStock();
        break;
    case HitDiscardPile:
        if (game_.Turn.MustDraw) {
            game_.TakePile();
            if (!game_.Turn.MustDraw)
                emit rulesHintChanged(RulesLockedHint);
        } else if (game_.Take.Pending) {
            game_.SetPhase(TurnPhase::Draw);
            game_.UndoTake();
        } else {
            game_.ShowInputError(InputError::AlreadyDrawn);
        }
        break;
    case HitNaturalHandCard:
        if (!game_.Turn.HasDrawn) {
            game_.ShowInputError(InputError::MeldBeforeDraw);
        } else if (ctrl) {
            meldPhase();
            game_.MeldRank(hit.index, MeldRankMode::UpToThree);
        } else if (shift) {
            meldPhase();
            game_.MeldRank(hit.index, MeldRankMode::All);
        } else {
            meldPhase();
            game_.MeldCard(hit.index);
        }
        break;
    case HitMeldCard:
        if (!game_.Turn.HasDrawn) {
            game_.ShowInputError(InputError::MeldBeforeDraw);
        } else {
            const int column = game_.ColumnOf(game_.Human().Melds.Cards[hit.index]);
            if (shift)
                game_.FillCanasta(column);
            else
                game_.AddWildCard(column);
        }
        break;
    case HitWildHandCard:
        if (!game_.Turn.HasDrawn)
            game_.ShowInputError(InputError::MeldBeforeDraw);
        else
            game_.MeldWildcards(shift  ? WildMeldMode::UpToSeven
                                : ctrl ? WildMeldMode::UpToThree
                                       : WildMeldMode::One);
        break;
    default:
        break;
    }
}

void TableView::rightRelease(const HitResult& hit)
{
    if (hit.area == HitNaturalHandCard || hit.area == HitWildHandCard) {
        if (!game_.Turn.HasDrawn) {
            game_.ShowInputError(InputError::DiscardBeforeDraw);
            return;
        }
        // With two right clicks the same card must be clicked twice in a row; the
        // first click on a card only chooses it.
        const int option = discardOption();
        if (hit.index == lastRightClicked_) {
            if (discardClicks_ < option)
                ++discardClicks_;
        } else {
            lastRightClicked_ = hit.index;
            discardClicks_ = 0;
        }
        if (discardClicks_ != option)
            return;
        discardClicks_ = 0;
        lastRightClicked_ = -1;
        game_.DiscardCard(hit.index);
    } else if (hit.area == HitThreesMeldCard && game_.Rules.ThreeBlock) {
        game_.BlockWithRedThree(hit.index);
    }
}

// ---- Keys -------------------------------------------------------------------------------------

void TableView::keyPressEvent(QKeyEvent* event)
{
    if (!tableKeyDown(event->key(), event->modifiers(), event->text(), event->nativeScanCode()))
        QWidget::keyPressEvent(event);
}

bool TableView::tableKeyDown(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                             std::uint32_t nativeScanCode)
{
    const bool modifierOnly = key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
                              key == Qt::Key_AltGr || key == Qt::Key_Meta;
    if (!modifierOnly)
        endLastingHighlight();
    const TurnPhase phase = game_.Turn.Phase;
    if (phase >= TurnPhase::KeyboardMeld && phase <= TurnPhase::KeyboardWildcard) {
        if (const int column = keyboardColumn(key, nativeScanCode); column >= 0) {
            rankKey(column, modifiers);
            return true;
        }
    }

    const TableLayout& l = game_.Layout;
    switch (key) {
    case Qt::Key_F5:
        return true;
    case Qt::Key_F6: tableMouseUp(Qt::LeftButton, modifiers, LeftMargin, l.StockTop); return true;
    case Qt::Key_F7: tableMouseUp(Qt::LeftButton, modifiers, LeftMargin, l.DiscardTop); return true;
    case Qt::Key_F8: enterKeyboardMode(KeyboardMeld, TurnPhase::KeyboardMeld); return true;
    case Qt::Key_F9: enterKeyboardMode(KeyboardAddWild, TurnPhase::KeyboardWildcard); return true;
    case Qt::Key_F10: enterKeyboardMode(KeyboardDiscard, TurnPhase::KeyboardDiscard); return true;
    case Qt::Key_Escape:
        // Back to the draw while it is still due: the End Hand button needs phase 0,
        // and a player facing an exhausted stock must be able to reach it again.
        enterKeyboardMode(keyboardMode_, game_.Turn.MustDraw ? TurnPhase::Draw : TurnPhase::MeldDiscard);
        return true;
    case Qt::Key_F11:
        if (modifiers & Qt::ControlModifier)
            toggleComputerHandReveal();
        return true;
    default:
        break;
    }

    if (networkGame() && isChatKey(key)) {
        emit chatKeyPressed(key, modifiers, text);
        return true;
    }
    return false;
}

void TableView::enterKeyboardMode(int mode, TurnPhase phase)
{
    // Between turns the phase belongs to the game: changing it would let the table
    // answer clicks while the opponent plays or the next hand is awaited.
    if (game_.Turn.ComputerTurn || game_.Turn.Phase == TurnPhase::Opponent || game_.Turn.Phase == TurnPhase::HandOver)
        return;
    keyboardMode_ = mode;
    selectedColumn_ = -1;
    guarded([&] { game_.SetPhase(phase); });
}

void TableView::rankKey(int column, Qt::KeyboardModifiers modifiers)
{
    const TableLayout& l = game_.Layout;
    const int x = l.ColumnX(column);
    selectedColumn_ = column;
    const bool hadDrawn = game_.Turn.HasDrawn;
    switch (keyboardMode_) {
    case KeyboardMeld: tableMouseUp(Qt::LeftButton, modifiers, x, l.HumanHandBase + StackStep); break;
    case KeyboardDiscard: tableMouseUp(Qt::RightButton, modifiers, x, l.HumanHandBase + StackStep); break;
    default: tableMouseUp(Qt::LeftButton, modifiers, x, l.HumanMeldBase + StackStep); break;
    }
    // A discard that ended the turn leaves the new phase and its hint alone.
    const bool turnEnded = hadDrawn && !game_.Turn.HasDrawn;
    if (turnEnded || errorShown_ || game_.Turn.ComputerTurn || game_.Turn.Phase == TurnPhase::Opponent ||
        game_.Turn.Phase == TurnPhase::HandOver)
        return;
    static constexpr TurnPhase PhaseOfMode[] = {TurnPhase::KeyboardMeld, TurnPhase::KeyboardDiscard,
                                                TurnPhase::KeyboardWildcard};
    guarded([&] { game_.SetPhase(PhaseOfMode[keyboardMode_]); });
}

void TableView::toggleComputerHandReveal()
{
    game_.ToggleComputerHandReveal();
    const TableLayout& l = game_.Layout;
    const int width = std::max(0, (game_.Computer().Hand.Count - 1) * 12) + l.CardWidth;
    invalidateTableRect({LeftMargin, l.ComputerHandTop, width, l.CardHeight});
}

// ---- Menu hints -----------------------------------------------------------------------------

void TableView::mouseMoveEvent(QMouseEvent* event)
{
    pointer_ = event->position().toPoint();
    pointerOnTable_ = true;
    if (clickTargetOutline() != shownClickTarget_)
        update();
    if (menuHintShown_) {
        menuHintShown_ = false;
        showPhaseHint(game_.Turn.Phase);
    }
    QWidget::mouseMoveEvent(event);
}

void TableView::leaveEvent(QEvent* event)
{
    pointerOnTable_ = false;
    if (!shownClickTarget_.isEmpty())
        update();
    QWidget::leaveEvent(event);
}

// ---- What a click or key would act on -------------------------------------------------------

QRect TableView::clickTargetOutline()
{
    if (!pointerOnTable_ || moveInProgress_ || connecting_)
        return {};
    const TableRect r = targetOutline(game_, leftClickTarget(game_, pointer_.x(), pointer_.y(), height()), height());
    return {r.X, r.Y, r.Width, r.Height};
}

QRect TableView::keyboardColumnOutline() const
{
    const TurnPhase phase = game_.Turn.Phase;
    if (selectedColumn_ < 0 || phase < TurnPhase::KeyboardMeld || phase > TurnPhase::KeyboardWildcard)
        return {};
    const TableRect r = meldora::keyboardColumnOutline(game_, selectedColumn_, keyboardMode_ == KeyboardAddWild, height());
    return {r.X, r.Y, r.Width, r.Height};
}

// ---- Menu shortcuts -------------------------------------------------------------------------

bool TableView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const TurnPhase phase = game_.Turn.Phase;
        if (phase >= TurnPhase::KeyboardMeld && phase <= TurnPhase::KeyboardWildcard &&
            keyboardColumn(key->key(), key->nativeScanCode()) >= 0) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

}  // namespace meldora
