#include "tools/sim/simulation.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <sstream>

#include "tools/sim/match_runner.h"

namespace meldora::sim {

namespace {

void Tally(SimReport& report, const MatchOutcome& outcome, bool firstInHumanSeat)
{
    report.Hands += outcome.Hands;
    report.InvariantViolations += outcome.Violations;
    report.RuleBreaks += outcome.RuleBreaks;
    report.ScoreDisagreements += outcome.ScoreDisagreements;
    report.ErrorMessages += outcome.ErrorMessages;
    if (!outcome.Completed) {
        ++report.AbandonedMatches;
        return;
    }
    ++report.Matches;
    const long long first = firstInHumanSeat ? outcome.HumanScore : outcome.ComputerScore;
    const long long second = firstInHumanSeat ? outcome.ComputerScore : outcome.HumanScore;
    report.PointsFirst += first;
    report.PointsSecond += second;
    if (first > second)
        ++report.WinsFirst;
    else if (second > first)
        ++report.WinsSecond;
    else
        ++report.Draws;
}

std::string JsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

}  // namespace

SimReport RunSimulation(const SimOptions& options, std::ostream& log, const std::function<void(int, int)>& progress)
{
    SimReport report;
    MatchRunner runner(options, log);
    const auto started = std::chrono::steady_clock::now();
    const std::clock_t cpuStarted = std::clock();

    if (!options.LoadFile.empty()) {
        const MatchOutcome outcome =
            runner.PlaySavedMatch(options.LoadFile, MatchSeed(options.Seed, 0), options.FirstLevel, options.SecondLevel);
        report.FileProblem = outcome.FileProblem;
        if (report.FileProblem.empty())
            Tally(report, outcome, true);
    } else if (!options.SaveFile.empty()) {
        const MatchOutcome outcome =
            runner.PlayMatch(0, MatchSeed(options.Seed, 0), options.FirstLevel, options.SecondLevel);
        report.Hands = outcome.Hands;
        report.InvariantViolations = outcome.Violations;
        report.RuleBreaks = outcome.RuleBreaks;
        report.ScoreDisagreements = outcome.ScoreDisagreements;
        report.ErrorMessages = outcome.ErrorMessages;
        report.Saved = outcome.Saved;
        report.FileProblem = outcome.FileProblem;
        if (!outcome.Saved && report.FileProblem.empty() && outcome.Violations == 0)
            report.FileProblem = "the first hand ended before the human side's turn " +
                                 std::to_string(options.SaveTurn);
    } else {
        for (int match = 0; match < options.Matches; ++match) {
            // In duplicate play the odd match replays the even one's deals with the seats exchanged.
            const bool firstInHumanSeat = !options.Duplicate || match % 2 == 0;
            const int dealSource = options.Duplicate ? match / 2 : match;
            const std::uint8_t human = firstInHumanSeat ? options.FirstLevel : options.SecondLevel;
            const std::uint8_t computer = firstInHumanSeat ? options.SecondLevel : options.FirstLevel;
            const MatchOutcome outcome = runner.PlayMatch(match, MatchSeed(options.Seed, dealSource), human, computer);
            Tally(report, outcome, firstInHumanSeat);
            if (progress)
                progress(match + 1, options.Matches);
        }
    }

    report.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    report.CpuSeconds = static_cast<double>(std::clock() - cpuStarted) / CLOCKS_PER_SEC;
    return report;
}

std::string ReportJson(const SimReport& r, const SimOptions& o)
{
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(3);
    out << "{\"matches\": " << r.Matches << ", \"hands\": " << r.Hands << ", \"draws\": " << r.Draws
        << ", \"seconds\": " << r.Seconds << ", \"cpu_seconds\": " << r.CpuSeconds;
    out.precision(1);
    out << ", \"hands_per_second\": " << r.HandsPerSecond()
        << ", \"hands_per_cpu_second\": " << (r.CpuSeconds > 0 ? r.Hands / r.CpuSeconds : 0.0) << ", \"invariant_violations\": " << r.InvariantViolations
        << ", \"wins_first\": " << r.WinsFirst << ", \"wins_second\": " << r.WinsSecond
        << ", \"points_first\": " << r.PointsFirst << ", \"points_second\": " << r.PointsSecond
        << ", \"rule_breaks\": " << r.RuleBreaks << ", \"score_disagreements\": " << r.ScoreDisagreements << ", \"abandoned_matches\": " << r.AbandonedMatches << ", \"error_messages\": " << r.ErrorMessages
        << ", \"first\": " << JsonString(LevelName(o.FirstLevel))
        << ", \"second\": " << JsonString(LevelName(o.SecondLevel)) << ", \"rules\": " << JsonString(o.RulesName)
        << ", \"seed\": " << o.Seed << ", \"duplicate\": " << (o.Duplicate ? "true" : "false");
    if (!o.SaveFile.empty())
        out << ", \"saved\": " << (r.Saved ? JsonString(o.SaveFile) : "null");
    if (!r.FileProblem.empty())
        out << ", \"file_problem\": " << JsonString(r.FileProblem);
    out << "}";
    return out.str();
}

}  // namespace meldora::sim
