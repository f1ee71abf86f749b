#include "tools/sim/options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "ai/computer_player.h"

namespace meldora::sim {

namespace {

bool ParseLevel(const std::string& text, std::uint8_t& level)
{
    std::string folded = text;
    std::transform(folded.begin(), folded.end(), folded.begin(), [](unsigned char c) { return std::tolower(c); });
    if (folded == "beginner")
        level = ai::Beginner;
    else if (folded == "advanced")
        level = ai::Advanced;
    else if (folded == "expert")
        level = ai::Expert;
    else
        return false;
    return true;
}

bool ParseNumber(const std::string& text, long long low, long long high, long long& value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end && value >= low && value <= high;
}

}  // namespace

std::string LevelName(std::uint8_t level)
{
    switch (level) {
    case ai::Beginner: return "beginner";
    case ai::Advanced: return "advanced";
    case ai::Expert: return "expert";
    default: return "none";
    }
}

std::string UsageText()
{
    return "Usage: meldora-sim [options]\n"
           "Plays whole Canasta matches between two computer levels; a referee judges every turn.\n"
           "\n"
           "  --human LEVEL      level playing the human's side: beginner, advanced or expert (default expert)\n"
           "  --computer LEVEL   level playing the computer's side (default expert)\n"
           "  --matches N        matches to play, 1 or more (default 100)\n"
           "  --seed S           seed of the deals and the computer's chances, 0..4294967295 (default 1)\n"
           "  --rules NAME       default or hoyle (default default)\n"
           "  --aggression A     the Expert's aggressiveness in percent, 0..100 (default 50)\n"
           "  --duplicate        play every deal twice, the second time with the levels' seats exchanged\n"
           "                     (N must be even)\n"
           "  --save FILE        in the first hand, save the game at the start of the human side's turn K\n"
           "  --save-turn K      that turn, 1 or more (default 1)\n"
           "  --load FILE        load a saved game and play it on to the end of its match\n"
           "  --hand-cap T       turns after which a hand counts as endless (default 2000)\n"
           "  --check-turns      check the whole table between any two turns, not only at hand end\n"
           "  --strict           as --check-turns, and check every card is there after every card move\n"
           "  --help             show this text\n"
           "\n"
           "Prints one JSON object with the results. Exit status: 0 sound, 1 an invariant or a rule was\n"
           "broken, a hand was scored otherwise than its cards give, or a saved game could not be written\n"
           "or read, 2 bad arguments.\n";
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    ParsedCommandLine parsed;
    SimOptions& o = parsed.Options;
    bool saveTurnGiven = false;
    auto fail = [&parsed](std::string error) {
        parsed.Ok = false;
        parsed.Error = std::move(error);
        return parsed;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        auto takesValue = option == "--human" || option == "--computer" || option == "--matches" ||
                          option == "--seed" || option == "--rules" || option == "--aggression" ||
                          option == "--save" || option == "--save-turn" || option == "--load" ||
                          option == "--hand-cap";
        if (option == "--help" || option == "-h") {
            parsed.HelpWanted = true;
            parsed.Ok = true;
            return parsed;
        }
        if (option == "--duplicate") {
            o.Duplicate = true;
            continue;
        }
        if (option == "--check-turns" || option == "--strict") {
            // The closer watch wins whatever the order of the two.
            o.Checks = std::max(o.Checks, option == "--strict" ? TableChecks::AfterEveryMove : TableChecks::BetweenTurns);
            continue;
        }
        if (!takesValue)
            return fail("unknown option '" + option + "'");
        if (i + 1 >= args.size())
            return fail(option + " needs a value");
        const std::string& value = args[++i];
        long long number = 0;
        if (option == "--human" || option == "--computer") {
            if (!ParseLevel(value, option == "--human" ? o.FirstLevel : o.SecondLevel))
                return fail(option + ": '" + value + "' is not a level (beginner, advanced or expert)");
        } else if (option == "--matches") {
            if (!ParseNumber(value, 1, std::numeric_limits<int>::max(), number))
                return fail("--matches: '" + value + "' is not a number of matches (1 or more)");
            o.Matches = static_cast<int>(number);
        } else if (option == "--seed") {
            if (!ParseNumber(value, 0, std::numeric_limits<std::uint32_t>::max(), number))
                return fail("--seed: '" + value + "' is not a seed (0..4294967295)");
            o.Seed = static_cast<std::uint32_t>(number);
        } else if (option == "--rules") {
            if (value == "default")
                o.Rules = RuleOptions{};
            else if (value == "hoyle")
                o.Rules = HoyleRules();
            else
                return fail("--rules: '" + value + "' is not a rule set (default or hoyle)");
            o.RulesName = value;
        } else if (option == "--aggression") {
            if (!ParseNumber(value, 0, 100, number))
                return fail("--aggression: '" + value + "' is not a percentage (0..100)");
            o.Aggression = static_cast<int>(number);
        } else if (option == "--save") {
            if (value.empty())
                return fail("--save needs a file name");
            o.SaveFile = value;
        } else if (option == "--save-turn") {
            if (!ParseNumber(value, 1, std::numeric_limits<int>::max(), number))
                return fail("--save-turn: '" + value + "' is not a turn (1 or more)");
            o.SaveTurn = static_cast<int>(number);
            saveTurnGiven = true;
        } else if (option == "--load") {
            if (value.empty())
                return fail("--load needs a file name");
            o.LoadFile = value;
        } else if (option == "--hand-cap") {
            if (!ParseNumber(value, 2, std::numeric_limits<int>::max(), number))
                return fail("--hand-cap: '" + value + "' is not a number of turns (2 or more)");
            o.HandTurnCap = static_cast<int>(number);
        }
    }

    if (saveTurnGiven && o.SaveFile.empty())
        return fail("--save-turn needs --save");
    if (!o.SaveFile.empty() && !o.LoadFile.empty())
        return fail("--save and --load cannot be combined");
    if (o.Duplicate && (!o.SaveFile.empty() || !o.LoadFile.empty()))
        return fail("--duplicate cannot be combined with --save or --load");
    if (o.Duplicate && o.Matches % 2 != 0)
        return fail("--duplicate plays matches in pairs: --matches must be even");
    parsed.Ok = true;
    return parsed;
}

}  // namespace meldora::sim
