// Two ends of one TCP connection over 127.0.0.1, made with a listening socket
// of the system's choosing: the network simulator's copies talk through it as
// two programs would.
#pragma once

#include <string>

namespace meldora::netsim {

class LoopbackLink {
public:
    LoopbackLink();
    ~LoopbackLink();
    LoopbackLink(const LoopbackLink&) = delete;
    LoopbackLink& operator=(const LoopbackLink&) = delete;

    // End 0 accepted the connection (the server), end 1 made it (the client).
    void Write(int end, const std::string& bytes);
    // Every byte sent to this end so far and not yet read; waits for bytes that
    // were written but have not arrived.
    std::string ReadAll(int end);

private:
    int sockets_[2] = {-1, -1};
    long written_[2] = {0, 0};  // bytes written by each end
    long read_[2] = {0, 0};     // bytes read by each end
};

}  // namespace meldora::netsim
