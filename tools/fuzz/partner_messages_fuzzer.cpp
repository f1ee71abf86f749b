// The receiving end of a network game: whatever bytes the partner sends, in
// whatever pieces, the copy must neither crash nor lose a card.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/game.h"
#include "core/silent_host.h"
#include "net/protocol/partner_session.h"

namespace {

using namespace meldora;

class NetworkHost : public SilentHost {
public:
    net::PartnerSession* Session = nullptr;
    bool IsNetworkGame() const override { return true; }
    bool IsConnectionRoleOne() const override { return true; }
    std::string OpponentName() const override { return "Peer"; }
    void HandleHeldNetworkMessages() override { Session->DispatchMessages(); }
    bool ShowGameOver(const MatchResult&) override { return true; }
};

class QuietLink : public net::PartnerSessionHost {
public:
    void WriteToConnection(const std::string&) override {}
    bool IsServer() const override { return true; }
    void PartnerIdentified(const std::string&, const std::string&) override {}
    void VersionMismatch() override {}
    void ChatLineReceived(const std::string&) override {}
    void RuleDifferencesFound(const std::vector<net::RuleDifference>&) override {}
    void UnknownToken(const std::string&) override {}
    void ProtocolFault(const std::string&) override {}
};

int CardsOnTable(const CanastaGame& game)
{
    int cards = game.Stock.Count + game.DiscardPile.Count;
    for (Side side : {Side::Human, Side::Computer})
        cards += game.SeatOf(side).Hand.Count + game.SeatOf(side).Melds.Count;
    return cards;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    NetworkHost host;
    CanastaGame game(host, nullptr);
    game.Seed(7);
    game.DealHand(false);
    QuietLink link;
    net::PartnerSession session(game, link);
    host.Session = &session;
    session.PartnerAccepted();

    // The first byte chooses how the rest arrives: in pieces of 1 to 32 bytes.
    const std::size_t piece = size > 0 ? data[0] % 32 + 1 : 1;
    const char* bytes = reinterpret_cast<const char*>(data);
    for (std::size_t at = 1; at < size; at += piece)
        session.Receive(std::string_view(bytes + at, std::min(piece, size - at)));

    if (CardsOnTable(game) != DeckSize)
        std::abort();
    return 0;
}
