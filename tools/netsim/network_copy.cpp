#include "tools/netsim/network_copy.h"

namespace meldora::netsim {

NetworkCopy::NetworkCopy(LoopbackLink& link, int end, const std::string& name, const RuleOptions& rules,
                         std::uint32_t seed)
    : link_(link), end_(end), game_(*this, nullptr), session_(game_, *this)
{
    game_.Seed(seed);
    game_.SetRules(rules);
    session_.SetOwnName(name);
}

void NetworkCopy::ReceivePending()
{
    const std::string bytes = link_.ReadAll(end_);
    if (!bytes.empty())
        session_.Receive(bytes);
}

void NetworkCopy::SendMessage(const std::string& token, const std::string& payload)
{
    if (session_.IsConnected())
        ++sentByToken_[token];
    session_.Send(token, payload);
}

void NetworkCopy::ShowMessage(MessageKind kind, const std::string& text)
{
    if (kind == MessageKind::Error || kind == MessageKind::Warning)
        problems_.push_back("box: " + text);
}

void NetworkCopy::RuleDifferencesFound(const std::vector<net::RuleDifference>& rows)
{
    if (!rows.empty())
        problems_.push_back("the two copies' rules differ in " + rows.front().Rule);
}

}  // namespace meldora::netsim
