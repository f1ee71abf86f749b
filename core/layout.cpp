#include "core/layout.h"

#include "core/card.h"

#include <stdexcept>

namespace meldora {

TableLayout ApplyLayout(int sizeIndex, int clientWidth)
{
    if (sizeIndex < 0 || sizeIndex >= static_cast<int>(SizeClasses.size()))
        throw std::out_of_range("window size class outside 0..3");
    const SizeClass& s = SizeClasses[sizeIndex];
    TableLayout l;
    l.SizeIndex = sizeIndex;
    l.TableWidth = s.TableWidth;
    l.TableHeight = s.TableHeight;
    l.CardWidth = s.CardWidth;
    l.CardHeight = s.CardHeight;
    l.ClientWidth = clientWidth;
    l.ColumnPitch = (clientWidth - 14 * s.CardWidth) / 14 + s.CardWidth;
    if (l.ColumnPitch <= 0)
        l.ColumnPitch = s.CardWidth;
    l.MiddleLine = s.TableHeight / 2 - 38;
    l.StockTop = l.MiddleLine - s.CardHeight - 2;
    l.DiscardTop = l.MiddleLine + 2;
    l.HumanMeldBase = l.MiddleLine - 6;
    l.ComputerMeldBase = l.MiddleLine - s.CardHeight + 9;
    l.HumanHandBase = l.MiddleLine + s.CardHeight + 56;
    l.ComputerHandTop = 5;
    return l;
}

}  // namespace meldora
