// Paints the card table from the card positions the game keeps: the piles in their
// fixed order, the etched frame around stock and discard pile, the pile counts and
// the labels of the canastas. A card in flight and a highlighted card are drawn on
// top of everything else.
#pragma once

#include <climits>

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>

#include "core/card.h"

class QPainter;

namespace meldora {

class CanastaGame;
class CardImages;

// A card image drawn over the table at a point (a card in flight, or a highlight).
struct TableOverlay {
    bool active = false;
    QPixmap image;
    QPoint pos;
};

struct TablePaintInput {
    QColor tableColor;
    bool networkGame = false;
    // The record of a card in flight already lies at its destination; it is left
    // out there until it has landed. Matched by id, deck and position.
    bool hideLanding = false;
    CardRecord landing;
    TableOverlay flight;
    TableOverlay highlight;
    // The computer's discard, highlighted until the player's next action.
    TableOverlay lastingHighlight;
    // The table's lower edge, which the hand's columns are kept above.
    int tableBottom = INT_MAX;
    // Drawn over everything: what a left click would act on, and the column
    // selected in a keyboard mode. Empty rectangles draw nothing.
    QRect clickTargetOutline;
    QRect keyboardColumnOutline;
};

// "Mixed", "Natural", "Wild" by canasta kind 1..3; empty otherwise.
QString meldTypeName(int kind);

// Paints the whole table (the painter's clip limits the work) and returns the
// extra height of the spread discard pile, (count - 1) * StackStep while the pile
// is spread, else 0. Recounts the columns of the game for the labels.
int paintTable(QPainter& painter, CanastaGame& game, const CardImages& images, const TablePaintInput& input);

// The card face tinted with the selection colour, as a highlighted card shows.
QPixmap highlightedImage(const QPixmap& face, const QColor& selection);

}  // namespace meldora
