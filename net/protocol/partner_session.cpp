#include "net/protocol/partner_session.h"

#include <algorithm>

#include "core/game.h"
#include "net/protocol/framing.h"

namespace meldora::net {

namespace {

constexpr const char* GreetingTail = "Resize window to see more text, right-click to change font.";
// Complete messages wait while a hand end is being scored; a partner that keeps
// sending meanwhile is not sending moves.
constexpr std::size_t HeldBytesLimit = 64 * 1024;

}  // namespace

PartnerSession::PartnerSession(CanastaGame& game, PartnerSessionHost& host) : game_(game), host_(host) {}

void PartnerSession::PartnerAccepted()
{
    connected_ = true;
    buffer_.clear();
    Send("PLAYERID", JoinFields({ownName_, ProtocolVersion}));
}

void PartnerSession::ConnectionClosed()
{
    connected_ = false;
    buffer_.clear();
    stopDispatch_ = true;
}

void PartnerSession::Send(std::string_view token, std::string_view payload)
{
    if (connected_)
        host_.WriteToConnection(FrameMessage(token, payload));
}

void PartnerSession::SendRules() { Send("RULES", BuildRulesPayload(game_.Rules)); }

void PartnerSession::CompareWithOpponentRules()
{
    if (connected_ && !opponentRules_.empty())
        host_.RuleDifferencesFound(CompareRules(game_.Rules, opponentRules_));
}

void PartnerSession::AdoptOpponentRules()
{
    if (opponentRules_.empty())
        return;
    game_.ChangeRules(RulesFromFields(opponentRules_));
    SendRules();
}

void PartnerSession::Receive(std::string_view bytes)
{
    buffer_.append(bytes);
    if (buffer_.find(MessageEnd) == std::string::npos && buffer_.size() > MaxMessageBytes) {
        Fault("a message longer than 255 bytes");
        return;
    }
    if (game_.Turn.HandEnding && buffer_.size() > HeldBytesLimit) {
        Fault("more messages than a hand's end can hold");
        return;
    }
    if (!game_.Turn.HandEnding)
        DispatchMessages();
}

void PartnerSession::DispatchMessages()
{
    // A handler that shows a box lets new bytes arrive; they wait in the buffer
    // for this loop instead of starting a second one in the middle of a move.
    if (dispatching_)
        return;
    dispatching_ = true;
    stopDispatch_ = false;
    // Messages are read from an offset and the buffer shortened once at the end:
    // a read holding many messages costs no more per message than a read of one.
    std::size_t start = 0;
    while (!stopDispatch_ && !game_.Turn.HandEnding) {
        const std::size_t end = buffer_.find(MessageEnd, start);
        if (end == std::string::npos)
            break;
        if (end + 1 - start > MaxMessageBytes) {
            Fault("a message longer than 255 bytes");
            break;
        }
        std::string message = buffer_.substr(start, end + 1 - start);
        start = end + 1;
        while (!message.empty() && !stopDispatch_) {
            const std::string token = ReadField(message);
            try {
                if (!HandleToken(token, message))
                    break;
            } catch (const BadField& bad) {
                Fault(token + ": " + bad.Description);
            } catch (const ImpossibleMove& impossible) {
                Fault(token + ": " + impossible.what());
            }
            if (!message.empty() && message.front() == MessageEnd)
                message.erase(0, 1);
        }
        ++dispatched_;
    }
    // A fault has emptied the buffer meanwhile.
    buffer_.erase(0, std::min(start, buffer_.size()));
    dispatching_ = false;
}

bool PartnerSession::HandleToken(const std::string& token, std::string& message)
{
    if (!IsWellFormedToken(token))
        throw BadField{"\"" + token.substr(0, 20) + "\" is not a message name"};

    if (token == "OK" || token == "SENDAGAIN" || token == "QUIT") {
    } else if (token == "CHAT") {
        host_.ChatLineReceived(ReadField(message));
    } else if (token == "PLAYERID") {
        HandlePlayerId(message);
    } else if (token == "DEAL") {
        game_.DealFromPartner(ReadField(message));
    } else if (token == "MELD") {
        game_.PartnerMelds(ReadCard(message));
    } else if (token == "UNDO") {
        const int column = ReadColumn(message);
        game_.PartnerUndoesMeld(column, ReadCard(message));
    } else if (token == "DISCARD") {
        game_.PartnerDiscards(ReadCard(message));
    } else if (token == "DRAWNEW") {
        game_.PartnerDraws();
    } else if (token == "DRAWPILETOP") {
        game_.PartnerTakesPileTop();
    } else if (token == "DRAWPILEREST") {
        game_.PartnerTakesPileRest();
    } else if (token == "UNDOPILE") {
        game_.PartnerUndoesTake();
    } else if (token == "MELDWILDCARD") {
        const int card = ReadCard(message);
        game_.PartnerMeldsWildCard(card, ReadColumn(message));
    } else if (token == "DISCARDREDTHREE") {
        game_.PartnerBlocksWithRedThree(ReadCard(message));
    } else if (token == "PASSDISCARD") {
        game_.PartnerPasses();
    } else if (token == "RULES") {
        HandleRules(message);
    } else if (token == "NEWGAME") {
        game_.StartNetworkMatch();
    } else if (token == "HANDOVER") {
        game_.PartnerEndsHand();
    } else {
        // The fields of a message this version does not know cannot be read.
        message.clear();
        host_.UnknownToken(token);
    }
    return !stopDispatch_;
}

void PartnerSession::HandlePlayerId(std::string& message)
{
    const bool newOpponent = opponentName_ == NoOpponentName;
    const std::string name = ReadField(message);
    const std::string version = ReadField(message);
    opponentName_ = name;
    if (version != ProtocolVersion) {
        stopDispatch_ = true;
        connected_ = false;
        host_.VersionMismatch();
        return;
    }
    const bool server = host_.IsServer();
    connected_ = true;
    // The program marks its connection as attached here, before anything is sent on it.
    host_.PartnerIdentified(name, "Connection established with " + name + ". " + GreetingTail);
    if (!server)
        Send("PLAYERID", JoinFields({ownName_, ProtocolVersion}));
    if (server && newOpponent) {
        // The client may come from a game of its own: both copies start the
        // match from nothing before the first deal.
        Send("NEWGAME", "");
        game_.StartNetworkMatch();
        game_.DealHand(false);
    }
    SendRules();
}

void PartnerSession::HandleRules(std::string& message)
{
    std::vector<std::string> fields;
    for (int i = 0; i < RuleFieldCount; ++i)
        fields.push_back(ReadField(message));
    const auto parsed = ParseRulesFields(fields);
    if (!parsed)
        throw BadField{"the rule options are not thirteen possible values"};
    opponentRules_ = *parsed;
    CompareWithOpponentRules();
}

int PartnerSession::ReadCard(std::string& message)
{
    const std::string field = ReadField(message);
    const int id = ReadSmallNumber(field);
    if (id < 1 || id > JokerId)
        throw BadField{"\"" + field.substr(0, 20) + "\" is not a card"};
    return id;
}

int PartnerSession::ReadColumn(std::string& message)
{
    const std::string field = ReadField(message);
    const int column = ReadSmallNumber(field);
    if (column < 0 || column >= ColumnCount)
        throw BadField{"\"" + field.substr(0, 20) + "\" is not a meld column"};
    return column;
}

void PartnerSession::Fault(const std::string& description)
{
    ConnectionClosed();
    host_.ProtocolFault(description);
}

}  // namespace meldora::net
