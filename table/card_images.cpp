#include "table/card_images.h"

#include <QCursor>
#include <QGuiApplication>
#include <algorithm>
#include <stdexcept>

#include "core/layout.h"
#include "table/prompts.h"

namespace meldora {

namespace {

// The hourglass while the pictures are made; the SVG deck takes a moment at first.
class WaitCursor {
public:
    WaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            shown_ = true;
        }
    }
    ~WaitCursor()
    {
        if (shown_)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool shown_ = false;
};

qreal saneRatio(qreal devicePixelRatio)
{
    return devicePixelRatio > 0 ? devicePixelRatio : 1.0;
}

}  // namespace

QSize cardSizeOf(int sizeIndex)
{
    if (sizeIndex < 0 || sizeIndex >= static_cast<int>(SizeClasses.size()))
        throw std::out_of_range("window size class out of range");
    return QSize(SizeClasses[sizeIndex].CardWidth, SizeClasses[sizeIndex].CardHeight);
}

CardImages::CardImages(const QString& deckDir, QWidget* warningParent)
    : faces_(std::make_unique<CardFaces>(deckDir)), warningParent_(warningParent)
{
}

CardImages::~CardImages() = default;

const CardImages::FaceSet& CardImages::facesAt(QSize size, qreal devicePixelRatio)
{
    const auto key = std::make_pair(std::make_pair(size.width(), size.height()), devicePixelRatio);
    auto found = faceCache_.find(key);
    if (found != faceCache_.end())
        return found->second;
    FaceSet faces;
    for (int id = 1; id <= 53; ++id)
        faces[id - 1] = faces_->render(id, size, devicePixelRatio);
    return faceCache_.emplace(key, std::move(faces)).first->second;
}

QPixmap CardImages::backFor(const CardBack& back, QSize size, qreal devicePixelRatio)
{
    if (back.backType == PatternBack && back.backPattern >= 0 && back.backPattern < PatternCount)
        return drawPatternBack(back.backPattern, size, devicePixelRatio);
    if (back.backType == FileBack && !back.backFile.isEmpty()) {
        QPixmap picture = loadPictureBack(back.backFile, size, devicePixelRatio);
        if (!picture.isNull()) {
            warnedFiles_.remove(back.backFile);
            return picture;
        }
        if (!warnedFiles_.contains(back.backFile)) {
            warnedFiles_.insert(back.backFile);
            prompts::warning(warningParent_,
                             QStringLiteral("The card back picture \"%1\" cannot be read, so a solid back is "
                                            "shown instead.")
                                 .arg(back.backFile));
        }
    }
    return drawSolidBack(back.backColor, size, devicePixelRatio);
}

void CardImages::prepare(int sizeIndex, qreal devicePixelRatio, const CardBackSettings& backs)
{
    const QSize size = cardSizeOf(sizeIndex);
    const qreal ratio = saneRatio(devicePixelRatio);
    WaitCursor wait;
    const FaceSet& faces = facesAt(size, ratio);
    std::array<QPixmap, CardImageCount> images;
    std::copy(faces.begin(), faces.end(), images.begin());
    for (int deck = 0; deck < 2; ++deck)
        images[FirstBackImage + deck] = backFor(backs[deck], size, ratio);
    images_ = std::move(images);
    sizeIndex_ = sizeIndex;
    devicePixelRatio_ = ratio;
}

const QPixmap& CardImages::image(int index) const
{
    if (index < 0 || index >= CardImageCount)
        throw std::out_of_range("card image index out of range");
    return images_[index];
}

const QPixmap& CardImages::face(const CardRecord& card) const
{
    if (card.Id < 1 || card.Id > 53)
        throw std::out_of_range("card face of a card that does not exist");
    return images_[card.Id - 1];
}

const QPixmap& CardImages::back(int deck) const
{
    if (deck < 0 || deck > 1)
        throw std::out_of_range("card back of a deck that does not exist");
    return images_[FirstBackImage + deck];
}

const QPixmap& CardImages::picture(const CardRecord& card) const
{
    return card.FaceUp ? face(card) : back(card.Deck);
}

QPixmap CardImages::resource(const QString& name, qreal devicePixelRatio)
{
    // The size codes by class; the largest class shares the 1024 pictures.
    static const std::pair<const char*, int> sizeCodes[] = {{"1024", 2}, {"800", 1}, {"640", 0}};
    const QString key = name.toLower();
    const qreal ratio = saneRatio(devicePixelRatio);
    for (const auto& [code, sizeIndex] : sizeCodes) {
        const QLatin1String sizeCode(code);
        if (!key.endsWith(sizeCode))
            continue;
        const QString stem = key.chopped(sizeCode.size());
        const QSize size = cardSizeOf(sizeIndex);
        if (stem == QLatin1String("joker"))
            return facesAt(size, ratio)[JokerImage];
        for (int suit = 0; suit < 4; ++suit)
            for (int face = 0; face < 13; ++face) {
                const CardNameResult card = CardName(suit, face);
                if (stem == QLatin1String(card.Name.c_str()))
                    return facesAt(size, ratio)[card.Id - 1];
            }
        for (int pattern = 0; pattern < PatternCount; ++pattern)
            if (stem == patternName(pattern))
                return drawPatternBack(pattern, size, ratio);
    }
    return {};
}

}  // namespace meldora
