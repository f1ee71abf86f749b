#include "table/card_faces.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <QtGlobal>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "table/card_backs.h"

namespace meldora {

namespace {

const char* const kSystemDeckDir = "/usr/share/carddecks";

// Decks whose faces read well even at the smallest card size come first; the
// first of them also has a joker of its own.
const char* const kPreferredDecks[] = {"svg-nicu-white", "svg-standard", "svg-gm-paris",
                                       "svg-tigullio-international", "svg-xskat-french"};

const char* const kSuitIds[] = {"spade", "club", "diamond", "heart"};
const char* const kRankIds[] = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "jack", "queen", "king", "1"};
const char* const kJokerIds[] = {"red_joker", "joker", "black_joker"};

QString elementId(int suit, int face)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(kRankIds[face]), QLatin1String(kSuitIds[suit]));
}

QStringList deckFilesIn(const QDir& dir)
{
    QStringList files;
    for (const QString& name : dir.entryList({QStringLiteral("*.svgz"), QStringLiteral("*.svg")}, QDir::Files,
                                             QDir::Name))
        files << dir.filePath(name);
    return files;
}

// The deck files to try, best first.
QStringList candidateDecks(const QString& deckDir)
{
    const QDir dir(deckDir);
    if (deckDir.isEmpty() || !dir.exists())
        return {};
    QStringList files = deckFilesIn(dir);
    if (!files.isEmpty())
        return files;
    QStringList folders;
    for (const char* preferred : kPreferredDecks)
        if (dir.exists(QLatin1String(preferred)))
            folders << QLatin1String(preferred);
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (!folders.contains(name))
            folders << name;
    for (const QString& folder : folders)
        files << deckFilesIn(QDir(dir.filePath(folder)));
    return files;
}

bool isRed(int suit)
{
    return suit == 2 || suit == 3;
}

QColor suitColour(int suit)
{
    return isRed(suit) ? QColor(200, 0, 0) : QColor(20, 20, 20);
}

// The suit symbol in a unit square.
QPainterPath suitPath(int suit)
{
    QPainterPath path;
    switch (suit) {
    case 0:  // spade
        path.moveTo(0.5, 0.0);
        path.cubicTo(0.35, 0.25, 0.0, 0.38, 0.0, 0.6);
        path.cubicTo(0.0, 0.85, 0.3, 0.9, 0.46, 0.74);
        path.cubicTo(0.44, 0.88, 0.36, 0.97, 0.25, 1.0);
        path.lineTo(0.75, 1.0);
        path.cubicTo(0.64, 0.97, 0.56, 0.88, 0.54, 0.74);
        path.cubicTo(0.7, 0.9, 1.0, 0.85, 1.0, 0.6);
        path.cubicTo(1.0, 0.38, 0.65, 0.25, 0.5, 0.0);
        break;
    case 1:  // club
        path.setFillRule(Qt::WindingFill);
        path.addEllipse(QPointF(0.5, 0.25), 0.23, 0.23);
        path.addEllipse(QPointF(0.25, 0.58), 0.23, 0.23);
        path.addEllipse(QPointF(0.75, 0.58), 0.23, 0.23);
        path.addRect(QRectF(0.4, 0.35, 0.2, 0.3));
        path.moveTo(0.46, 0.6);
        path.cubicTo(0.44, 0.85, 0.36, 0.97, 0.25, 1.0);
        path.lineTo(0.75, 1.0);
        path.cubicTo(0.64, 0.97, 0.56, 0.85, 0.54, 0.6);
        path.closeSubpath();
        break;
    case 2:  // diamond
        path.moveTo(0.5, 0.0);
        path.lineTo(0.88, 0.5);
        path.lineTo(0.5, 1.0);
        path.lineTo(0.12, 0.5);
        path.closeSubpath();
        break;
    default:  // heart
        path.moveTo(0.5, 0.26);
        path.cubicTo(0.5, 0.04, 0.0, 0.0, 0.0, 0.32);
        path.cubicTo(0.0, 0.6, 0.35, 0.75, 0.5, 0.98);
        path.cubicTo(0.65, 0.75, 1.0, 0.6, 1.0, 0.32);
        path.cubicTo(1.0, 0.0, 0.5, 0.04, 0.5, 0.26);
        break;
    }
    return path;
}

void drawSuit(QPainter& p, int suit, QPointF centre, qreal size, bool upsideDown = false)
{
    p.save();
    p.translate(centre);
    if (upsideDown)
        p.rotate(180);
    p.translate(-size / 2, -size / 2);
    p.scale(size, size);
    p.setPen(Qt::NoPen);
    p.setBrush(suitColour(suit));
    p.drawPath(suitPath(suit));
    p.restore();
}

