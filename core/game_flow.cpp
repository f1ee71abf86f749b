// PLACEHOLDER: this rule area is being written; the owner replaces this whole file.
#include "core/game.h"

#include <stdexcept>

namespace meldora {

void CanastaGame::NewGame() { throw std::logic_error("not built yet"); }
void CanastaGame::DealHand(bool) { throw std::logic_error("not built yet"); }
void CanastaGame::DrawFromStock() { throw std::logic_error("not built yet"); }
void CanastaGame::DiscardCard(int) { throw std::logic_error("not built yet"); }
void CanastaGame::CheckForcedPass() { throw std::logic_error("not built yet"); }
void CanastaGame::EndHandClick() { throw std::logic_error("not built yet"); }
bool CanastaGame::CheckEndOfHand() { throw std::logic_error("not built yet"); }
void CanastaGame::SetPhase(int) { throw std::logic_error("not built yet"); }
void CanastaGame::ShowInputError(int) { throw std::logic_error("not built yet"); }
void CanastaGame::SetStockExhausted(bool) { throw std::logic_error("not built yet"); }
void CanastaGame::PassTurnToOpponent() { throw std::logic_error("not built yet"); }

}  // namespace meldora
