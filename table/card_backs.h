// The backs of the two decks: what each back is (a solid colour, one of the ten
// standard patterns, or a picture file), how it is kept in the settings store, and
// the pictures of the backs at a card size.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>

namespace meldora {

class SettingsAccess;

enum CardBackType : int { SolidBack = 0, PatternBack = 1, FileBack = 2 };

inline constexpr int PatternCount = 10;

struct CardBack {
    int backType = SolidBack;
    std::uint32_t backColor = 128;  // 0x00BBGGRR
    QString backFile;
    int backPattern = 0;  // 0..PatternCount-1

    bool operator==(const CardBack&) const = default;
};

// Deck 0 ("Deck One") and deck 1 ("Deck Two").
using CardBackSettings = std::array<CardBack, 2>;

// "beach", "fish1", ... "shell"; std::out_of_range for a number outside 0..9.
QString patternName(int pattern);

// Both backs as stored. A stored type or pattern number out of range reads as the default,
// so a damaged store still gives a back that can be drawn.
CardBackSettings readCardBacks(SettingsAccess& settings);
// For each deck its type and the one value its type uses.
void writeCardBacks(SettingsAccess& settings, const CardBackSettings& backs);

QColor colorFromSetting(std::uint32_t bgr);
std::uint32_t settingFromColor(const QColor& color);

// A transparent image of a card size at a pixel ratio, ready to paint on in logical pixels.
QImage newCardImage(QSize size, qreal devicePixelRatio);

// A rounded rectangle in the colour with a black edge; the corners stay transparent.
QPixmap drawSolidBack(std::uint32_t bgr, QSize size, qreal devicePixelRatio);
// One of the ten standard patterns; std::out_of_range for a number outside 0..9.
QPixmap drawPatternBack(int pattern, QSize size, qreal devicePixelRatio);
// The picture stretched to the card size; a null pixmap when the file cannot be read.
QPixmap loadPictureBack(const QString& file, QSize size, qreal devicePixelRatio);

}  // namespace meldora