// Pip positions of the number cards two..ten in the pip area (0..1 each way).
const std::vector<QPointF>& pipsOf(int face)
{
    static const std::vector<QPointF> layouts[9] = {
        {{0.5, 0}, {0.5, 1}},
        {{0.5, 0}, {0.5, 0.5}, {0.5, 1}},
        {{0, 0}, {1, 0}, {0, 1}, {1, 1}},
        {{0, 0}, {1, 0}, {0.5, 0.5}, {0, 1}, {1, 1}},
        {{0, 0}, {1, 0}, {0, 0.5}, {1, 0.5}, {0, 1}, {1, 1}},
        {{0, 0}, {1, 0}, {0.5, 0.25}, {0, 0.5}, {1, 0.5}, {0, 1}, {1, 1}},
        {{0, 0}, {1, 0}, {0.5, 0.25}, {0, 0.5}, {1, 0.5}, {0.5, 0.75}, {0, 1}, {1, 1}},
        {{0, 0}, {1, 0}, {0, 1 / 3.0}, {1, 1 / 3.0}, {0.5, 0.5}, {0, 2 / 3.0}, {1, 2 / 3.0}, {0, 1}, {1, 1}},
        {{0, 0}, {1, 0}, {0.5, 1 / 6.0}, {0, 1 / 3.0}, {1, 1 / 3.0}, {0, 2 / 3.0}, {1, 2 / 3.0}, {0.5, 5 / 6.0},
         {0, 1}, {1, 1}},
    };
    return layouts[face];
}

void drawBlank(QPainter& p, QSizeF size)
{
    p.setPen(QPen(QColor(90, 90, 90), 1.0));
    p.setBrush(Qt::white);
    const qreal radius = size.width() * 0.08;
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), radius, radius);
}

QFont indexFont(qreal pixelSize, int stretch = 100)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(qMax(6, qRound(pixelSize)));
    font.setBold(true);
    font.setStretch(stretch);
    return font;
}

// The rank and suit in the top-left corner, and again turned round in the bottom-right one.
void drawIndex(QPainter& p, QSizeF size, const QString& rank, int suit)
{
    const qreal w = size.width(), h = size.height();
    const QRectF label(w * 0.02, h * 0.02, w * 0.22, h * 0.17);
    for (int turn = 0; turn < 2; ++turn) {
        p.save();
        if (turn == 1) {
            p.translate(w, h);
            p.rotate(180);
        }
        p.setFont(indexFont(h * 0.16, rank.size() > 1 ? 75 : 100));
        p.setPen(suitColour(suit));
        p.drawText(label, Qt::AlignCenter, rank);
        drawSuit(p, suit, QPointF(label.center().x(), label.bottom() + w * 0.09), w * 0.15);
        p.restore();
    }
}

void drawNumberFace(QPainter& p, QSizeF size, int suit, int face)
{
    const qreal w = size.width(), h = size.height();
    const QRectF area(w * 0.38, h * 0.19, w * 0.24, h * 0.62);
    const qreal pip = w * 0.19;
    for (QPointF at : pipsOf(face)) {
        const QPointF centre(area.left() + at.x() * area.width(), area.top() + at.y() * area.height());
        drawSuit(p, suit, centre, pip, at.y() > 0.5);
    }
}

void drawCourtFace(QPainter& p, QSizeF size, int suit, const QString& letter)
{
    const qreal w = size.width(), h = size.height();
    const QRectF frame(w * 0.27, h * 0.14, w * 0.46, h * 0.72);
    p.setPen(QPen(suitColour(suit), qMax(1.0, w * 0.02)));
    p.setBrush(isRed(suit) ? QColor(255, 240, 225) : QColor(235, 240, 255));
    p.drawRect(frame);
    p.setFont(indexFont(h * 0.3));
    p.setPen(suitColour(suit));
    p.drawText(frame, Qt::AlignCenter, letter);
    drawSuit(p, suit, QPointF(frame.center().x(), frame.top() + w * 0.13), w * 0.17);
    drawSuit(p, suit, QPointF(frame.center().x(), frame.bottom() - w * 0.13), w * 0.17, true);
}

