// The pictures of the ten standard card backs, drawn by the program itself so that
// they are sharp at every card size and pixel ratio.
#pragma once

class QPainter;

namespace meldora {

// Every pattern is drawn on an area of this many units; the caller scales it to the card.
inline constexpr double PatternWidth = 100.0;
inline constexpr double PatternHeight = 160.0;

// Paints pattern 0..9 ("beach" ... "shell") over the whole area.
void paintPattern(QPainter& painter, int pattern);

}  // namespace meldora
