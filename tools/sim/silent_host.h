// The simulator's window on the game: nothing is shown, played or waited for.
// The few calls that matter to a simulated match are handed to the match
// runner through the callbacks below; every other call is dropped as by the
// game's own silent host.
#pragma once

#include <functional>
#include <string>

#include "core/scoring.h"
#include "core/silent_host.h"

namespace meldora::sim {

class SilentHost : public meldora::SilentHost {
public:
    // The game hands the turn to the computer's side.
    std::function<void()> OnComputerTurn;
    std::function<void(const HandScore&)> OnHandScored;
    std::function<void(const MatchResult&)> OnGameOver;
    // Warnings and errors the game or a computer level reports in a box.
    std::function<void(MessageKind, const std::string&)> OnMessage;

    void ShowMessage(MessageKind kind, const std::string& text) override;
    // Only a network game asks anything; answer Yes so that nothing waits.
    bool Confirm(const std::string&) override { return true; }
    std::string OpponentName() const override { return "Computer"; }

    void RunComputerTurn() override;
    void ShowHandScore(const HandScore& score) override;
    // The simulator starts each match itself: no further match is wanted here,
    // so the game deals no hand after the last one that nobody would play.
    bool ShowGameOver(const MatchResult& result) override;
};

// The same window, reporting every card move and repaint as well: the strict
// mode checks the table then. (Without it a card move costs the game only its
// call of the silent host's empty handlers.)
class WatchingHost : public SilentHost {
public:
    // A card has moved or the table was repainted: a good moment to check it.
    std::function<void()> OnTableChanged;

    void MoveCard(const CardRecord&, int, int, int, int) override { TableChanged(); }
    void InvalidateTableRect(const TableRect&) override { TableChanged(); }
    void RepaintTable() override { TableChanged(); }
    bool WatchesRepaints() const override { return true; }

private:
    void TableChanged()
    {
        if (OnTableChanged)
            OnTableChanged();
    }
};

}  // namespace meldora::sim
