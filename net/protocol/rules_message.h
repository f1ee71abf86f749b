// The thirteen rule options as the two copies of a network game exchange them,
// and the list of differences shown to the player.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/rule_options.h"

namespace meldora::net {

inline constexpr int RuleFieldCount = 13;

// The options as thirteen fields ("T"/"F" for a flag, the number for a count),
// joined with the field separator.
std::string BuildRulesPayload(const RuleOptions& rules);

// The fields of a received RULES message when each is a possible value ("T" or
// "F" for a flag, "1" or "2" for a count); nothing otherwise.
std::optional<std::vector<std::string>> ParseRulesFields(const std::vector<std::string>& fields);

struct RuleDifference {
    std::string Rule;
    std::string YourSetting;
    std::string OpponentSetting;
};

// One row per option whose field differs, in option order.
std::vector<RuleDifference> CompareRules(const RuleOptions& own, const std::vector<std::string>& opponentFields);

// The options the opponent's fields describe.
RuleOptions RulesFromFields(const std::vector<std::string>& fields);

}  // namespace meldora::net
