// The canastas of the help: the player's hand is made up from the stock (and,
// where the stock lacks a card, from the computer's hand) so that seven eights
// become a natural canasta beside an ordinary meld of three sevens, and four kings
// with three wild cards and five queens with two become mixed canastas. Every card
// is melded by a click on the table, as the player would meld it.
#include <QPainter>

#include "help_pictures.h"
#include "table/table_view.h"

namespace meldora::help_pictures {

namespace {

constexpr std::uint32_t CanastaSeed = 2024;
// The canastas are pictured with the cards of the 1024 x 768 table, large enough to read.
constexpr int CanastaWindowSize = 2;
// Room for the canasta's label below its pile.
constexpr int LabelRoom = 66;

struct HandPart {
    int rank;  // Joker stands for any wild card
    int count;
};

bool matches(const CardRecord& card, int rank)
{
    return rank == Joker ? IsWild(card.Rank) : card.Rank == rank && !IsRedThree(card.Id);
}

// Moves a card of the rank into the player's hand: from the stock, else from the
// computer's hand, which gets the stock's top card in its place.
bool giveToPlayer(CanastaGame& game, int rank)
{
    for (int i = 0; i < game.Stock.Count; ++i) {
        if (!matches(game.Stock.Cards[i], rank))
            continue;
        CardRecord card = RemoveCardAt(game.Stock, i, 0, true, 0);
        game.PutInHand(Side::Human, card);
        return true;
    }
    for (int i = 0; i < game.Computer().Hand.Count; ++i) {
        if (!matches(game.Computer().Hand.Cards[i], rank) || game.Stock.Count == 0)
            continue;
        CardRecord card = game.TakeFromHand(Side::Computer, i);
        game.PutInHand(Side::Human, card);
        CardRecord replacement = PopCard(game.Stock);
        game.PutInHand(Side::Computer, replacement);
        return true;
    }
    return false;
}

// The player's hand goes back to the stock and the parts are dealt to it instead.
bool makeUpHand(CanastaGame& game, std::initializer_list<HandPart> parts)
{
    while (game.Human().Hand.Count > 0) {
        CardRecord card = game.TakeFromHand(Side::Human, 0);
        card.X = LeftMargin;
        card.Y = game.Layout.StockTop;
        card.FaceUp = false;
        AppendCard(game.Stock, card);
    }
    for (const HandPart& part : parts)
        for (int i = 0; i < part.count; ++i)
            if (!giveToPlayer(game, part.rank))
                return false;
    return true;
}

const CardRecord* meldCardOfColumn(const CanastaGame& game, int column)
{
    for (int i = 0; i < game.Human().Melds.Count; ++i)
        if (game.ColumnOf(game.Human().Melds.Cards[i]) == column)
            return &game.Human().Melds.Cards[i];
    return nullptr;
}

// Melds every card of the rank with Shift and a left click on one of them, then,
// when wild cards are wanted, fills the meld up to a canasta with Shift and a left
// click on the meld.
bool meld(PictureWindow& window, int rank, bool fillWithWildCards)
{
    CanastaGame& game = window.game();
    const int index = handCardOfRank(game, rank);
    if (index < 0)
        return false;
    clickCard(window, Qt::LeftButton, Qt::ShiftModifier, game.Human().Hand.Cards[index]);
    if (!fillWithWildCards)
        return true;
    const CardRecord* meldCard = meldCardOfColumn(game, rank);
    if (meldCard == nullptr)
        return false;
    clickCard(window, Qt::LeftButton, Qt::ShiftModifier, *meldCard);
    return true;
}

bool isCanasta(const CanastaGame& game, int column, std::uint8_t kind, int naturals, int cards)
{
    const CanastaState& canastas = game.Human().Canastas;
    return canastas.Kind[column] == kind && canastas.NaturalCount[column] == naturals &&
           game.Human().MeldCount[column] == cards;
}

// Two neighbouring meld columns of the player with the labels below them.
QImage columnsPicture(PictureWindow& window, const QImage& picture, int firstColumn)
{
    const TableLayout& l = window.game().Layout;
    const int left = l.ColumnX(firstColumn) - StackStep;
    const int right = l.ColumnX(firstColumn + 1) + l.CardWidth + StackStep;
    const QRect area(left, l.HumanMeldBase + StackStep / 2, right - left, l.CardHeight + LabelRoom);
    return picture.copy(onWindow(window, area));
}

}  // namespace

bool renderCanastaPictures(PictureWindow& window, const QDir& folder)
{
    window.applyWindowSize(CanastaWindowSize);
    dealForPlayer(window, CanastaSeed);
    CanastaGame& game = window.game();
    window.table().tableMouseUp(Qt::LeftButton, Qt::NoModifier, LeftMargin + 5, game.Layout.StockTop + 5);
    if (!game.Turn.HasDrawn)
        return fail(QStringLiteral("the draw before the canastas did not complete"));
    if (!makeUpHand(game, {{Seven, 3}, {Eight, 7}, {Queen, 5}, {King, 4}, {Joker, 5}, {Five, 1}, {Nine, 1}}))
        return fail(QStringLiteral("the cards for the canastas are not to be had"));
    window.table().repaintTable();

    if (!meld(window, Eight, false) || !meld(window, Seven, false) || !meld(window, King, true) ||
        !meld(window, Queen, true))
        return fail(QStringLiteral("a meld for the canastas could not be laid"));
    game.RecountColumns();
    if (!isCanasta(game, Eight, NaturalCanasta, 7, 7) || game.Human().MeldCount[Seven] != 3 ||
        game.Human().Canastas.Kind[Seven] != NoCanasta)
        return fail(QStringLiteral("the eights are not a natural canasta beside three sevens"));
    if (!isCanasta(game, King, MixedCanasta, 4, 7) || !isCanasta(game, Queen, MixedCanasta, 5, 7))
        return fail(QStringLiteral("the kings and queens are not mixed canastas of 4/3 and 5/2"));

    if (window.sizeIndex() != CanastaWindowSize)
        return fail(QStringLiteral("the table for the canastas did not take its size"));
    const QImage picture = grabWindow(window);
    return savePicture(columnsPicture(window, picture, Seven), folder, QStringLiteral("canasta_natural.png")) &&
           savePicture(columnsPicture(window, picture, Queen), folder, QStringLiteral("canasta_mixed.png"));
}

}  // namespace meldora::help_pictures
