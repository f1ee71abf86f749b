// Plays one match at a time with a computer level in each seat, on one game
// with a silent host, and checks the table as it goes.
//
// The computer's seat is played as in the program: the game hands the turn to
// the host, which runs the level at once. The human's seat is played by the
// runner: the level plays its turn from the human's side of the table, and the
// game is told the turn is over as after the human's discard.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "ai/computer_player.h"
#include "core/game.h"
#include "tools/sim/invariants.h"
#include "tools/sim/options.h"
#include "tools/sim/referee.h"
#include "tools/sim/rule_settings.h"
#include "tools/sim/silent_host.h"

namespace meldora::sim {

struct MatchOutcome {
    // Played to its end (not abandoned for a broken table, not stopped to save).
    bool Completed = false;
    std::int32_t HumanScore = 0;
    std::int32_t ComputerScore = 0;
    int Hands = 0;
    int Violations = 0;
    // Turns the referee found against the rules; play goes on.
    int RuleBreaks = 0;
    // Hand score rows the referee scored otherwise from the cards.
    int ScoreDisagreements = 0;
    // Error and warning boxes a level or the game showed (a level asking for a
    // wild card it does not hold, for example).
    int ErrorMessages = 0;
    // Saving and loading: empty when it went well.
    std::string FileProblem;
    bool Saved = false;
};

// The seed of a match's first deal and each deal after it: every deal of a
// match is shuffled the same way whoever sits where.
std::uint32_t DealSeed(std::uint32_t matchSeed, int deal);
std::uint32_t MatchSeed(std::uint32_t seed, int match);

class MatchRunner {
public:
    MatchRunner(const SimOptions& options, std::ostream& log);

    // Plays a fresh match; humanLevel sits in the human's seat.
    MatchOutcome PlayMatch(int matchNumber, std::uint32_t matchSeed, std::uint8_t humanLevel,
                           std::uint8_t computerLevel);
    // Loads a saved game and plays it on to the end of its match.
    MatchOutcome PlaySavedMatch(const std::string& fileName, std::uint32_t matchSeed, std::uint8_t humanLevel,
                                std::uint8_t computerLevel);

    // Called at the start of every turn of the human's seat, with the table the
    // right way round (for tests).
    std::function<void(CanastaGame&)> OnHumanSeatTurn;

    CanastaGame& Game() { return game_; }

private:
    struct Abandon {};

    void BeginMatch(int matchNumber, std::uint32_t matchSeed, std::uint8_t humanLevel, std::uint8_t computerLevel);
    void PlayToEndOfMatch();
    MatchOutcome PlayGuarded(const std::function<void()>& play);
    void PlayHumanSeatTurn();
    void PlayComputerSeatTurn();
    bool SaveHere();

    void HandScored(const HandScore& score);
    void GameOver(const MatchResult& result);
    void Message(MessageKind kind, const std::string& text);

    void CheckDuringTurn();
    // The match scores always; the whole table as well when the options ask for it.
    void CheckBetweenTurns(const char* when);
    void CheckTable(std::string_view when, bool wholeTable);
    // The match scores are the totals of the hands scored so far.
    bool ScoresAsExpected() const;
    // The referee's verdict on the turn it was watching.
    void JudgeTurn(const char* when);
    // Counts a turn's rule breaks and prints them (apart from the judgement,
    // which nearly every turn leaves with nothing to print).
    void ReportBreaks(const std::vector<std::string>& breaks, const char* when);
    void Report(const std::vector<std::string>& faults, const std::string& when);
    // Reports broken invariants and abandons the match.
    [[noreturn]] void Violated(const std::vector<std::string>& faults, const std::string& when);
    std::string Where() const;

    SimOptions options_;
    std::ostream& log_;
    // The game's window: the strict mode's watches every card move, the
    // other lets card moves pass at no cost of its own.
    SilentHost quietHost_;
    WatchingHost watchingHost_;
    SilentHost& host_;
    RuleSettings settings_;
    CanastaGame game_;
    Referee referee_;
    // The human side's meld value as last asked of the game, with the referee's
    // count of that side's meld changes at the time.
    struct HumanMeldValue {
        std::uint64_t MeldsVersion = 0;
        std::int32_t Value = 0;
    };
    std::optional<HumanMeldValue> humanMeldValue_;
    // What the level in the human's seat remembers between its turns (the game
    // keeps the computer side's).
    ComputerMemory humanSeatMemory_;
    ai::ComputerSettings humanSeat_;
    ai::ComputerSettings computerSeat_;

    // The match being played.
    MatchOutcome outcome_;
    int matchNumber_ = 0;
    std::uint32_t matchSeed_ = 0;
    int deal_ = 0;
    int hand_ = 1;
    int turnsInHand_ = 0;
    int humanTurnsInHand_ = 0;
    int operation_ = 0;
    // Pile sizes at the last check during a turn: a repaint that follows no
    // card move needs no new check.
    std::array<std::uint8_t, 6> checkedCounts_{};
    // What is being played, for reports: one of the texts below (or a literal),
    // so that a turn names itself without copying a string.
    std::string_view move_;
    // What move_ says during each seat's turn, made once a match.
    std::string humanSeatMove_;
    std::string computerSeatMove_;
    // The moment of a check between turns that found a fault.
    std::string checkMoment_;
    bool matchOver_ = false;
    bool stopped_ = false;
    bool playing_ = false;
    bool filing_ = false;
    std::int32_t expectedHumanScore_ = 0;
    std::int32_t expectedComputerScore_ = 0;
};

}  // namespace meldora::sim
