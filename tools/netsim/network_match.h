// Two copies of the program play each other over a loopback TCP connection,
// each seat played by a scripted player through the human's moves; after every
// move, once the messages have arrived, the two copies' pictures of the table
// must agree: one's own side is the other's opponent side.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/rule_options.h"

namespace meldora {
class CanastaGame;
}

namespace meldora::netsim {

struct NetworkRunOptions {
    int Hands = 200;
    std::uint32_t Seed = 1;
    RuleOptions Rules;
    std::string RulesName = "default";
};

struct NetworkReport {
    int Hands = 0;
    int Matches = 0;
    int Moves = 0;
    long Messages = 0;
    // The moves sent, by token, both copies together.
    std::map<std::string, long> SentByToken;
    int Disagreements = 0;
    // Faults, unknown tokens and error boxes on either copy.
    int Problems = 0;
    // Turns in which no discard was possible, and hands neither copy could go on with.
    int StuckTurns = 0;
    // The first few findings, with hand and move.
    std::vector<std::string> Findings;

    bool Clean() const { return Disagreements == 0 && Problems == 0 && StuckTurns == 0; }
};

NetworkReport RunNetworkGames(const NetworkRunOptions& options);
std::string ReportJson(const NetworkReport& report, const NetworkRunOptions& options);

// What differs between copy a's table and copy b's, seen from the other side.
std::vector<std::string> CompareMirroredTables(const CanastaGame& a, const CanastaGame& b);

}  // namespace meldora::netsim
