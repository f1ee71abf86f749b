#include "table/window_placement.h"

#include <algorithm>

#include <QStringList>
#include <array>
#include <stdexcept>

namespace meldora {

namespace {

struct SizeClassEntry {
    const char* Name;
    int Width;
    int Height;
};

constexpr std::array<SizeClassEntry, 5> Classes{{
    {"640x480", 640, 480},
    {"800x600", 800, 600},
    {"1024x768", 1024, 768},
    {"1280x1024", 1280, 1024},
    {"toobig", -1, -1},
}};

const SizeClassEntry& classAt(int sizeIndex)
{
    if (sizeIndex < 0 || sizeIndex >= static_cast<int>(Classes.size()))
        throw std::out_of_range("window size class outside 0..4");
    return Classes[static_cast<std::size_t>(sizeIndex)];
}

// An edge kept only when it is a number within 0..limit; anything else opens the
// window at the screen's edge.
int boundedEdge(const QString& text, int limit)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > limit)
        return 0;
    return value;
}

}  // namespace

QString sizeClassName(int sizeIndex) { return QString::fromLatin1(classAt(sizeIndex).Name); }
int sizeClassWidth(int sizeIndex) { return classAt(sizeIndex).Width; }
int sizeClassHeight(int sizeIndex) { return classAt(sizeIndex).Height; }

int largestAllowedSizeClass(int screenWidth)
{
    if (screenWidth > 1280)
        return TooBigSizeClass;
    if (screenWidth == 1280)
        return 3;
    if (screenWidth >= 1024)
        return 2;
    if (screenWidth >= 800)
        return 1;
    return 0;
}

WindowPlacement chooseWindowPlacement(const QString& resolution, int screenWidth)
{
    WindowPlacement placement;
    placement.largestAllowed = largestAllowedSizeClass(screenWidth);
    const SizeClassEntry& largest = classAt(placement.largestAllowed);

    const QStringList parts = resolution.split(QLatin1Char(','));
    placement.left = boundedEdge(parts.value(0), largest.Width);
    placement.top = boundedEdge(parts.value(1), largest.Height);
    const QString sizeName = parts.mid(2).join(QLatin1Char(','));

    placement.sizeIndex = 0;
    for (int i = 0; i < TooBigSizeClass; ++i)
        if (sizeName == QLatin1String(Classes[static_cast<std::size_t>(i)].Name))
            placement.sizeIndex = i;
    if (placement.sizeIndex > placement.largestAllowed)
        placement.sizeIndex = placement.largestAllowed;

    placement.maximised = screenWidth == sizeClassWidth(placement.sizeIndex);
    return placement;
}

QString resolutionText(int left, int top, int sizeIndex)
{
    return QStringLiteral("%1,%2,%3").arg(left).arg(top).arg(sizeClassName(sizeIndex));
}

QSize clientSizeForFrame(int sizeIndex, QSize frame)
{
    return QSize(std::max(0, sizeClassWidth(sizeIndex) - frame.width()),
                 std::max(0, sizeClassHeight(sizeIndex) - frame.height()));
}

}  // namespace meldora
