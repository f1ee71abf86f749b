#include "table/card_backs.h"

#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <stdexcept>
#include <string>

#include "core/settings_access.h"
#include "settings/setting_keys.h"
#include "table/back_patterns.h"

namespace meldora {

namespace {

std::string settingKey(const char* value, int deck)
{
    return std::string("Cardback\\") + value + std::to_string(deck);
}

// The outline every drawn back shares: the 6 x 6 corner ellipses of the card edge.
QRectF edgeRect(QSize size)
{
    return QRectF(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
}
constexpr qreal kCornerRadius = 3.0;

}  // namespace

QString patternName(int pattern)
{
    static const char* const names[PatternCount] = {"beach",    "fish1",    "fish2", "leaves1", "leaves2",
                                                    "pattern1", "pattern2", "robot", "rose",    "shell"};
    if (pattern < 0 || pattern >= PatternCount)
        throw std::out_of_range("card back pattern number out of range");
    return QString::fromLatin1(names[pattern]);
}

CardBackSettings readCardBacks(SettingsAccess& settings)
{
    CardBackSettings backs;
    for (int deck = 0; deck < 2; ++deck) {
        CardBack& back = backs[deck];
        back.backType = settings.ReadInt(settingKey("Type", deck), SolidBack);
        if (back.backType < SolidBack || back.backType > FileBack)
            back.backType = SolidBack;
        const IntSetting& colorKey = deck == 0 ? keys::CardbackColor0 : keys::CardbackColor1;
        back.backColor = static_cast<std::uint32_t>(Read(settings, colorKey)) & 0x00FFFFFFu;
        back.backPattern = settings.ReadInt(settingKey("Pattern", deck), 0);
        if (back.backPattern < 0 || back.backPattern >= PatternCount)
            back.backPattern = 0;
        back.backFile = QString::fromStdString(settings.ReadString(settingKey("Filename", deck), ""));
    }
    return backs;
}

void writeCardBacks(SettingsAccess& settings, const CardBackSettings& backs)
{
    for (int deck = 0; deck < 2; ++deck) {
        const CardBack& back = backs[deck];
        settings.WriteValue(settingKey("Type", deck), back.backType);
        switch (back.backType) {
        case SolidBack:
            settings.WriteValue(settingKey("Color", deck), static_cast<int>(back.backColor));
            break;
        case PatternBack:
            settings.WriteValue(settingKey("Pattern", deck), back.backPattern);
            break;
        case FileBack:
            settings.WriteValue(settingKey("Filename", deck), back.backFile.toStdString());
            break;
        default:
            break;
        }
    }
}

QColor colorFromSetting(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

std::uint32_t settingFromColor(const QColor& color)
{
    return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8 |
           static_cast<std::uint32_t>(color.blue()) << 16;
}

QImage newCardImage(QSize size, qreal devicePixelRatio)
{
    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    return image;
}

QPixmap drawSolidBack(std::uint32_t bgr, QSize size, qreal devicePixelRatio)
{
    QImage image = newCardImage(size, devicePixelRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(colorFromSetting(bgr));
    painter.drawRoundedRect(edgeRect(size), kCornerRadius, kCornerRadius);
    painter.end();
    return QPixmap::fromImage(image);
}

QPixmap drawPatternBack(int pattern, QSize size, qreal devicePixelRatio)
{
    if (pattern < 0 || pattern >= PatternCount)
        throw std::out_of_range("card back pattern number out of range");
    QImage image = newCardImage(size, devicePixelRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // A white border round the picture, as printed card backs have.
    QPainterPath edge;
    edge.addRoundedRect(edgeRect(size), kCornerRadius, kCornerRadius);
    painter.fillPath(edge, Qt::white);

    const qreal border = qMax(2.0, size.width() * 0.06);
    const QRectF picture = edgeRect(size).adjusted(border, border, -border, -border);
    QPainterPath frame;
    frame.addRoundedRect(picture, 2.0, 2.0);
    painter.save();
    painter.setClipPath(frame);
    painter.translate(picture.topLeft());
    painter.scale(picture.width() / PatternWidth, picture.height() / PatternHeight);
    paintPattern(painter, pattern);
    painter.restore();

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(90, 90, 90), 0.6));
    painter.drawPath(frame);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.drawPath(edge);
    painter.end();
    return QPixmap::fromImage(image);
}

QPixmap loadPictureBack(const QString& file, QSize size, qreal devicePixelRatio)
{
    if (file.isEmpty())
        return {};
    QImageReader reader(file);
    reader.setAutoTransform(true);
    QImage picture = reader.read();
    if (picture.isNull())
        return {};
    // Magenta is a picture's transparent colour, as it is for the card faces.
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb magenta = qRgb(255, 0, 255);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (line[x] == magenta)
                line[x] = qRgba(0, 0, 0, 0);
    }
    QImage scaled = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                        .scaled(size * devicePixelRatio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(scaled);
}

}  // namespace meldora
