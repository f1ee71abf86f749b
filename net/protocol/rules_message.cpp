#include "net/protocol/rules_message.h"

#include <array>

#include "net/protocol/framing.h"

namespace meldora::net {

namespace {

enum class FieldKind { Flag, Count };

struct RuleField {
    const char* ShownName;
    FieldKind Kind;
    bool RuleOptions::*Flag;
    int RuleOptions::*Count;
};

// The order of the fields on the wire.
const std::array<RuleField, RuleFieldCount> Fields{{
    {"Canasta Required for Positive Score", FieldKind::Flag, &RuleOptions::CanastaRequired, nullptr},
    {"Number of Canastas required to go out", FieldKind::Count, nullptr, &RuleOptions::NumberOfCanastas},
    {"Number of Cards drawn each turn", FieldKind::Count, nullptr, &RuleOptions::NumberOfCards},
    {"Add top card to Canasta", FieldKind::Flag, &RuleOptions::AddToCanasta, nullptr},
    {"Top card counts for initial meld", FieldKind::Flag, &RuleOptions::TopCardCounts, nullptr},
    {"Discard Pile initially frozen", FieldKind::Flag, &RuleOptions::InitialBlock, nullptr},
    {"Natural pair required for taking pile", FieldKind::Flag, &RuleOptions::NaturalPair, nullptr},
    {"Draw extra card for Red Three", FieldKind::Flag, &RuleOptions::DrawExtra, nullptr},
    {"Discarding Red Three freezes pile", FieldKind::Flag, &RuleOptions::ThreeBlock, nullptr},
    {"Canasta Bonus counts for initial meld", FieldKind::Flag, &RuleOptions::BonusCounts, nullptr},
    {"Initial Freeze separate for both players", FieldKind::Flag, &RuleOptions::InitialBlockForBoth, nullptr},
    {"Wildcard Canasta allowed", FieldKind::Flag, &RuleOptions::WildcardCanasta, nullptr},
    {"Don't add top card to existing meld", FieldKind::Flag, &RuleOptions::AddExistingMeld, nullptr},
}};

std::string FieldOf(const RuleOptions& rules, const RuleField& field)
{
    if (field.Kind == FieldKind::Flag)
        return rules.*field.Flag ? "T" : "F";
    return std::to_string(rules.*field.Count);
}

std::string Shown(const RuleField& field, const std::string& value)
{
    if (field.Kind == FieldKind::Flag)
        return value == "T" ? "Yes" : "No";
    return value == "1" ? "One" : "Two";
}

}  // namespace

std::string BuildRulesPayload(const RuleOptions& rules)
{
    std::string payload;
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        if (i > 0)
            payload += FieldSeparator;
        payload += FieldOf(rules, Fields[i]);
    }
    return payload;
}

std::optional<std::vector<std::string>> ParseRulesFields(const std::vector<std::string>& fields)
{
    if (fields.size() != Fields.size())
        return std::nullopt;
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        const bool possible = Fields[i].Kind == FieldKind::Flag ? (fields[i] == "T" || fields[i] == "F")
                                                                : (fields[i] == "1" || fields[i] == "2");
        if (!possible)
            return std::nullopt;
    }
    return fields;
}

std::vector<RuleDifference> CompareRules(const RuleOptions& own, const std::vector<std::string>& opponentFields)
{
    std::vector<RuleDifference> rows;
    for (std::size_t i = 0; i < Fields.size() && i < opponentFields.size(); ++i) {
        const std::string mine = FieldOf(own, Fields[i]);
        if (mine != opponentFields[i])
            rows.push_back({Fields[i].ShownName, Shown(Fields[i], mine), Shown(Fields[i], opponentFields[i])});
    }
    return rows;
}

RuleOptions RulesFromFields(const std::vector<std::string>& fields)
{
    RuleOptions rules;
    for (std::size_t i = 0; i < Fields.size() && i < fields.size(); ++i) {
        if (Fields[i].Kind == FieldKind::Flag)
            rules.*Fields[i].Flag = fields[i] == "T";
        else
            rules.*Fields[i].Count = fields[i] == "2" ? 2 : 1;
    }
    return rules;
}

}  // namespace meldora::net
