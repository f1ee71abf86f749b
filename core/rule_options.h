// The thirteen rule options that select the local variant of the game.
#pragma once

#include <array>

namespace meldora {

class SettingsAccess;

struct RuleOptions {
    bool CanastaRequired = false;
    int NumberOfCanastas = 1;
    int NumberOfCards = 1;
    bool AddToCanasta = true;
    bool TopCardCounts = true;
    bool InitialBlock = true;
    bool NaturalPair = true;
    bool AddExistingMeld = false;
    bool DrawExtra = true;
    bool ThreeBlock = false;
    bool BonusCounts = false;
    bool InitialBlockForBoth = true;
    bool WildcardCanasta = true;

    bool operator==(const RuleOptions&) const = default;
};

// The "Hoyle Rules" preset.
RuleOptions HoyleRules();

// Settings keys in the order the options are read and written.
inline constexpr std::array<const char*, 13> RuleOptionKeys{
    "Settings\\Canasta Required", "Settings\\Number of Canastas", "Settings\\Number of Cards",
    "Settings\\Add to Canasta",   "Settings\\Top Card Counts",     "Settings\\Initial Block",
    "Settings\\Natural Pair",     "Settings\\Add Existing Meld",   "Settings\\Draw Extra",
    "Settings\\Three Block",      "Settings\\Bonus Counts",        "Settings\\Initial Block for Both",
    "Settings\\Wildcard Canasta",
};

// Reads the options with their defaults; a count outside 1..2 is taken as its default.
RuleOptions LoadRuleOptions(SettingsAccess& settings);
// Writes the thirteen keys in table order.
void SaveRuleOptions(SettingsAccess& settings, const RuleOptions& options);

}  // namespace meldora
