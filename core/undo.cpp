// Undo of the human's melds: every card moved from the hand to the table since
// the last discard, pass, completed take or deal can be taken back, newest first.
#include "core/game.h"

#include <stdexcept>
#include <string>

#include "core/table_host.h"

namespace meldora {

namespace {

// Separates the fields of a message to the network partner.
constexpr char FieldSeparator = '\xFE';

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
    UndoStack.push_back({card, Layout.ColumnPitch});
    host_.UndoItemsEnabled(true);
}

UndoEntry CanastaGame::PopUndo()
{
    if (UndoStack.empty())
        throw std::out_of_range("undo from an empty undo stack");
    const UndoEntry entry = UndoStack.back();
    UndoStack.pop_back();
    return entry;
}

void CanastaGame::ClearUndo() { UndoStack.clear(); }

bool CanastaGame::BreakCanastaOfSeven(int column)
{
    if (column < 0 || column >= ColumnCount || HumanCanastas.Kind[column] == NoCanasta)
        return false;
    int inColumn = 0;
    for (int i = 0; i < HumanMelds.Count; ++i)
        if (ColumnOf(HumanMelds.Cards[i]) == column)
            ++inColumn;
    if (inColumn != 7)
        return false;

    --HumanCanastas.Count;
    HumanCanastas.Kind[column] = NoCanasta;
    ColumnEnd& end = HumanMelds.ColumnEnds[column];
    end.Y = Layout.HumanMeldBase + StackStep;
    for (int i = 0; i < HumanMelds.Count; ++i) {
        CardRecord& c = HumanMelds.Cards[i];
        if (ColumnOf(c) == column) {
            c.Y = end.Y;
            end.Y += StackStep;
        }
    }
    end.Y -= StackStep;
    return true;
}

void CanastaGame::UndoMeld()
{
    if (UndoRunning || UndoStack.empty())
        return;
    UndoRunningScope running(UndoRunning);

    const UndoEntry entry = PopUndo();
    // The card's x and the pitch saved with it name the column even when the
    // window has been resized since the card was melded.
    int column = entry.ColumnPitch > 0 ? (entry.Card.X - LeftMargin) / entry.ColumnPitch : -1;

    // Wild cards of one kind may lie in several columns: look in the card's own
    // column first.
    int index = -1;
    for (int i = HumanMelds.Count - 1; i >= 0 && index < 0; --i)
        if (HumanMelds.Cards[i].Id == entry.Card.Id && ColumnOf(HumanMelds.Cards[i]) == column)
            index = i;
    for (int i = HumanMelds.Count - 1; i >= 0 && index < 0; --i)
        if (HumanMelds.Cards[i].Id == entry.Card.Id)
            index = i;
    if (index < 0) {
        if (UndoStack.empty())
            host_.UndoItemsEnabled(false);
        return;
    }
    column = ColumnOf(HumanMelds.Cards[index]);
    if (column < 0 || column >= ColumnCount)
        throw std::out_of_range("meld card outside the table's columns");

    BreakCanastaOfSeven(column);
    const bool squared = HumanCanastas.Kind[column] != NoCanasta;
    CardRecord card = RemoveCardAt(HumanMelds, index, +1, squared, column);
    AppendCard(KnownHumanCards, card);
    CheckCanasta(Side::Human, column);

    const int fromX = card.X;
    const int fromY = card.Y;
    PlaceInColumn(HumanHand, true, false, card);
    AppendCard(HumanHand, card);
    host_.MoveCard(card, fromX, fromY, card.X, card.Y);
    if (UndoStack.empty())
        host_.UndoItemsEnabled(false);
    host_.SendMessage("UNDO", std::to_string(column) + FieldSeparator + std::to_string(card.Id));
}

void CanastaGame::UndoAll()
{
    if (UndoRunning)
        return;
    while (!UndoStack.empty())
        UndoMeld();
}

}  // namespace meldora
