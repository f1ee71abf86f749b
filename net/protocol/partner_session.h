// One copy's end of a network game: it frames and sends this copy's moves,
// collects the partner's bytes into messages and replays each message on the
// game through the partner's moves of the core. It knows nothing of sockets or
// windows: what it needs from them is PartnerSessionHost.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "net/protocol/rules_message.h"

namespace meldora {
class CanastaGame;
}

namespace meldora::net {

inline constexpr const char* ProtocolVersion = "413";
inline constexpr const char* NoOpponentName = "<none>";

class PartnerSessionHost {
public:
    virtual ~PartnerSessionHost() = default;
    // Writes framed bytes to the connection.
    virtual void WriteToConnection(const std::string& bytes) = 0;
    // Whether this copy listened for the connection (the server).
    virtual bool IsServer() const = 0;
    // The partner has identified itself with the right version: the connection is
    // attached (the client's from now on), the status line names the partner and
    // network play begins. The greeting goes to the chat history. Called before
    // this copy answers.
    virtual void PartnerIdentified(const std::string& opponentName, const std::string& greeting) = 0;
    // The partner runs another version: tell the player and disconnect.
    virtual void VersionMismatch() = 0;
    virtual void ChatLineReceived(const std::string& line) = 0;
    // The rows that differ between the two copies' rules; empty when none do.
    virtual void RuleDifferencesFound(const std::vector<RuleDifference>& rows) = 0;
    // A message with a well-formed token this version does not know.
    virtual void UnknownToken(const std::string& token) = 0;
    // A message that cannot be meant: close the connection at once, then tell the
    // player. The game stays as it was before that message.
    virtual void ProtocolFault(const std::string& description) = 0;
};

class PartnerSession {
public:
    PartnerSession(CanastaGame& game, PartnerSessionHost& host);

    void SetOwnName(const std::string& name) { ownName_ = name; }
    const std::string& OpponentName() const { return opponentName_; }
    bool IsConnected() const { return connected_; }

    // A connection to a new opponent is being made (the Connect dialog was used);
    // a reconnect after a reset keeps the name, so that the game goes on.
    void ExpectNewOpponent() { opponentName_ = NoOpponentName; }
    // The server has accepted the partner's connection: the handshake starts here.
    void PartnerAccepted();
    // The connection has ended; bytes not yet dispatched are dropped.
    void ConnectionClosed();

    // Sends a message when connected; nothing otherwise.
    void Send(std::string_view token, std::string_view payload);
    void SendChat(const std::string& line) { Send("CHAT", line); }
    // Sends this copy's rules in force.
    void SendRules();
    // Compares the rules in force with the opponent's last ones and reports the rows.
    void CompareWithOpponentRules();
    // Takes the opponent's last rules for this connection (the stored ones are not
    // touched) and tells the partner.
    void AdoptOpponentRules();
    bool HasOpponentRules() const { return !opponentRules_.empty(); }

    // Bytes from the connection; complete messages are dispatched unless the end
    // of a hand is being processed.
    void Receive(std::string_view bytes);
    // Dispatches the complete messages held; called again when a hand has ended.
    void DispatchMessages();

    // How many messages have been dispatched (for the simulator's checks).
    long DispatchedCount() const { return dispatched_; }

private:
    // A message field that is not what its token needs.
    struct BadField {
        std::string Description;
    };

    // Returns false when dispatching must stop (the connection ended).
    bool HandleToken(const std::string& token, std::string& message);
    void HandlePlayerId(std::string& message);
    void HandleRules(std::string& message);
    int ReadCard(std::string& message);
    int ReadColumn(std::string& message);
    void Fault(const std::string& description);

    CanastaGame& game_;
    PartnerSessionHost& host_;
    std::string ownName_ = "Opponent";
    std::string opponentName_ = NoOpponentName;
    std::vector<std::string> opponentRules_;
    std::string buffer_;
    bool connected_ = false;
    bool dispatching_ = false;
    bool stopDispatch_ = false;
    long dispatched_ = 0;
};

}  // namespace meldora::net
