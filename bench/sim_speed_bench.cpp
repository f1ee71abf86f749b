// How many hands the simulator plays per second of processor time, with the
// referee judging every turn: as it runs by default (the whole deck checked at
// every hand end) and in the strict mode (every card checked after every move).
// Prints the figures; judges nothing.
//
//   bench_sim_speed [matches]   (default 200 for each pairing and rule set)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "ai/computer_player.h"
#include "tools/sim/simulation.h"

namespace {

using namespace meldora;
using namespace meldora::sim;

struct Tally {
    long long Hands = 0;
    double CpuSeconds = 0;
    int Faults = 0;
};

void Run(const SimOptions& options, Tally& tally)
{
    std::ostringstream log;
    const SimReport report = RunSimulation(options, log);
    tally.Hands += report.Hands;
    tally.CpuSeconds += report.CpuSeconds;
    tally.Faults += report.InvariantViolations + report.RuleBreaks + report.ScoreDisagreements;
}

}  // namespace

int main(int argc, char** argv)
{
    const int matches = argc > 1 ? std::max(2, std::atoi(argv[1])) / 2 * 2 : 200;
    const std::uint8_t pairings[][2] = {
        {ai::Expert, ai::Beginner}, {ai::Expert, ai::Advanced}, {ai::Advanced, ai::Beginner}, {ai::Expert, ai::Expert}};

    std::printf("%-8s %-20s %8s %8s %12s %8s %12s\n", "rules", "levels", "hands", "cpu s", "hands/cpu s",
                "strict s", "strict h/s");
    Tally total;
    Tally totalStrict;
    for (const char* rules : {"default", "hoyle"}) {
        for (const auto& pairing : pairings) {
            SimOptions options;
            options.FirstLevel = pairing[0];
            options.SecondLevel = pairing[1];
            options.Matches = matches;
            options.Duplicate = true;
            options.RulesName = rules;
            options.Rules = std::string(rules) == "hoyle" ? HoyleRules() : RuleOptions{};
            Tally plain;
            Run(options, plain);
            options.Checks = TableChecks::AfterEveryMove;
            Tally strict;
            Run(options, strict);

            const std::string levels = LevelName(pairing[0]) + "-" + LevelName(pairing[1]);
            std::printf("%-8s %-20s %8lld %8.3f %12.0f %8.3f %12.0f%s\n", rules, levels.c_str(), plain.Hands,
                        plain.CpuSeconds, plain.Hands / plain.CpuSeconds, strict.CpuSeconds,
                        strict.Hands / strict.CpuSeconds, plain.Faults + strict.Faults > 0 ? "  FAULTS" : "");
            total.Hands += plain.Hands;
            total.CpuSeconds += plain.CpuSeconds;
            totalStrict.Hands += strict.Hands;
            totalStrict.CpuSeconds += strict.CpuSeconds;
        }
    }
    std::printf("all: %.0f hands per CPU second, %.0f in the strict mode\n", total.Hands / total.CpuSeconds,
                totalStrict.Hands / totalStrict.CpuSeconds);
    return 0;
}
