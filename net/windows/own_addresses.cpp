#include "net/windows/own_addresses.h"

#include <QHostAddress>
#include <QNetworkInterface>

#include <array>
#include <optional>

namespace meldora {

namespace {

// The four numbers of a strict dotted-decimal IPv4 text.
std::optional<std::array<int, 4>> dottedQuad(const QString& address)
{
    const QStringList parts = address.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    std::array<int, 4> numbers{};
    for (int i = 0; i < 4; ++i) {
        const QString& part = parts[i];
        if (part.isEmpty() || part.size() > 3)
            return std::nullopt;
        for (QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        numbers[i] = part.toInt();
        if (numbers[i] > 255)
            return std::nullopt;
    }
    return numbers;
}

}  // namespace

bool isPrivateAddress(const QString& address)
{
    const auto quad = dottedQuad(address);
    if (!quad)
        return false;
    const int a = (*quad)[0];
    const int b = (*quad)[1];
    return a == 10 || (a == 172 && b >= 16 && b <= 31) || (a == 192 && b == 168) || (a == 169 && b == 254);
}

QStringList ownIpv4Addresses()
{
    QStringList addresses;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback())
                addresses.append(ip.toString());
        }
    }
    return addresses;
}

QStringList addressesForNetwork(const QStringList& addresses, bool lan)
{
    QStringList chosen;
    for (const QString& address : addresses)
        if (isPrivateAddress(address) == lan)
            chosen.append(address);
    return chosen;
}

}  // namespace meldora
