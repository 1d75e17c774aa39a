#include "mixeranswerer.h"

#include "discoverypayloads.h"
#include "interfacelookup.h"

MixerAnswerer::MixerAnswerer(const MixerIdentity &mixer, const SimOptions &options,
                             const QList<QNetworkInterface> &interfaces)
    : ways(options.answerWays),
      discoveryPort(options.discoveryPort),
      address(mixer.address),
      broadcastTarget(broadcastTargetFor(mixer.address, interfaces))
{
    marker = options.markerText
                 ? expandPlaceholders(*options.markerText, mixer.index, mixer.address).toUtf8()
                 : markerPayload(mixer);
    announcement =
        options.announceText
            ? expandPlaceholders(*options.announceText, mixer.index, mixer.address).toUtf8()
            : announcePayload(mixer, options.descPort);
}

bool MixerAnswerer::open(QString *error)
{
    // Any free port: binding the discovery port here would take unicast
    // searches away from the shared receiving socket.
    if (!socket.bind(address, 0)) {
        *error = QStringLiteral("cannot bind an answer socket to %1: %2")
                     .arg(address.toString(), socket.errorString());
        return false;
    }
    return true;
}

void MixerAnswerer::answer(const QHostAddress &searcher)
{
    if (ways & MarkerBroadcast)
        socket.writeDatagram(marker, broadcastTarget, discoveryPort);
    if (ways & MarkerUnicast)
        socket.writeDatagram(marker, searcher, discoveryPort);
    if (ways & Announce)
        socket.writeDatagram(announcement, searcher, discoveryPort);
}

bool MixerAnswerer::isOwnSocket(const QHostAddress &from, quint16 port) const
{
    return from == socket.localAddress() && port == socket.localPort();
}
