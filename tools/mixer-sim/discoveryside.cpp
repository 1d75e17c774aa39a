#include "discoveryside.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QTimer>
#include <cstdio>

#include "discoverypayloads.h"
#include "interfacelookup.h"

namespace {
const QHostAddress searchGroup(QStringLiteral("239.255.255.250"));
}

DiscoverySide::DiscoverySide(const QList<MixerIdentity> &mixers, const SimOptions &options,
                             QObject *parent)
    : QObject(parent), options(options), mixers(mixers)
{
}

bool DiscoverySide::open(QString *error)
{
    if (!record.open(options.recordFile, QStringLiteral("--record"), error) || !bindReceiver(error))
        return false;
    joinGroup();
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const MixerIdentity &mixer : mixers) {
        const auto subnet = subnetHolding(mixer.address, interfaces);
        if (subnet.second >= 0 && !subnets.contains(subnet))
            subnets.append(subnet);
        if (options.answerWays == 0)
            continue;
        auto answerer = std::make_unique<MixerAnswerer>(mixer, options, interfaces);
        if (!answerer->open(error))
            return false;
        answerers.push_back(std::move(answerer));
    }
    connect(&receiver, &QUdpSocket::readyRead, this, &DiscoverySide::readPending);
    return true;
}

bool DiscoverySide::bindReceiver(QString *error)
{
    if (receiver.bind(QHostAddress::AnyIPv4, options.discoveryPort,
                      QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
        return true;
    *error = QStringLiteral("cannot bind UDP port %1: %2")
                 .arg(options.discoveryPort)
                 .arg(receiver.errorString());
    return false;
}

void DiscoverySide::joinGroup()
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    QList<int> joined;
    for (const MixerIdentity &mixer : mixers) {
        const auto held = interfaceHolding(mixer.address, interfaces);
        if (!held || joined.contains(held->interface.index()))
            continue;
        joined.append(held->interface.index());
        // Without the membership only the subnet broadcast would arrive.
        if (!receiver.joinMulticastGroup(searchGroup, held->interface))
            std::fprintf(stderr, "mixer-sim: cannot join %s on %s: %s\n",
                         qPrintable(searchGroup.toString()), qPrintable(held->interface.name()),
                         qPrintable(receiver.errorString()));
    }
}

void DiscoverySide::readPending()
{
    while (receiver.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = receiver.receiveDatagram();
        if (!datagram.isValid())
            continue;
        const QHostAddress sender = datagram.senderAddress();
        const quint16 senderPort = quint16(datagram.senderPort());
        record.append(
            recordLine(datagram.destinationAddress(), sender, senderPort, datagram.data()));
        // Searches from elsewhere are left alone: a simulator left running on
        // a machine must never answer into a real network.
        if (!isSearchDatagram(datagram.data()) || isOwnAnswer(sender, senderPort) ||
            !isOnOurSubnets(sender))
            continue;
        if (options.answerDelayMs > 0)
            QTimer::singleShot(options.answerDelayMs, this, [this, sender] { answerAll(sender); });
        else
            answerAll(sender);
    }
}

void DiscoverySide::answerAll(const QHostAddress &searcher)
{
    for (const auto &answerer : answerers)
        answerer->answer(searcher);
}

bool DiscoverySide::isOwnAnswer(const QHostAddress &from, quint16 port) const
{
    for (const auto &answerer : answerers) {
        if (answerer->isOwnSocket(from, port))
            return true;
    }
    return false;
}

bool DiscoverySide::isOnOurSubnets(const QHostAddress &searcher) const
{
    for (const auto &subnet : subnets) {
        if (searcher.isInSubnet(subnet))
            return true;
    }
    return false;
}
