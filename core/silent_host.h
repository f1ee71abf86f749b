// A host that shows nothing, plays nothing and answers every question with No:
// for moves the computer player only tries out on a copy of the game, so that
// a rehearsal can never repaint the real table or open a real box.
#pragma once

#include <string>

#include "core/scoring.h"
#include "core/table_host.h"

namespace meldora {

class SilentHost : public TableHost {
public:
    void MoveCard(const CardRecord&, int, int, int, int) override {}
    void Pause(int) override {}
    void InvalidateTableRect(const TableRect&) override {}
    void RepaintTable() override {}
    bool WatchesRepaints() const override { return false; }
    void PlaySound(SoundEvent) override {}
    void SetBusyCursor(bool) override {}

    void PhaseChanged(TurnPhase) override {}
    void ShowInputError(InputError, const std::string&) override {}
    void StockExhaustedChanged(bool) override {}
    void UndoItemsEnabled(bool) override {}
    void ShowTurnWindow(const std::string&) override {}

    void ShowMessage(MessageKind, const std::string&) override {}
    bool Confirm(const std::string&) override { return false; }

    bool IsNetworkGame() const override { return false; }
    bool IsConnectionRoleOne() const override { return false; }
    std::string OpponentName() const override { return {}; }
    void SendMessage(const std::string&, const std::string&) override {}
    void HandleHeldNetworkMessages() override {}
    void RunComputerTurn() override {}

    std::string SelectedPlayerName() const override { return {}; }
    void ShowHandScore(const HandScore&) override {}
    void OfferHandHighscore(int) override {}
    void OfferMatchHighscore(int) override {}
    void AddMatchHistory(int, int, const std::string&) override {}
    void RecordMatchResult(bool) override {}
    bool ShowGameOver(const MatchResult&) override { return false; }
    void DeleteAutoSave() override {}
    void QuitProgram() override {}
};

}  // namespace meldora
