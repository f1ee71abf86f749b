// meldora-sim: computer against computer, whole matches, no window.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tools/sim/simulation.h"

namespace {

constexpr int BarWidth = 40;

void DrawProgress(int done, int total)
{
    // Redrawn once per percent: thousands of matches a second would flood the terminal.
    static int shownPercent = -1;
    const int percent = total > 0 ? static_cast<int>(100LL * done / total) : 100;
    if (percent == shownPercent && done != total)
        return;
    shownPercent = percent;
    const int filled = total > 0 ? static_cast<int>(static_cast<long long>(done) * BarWidth / total) : BarWidth;
    std::fprintf(stderr, "\r[%s%s] %d/%d matches", std::string(filled, '#').c_str(),
                 std::string(BarWidth - filled, ' ').c_str(), done, total);
    if (done == total)
        std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace meldora::sim;
    const ParsedCommandLine parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.Ok) {
        std::cerr << "meldora-sim: " << parsed.Error << "\n\n" << UsageText();
        return 2;
    }
    if (parsed.HelpWanted) {
        std::cout << UsageText();
        return 0;
    }

    const SimOptions& options = parsed.Options;
    std::function<void(int, int)> progress;
    if (isatty(STDERR_FILENO))
        progress = DrawProgress;
    const SimReport report = RunSimulation(options, std::cerr, progress);

    std::cout << ReportJson(report, options) << std::endl;
    if (!report.FileProblem.empty())
        std::cerr << "meldora-sim: " << report.FileProblem << '\n';
    const bool faulty = report.InvariantViolations > 0 || report.RuleBreaks > 0 || report.ScoreDisagreements > 0;
    return faulty || !report.FileProblem.empty() ? 1 : 0;
}
