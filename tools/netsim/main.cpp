// meldora-netsim: two copies of the game play each other over a loopback TCP
// connection and are compared after every move.
#include <cstdlib>
#include <iostream>
#include <string>

#include "tools/netsim/network_match.h"

int main(int argc, char** argv)
{
    meldora::netsim::NetworkRunOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--hands" && hasValue) {
            options.Hands = std::atoi(argv[++i]);
        } else if (arg == "--seed" && hasValue) {
            options.Seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--rules" && hasValue && std::string(argv[i + 1]) == "hoyle") {
            options.Rules = meldora::HoyleRules();
            options.RulesName = argv[++i];
        } else if (arg == "--rules" && hasValue && std::string(argv[i + 1]) == "default") {
            options.RulesName = argv[++i];
        } else if (arg == "--three-block") {
            // Lets a red three laid out be taken back to block the pile.
            options.Rules.ThreeBlock = true;
            options.RulesName += "+three-block";
        } else {
            std::cerr << "usage: meldora-netsim [--hands N] [--seed S] [--rules default|hoyle] [--three-block]\n";
            return 2;
        }
    }
    const meldora::netsim::NetworkReport report = meldora::netsim::RunNetworkGames(options);
    std::cout << meldora::netsim::ReportJson(report, options) << std::endl;
    return report.Clean() && report.Hands >= options.Hands ? 0 : 1;
}
