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
    if (held && !held->entry.broadcast().isNull())
        return held->entry.broadcast();
    return QHostAddress(QHostAddress::Broadcast);
}
