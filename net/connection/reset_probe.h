// Tells a connection reset by the peer from an orderly close.
//
// Qt reports both as QAbstractSocket::RemoteHostClosedError with the same words, and it has
// closed its descriptor by the time it says so. The probe keeps a second descriptor on the
// same connection while it is attached; the kernel then still holds the connection's TCP state:
// CLOSE after a reset, CLOSE_WAIT after the peer's orderly close.
#pragma once

#include <QtGlobal>

namespace meldora {

class ResetProbe {
public:
    ResetProbe() = default;
    ResetProbe(const ResetProbe&) = delete;
    ResetProbe& operator=(const ResetProbe&) = delete;
    ~ResetProbe();

    // Starts watching the connection behind a connected socket's descriptor.
    void watch(qintptr socketDescriptor);
    // True when the watched connection was reset by the peer.
    bool connectionWasReset() const;
    // Lets go of the connection: it closes for good once the socket object closes too.
    void release();

private:
    int descriptor_ = -1;
};

}  // namespace meldora
