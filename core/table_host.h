// Everything the game reaches outside itself: card flights, pauses, repaints,
// sounds, the phase hint and error line, message boxes, the network partner and
// the computer's turn. The main window implements it; tests record the calls;
// the simulator stays silent.
#pragma once

#include <string>

#include "core/card.h"
#include "core/turn_types.h"

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

// Separates the fields of a message to the network partner.
inline constexpr char MessageFieldSeparator = '\xFE';

struct HandScore;    // core/scoring.h
struct MatchResult;  // core/scoring.h

class TableHost {
public:
    virtual ~TableHost() = default;

    // Presentation of the table.
    virtual void MoveCard(const CardRecord& card, int fromX, int fromY, int toX, int toY) = 0;
    virtual void Pause(int milliseconds) = 0;
    virtual void InvalidateTableRect(const TableRect& rect) = 0;
    virtual void RepaintTable() = 0;
    // False for a host that shows no table and watches no repaint request, so
    // a computer turn can spare asking it to repaint every card it moves.
    virtual bool WatchesRepaints() const { return true; }
    virtual void PlaySound(SoundEvent event) = 0;
    virtual void SetBusyCursor(bool busy) = 0;

    // Turn phase hint, numbered refusals and the End Hand button.
    virtual void PhaseChanged(TurnPhase phase) = 0;
    virtual void ShowInputError(InputError error, const std::string& text) = 0;
    virtual void StockExhaustedChanged(bool exhausted) = 0;
    virtual void UndoItemsEnabled(bool enabled) = 0;
    virtual void ShowTurnWindow(const std::string& text) = 0;

    // Modal boxes. Confirm returns true only on Yes.
    virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;
    virtual bool Confirm(const std::string& text) = 0;

    // The network partner; SendMessage does nothing when not connected. A payload of
    // several fields joins them with MessageFieldSeparator.
    virtual bool IsNetworkGame() const = 0;
    virtual bool IsConnectionRoleOne() const = 0;
    virtual std::string OpponentName() const = 0;
    virtual void SendMessage(const std::string& token, const std::string& payload) = 0;
    virtual void HandleHeldNetworkMessages() = 0;

    // The opponent's whole turn (the computer player); never called in a network game.
    virtual void RunComputerTurn() = 0;

    // Hand and match results.
    // The selected player's name; empty when no player is selected.
    virtual std::string SelectedPlayerName() const = 0;
    // The scoring window, and the details window when asked for; returns when closed.
    virtual void ShowHandScore(const HandScore& score) = 0;
    // Margins (human minus opponent) for the highscore lists of the level being
    // played. The hand offer is the first records call of every hand end: the
    // name question may be asked again from there on, then at most once.
    virtual void OfferHandHighscore(int margin) = 0;
    virtual void OfferMatchHighscore(int margin) = 0;
    // A match-history line; the player's name is the host's (the selected player,
    // "Player", or a name typed into the highscore question of this hand end).
    virtual void AddMatchHistory(int humanScore, int opponentScore, const std::string& opponentName) = 0;
    // A won or lost match for the selected player; not called for a draw.
    virtual void RecordMatchResult(bool won) = 0;
    // The game-over window; true when another match is wanted (OK in a network game).
    virtual bool ShowGameOver(const MatchResult& result) = 0;
    // Deletes "autosave.meldora" from the user files folder.
    virtual void DeleteAutoSave() = 0;
    virtual void QuitProgram() = 0;
};

}  // namespace meldora
