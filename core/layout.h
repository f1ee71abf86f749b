// Table geometry of the four window sizes. The game state places cards in
// window pixels, so the rules need these numbers as much as the painting does.
#pragma once

#include <array>

#include "core/card.h"

namespace meldora {

struct SizeClass {
    int TableWidth;
    int TableHeight;
    int CardWidth;
    int CardHeight;
};

inline constexpr std::array<SizeClass, 4> SizeClasses{{
    {640, 480, 42, 65},
    {800, 600, 53, 81},
    {1024, 768, 67, 104},
    {1280, 1024, 67, 104},
}};

struct TableLayout {
    int SizeIndex = 0;
    int TableWidth = 640;
    int TableHeight = 480;
    int CardWidth = 42;
    int CardHeight = 65;
    int ClientWidth = 640;
    int ColumnPitch = 45;
    int MiddleLine = 202;
    int StockTop = 135;
    int DiscardTop = 204;
    int HumanMeldBase = 196;
    int ComputerMeldBase = 146;
    int HumanHandBase = 323;
    int ComputerHandTop = 5;

    int ColumnX(int column) const { return LeftMargin + column * ColumnPitch; }
    // (x - LeftMargin) div ColumnPitch, truncating towards zero.
    int ColumnOf(int x) const { return (x - LeftMargin) / ColumnPitch; }
};

// Recomputes every quantity for a size class and the window's current client width.
TableLayout ApplyLayout(int sizeIndex, int clientWidth);

}  // namespace meldora
