// Where the main window opens and how big it is: the size class the screen allows,
// the placement stored in "Settings\Resolution", and the text written back at exit.
#pragma once

#include <QSize>
#include <QString>

namespace meldora {

// The four window sizes 0..3 ("640x480" .. "1280x1024"); class 4 ("toobig") is only
// ever the largest allowed class of a screen wider than 1280 pixels.
inline constexpr int TooBigSizeClass = 4;

// The stored name of a size class 0..4; std::out_of_range otherwise.
QString sizeClassName(int sizeIndex);
// Width and height of a size class 0..4 (-1 for class 4); std::out_of_range otherwise.
int sizeClassWidth(int sizeIndex);
int sizeClassHeight(int sizeIndex);

// The largest size class a screen of this width allows; a screen narrower than
// 640 pixels is treated as 640.
int largestAllowedSizeClass(int screenWidth);

struct WindowPlacement {
    int left = 0;
    int top = 0;
    int sizeIndex = 0;        // the chosen class, 0..3
    int largestAllowed = 0;   // 0..4
    bool maximised = false;   // the screen is exactly as wide as the chosen class
};

// Reads a stored placement "left,top,size name" for a screen of the given width.
// An edge that is not a number, negative, or beyond the largest allowed class
// becomes 0; an unknown size name selects class 0; a class the screen cannot
// hold is lowered to the largest it can.
WindowPlacement chooseWindowPlacement(const QString& resolution, int screenWidth);

// The inside of the window that makes its outer size, frame included, the size
// class's (a size class is an outer size). Never negative.
QSize clientSizeForFrame(int sizeIndex, QSize frame);

// "left,top,size name" as the placement is stored at exit.
QString resolutionText(int left, int top, int sizeIndex);

}  // namespace meldora
