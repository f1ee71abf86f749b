// The column a meld card lies in, for cards looked at in pile order. The cards
// of one meld column lie together in the pile and share their x, so the column
// (a division by the column pitch) is worked out once for each run of them:
// the tallies of the melds are counted many times a turn.
#pragma once

#include <cstdint>
#include <limits>

#include "core/card.h"
#include "core/layout.h"

namespace meldora {

class ColumnRuns {
public:
    explicit ColumnRuns(const TableLayout& layout) : layout_(layout) {}

    // Layout.ColumnOf(card.X).
    int operator()(const CardRecord& card)
    {
        if (card.X != x_) {
            x_ = card.X;
            column_ = layout_.ColumnOf(card.X);
        }
        return column_;
    }

private:
    const TableLayout& layout_;
    // Starts at an x no card can have, so the first card always works its column out.
    std::int64_t x_ = std::numeric_limits<std::int64_t>::min();
    int column_ = 0;
};

// The x positions that lie in one column (those Layout.ColumnOf gives that
// column for), as one range: asking whether a card lies in a given column is
// then a comparison, not a division, for every card of a pile.
class ColumnSpan {
public:
    ColumnSpan(const TableLayout& layout, int column)
    {
        // ColumnOf truncates towards zero, so column 0 reaches a pitch to either
        // side of the margin and a column to the left of it ends at its x.
        const long long pitch = layout.ColumnPitch;
        const long long x = LeftMargin + static_cast<long long>(column) * pitch;
        first_ = column > 0 ? x : x - pitch + 1;
        width_ = static_cast<unsigned long long>(column == 0 ? 2 * pitch - 1 : pitch);
    }

    bool Holds(const CardRecord& card) const
    {
        return static_cast<unsigned long long>(card.X - first_) < width_;
    }

private:
    long long first_ = 0;
    unsigned long long width_ = 0;
};

}  // namespace meldora