void drawJokerFace(QPainter& p, QSizeF size)
{
    const qreal w = size.width(), h = size.height();
    drawBlank(p, size);
    p.setFont(indexFont(h * 0.1));
    const QString word = QStringLiteral("JOKER");
    for (int turn = 0; turn < 2; ++turn) {
        p.save();
        if (turn == 1) {
            p.translate(w, h);
            p.rotate(180);
        }
        p.setPen(turn == 0 ? QColor(200, 0, 0) : QColor(20, 20, 20));
        for (int i = 0; i < word.size(); ++i)
            p.drawText(QRectF(w * 0.02, h * (0.03 + i * 0.095), w * 0.2, h * 0.1), Qt::AlignCenter, word.mid(i, 1));
        p.restore();
    }
    // A jester's cap: three floppy points with bells.
    const QPointF base(w * 0.5, h * 0.62);
    const qreal r = w * 0.3;
    const QColor colours[] = {QColor(200, 0, 0), QColor(30, 140, 40), QColor(40, 70, 200)};
    const qreal tips[] = {-150, -90, -30};
    for (int i = 0; i < 3; ++i) {
        const qreal a = tips[i] * std::numbers::pi / 180;
        const QPointF tip = base + QPointF(r * std::cos(a) * 1.1, r * std::sin(a) * 1.3);
        QPainterPath point(base + QPointF(-r * 0.35, 0));
        point.quadTo(base + QPointF((tip.x() - base.x()) * 0.3, -r * 0.9), tip);
        point.quadTo(base + QPointF((tip.x() - base.x()) * 0.6, -r * 0.3), base + QPointF(r * 0.35, 0));
        point.closeSubpath();
        p.setPen(QPen(QColor(20, 20, 20), qMax(0.8, w * 0.015)));
        p.setBrush(colours[i]);
        p.drawPath(point);
        p.setBrush(QColor(250, 200, 0));
        p.drawEllipse(tip, w * 0.045, w * 0.045);
    }
    p.setBrush(QColor(250, 200, 0));
    p.drawRoundedRect(QRectF(base.x() - r * 0.45, base.y() - h * 0.02, r * 0.9, h * 0.06), 2, 2);
}

void drawFace(QPainter& p, QSizeF size, int suit, int face)
{
    static const char* const ranks[] = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "A"};
    drawBlank(p, size);
    const QString rank = QLatin1String(ranks[face]);
    drawIndex(p, size, rank, suit);
    if (face <= 8)
        drawNumberFace(p, size, suit, face);
    else if (face <= 11)
        drawCourtFace(p, size, suit, rank);
    else
        drawSuit(p, suit, QPointF(size.width() / 2, size.height() / 2), size.width() * 0.45);
}

}  // namespace

QString defaultCardDeckDir()
{
    const QString fromEnvironment = qEnvironmentVariable("MELDORA_CARD_DECK_DIR");
    return fromEnvironment.isEmpty() ? QString::fromLatin1(kSystemDeckDir) : fromEnvironment;
}

CardFaces::CardFaces(const QString& deckDir)
{
    for (const QString& file : candidateDecks(deckDir))
        if (tryDeck(file))
            break;
}

CardFaces::~CardFaces() = default;

bool CardFaces::tryDeck(const QString& file)
{
    auto renderer = std::make_unique<QSvgRenderer>(file);
    if (!renderer->isValid())
        return false;
    for (int suit = 0; suit < 4; ++suit)
        for (int face = 0; face < 13; ++face)
            if (!renderer->elementExists(elementId(suit, face)))
                return false;
    jokerElement_.clear();
    for (const char* joker : kJokerIds)
        if (renderer->elementExists(QLatin1String(joker))) {
            jokerElement_ = QLatin1String(joker);
            break;
        }
    deck_ = std::move(renderer);
    deckFile_ = file;
    return true;
}

QPixmap CardFaces::render(int id, QSize size, qreal devicePixelRatio) const
{
    if (id < 1 || id > 53)
        throw std::out_of_range("card face of a card that does not exist");
    QImage image = newCardImage(size, devicePixelRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds(QPointF(0, 0), QSizeF(size));
    if (id == 53) {
        if (deck_ && !jokerElement_.isEmpty())
            deck_->render(&painter, jokerElement_, bounds);
        else
            drawJokerFace(painter, bounds.size());
    } else {
        const int suit = (id - 1) / 13, face = (id - 1) % 13;
        if (deck_)
            deck_->render(&painter, elementId(suit, face), bounds);
        else
            drawFace(painter, bounds.size(), suit, face);
    }
    painter.end();
    return QPixmap::fromImage(image);
}

}  // namespace meldora
