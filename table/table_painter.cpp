#include "table/table_painter.h"

#include "table/table_input.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include "core/game.h"
#include "table/card_images.h"
#include "table/table_input.h"

namespace meldora {

namespace {

// Paints card pictures, skipping those outside the area being repainted: a card in
// flight repaints only a small rectangle at each step.
class CardPainter {
public:
    CardPainter(QPainter& painter, const CanastaGame& game, const CardImages& images, const TablePaintInput& input)
        : painter_(painter), images_(images), input_(input),
          size_(game.Layout.CardWidth, game.Layout.CardHeight),
          clip_(painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect() : QRect())
    {
    }

    void draw(const QPixmap& picture, int x, int y)
    {
        if (!clip_.isNull() && !clip_.intersects(QRect(QPoint(x, y), size_)))
            return;
        painter_.drawPixmap(QPoint(x, y), picture);
    }

    // A pile painted in pile order, each card at its own place, face or back as it lies.
    void drawPile(const CardPile& pile)
    {
        const int hidden = hiddenIndex(pile);
        for (int i = 0; i < pile.Count; ++i) {
            if (i == hidden)
                continue;
            const CardRecord& c = pile.Cards[i];
            draw(images_.picture(c), c.X, c.Y);
        }
    }

    // The human's hand, each column kept above the table's lower edge.
    void drawHand(const CardPile& hand, int cardHeight)
    {
        const int hidden = hiddenIndex(hand);
        for (int i = 0; i < hand.Count; ++i) {
            if (i == hidden)
                continue;
            const CardRecord& c = hand.Cards[i];
            draw(images_.picture(c), c.X, shownHandCardY(hand, c, cardHeight, input_.tableBottom));
        }
    }

private:
    // The topmost record of the pile that is the landing card of a flight, or -1.
    int hiddenIndex(const CardPile& pile) const
    {
        if (!input_.hideLanding)
            return -1;
        const CardRecord& l = input_.landing;
        for (int i = pile.Count - 1; i >= 0; --i) {
            const CardRecord& c = pile.Cards[i];
            if (c.Id == l.Id && c.Deck == l.Deck && c.X == l.X && c.Y == l.Y)
                return i;
        }
        return -1;
    }

