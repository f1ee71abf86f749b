// Where each side keeps its cards. The human's hand stands in rank columns
// below the human's melds, which grow downwards from their row; the computer's
// hand is a row along the top of the table, and its melds grow upwards. Every
// card that enters or leaves a hand or a meld is placed here, whoever moves it.
#include <algorithm>
#include <stdexcept>

#include "core/column_runs.h"
#include "core/game.h"

namespace meldora {

namespace {

constexpr int CanastaSize = 7;

}  // namespace

void CanastaGame::PutInHand(Side side, CardRecord& card)
{
    Seat& seat = SeatOf(side);
    if (side == Side::Human) {
        card.FaceUp = true;
        PlaceInColumn(seat.Hand, true, false, card);
    } else {
        int x = LeftMargin - Presentation.ComputerHandSpacing;
#pragma GCC unroll 4
        for (int i = 0, count = seat.Hand.Count; i < count; ++i)
            x = std::max<int>(x, seat.Hand.Cards[i].X);
        card.FaceUp = Presentation.ComputerHandRevealed;
        card.X = x + Presentation.ComputerHandSpacing;
        card.Y = Layout.ComputerHandTop;
    }
    AppendCard(seat.Hand, card);
}

CardRecord CanastaGame::TakeFromHand(Side side, int index)
{
    CardPile& hand = SeatOf(side).Hand;
    if (index < 0 || index >= hand.Count)
        throw std::out_of_range("hand index outside the hand");
    if (side == Side::Human)
        return RemoveCardAt(hand, index, +1, false, hand.Cards[index].Rank);
    // The computer's row closes up: every card right of the one taken moves one place left.
    const CardRecord removed = TakeCardAt(hand, index);
    const int spacing = Presentation.ComputerHandSpacing;
    // Unrolled, the loop's own count and jump are paid once for several cards.
#pragma GCC unroll 4
    for (int i = 0, count = hand.Count; i < count; ++i) {
        CardRecord& c = hand.Cards[i];
        if (c.X > removed.X)
            c.X -= spacing;
    }
    return removed;
}

void CanastaGame::PlaceOnMeld(Side side, CardRecord& card, int column, int before)
{
    if (column < 0 || column >= ColumnCount)
        throw std::out_of_range("meld column outside the table");
    Seat& seat = SeatOf(side);
    ColumnEnd& end = seat.Melds.ColumnEnds[column];
    card.FaceUp = true;
    if (side == Side::Human) {
        // On a canasta the card joins the squared pile instead of lengthening the column.
        const bool onCanasta = seat.Canastas.Kind[column] != NoCanasta;
        if (IsWild(card.Rank)) {
            if (!onCanasta)
                end.Y += StackStep;
            card.X = end.X;
            card.Y = end.Y;
        } else {
            PlaceInColumn(seat.Melds, true, onCanasta, card);
        }
        return;
    }
    const bool onSquaredPile = before >= CanastaSize;
    if (IsWild(card.Rank)) {
        card.X = Layout.ColumnX(column);
        card.Y = onSquaredPile ? Layout.ComputerMeldBase - StackStep : end.Y - StackStep;
        end.Y = card.Y;
    } else {
        PlaceInColumn(seat.Melds, false, onSquaredPile, card);
        if (onSquaredPile)
            card.Y = Layout.ComputerMeldBase - StackStep;
    }
}

int CanastaGame::MeldDirection(Side side) { return side == Side::Human ? +1 : -1; }

int CanastaGame::ColumnSize(Side side, int column) const
{
    const CardPile& melds = SeatOf(side).Melds;
    const ColumnSpan span(Layout, column);
    int size = 0;
    for (int i = 0, count = melds.Count; i < count; ++i)
        size += span.Holds(melds.Cards[i]) ? 1 : 0;
    return size;
}

TableRect CanastaGame::HandArea(Side side) const
{
    const TableLayout& l = Layout;
    if (side == Side::Human)
        return {0, l.HumanHandBase, l.ClientWidth, std::max(0, l.TableHeight - l.HumanHandBase)};
    return {0, l.ComputerHandTop, l.ClientWidth, l.CardHeight};
}

}  // namespace meldora
