// One copy of the program in a network game, without a window: its game, its
// end of the protocol, and a host that sends the game's moves to the partner.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/game.h"
#include "core/silent_host.h"
#include "net/protocol/partner_session.h"
#include "tools/netsim/loopback_link.h"

namespace meldora::netsim {

class NetworkCopy : public SilentHost, public net::PartnerSessionHost {
public:
    NetworkCopy(LoopbackLink& link, int end, const std::string& name, const RuleOptions& rules, std::uint32_t seed);

    CanastaGame& Game() { return game_; }
    const CanastaGame& Game() const { return game_; }
    net::PartnerSession& Session() { return session_; }
    // Hands the bytes the partner has sent to the session.
    void ReceivePending();
    // What went wrong in this copy: protocol faults, boxes reporting an error.
    const std::vector<std::string>& Problems() const { return problems_; }
    int HandsScored() const { return handsScored_; }
    // Messages this copy's moves sent, by token.
    const std::map<std::string, long>& SentByToken() const { return sentByToken_; }

    // The game's side of the network.
    bool IsNetworkGame() const override { return true; }
    bool IsConnectionRoleOne() const override { return end_ == 0; }
    std::string OpponentName() const override { return session_.OpponentName(); }
    void SendMessage(const std::string& token, const std::string& payload) override;
    void HandleHeldNetworkMessages() override { session_.DispatchMessages(); }
    bool Confirm(const std::string&) override { return true; }
    void ShowMessage(MessageKind kind, const std::string& text) override;
    void ShowHandScore(const HandScore&) override { ++handsScored_; }
    bool ShowGameOver(const MatchResult&) override { return true; }

    // The protocol's side.
    void WriteToConnection(const std::string& bytes) override { link_.Write(end_, bytes); }
    bool IsServer() const override { return end_ == 0; }
    void PartnerIdentified(const std::string&, const std::string&) override {}
    void VersionMismatch() override { problems_.push_back("version mismatch"); }
    void ChatLineReceived(const std::string&) override {}
    void RuleDifferencesFound(const std::vector<net::RuleDifference>& rows) override;
    void UnknownToken(const std::string& token) override { problems_.push_back("unknown token " + token); }
    void ProtocolFault(const std::string& description) override { problems_.push_back("fault: " + description); }

private:
    LoopbackLink& link_;
    int end_;
    CanastaGame game_;
    net::PartnerSession session_;
    std::vector<std::string> problems_;
    int handsScored_ = 0;
    std::map<std::string, long> sentByToken_;
};

}  // namespace meldora::netsim
