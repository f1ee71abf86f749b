// The faces of the 52 cards and the joker. They come from an installed SVG card
// deck when one can be found; otherwise the program draws simple faces itself, so
// the game always runs.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <memory>

class QSvgRenderer;

namespace meldora {

// Where installed decks are looked for: $MELDORA_CARD_DECK_DIR when set, else the
// system's card deck folder.
QString defaultCardDeckDir();

class CardFaces {
public:
    // deckDir is either one deck's folder (holding an .svg or .svgz file) or a folder
    // of such deck folders, of which a well-readable complete one is chosen.
    explicit CardFaces(const QString& deckDir);
    ~CardFaces();
    CardFaces(const CardFaces&) = delete;
    CardFaces& operator=(const CardFaces&) = delete;

    // The deck file the faces come from; empty when they are drawn by the program.
    QString deckFile() const { return deckFile_; }

    // The face of card id 1..53 (53 the joker), size in logical pixels, rendered for the
    // pixel ratio. std::out_of_range for any other id.
    QPixmap render(int id, QSize size, qreal devicePixelRatio) const;

private:
    bool tryDeck(const QString& file);

    std::unique_ptr<QSvgRenderer> deck_;
    QString deckFile_;
    QString jokerElement_;  // empty when the deck has no joker: the joker is drawn then
};

}  // namespace meldora
