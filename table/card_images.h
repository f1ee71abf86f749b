// The card pictures of the table for the current card size: 52 faces, the joker and
// the back of each deck (the image list of the table), with the faces of every size
// used so far kept, so that changing the window size back and forth is quick.
#pragma once

#include <QPixmap>
#include <QSet>
#include <QSize>
#include <QString>
#include <array>
#include <map>
#include <memory>
#include <utility>

#include "core/card.h"
#include "table/card_backs.h"
#include "table/card_faces.h"

class QWidget;

namespace meldora {

// Image list positions: faces suit-major at 13 * suit + face (card id - 1), then the
// joker, then the backs of deck 0 and deck 1.
inline constexpr int CardImageCount = 55;
inline constexpr int JokerImage = 52;
inline constexpr int FirstBackImage = 53;

// The card size of window-size class 0..3 in logical pixels; std::out_of_range otherwise.
QSize cardSizeOf(int sizeIndex);

class CardImages {
public:
    // Warnings about unreadable back pictures are shown over warningParent.
    explicit CardImages(const QString& deckDir = defaultCardDeckDir(), QWidget* warningParent = nullptr);
    ~CardImages();
    CardImages(const CardImages&) = delete;
    CardImages& operator=(const CardImages&) = delete;

    void setWarningParent(QWidget* parent) { warningParent_ = parent; }

    // Rebuilds the 55 images for the size class at the screen's pixel ratio. A back picture
    // that cannot be read is replaced by the deck's solid back, and the player is told
    // once per file.
    void prepare(int sizeIndex, qreal devicePixelRatio, const CardBackSettings& backs);

    int sizeIndex() const { return sizeIndex_; }
    QSize cardSize() const { return cardSizeOf(sizeIndex_); }
    qreal devicePixelRatio() const { return devicePixelRatio_; }

    // By image list position 0..54; std::out_of_range otherwise.
    const QPixmap& image(int index) const;
    // The face of the card's id; std::out_of_range for an id outside 1..53.
    const QPixmap& face(const CardRecord& card) const;
    // The back of deck 0 or 1; std::out_of_range otherwise.
    const QPixmap& back(int deck) const;
    // What the table shows for the card: its face when face up, else its deck's back.
    const QPixmap& picture(const CardRecord& card) const;

    // A picture by its resource name ("heartv800", "joker640", "rose1024"), in any case,
    // at the size its name gives; a null pixmap for a name that does not exist.
    QPixmap resource(const QString& name, qreal devicePixelRatio);

    // The SVG deck the faces come from; empty when the program draws them itself.
    QString deckFile() const { return faces_->deckFile(); }

private:
    using FaceSet = std::array<QPixmap, 53>;
    const FaceSet& facesAt(QSize size, qreal devicePixelRatio);
    QPixmap backFor(const CardBack& back, QSize size, qreal devicePixelRatio);

    std::unique_ptr<CardFaces> faces_;
    std::map<std::pair<std::pair<int, int>, qreal>, FaceSet> faceCache_;
    std::array<QPixmap, CardImageCount> images_;
    int sizeIndex_ = 0;
    qreal devicePixelRatio_ = 1.0;
    QWidget* warningParent_ = nullptr;
    QSet<QString> warnedFiles_;
};

}  // namespace meldora
