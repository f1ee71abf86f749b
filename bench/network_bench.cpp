// How long a move takes from one copy's game to the other's over a loopback
// connection, and what the receiving end costs per message. Prints figures;
// asserts nothing.
#include <chrono>
#include <cstdio>
#include <string>

#include "net/protocol/framing.h"
#include "tools/netsim/network_copy.h"

using namespace meldora;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int Rounds = 20000;

double MicrosecondsSince(Clock::time_point start, int count)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
}

void Deliver(netsim::NetworkCopy& a, netsim::NetworkCopy& b)
{
    for (int i = 0; i < 20; ++i) {
        a.ReceivePending();
        b.ReceivePending();
    }
}

int NaturalCardInHand(const CanastaGame& game)
{
    for (int i = 0; i < game.Human().Hand.Count; ++i)
        if (!IsWild(game.Human().Hand.Cards[i].Rank) && !IsBlackThree(game.Human().Hand.Cards[i].Id))
            return i;
    return -1;
}

}  // namespace

int main()
{
    netsim::LoopbackLink link;
    netsim::NetworkCopy server(link, 0, "Server", RuleOptions{}, 11);
    netsim::NetworkCopy client(link, 1, "Client", RuleOptions{}, 12);
    server.Session().PartnerAccepted();
    Deliver(server, client);

    netsim::NetworkCopy& mover = server.Game().Turn.ComputerTurn ? client : server;
    netsim::NetworkCopy& watcher = &mover == &server ? client : server;
    mover.Game().DrawFromStock();
    watcher.ReceivePending();

    // A meld and its undo: two moves, each sent, carried and replayed on the other copy.
    const auto tripStart = Clock::now();
    for (int round = 0; round < Rounds; ++round) {
        mover.Game().MeldCard(NaturalCardInHand(mover.Game()));
        watcher.ReceivePending();
        mover.Game().UndoMeld();
        watcher.ReceivePending();
    }
    const double trip = MicrosecondsSince(tripStart, 2 * Rounds);

    // The receiving end alone: complete messages already in memory.
    std::string chat;
    for (int i = 0; i < Rounds; ++i)
        chat += net::FrameMessage("CHAT", "Client: a line of chat of ordinary length");
    const auto dispatchStart = Clock::now();
    mover.Session().Receive(chat);
    const double dispatch = MicrosecondsSince(dispatchStart, Rounds);

    std::printf("move from one copy's game to the other's over loopback: %.2f us per move (%d moves)\n", trip,
                2 * Rounds);
    std::printf("dispatch of a received message: %.3f us per message (%d chat messages in one read)\n", dispatch,
                Rounds);
    return 0;
}
