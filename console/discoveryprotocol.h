#pragma once

// The discovery protocol as pure functions: the search datagram, the choice of
// where a search pass is sent, and the tests and cuts applied to the answers.
// Nothing here touches a socket or a widget.

#include <QByteArray>
#include <QByteArrayView>
#include <QHostAddress>
#include <QList>
#include <QNetworkInterface>
#include <QString>
#include <QUrl>
#include <optional>

#include "console/boundedrequest.h"
#include "console/deviceinfo.h"

namespace Discovery {

// Both sockets listen here, and both sends go here (not to the 1900 that the
// datagram's HOST line names: the mixers listen on this port).
constexpr quint16 port = 45454;
constexpr int searchIntervalMs = 1000;
// The tick that ends a search: passes at the click and at ticks 1 to 4.
constexpr int lastSearchTick = 4;
// Announcements are read through a buffer of this size.
constexpr qsizetype announcementBufferSize = 1024;
// A description body beyond this is not a description but a misbehaving peer.
// Real ones are a kilobyte or two, and a search may fetch a thousand at once.
constexpr qint64 maxDescriptionBytes = 64 * 1024;
// New device records one search may add, and senders whose description it
// may ask for. Far beyond any real installation; a bound on what a flood of
// made-up answers can cost in memory and table rebuilds.
constexpr qsizetype maxRecordsPerSearch = 1024;

QString multicastGroupText();

// The 90-byte M-SEARCH datagram, byte for byte.
QByteArray searchDatagram();

// What the send pass needs to know about one address entry of an interface.
struct AddressEntryDescription
{
    QHostAddress ip;
    QHostAddress broadcast;
};

// What the send pass needs to know about one network interface.
struct InterfaceDescription
{
    QString humanReadableName;
    QNetworkInterface::InterfaceFlags flags;
    QList<AddressEntryDescription> entries;
};

// One send of a pass: the interface (its position in the list given to
// chooseSendTargets) and the broadcast address of the entry that qualified it.
struct SendTarget
{
    qsizetype interfaceIndex = -1;
    QHostAddress broadcast;
};

QList<InterfaceDescription> describeInterfaces(const QList<QNetworkInterface> &interfaces);

bool isExcludedInterfaceName(const QString &humanReadableName);
bool isUsableInterface(const InterfaceDescription &interface);
bool isUsableEntry(const AddressEntryDescription &entry);

// One target per usable entry of every usable interface, in list order.
QList<SendTarget> chooseSendTargets(const QList<InterfaceDescription> &interfaces);

// A marker datagram ("DIGITAL_MIXER_DLNA|Name=..|Ip=..|Mode=..|") as a device
// record, or nothing when the payload fails any of the tests.
std::optional<DeviceInfo> parseMarker(QByteArrayView payload);

// The part of a datagram that the announcement test looks at: at most the
// first announcementBufferSize bytes, and nothing from the first NUL on.
QByteArrayView announcementText(QByteArrayView datagram);

// True when the datagram names a description document on port 8200.
bool isAnnouncement(QByteArrayView datagram);

// The description URL of an announcing device: always built from the sender's
// own address, never from the URL inside the announcement.
QString descriptionUrlFor(const QHostAddress &sender);

// The request for a description URL, with the headers the mixers expect, read
// under the description size bound and the time limit of every mixer request.
BoundedRequest descriptionRequest(const QString &url);

struct DescriptionFields
{
    QString name;
    QString model;
};

// The friendly name and model name of a description, found by plain byte
// search after the first "<device>". Nothing when there is no "<device>"; a
// missing or unclosed element gives an empty text.
std::optional<DescriptionFields> parseDescriptionBody(QByteArrayView body);

// The device address of a description URL such as
// http://192.168.1.20:8200/rootDesc.xml.
QString ipFromDescriptionUrl(const QUrl &url);

}  // namespace Discovery
