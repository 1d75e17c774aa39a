#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QUdpSocket>

#include "mixeridentity.h"
#include "simoptions.h"

// Answers searches on behalf of one mixer, from a socket bound to the
// mixer's own address: the launcher takes the description URL from the
// sender address, so every answer has to come from there.
class MixerAnswerer
{
public:
    MixerAnswerer(const MixerIdentity &mixer, const SimOptions &options,
                  const QList<QNetworkInterface> &interfaces);

    bool open(QString *error);
    void answer(const QHostAddress &searcher);
    bool isOwnSocket(const QHostAddress &address, quint16 port) const;

private:
    int ways;
    quint16 discoveryPort;
    QHostAddress address;
    QHostAddress broadcastTarget;
    QByteArray marker;
    QByteArray announcement;
    QUdpSocket socket;
};
