#include "languard.h"

#include <QHostAddress>
#include <QNetworkInterface>

bool onlyTestLanAddresses(const QString &subnet, QString *offending)
{
    const QPair<QHostAddress, int> lan = QHostAddress::parseSubnet(subnet);
    if (lan.first.isNull()) {
        *offending = subnet;
        return false;
    }
    int inLan = 0;
    const QList<QHostAddress> addresses = QNetworkInterface::allAddresses();
    for (const QHostAddress &address : addresses) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol || address.isLoopback())
            continue;
        if (!address.isInSubnet(lan)) {
            *offending = address.toString();
            return false;
        }
        ++inLan;
    }
    if (inLan == 0)
        *offending = QStringLiteral("no address in ") + subnet;
    return inLan > 0;
}
