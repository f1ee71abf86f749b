// One turn of the player from draw to discard, and the computer's reply, as the
// help page "An example turn" walks through it: the deal gives two aces, the draw
// brings the third, the three aces are the first meld and the lone four is discarded.
#include <QApplication>
#include <QPainter>
#include <QTimer>

#include "help_pictures.h"
#include "table/table_view.h"

namespace meldora::help_pictures {

namespace {

constexpr std::uint32_t TurnSeed = 130;
// The drawn card stays highlighted for a moment; the picture is taken halfway through.
constexpr int HighlightPictureDelay = 150;

// The part of the window from the given table height down to the bottom of the
// table, or of the status bar with its hint and numbers.
QImage lowerPart(PictureWindow& window, const QImage& picture, int tableTop, bool withStatusBar)
{
    const QPoint table = window.table().mapTo(&window, QPoint(0, 0));
    const int bottom = withStatusBar ? picture.height() : table.y() + window.table().height();
    return picture.copy(QRect(0, table.y() + tableTop, picture.width(), bottom - table.y() - tableTop));
}

// A mark whose name sits above the area, ending at its right edge.
void labelAbove(QPainter& painter, const QRect& area, const QString& name)
{
    const int width = painter.fontMetrics().horizontalAdvance(name) + 10;
    label(painter, area, name, QPoint(area.right() - width, area.top() - painter.fontMetrics().height() - 12));
}

QRect cardRect(PictureWindow& window, const CardRecord& card)
{
    const TableLayout& l = window.game().Layout;
    return onWindow(window, QRect(card.X, card.Y, l.CardWidth, l.CardHeight));
}

}  // namespace

bool renderExampleTurn(PictureWindow& window, const QDir& folder)
{
    dealForPlayer(window, TurnSeed);
    CanastaGame& game = window.game();
    const TableLayout& l = game.Layout;
    const int pictureTop = l.StockTop - 24;

    QImage drawing;
    QTimer highlightShown;
    highlightShown.setSingleShot(true);
    QObject::connect(&highlightShown, &QTimer::timeout, [&] { drawing = grabWindow(window); });
    highlightShown.start(HighlightPictureDelay);
    window.table().tableMouseUp(Qt::LeftButton, Qt::NoModifier, LeftMargin + 5, l.StockTop + 5);
    QApplication::processEvents();
    if (drawing.isNull())
        return fail(QStringLiteral("the drawn card was not highlighted when the picture was taken"));
    const CardRecord drawn = game.Human().Hand.Cards[game.Human().Hand.Count - 1];
    game.RecountColumns();
    if (drawn.Rank != Ace || game.Human().HandCount[Ace] != 3 || game.Human().HandCount[Four] != 1)
        return fail(QStringLiteral("the example deal no longer brings a third ace and a lone four"));
    {
        QPainter painter(&drawing);
        useLabelFont(painter);
        labelAbove(painter, cardRect(window, drawn), QStringLiteral("1. The ace you drew"));
    }
    if (!savePicture(lowerPart(window, drawing, pictureTop, false), folder, QStringLiteral("turn_draw.png")))
        return false;

    clickCard(window, Qt::LeftButton, Qt::ShiftModifier, game.Human().Hand.Cards[handCardOfRank(game, Ace)]);
    game.RecountColumns();
    if (game.Human().MeldCount[Ace] != 3 || game.MeldValueOnTable(Side::Human, false) < game.Human().MinimumMeld)
        return fail(QStringLiteral("the three aces did not make the first meld"));
    QImage melding = grabWindow(window);
    {
        QPainter painter(&melding);
        useLabelFont(painter);
        QRect aces;
        for (int i = 0; i < game.Human().Melds.Count; ++i)
            if (game.Human().Melds.Cards[i].Rank == Ace)
                aces = aces.united(cardRect(window, game.Human().Melds.Cards[i]));
        labelAbove(painter, aces.adjusted(-2, -2, 2, 2), QStringLiteral("2. Three aces melded: 60 points"));
    }
    if (!savePicture(lowerPart(window, melding, pictureTop, true), folder, QStringLiteral("turn_meld.png")))
        return false;

    const CardRecord four = game.Human().Hand.Cards[handCardOfRank(game, Four)];
    QImage discarding;
    window.beforeComputerTurn = [&] { discarding = grabWindow(window); };
    clickCard(window, Qt::RightButton, Qt::NoModifier, four);
    if (discarding.isNull())
        return fail(QStringLiteral("the discard did not end the player's turn"));
    {
        QPainter painter(&discarding);
        useLabelFont(painter);
        const QRect pile = onWindow(window, QRect(LeftMargin, l.DiscardTop, l.CardWidth, l.CardHeight));
        label(painter, pile, QStringLiteral("3. The four you discarded"), pile.topRight() + QPoint(8, 10));
    }
    if (!savePicture(lowerPart(window, discarding, pictureTop, true), folder, QStringLiteral("turn_discard.png")))
        return false;

    if (!window.table().lastingHighlightShown())
        return fail(QStringLiteral("the computer's discard is not highlighted after its turn"));
    QImage reply = grabWindow(window);
    {
        QPainter painter(&reply);
        useLabelFont(painter);
        const QRect pile = onWindow(window, QRect(LeftMargin, l.DiscardTop, l.CardWidth, l.CardHeight));
        label(painter, pile, QStringLiteral("4. The computer's discard, highlighted"), pile.topRight() + QPoint(8, 10));
    }
    const QPoint table = window.table().mapTo(&window, QPoint(0, 0));
    const int replyBottom = table.y() + l.DiscardTop + l.CardHeight + 24;
    return savePicture(reply.copy(QRect(0, table.y(), reply.width(), replyBottom - table.y())), folder,
                       QStringLiteral("turn_reply.png"));
}

}  // namespace meldora::help_pictures