    QPainter& painter_;
    const CardImages& images_;
    const TablePaintInput& input_;
    QSize size_;
    QRect clip_;
};

// Text placed by the top-left corner of its cell, as the table's coordinates give it.
void textAt(QPainter& painter, int x, int top, const QString& text)
{
    painter.drawText(QPoint(x, top + painter.fontMetrics().ascent()), text);
}

int textWidth(const QPainter& painter, const QString& text)
{
    return painter.fontMetrics().horizontalAdvance(text);
}

int textHeight(const QPainter& painter) { return painter.fontMetrics().height(); }

// The etched frame around stock and discard pile, and the rule across the table.
void paintFrame(QPainter& painter, int M, int D, int FR, int W, int S)
{
    auto line = [&](std::initializer_list<QPoint> points) { painter.drawPolyline(QPolygon(QList<QPoint>(points))); };
    painter.setPen(Qt::black);
    line({{0, M - D}, {FR - 1, M - D}});
    line({{FR, M - D - 1}, {FR, M}});
    line({{W, M + 1}, {FR, M + 1}, {FR, M + D + 1 + S}, {0, M + D + 1 + S}});
    painter.setPen(Qt::white);
    line({{0, M - D - 1}, {FR, M - D - 1}});
    line({{FR - 1, M - D}, {FR - 1, M + D + S}, {0, M + D + S}});
    line({{FR, M}, {W, M}});
    painter.setPen(Qt::black);
}

// The two lines of a canasta's label: the kind, then its natural and wild cards.
struct LabelLines {
    QString first;
    QString second;
    bool cardWord = false;  // the second line is "card" and shares the first line's x
};

LabelLines labelFor(int kind, int naturals, int columnCount)
{
    LabelLines lines;
    if (kind == WildcardCanasta) {
        lines.first = "Wild";
        lines.second = "card";
        lines.cardWord = true;
    } else if (kind == MixedCanasta) {
        lines.first = meldTypeName(kind);
        lines.second = QString::number(naturals) + "/" + QString::number(columnCount - naturals);
    } else {
        lines.first = meldTypeName(kind);
        lines.second = QString::number(naturals);
    }
    return lines;
}

void paintLabel(QPainter& painter, const TableLayout& l, int column, const LabelLines& lines, bool human)
{
    const int x0 = l.ColumnX(column);
    const int th = textHeight(painter);
    const int boxHeight = 2 * th + 5;
    const int top = human ? l.HumanMeldBase + l.CardHeight + 15 : l.ComputerMeldBase - 15 - boxHeight;
    // Edges of the box: the right and bottom edge lie one pixel inside the card width
    // and box height, like the card pictures.
    painter.drawRect(QRect(x0, top, l.CardWidth - 1, boxHeight - 1));

    const int firstX = x0 + (l.CardWidth - textWidth(painter, lines.first)) / 2;
    int firstTop, secondTop;
    if (human) {
        firstTop = top + 2;
        secondTop = top + th + 4;
    } else {
        const int bottom = l.ComputerMeldBase - 15;
        firstTop = bottom - 2 * th - 3;
        secondTop = lines.cardWord ? bottom - th - 1 : bottom - th - 3;
    }
    textAt(painter, firstX, firstTop, lines.first);
    const int secondX = lines.cardWord ? firstX : x0 + (l.CardWidth - textWidth(painter, lines.second)) / 2 + 1;
    textAt(painter, secondX, secondTop, lines.second);
}

void paintLabels(QPainter& painter, const CanastaGame& game)
{
    const TableLayout& l = game.Layout;
    QFont font("Arial", 10, l.SizeIndex == 0 ? QFont::Normal : QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    for (int size = 10; size > 1; --size) {
        font.setPointSize(size);
        if (QFontMetrics(font).horizontalAdvance("Natural") <= l.CardWidth - 4)
            break;
    }
    painter.setFont(font);
    painter.setBrush(Qt::yellow);
    painter.setPen(Qt::black);
    for (int i = 1; i < ColumnCount; ++i) {
        if (const int kind = game.Human().Canastas.Kind[i]; kind != NoCanasta)
            paintLabel(painter, l, i, labelFor(kind, game.Human().Canastas.NaturalCount[i], game.Human().MeldCount[i]),
                       true);
        if (const int kind = game.Computer().Canastas.Kind[i]; kind != NoCanasta)
            paintLabel(painter, l, i,
                       labelFor(kind, game.Computer().Canastas.NaturalCount[i], game.Computer().MeldCount[i]), false);
    }
    painter.setBrush(Qt::NoBrush);
}

}  // namespace

QString meldTypeName(int kind)
{
    switch (kind) {
    case MixedCanasta:
        return "Mixed";
    case NaturalCanasta:
        return "Natural";
    case WildcardCanasta:
        return "Wild";
    default:
        return {};
    }
}

namespace {

constexpr int OutlineWidth = 3;

// A frame on the rectangle's edge, drawn over the card's border.
void paintOutline(QPainter& painter, const QRect& rect, const QColor& colour)
{
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setPen(QPen(colour, OutlineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(-OutlineWidth / 2, -OutlineWidth / 2, OutlineWidth / 2, OutlineWidth / 2));
    painter.restore();
}

}  // namespace

int paintTable(QPainter& painter, CanastaGame& game, const CardImages& images, const TablePaintInput& input)
{
    const TableLayout& l = game.Layout;
    CardPainter cards(painter, game, images, input);

    if (game.Stock.Count > 0) {
        const CardRecord& top = game.Stock.top();
        cards.draw(images.back(top.Deck), top.X, top.Y);
    }

    int spreadExtra = 0;
    if (game.Presentation.DiscardSpread && game.DiscardPile.Count > 0) {
        spreadExtra = (game.DiscardPile.Count - 1) * StackStep;
        for (int i = 0; i < game.DiscardPile.Count; ++i) {
            const CardRecord& c = game.DiscardPile.Cards[i];
            cards.draw(images.face(c), c.X, c.Y + StackStep * i);
        }
    } else if (game.DiscardPile.Count > 0) {
        const CardRecord& top = game.DiscardPile.top();
        cards.draw(images.face(top), top.X, top.Y);
    }

    // The computer's hand is shown grouped by rank whatever the order of its records.
    const bool showComputerFaces = !game.Presentation.RevealBlocked && !input.networkGame;
    int x = LeftMargin;
    for (int rank = 0; rank < ColumnCount; ++rank) {
        for (int i = 0; i < game.Computer().Hand.Count; ++i) {
            const CardRecord& c = game.Computer().Hand.Cards[i];
            if (c.Rank != rank)
                continue;
            cards.draw(c.FaceUp && showComputerFaces ? images.face(c) : images.back(c.Deck), x, c.Y);
            x += game.Presentation.ComputerHandSpacing;
        }
    }

    cards.drawPile(game.Computer().Melds);
    cards.drawPile(game.Human().Melds);
    cards.drawHand(game.Human().Hand, l.CardHeight);

    QFont countFont("MS Sans Serif", 8, QFont::Bold);
    countFont.setStyleHint(QFont::SansSerif);
    painter.setFont(countFont);
    const int th8 = textHeight(painter);
    const int M = l.MiddleLine;
    const int D = th8 + l.CardHeight + 5;
    paintFrame(painter, M, D, l.CardWidth + 7, l.TableWidth, spreadExtra);

    const int centre = LeftMargin + l.CardWidth / 2;
    const QString discardCount = (game.Turn.DiscardFrozen ? "*" : "") + QString::number(game.DiscardPile.Count);
    textAt(painter, centre - textWidth(painter, discardCount) / 2, l.CardHeight + M + 3 + spreadExtra, discardCount);
    const QString stockCount = QString::number(game.Stock.Count);
    textAt(painter, centre - textWidth(painter, stockCount) / 2, M - l.CardHeight - 3 - th8, stockCount);

    game.RecountColumns();
    paintLabels(painter, game);

    if (input.flight.active)
        painter.drawPixmap(input.flight.pos, input.flight.image);
    if (input.lastingHighlight.active)
        painter.drawPixmap(input.lastingHighlight.pos, input.lastingHighlight.image);
    if (input.highlight.active)
        painter.drawPixmap(input.highlight.pos, input.highlight.image);
    paintOutline(painter, input.keyboardColumnOutline, Qt::cyan);
    paintOutline(painter, input.clickTargetOutline, Qt::yellow);
    return spreadExtra;
}

QPixmap highlightedImage(const QPixmap& face, const QColor& selection)
{
    QPixmap tinted = face;
    QPainter p(&tinted);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    QColor half = selection;
    half.setAlpha(128);
    p.fillRect(QRect(QPoint(0, 0), face.deviceIndependentSize().toSize()), half);
    return tinted;
}

}  // namespace meldora
