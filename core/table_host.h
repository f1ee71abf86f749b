// Everything the game reaches outside itself: card flights, pauses, repaints,
// sounds, the phase hint and error line, message boxes, the network partner and
// the computer's turn. The main window implements it; tests record the calls;
// the simulator stays silent.
#pragma once

#include <string>

#include "core/card.h"

namespace meldora {

enum class SoundEvent {
    Deal = 0,
    Exit,
    Help1st,
    Help2nd,
    Help3rd,
    Highscore,
    LoseHand,
    LoseMatch,
    MixedCanasta,
    NaturalCanasta,
    Start,
    TakeHugePile,
    WinMatch,
    WinHand,
    EndTurnNetwork,
};

enum class MessageKind { Warning, Error, Information, Confirmation };

struct TableRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

class TableHost {
public:
    virtual ~TableHost() = default;

    // Presentation of the table.
    virtual void MoveCard(const CardRecord& card, int fromX, int fromY, int toX, int toY) = 0;
    virtual void Pause(int milliseconds) = 0;
    virtual void InvalidateTableRect(const TableRect& rect) = 0;
    virtual void RepaintTable() = 0;
    virtual void PlaySound(SoundEvent event) = 0;
    virtual void SetBusyCursor(bool busy) = 0;

    // Turn phase hint, numbered refusals and the End Hand button.
    virtual void PhaseChanged(int phase) = 0;
    virtual void ShowInputError(int number, const std::string& text) = 0;
    virtual void StockExhaustedChanged(bool exhausted) = 0;
    virtual void UndoItemsEnabled(bool enabled) = 0;
    virtual void ShowTurnWindow(const std::string& text) = 0;

    // Modal boxes. Confirm returns true only on Yes.
    virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;
    virtual bool Confirm(const std::string& text) = 0;

    // The network partner; SendMessage does nothing when not connected.
    virtual bool IsNetworkGame() const = 0;
    virtual bool IsConnectionRoleOne() const = 0;
    virtual std::string OpponentName() const = 0;
    virtual void SendMessage(const std::string& token, const std::string& payload) = 0;
    virtual void HandleHeldNetworkMessages() = 0;

    // The opponent's whole turn (the computer player); never called in a network game.
    virtual void RunComputerTurn() = 0;
};

}  // namespace meldora
