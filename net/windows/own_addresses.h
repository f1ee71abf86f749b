// This machine's own IPv4 addresses, as the Connect dialog lists them, and the test that
// sorts them into the LAN list and the Internet list.
#pragma once

#include <QString>
#include <QStringList>

namespace meldora {

// Whether a dotted IPv4 text lies in a private range: 10.0.0.0/8, 172.16.0.0/12,
// 192.168.0.0/16 or the link-local 169.254.0.0/16. Anything that is not four decimal
// numbers 0..255 separated by dots (a host name, an IPv6 text, "1.2.3") is not private.
bool isPrivateAddress(const QString& address);

// The IPv4 addresses of this machine's interfaces that are up, loopback left out, in the
// order the system lists the interfaces. (A host-name lookup on Linux usually yields only
// a loopback address, so the interfaces are asked instead.)
QStringList ownIpv4Addresses();

// The private addresses of the list for a LAN game, the others for an Internet game, each in
// the list's order.
QStringList addressesForNetwork(const QStringList& addresses, bool lan);

}  // namespace meldora
