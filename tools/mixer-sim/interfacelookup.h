#pragma once

#include <QHostAddress>
#include <QList>
#include <QNetworkInterface>
#include <optional>

// The interface (and its address entry) that holds an address: the entry
// with exactly that address, else the first entry whose subnet contains it
// (a loopback address other than 127.0.0.1 is held by lo's 127.0.0.1/8).
struct HeldAddress
{
    QNetworkInterface interface;
    QNetworkAddressEntry entry;
};

std::optional<HeldAddress> interfaceHolding(const QHostAddress &address,
                                            const QList<QNetworkInterface> &interfaces);

// Where a mixer broadcasts: the subnet broadcast of the interface entry
// that holds its address (computed from the netmask where the entry names
// none, as on loopback: 127.255.255.255 stays on this machine), or the
// limited broadcast when no interface holds the address.
QHostAddress broadcastTargetFor(const QHostAddress &address,
                                const QList<QNetworkInterface> &interfaces);

// The subnet of the interface entry that holds the address; a null
// address with prefix -1 when no interface holds it.
QPair<QHostAddress, int> subnetHolding(const QHostAddress &address,
                                       const QList<QNetworkInterface> &interfaces);
