// Undo of the human's melds: every card moved from the hand to the table since
// the last discard, pass, completed take or deal can be taken back, newest first.
#include "core/game.h"

#include <stdexcept>
#include <string>

#include "core/table_host.h"

namespace meldora {

namespace {

// Card flights let the window process events; a second undo must not start meanwhile.
class UndoRunningScope {
public:
    explicit UndoRunningScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~UndoRunningScope() { flag_ = false; }
    UndoRunningScope(const UndoRunningScope&) = delete;
    UndoRunningScope& operator=(const UndoRunningScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

void CanastaGame::PushUndo(const CardRecord& card)
{
    Undo.Stack.push_back({card, Layout.ColumnPitch});
    host_->UndoItemsEnabled(true);
}

UndoEntry CanastaGame::PopUndo()
{
    if (Undo.Stack.empty())
        throw std::out_of_range("undo from an empty undo stack");
    const UndoEntry entry = Undo.Stack.back();
    Undo.Stack.pop_back();
    return entry;
}

void CanastaGame::ClearUndo() { Undo.Stack.clear(); }

bool CanastaGame::BreakCanastaOfSeven(Side side, int column)
{
    Seat& seat = SeatOf(side);
    if (column < 0 || column >= ColumnCount || seat.Canastas.Kind[column] == NoCanasta)
        return false;
    if (ColumnSize(side, column) != 7)
        return false;

    --seat.Canastas.Count;
    seat.Canastas.Kind[column] = NoCanasta;
    const int step = MeldDirection(side) * StackStep;
    ColumnEnd& end = seat.Melds.ColumnEnds[column];
    end.Y = (side == Side::Human ? Layout.HumanMeldBase : Layout.ComputerMeldBase) + step;
    for (int i = 0; i < seat.Melds.Count; ++i) {
        CardRecord& c = seat.Melds.Cards[i];
        if (ColumnOf(c) == column) {
            c.Y = end.Y;
            end.Y += step;
        }
    }
    end.Y -= step;
    return true;
}

void CanastaGame::UndoMeld()
{
    if (Undo.Running || Undo.Stack.empty())
        return;
    UndoRunningScope running(Undo.Running);

    const UndoEntry entry = PopUndo();
    // The card's x and the pitch saved with it name the column even when the
    // window has been resized since the card was melded.
    int column = entry.ColumnPitch > 0 ? (entry.Card.X - LeftMargin) / entry.ColumnPitch : -1;

    // Wild cards of one kind may lie in several columns: look in the card's own
    // column first.
    int index = -1;
    for (int i = Human().Melds.Count - 1; i >= 0 && index < 0; --i)
        if (Human().Melds.Cards[i].Id == entry.Card.Id && ColumnOf(Human().Melds.Cards[i]) == column)
            index = i;
    for (int i = Human().Melds.Count - 1; i >= 0 && index < 0; --i)
        if (Human().Melds.Cards[i].Id == entry.Card.Id)
            index = i;
    if (index < 0) {
        if (Undo.Stack.empty())
            host_->UndoItemsEnabled(false);
        return;
    }
    column = ColumnOf(Human().Melds.Cards[index]);
    if (column < 0 || column >= ColumnCount)
        throw std::out_of_range("meld card outside the table's columns");

    BreakCanastaOfSeven(Side::Human, column);
    const bool squared = Human().Canastas.Kind[column] != NoCanasta;
    CardRecord card = RemoveCardAt(Human().Melds, index, +1, squared, column);
    AppendCard(Memory.KnownOpponentCards, card);
    CheckCanasta(Side::Human, column);

    const int fromX = card.X;
    const int fromY = card.Y;
    PutInHand(Side::Human, card);
    host_->MoveCard(card, fromX, fromY, card.X, card.Y);
    if (Undo.Stack.empty())
        host_->UndoItemsEnabled(false);
    host_->SendMessage("UNDO", std::to_string(column) + MessageFieldSeparator + std::to_string(card.Id));
}

void CanastaGame::UndoAll()
{
    if (Undo.Running)
        return;
    while (!Undo.Stack.empty())
        UndoMeld();
}

}  // namespace meldora
