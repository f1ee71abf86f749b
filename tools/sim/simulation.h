// A whole simulator run: the matches the command line asks for, tallied by
// level whichever seat it sat in, and the report printed at the end.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "tools/sim/options.h"

namespace meldora::sim {

struct SimReport {
    int Matches = 0;
    int AbandonedMatches = 0;
    int Hands = 0;
    int Draws = 0;
    double Seconds = 0;
    // Processor time of the run: the speed figure that other work on the machine does not disturb.
    double CpuSeconds = 0;
    int InvariantViolations = 0;
    int RuleBreaks = 0;
    int ScoreDisagreements = 0;
    int ErrorMessages = 0;
    // "first" is the level named by --human, "second" the one named by --computer.
    int WinsFirst = 0;
    int WinsSecond = 0;
    long long PointsFirst = 0;
    long long PointsSecond = 0;
    // Saving and loading: what went wrong, empty when nothing did.
    std::string FileProblem;
    bool Saved = false;

    double HandsPerSecond() const { return Seconds > 0 ? Hands / Seconds : 0; }
};

// progress(done, total) after every match.
SimReport RunSimulation(const SimOptions& options, std::ostream& log,
                        const std::function<void(int, int)>& progress = {});

// One JSON object, with the options the run was made with.
std::string ReportJson(const SimReport& report, const SimOptions& options);

}  // namespace meldora::sim
