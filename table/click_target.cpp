#include "table/click_target.h"

#include <algorithm>

#include "core/game.h"

namespace meldora {

namespace {

// Seven cards make a canasta; the wild cards' own canasta is built in the twos' column.
constexpr int CanastaSize = 7;
constexpr int WildcardColumn = Two;

bool handHoldsWildCard(const CanastaGame& game)
{
    const Seat& human = game.Human();
    for (int i = 0; i < human.Hand.Count; ++i)
        if (IsWild(human.Hand.Cards[i].Rank))
            return true;
    return false;
}

int wildCardsInHand(const CanastaGame& game)
{
    int count = 0;
    const Seat& human = game.Human();
    for (int i = 0; i < human.Hand.Count; ++i)
        if (IsWild(human.Hand.Cards[i].Rank))
            ++count;
    return count;
}

// Mirrors the refusals of the meld commands a plain left click starts.
bool meldClickAccepted(CanastaGame& game, const HitResult& hit)
{
    if (!game.Turn.HasDrawn)
        return false;
    const Seat& human = game.Human();
    switch (hit.area) {
    case HitNaturalHandCard:
        return !IsBlackThree(human.Hand.Cards[hit.index].Id) || game.BlackThreesMayBeMelded();
    case HitMeldCard: {
        if (!handHoldsWildCard(game))
            return false;
        game.RecountColumns();
        const int column = game.ColumnOf(human.Melds.Cards[hit.index]);
        const bool enoughCanastas = human.Canastas.Count >= game.Rules.NumberOfCanastas;
        return human.Hand.Count > 1 || enoughCanastas || human.MeldCount[column] == CanastaSize - 1;
    }
    case HitWildHandCard:
        game.RecountColumns();
        return game.Rules.WildcardCanasta &&
               wildCardsInHand(game) + human.MeldCount[WildcardColumn] >= CanastaSize;
    default:
        return false;
    }
}

TableRect unite(const TableRect& a, const TableRect& b)
{
    if (a.Width == 0)
        return b;
    const int left = std::min(a.X, b.X);
    const int top = std::min(a.Y, b.Y);
    const int right = std::max(a.X + a.Width, b.X + b.Width);
    const int bottom = std::max(a.Y + a.Height, b.Y + b.Height);
    return {left, top, right - left, bottom - top};
}

// The part of a hand card that shows: all of it at the end of its column, else its
// strip above the card that covers it.
TableRect handCardRect(const CanastaGame& game, const CardRecord& card, int tableBottom)
{
    const TableLayout& l = game.Layout;
    const CardPile& hand = game.Human().Hand;
    const int top = shownHandCardY(hand, card, l.CardHeight, tableBottom);
    int bottom = top + l.CardHeight;
    for (int i = 0; i < hand.Count; ++i) {
        const CardRecord& other = hand.Cards[i];
        if (other.X != card.X || other.Y <= card.Y)
            continue;
        bottom = std::min(bottom, shownHandCardY(hand, other, l.CardHeight, tableBottom));
    }
    return {card.X, top, l.CardWidth, bottom - top};
}

// A hand card whole where it is shown; a column is the union of its cards.
TableRect wholeHandCardRect(const CanastaGame& game, const CardRecord& card, int tableBottom)
{
    const TableLayout& l = game.Layout;
    return {card.X, shownHandCardY(game.Human().Hand, card, l.CardHeight, tableBottom), l.CardWidth, l.CardHeight};
}

TableRect meldColumnRect(const CanastaGame& game, int column)
{
    const TableLayout& l = game.Layout;
    TableRect rect;
    const CardPile& melds = game.Human().Melds;
    for (int i = 0; i < melds.Count; ++i)
        if (game.ColumnOf(melds.Cards[i]) == column)
            rect = unite(rect, {melds.Cards[i].X, melds.Cards[i].Y, l.CardWidth, l.CardHeight});
    return rect;
}

}  // namespace

HitResult leftClickTarget(CanastaGame& game, int x, int y, int tableBottom)
{
    if (game.Turn.ComputerTurn || game.Turn.Phase == TurnPhase::Opponent)
        return {};
    const HitResult hit = hitTestTable(game, x, y, tableBottom);
    bool accepted = false;
    switch (hit.area) {
    case HitStock:
        accepted = !game.Turn.HasDrawn && game.Stock.Count > 0;
        break;
    case HitDiscardPile:
        accepted = game.Turn.MustDraw ? game.CanTakePile(Side::Human, true) : game.Take.Pending;
        break;
    default:
        accepted = meldClickAccepted(game, hit);
        break;
    }
    return accepted ? hit : HitResult{};
}

TableRect targetOutline(const CanastaGame& game, const HitResult& target, int tableBottom)
{
    const TableLayout& l = game.Layout;
    switch (target.area) {
    case HitStock:
        return {LeftMargin, l.StockTop, l.CardWidth, l.CardHeight};
    case HitDiscardPile:
        return {LeftMargin, l.DiscardTop, l.CardWidth, l.CardHeight};
    case HitNaturalHandCard:
    case HitWildHandCard:
        return handCardRect(game, game.Human().Hand.Cards[target.index], tableBottom);
    case HitMeldCard:
        return meldColumnRect(game, game.ColumnOf(game.Human().Melds.Cards[target.index]));
    default:
        return {};
    }
}

TableRect keyboardColumnOutline(const CanastaGame& game, int column, bool meldColumn, int tableBottom)
{
    if (meldColumn)
        return meldColumnRect(game, column);
    TableRect rect;
    const CardPile& hand = game.Human().Hand;
    for (int i = 0; i < hand.Count; ++i)
        if (hand.Cards[i].Rank == column)
            rect = unite(rect, wholeHandCardRect(game, hand.Cards[i], tableBottom));
    return rect;
}

}  // namespace meldora
