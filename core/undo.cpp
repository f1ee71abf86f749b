// PLACEHOLDER: this rule area is being written; the owner replaces this whole file.
#include "core/game.h"

#include <stdexcept>

namespace meldora {

void CanastaGame::PushUndo(const CardRecord&) { throw std::logic_error("not built yet"); }
UndoEntry CanastaGame::PopUndo() { throw std::logic_error("not built yet"); }
void CanastaGame::ClearUndo() { throw std::logic_error("not built yet"); }
void CanastaGame::UndoMeld() { throw std::logic_error("not built yet"); }
void CanastaGame::UndoAll() { throw std::logic_error("not built yet"); }

}  // namespace meldora
