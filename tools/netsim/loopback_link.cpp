#include "tools/netsim/loopback_link.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace meldora::netsim {

namespace {

[[noreturn]] void Fail(const char* what)
{
    throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

}  // namespace

LoopbackLink::LoopbackLink()
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    if (listener < 0)
        Fail("socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || listen(listener, 1) < 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) < 0) {
        close(listener);
        Fail("listen on 127.0.0.1");
    }
    sockets_[1] = socket(AF_INET, SOCK_STREAM, 0);
    if (sockets_[1] < 0 || connect(sockets_[1], reinterpret_cast<sockaddr*>(&address), sizeof address) < 0) {
        close(listener);
        Fail("connect to 127.0.0.1");
    }
    sockets_[0] = accept(listener, nullptr, nullptr);
    close(listener);
    if (sockets_[0] < 0)
        Fail("accept");
    const int on = 1;
    for (int s : sockets_)
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

LoopbackLink::~LoopbackLink()
{
    for (int s : sockets_)
        if (s >= 0)
            close(s);
}

void LoopbackLink::Write(int end, const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(sockets_[end], bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail("send");
        }
        sent += static_cast<std::size_t>(n);
    }
    written_[end] += static_cast<long>(bytes.size());
}

std::string LoopbackLink::ReadAll(int end)
{
    std::string bytes;
    const int other = 1 - end;
    char chunk[4096];
    while (read_[end] < written_[other]) {
        pollfd ready{sockets_[end], POLLIN, 0};
        if (poll(&ready, 1, 5000) <= 0)
            throw std::runtime_error("bytes sent over the loopback connection did not arrive");
        const ssize_t n = recv(sockets_[end], chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail("recv");
        bytes.append(chunk, static_cast<std::size_t>(n));
        read_[end] += n;
    }
    return bytes;
}

}  // namespace meldora::netsim
