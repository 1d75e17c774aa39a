#include "discoverypayloads.h"

#include <QString>

#include "mixeridentity.h"

QByteArray markerPayload(const MixerIdentity &mixer)
{
    return QStringLiteral("DIGITAL_MIXER_DLNA|Name=%1|Ip=%2|Mode=%3|")
        .arg(mixer.name, mixer.address.toString(), mixer.model)
        .toUtf8();
}

QByteArray announcePayload(const MixerIdentity &mixer, quint16 descPort)
{
    return QStringLiteral(
               "HTTP/1.1 200 OK\r\n"
               "CACHE-CONTROL: max-age=1800\r\n"
               "EXT:\r\n"
               "LOCATION: http://%1:%2/rootDesc.xml\r\n"
               "SERVER: Linux UPnP/1.0 mixer-sim/1.0\r\n"
               "ST: upnp:rootdevice\r\n"
               "USN: uuid:mixer-sim-%3::upnp:rootdevice\r\n"
               "\r\n")
        .arg(mixer.address.toString())
        .arg(descPort)
        .arg(mixer.index)
        .toUtf8();
}

bool isSearchDatagram(const QByteArray &payload)
{
    return payload.contains("M-SEARCH");
}

QByteArray recordLine(const QHostAddress &destination, const QHostAddress &sender,
                      quint16 senderPort, const QByteArray &payload)
{
    const QByteArray to =
        destination.isNull() ? QByteArray("?") : destination.toString().toLatin1();
    return to + ' ' + sender.toString().toLatin1() + ':' + QByteArray::number(senderPort) + ' ' +
           payload.toHex();
}
