// The column a meld card lies in, for cards looked at in pile order. The cards
// of one meld column lie together in the pile and share their x, so the column
// (a division by the column pitch) is worked out once for each run of them:
// the tallies of the melds are counted many times a turn.
#pragma once

#include "core/card.h"
#include "core/layout.h"

namespace meldora {

class ColumnRuns {
public:
    explicit ColumnRuns(const TableLayout& layout) : layout_(layout) {}

    // Layout.ColumnOf(card.X).
    int operator()(const CardRecord& card)
    {
        if (!known_ || card.X != x_) {
            known_ = true;
            x_ = card.X;
            column_ = layout_.ColumnOf(card.X);
        }
        return column_;
    }

private:
    const TableLayout& layout_;
    bool known_ = false;
    int x_ = 0;
    int column_ = 0;
};

}  // namespace meldora
