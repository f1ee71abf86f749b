// PLACEHOLDER
#include <stdexcept>

#include "ai/computer_player.h"

namespace meldora::ai {

void PlayBeginnerTurn(CanastaGame&, const ComputerSettings&) { throw std::logic_error("not built yet"); }

}  // namespace meldora::ai
