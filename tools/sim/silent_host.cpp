#include "tools/sim/silent_host.h"

namespace meldora::sim {

void SilentHost::ShowMessage(MessageKind kind, const std::string& text)
{
    if (kind != MessageKind::Information && OnMessage)
        OnMessage(kind, text);
}

void SilentHost::RunComputerTurn()
{
    if (OnComputerTurn)
        OnComputerTurn();
}

void SilentHost::ShowHandScore(const HandScore& score)
{
    if (OnHandScored)
        OnHandScored(score);
}

bool SilentHost::ShowGameOver(const MatchResult& result)
{
    if (OnGameOver)
        OnGameOver(result);
    return false;
}

}  // namespace meldora::sim
