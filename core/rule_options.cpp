#include "core/rule_options.h"

#include "core/settings_access.h"

namespace meldora {

RuleOptions HoyleRules()
{
    RuleOptions r;
    r.CanastaRequired = false;
    r.NumberOfCanastas = 2;
    r.NumberOfCards = 2;
    r.AddToCanasta = false;
    r.TopCardCounts = true;
    r.InitialBlock = true;
    r.NaturalPair = false;
    r.AddExistingMeld = false;
    r.DrawExtra = true;
    r.ThreeBlock = false;
    r.BonusCounts = false;
    r.InitialBlockForBoth = true;
    r.WildcardCanasta = false;
    return r;
}

namespace {
int readCount(SettingsAccess& s, const char* key)
{
    const int v = s.ReadInt(key, 1);
    return (v == 1 || v == 2) ? v : 1;
}
}  // namespace

RuleOptions LoadRuleOptions(SettingsAccess& s)
{
    const RuleOptions d;
    RuleOptions r;
    r.CanastaRequired = s.ReadBool("Settings\\Canasta required", d.CanastaRequired);
    r.NumberOfCanastas = readCount(s, RuleOptionKeys[1]);
    r.NumberOfCards = readCount(s, RuleOptionKeys[2]);
    r.AddToCanasta = s.ReadBool(RuleOptionKeys[3], d.AddToCanasta);
    r.TopCardCounts = s.ReadBool(RuleOptionKeys[4], d.TopCardCounts);
    r.InitialBlock = s.ReadBool(RuleOptionKeys[5], d.InitialBlock);
    r.NaturalPair = s.ReadBool(RuleOptionKeys[6], d.NaturalPair);
    r.AddExistingMeld = s.ReadBool(RuleOptionKeys[7], d.AddExistingMeld);
    r.DrawExtra = s.ReadBool(RuleOptionKeys[8], d.DrawExtra);
    r.ThreeBlock = s.ReadBool(RuleOptionKeys[9], d.ThreeBlock);
    r.BonusCounts = s.ReadBool(RuleOptionKeys[10], d.BonusCounts);
    r.InitialBlockForBoth = s.ReadBool(RuleOptionKeys[11], d.InitialBlockForBoth);
    r.WildcardCanasta = s.ReadBool(RuleOptionKeys[12], d.WildcardCanasta);
    return r;
}

void SaveRuleOptions(SettingsAccess& s, const RuleOptions& r)
{
    s.WriteValue(RuleOptionKeys[0], r.CanastaRequired);
    s.WriteValue(RuleOptionKeys[1], r.NumberOfCanastas);
    s.WriteValue(RuleOptionKeys[2], r.NumberOfCards);
    s.WriteValue(RuleOptionKeys[3], r.AddToCanasta);
    s.WriteValue(RuleOptionKeys[4], r.TopCardCounts);
    s.WriteValue(RuleOptionKeys[5], r.InitialBlock);
    s.WriteValue(RuleOptionKeys[6], r.NaturalPair);
    s.WriteValue(RuleOptionKeys[7], r.AddExistingMeld);
    s.WriteValue(RuleOptionKeys[8], r.DrawExtra);
    s.WriteValue(RuleOptionKeys[9], r.ThreeBlock);
    s.WriteValue(RuleOptionKeys[10], r.BonusCounts);
    s.WriteValue(RuleOptionKeys[11], r.InitialBlockForBoth);
    s.WriteValue(RuleOptionKeys[12], r.WildcardCanasta);
}

}  // namespace meldora
