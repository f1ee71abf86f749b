// A one-answer HTTP server on 127.0.0.1 for the tests of the program's web fetches: every
// request gets the same raw answer, after an optional delay. It serves from its own thread,
// so a blocking fetch in the test's thread can talk to it.
#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "support/loopback_server.h"

namespace meldora::test {

class LocalHttpServer : public LoopbackServer {
public:
    explicit LocalHttpServer(std::string answer, std::chrono::milliseconds delay = {})
        : answer_(std::move(answer)), delay_(delay)
    {
        Start([this](int client) { reply(client); });
    }
    ~LocalHttpServer() { Stop(); }

    // A plain-text answer with the given HTTP status line.
    static std::string Answer(const std::string& body, const std::string& status = "200 OK")
    {
        return "HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: " +
               std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(Port()) + "/version.txt"; }

private:
    void reply(int client)
    {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        for (auto waited = std::chrono::milliseconds(0); waited < delay_ && !Stopping();
             waited += std::chrono::milliseconds(20))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        send(client, answer_.data(), answer_.size(), MSG_NOSIGNAL);
    }

    std::string answer_;
    std::chrono::milliseconds delay_;
};

}  // namespace meldora::test
