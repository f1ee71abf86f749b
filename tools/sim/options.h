// The simulator's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/rule_options.h"

namespace meldora::sim {

// How closely the table is watched besides the referee, which judges every
// turn whatever the level.
enum class TableChecks {
    // Every card is where it belongs and the scores add up at every hand end.
    AtHandEnd,
    // Besides, the whole table (layout, canastas, meld values, known cards)
    // between any two turns.
    BetweenTurns,
    // Besides, every card is on the table exactly once after every card move.
    AfterEveryMove,
};

struct SimOptions {
    // The level named by --human ("first") and by --computer ("second").
    std::uint8_t FirstLevel = 2;
    std::uint8_t SecondLevel = 2;
    int Matches = 100;
    std::uint32_t Seed = 1;
    std::string RulesName = "default";
    RuleOptions Rules;
    int Aggression = 50;
    // Every deal is played twice, the second time with the levels' seats exchanged.
    bool Duplicate = false;
    // In the first hand, at the start of the human side's SaveTurn-th turn, save and stop.
    std::string SaveFile;
    int SaveTurn = 1;
    // Play a saved game on to the end of its match.
    std::string LoadFile;
    // Turns of both sides after which a hand counts as endless.
    int HandTurnCap = 2000;
    TableChecks Checks = TableChecks::AtHandEnd;
};

struct ParsedCommandLine {
    bool Ok = false;
    bool HelpWanted = false;
    std::string Error;
    SimOptions Options;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();

// "beginner", "advanced", "expert".
std::string LevelName(std::uint8_t level);

}  // namespace meldora::sim
