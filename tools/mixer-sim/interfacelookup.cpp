#include "interfacelookup.h"

std::optional<HeldAddress> interfaceHolding(const QHostAddress &address,
                                            const QList<QNetworkInterface> &interfaces)
{
    for (const QNetworkInterface &interface : interfaces) {
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            if (entry.ip() == address)
                return HeldAddress{interface, entry};
        }
    }
    for (const QNetworkInterface &interface : interfaces) {
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol &&
                address.isInSubnet(entry.ip(), entry.prefixLength()))
                return HeldAddress{interface, entry};
        }
    }
    return std::nullopt;
}

QHostAddress broadcastTargetFor(const QHostAddress &address,
                                const QList<QNetworkInterface> &interfaces)
{
    const auto held = interfaceHolding(address, interfaces);
    if (!held)
        return QHostAddress(QHostAddress::Broadcast);
    if (!held->entry.broadcast().isNull())
        return held->entry.broadcast();
    const int prefix = held->entry.prefixLength();
    if (prefix < 0 || prefix >= 31)  // no room for a broadcast address
        return address;
    const quint32 hostBits = 0xFFFFFFFFu >> prefix;
    return QHostAddress(held->entry.ip().toIPv4Address() | hostBits);
}

QPair<QHostAddress, int> subnetHolding(const QHostAddress &address,
                                       const QList<QNetworkInterface> &interfaces)
{
    const auto held = interfaceHolding(address, interfaces);
    if (!held)
        return {QHostAddress(), -1};
    return QHostAddress::parseSubnet(held->entry.ip().toString() + QLatin1Char('/') +
                                     QString::number(held->entry.prefixLength()));
}
