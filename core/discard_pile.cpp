// PLACEHOLDER: this rule area is being written; the owner replaces this whole file.
#include "core/game.h"

#include <stdexcept>

namespace meldora {

bool CanastaGame::IsPileFrozen(Side) const { throw std::logic_error("not built yet"); }
bool CanastaGame::DiscardFreezeRule(const CardRecord&) { throw std::logic_error("not built yet"); }
bool CanastaGame::CanTakePile(bool) { throw std::logic_error("not built yet"); }
bool CanastaGame::ForcedToTake(int, const ColumnCounts&) const { throw std::logic_error("not built yet"); }
void CanastaGame::TakePile() { throw std::logic_error("not built yet"); }
void CanastaGame::CompleteTake() { throw std::logic_error("not built yet"); }
void CanastaGame::UndoTake() { throw std::logic_error("not built yet"); }
void CanastaGame::BlockWithRedThree(int) { throw std::logic_error("not built yet"); }

}  // namespace meldora
