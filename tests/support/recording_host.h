// A TableHost that records every call, answers confirmations from a script and
// lets a test play the computer's turn with a callback.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/scoring.h"
#include "core/table_host.h"

namespace meldora::test {

struct RecordedMessage {
    MessageKind Kind;
    std::string Text;
};

struct RecordedFlight {
    CardRecord Card;
    int FromX, FromY, ToX, ToY;
};

class RecordingHost : public TableHost {
public:
    std::vector<TurnPhase> Phases;
    std::vector<std::pair<int, std::string>> Errors;
    std::vector<RecordedMessage> Messages;
    std::vector<std::string> Confirmations;
    std::deque<bool> ConfirmAnswers;  // answers in order; No when the script runs out
    std::vector<SoundEvent> Sounds;
    std::vector<RecordedFlight> Flights;
    std::vector<std::pair<std::string, std::string>> Sent;
    std::vector<std::string> TurnWindows;
    std::vector<bool> StockExhaustedCalls;
    std::vector<bool> UndoEnabledCalls;
    int ComputerTurns = 0;
    int Repaints = 0;
    bool Network = false;
    bool RoleOne = false;
    std::function<void()> OnComputerTurn;

    void MoveCard(const CardRecord& card, int fx, int fy, int tx, int ty) override
    {
        Flights.push_back({card, fx, fy, tx, ty});
    }
    void Pause(int) override {}
    void InvalidateTableRect(const TableRect&) override { ++Repaints; }
    void RepaintTable() override { ++Repaints; }
    void PlaySound(SoundEvent e) override { Sounds.push_back(e); }
    void SetBusyCursor(bool) override {}
    void PhaseChanged(TurnPhase phase) override { Phases.push_back(phase); }
    void ShowInputError(InputError e, const std::string& text) override { Errors.emplace_back(static_cast<int>(e), text); }
    void StockExhaustedChanged(bool e) override { StockExhaustedCalls.push_back(e); }
    void UndoItemsEnabled(bool e) override { UndoEnabledCalls.push_back(e); }
    void ShowTurnWindow(const std::string& text) override { TurnWindows.push_back(text); }
    void ShowMessage(MessageKind kind, const std::string& text) override { Messages.push_back({kind, text}); }
    bool Confirm(const std::string& text) override
    {
        Confirmations.push_back(text);
        if (ConfirmAnswers.empty())
            return false;
        const bool answer = ConfirmAnswers.front();
        ConfirmAnswers.pop_front();
        return answer;
    }
    bool IsNetworkGame() const override { return Network; }
    bool IsConnectionRoleOne() const override { return RoleOne; }
    std::string OpponentName() const override { return "Partner"; }
    void SendMessage(const std::string& token, const std::string& payload) override
    {
        Sent.emplace_back(token, payload);
    }
    void HandleHeldNetworkMessages() override {}
    void RunComputerTurn() override
    {
        ++ComputerTurns;
        if (OnComputerTurn)
            OnComputerTurn();
    }

    // Hand and match results; ResultCalls lists the calls by name, in order.
    std::string SelectedPlayer;
    std::vector<std::string> ResultCalls;
    std::vector<HandScore> HandScores;
    std::vector<int> HandHighscoreOffers;
    std::vector<int> MatchHighscoreOffers;
    std::vector<std::string> MatchHistory;  // "human - opponent, opponent name"
    std::vector<bool> MatchResults;
    std::vector<MatchResult> GameOvers;
    bool AnotherMatch = true;

    std::string SelectedPlayerName() const override { return SelectedPlayer; }
    void ShowHandScore(const HandScore& score) override
    {
        ResultCalls.push_back("ShowHandScore");
        HandScores.push_back(score);
    }
    void OfferHandHighscore(int margin) override
    {
        ResultCalls.push_back("OfferHandHighscore");
        HandHighscoreOffers.push_back(margin);
    }
    void OfferMatchHighscore(int margin) override
    {
        ResultCalls.push_back("OfferMatchHighscore");
        MatchHighscoreOffers.push_back(margin);
    }
    void AddMatchHistory(int human, int opponent, const std::string& opponentName) override
    {
        ResultCalls.push_back("AddMatchHistory");
        MatchHistory.push_back(std::to_string(human) + " - " + std::to_string(opponent) + ", " + opponentName);
    }
    void RecordMatchResult(bool won) override
    {
        ResultCalls.push_back("RecordMatchResult");
        MatchResults.push_back(won);
    }
    bool ShowGameOver(const MatchResult& result) override
    {
        ResultCalls.push_back("ShowGameOver");
        GameOvers.push_back(result);
        return AnotherMatch;
    }
    void DeleteAutoSave() override { ResultCalls.push_back("DeleteAutoSave"); }
    void QuitProgram() override { ResultCalls.push_back("QuitProgram"); }

    int LastErrorNumber() const { return Errors.empty() ? 0 : Errors.back().first; }
    std::string LastErrorText() const { return Errors.empty() ? std::string() : Errors.back().second; }
};

}  // namespace meldora::test
