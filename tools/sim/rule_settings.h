// The settings the game reads while it plays, answered from the rules chosen
// on the command line (the deal reads the initial freeze of the pile from the
// settings store, where the rules dialog keeps it). Nothing is stored on disk.
#pragma once

#include "core/memory_settings.h"
#include "core/rule_options.h"

namespace meldora::sim {

class RuleSettings : public MemorySettings {
public:
    explicit RuleSettings(const RuleOptions& rules) { SaveRuleOptions(*this, rules); }
};

}  // namespace meldora::sim
