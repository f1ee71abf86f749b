#include "net/connection/reset_probe.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace meldora {

ResetProbe::~ResetProbe()
{
    release();
}

void ResetProbe::watch(qintptr socketDescriptor)
{
    release();
    // Close-on-exec: a program started from here must not hold the game's connection open.
    if (socketDescriptor >= 0)
        descriptor_ = ::fcntl(static_cast<int>(socketDescriptor), F_DUPFD_CLOEXEC, 0);
}

bool ResetProbe::connectionWasReset() const
{
    if (descriptor_ < 0)
        return false;
    tcp_info info{};
    socklen_t length = sizeof info;
    if (::getsockopt(descriptor_, IPPROTO_TCP, TCP_INFO, &info, &length) != 0)
        return false;
    return info.tcpi_state == TCP_CLOSE;
}

void ResetProbe::release()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
}

}  // namespace meldora
