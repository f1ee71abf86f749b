// The listening half of the tests' small servers: a socket on 127.0.0.1 at a free port and a
// thread that hands each connection, one after another, to the server's conversation.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace meldora::test {

class LoopbackServer {
public:
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return port_; }

protected:
    LoopbackServer()
    {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 4);
        socklen_t length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~LoopbackServer() { close(listener_); }

    // talk gets each accepted connection and closes nothing; the connection is closed after it.
    void Start(std::function<void(int client)> talk)
    {
        thread_ = std::thread([this, talk = std::move(talk)] {
            while (!stop_) {
                pollfd waiting{listener_, POLLIN, 0};
                if (poll(&waiting, 1, 50) <= 0)
                    continue;
                const int client = accept(listener_, nullptr, nullptr);
                if (client >= 0) {
                    talk(client);
                    close(client);
                }
            }
        });
    }

    // Every derived server calls this first in its destructor, before its own members go.
    void Stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }

    bool Stopping() const { return stop_; }

private:
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace meldora::test
