#include "console/discoveryprotocol.h"

#include <QStringList>

namespace Discovery {

namespace {

const QString markerTag = QStringLiteral("DIGITAL_MIXER_DLNA|");

// A marker field must hold its key and something more; the value is cut by
// position because the key is expected at the start of the field.
bool hasKeyAndValue(const QString &field, const QString &key)
{
    return field.contains(key) && field != key;
}

QString elementText(QByteArrayView part, QByteArrayView open, QByteArrayView close)
{
    const qsizetype start = part.indexOf(open);
    if (start < 0)
        return QString();
    const qsizetype valueStart = start + open.size();
    const qsizetype end = part.indexOf(close, valueStart);
    if (end < 0)
        return QString();
    return QString::fromUtf8(part.sliced(valueStart, end - valueStart));
}

}  // namespace

QString multicastGroupText()
{
    return QStringLiteral("239.255.255.250");
}

QByteArray searchDatagram()
{
    return QByteArrayLiteral(
        "M-SEARCH * HTTP/1.1\r\n"
        "HOST:239.255.255.250:1900\r\n"
        "MAN:\"ssdp:discover\"\r\n"
        "ST:ssdp:all\r\n"
        "MX:3\r\n"
        "\r\n");
}

QList<InterfaceDescription> describeInterfaces(const QList<QNetworkInterface> &interfaces)
{
    QList<InterfaceDescription> described;
    described.reserve(interfaces.size());
    for (const QNetworkInterface &interface : interfaces) {
        InterfaceDescription description{interface.humanReadableName(), interface.flags(), {}};
        const QList<QNetworkAddressEntry> entries = interface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries)
            description.entries.append({entry.ip(), entry.broadcast()});
        described.append(description);
    }
    return described;
}

bool isExcludedInterfaceName(const QString &humanReadableName)
{
    // Virtual machine adapters and loopback adapters lead to no mixer.
    return humanReadableName.contains(QLatin1String("VMware")) ||
           humanReadableName.contains(QLatin1String("Loopback"));
}

bool isUsableInterface(const InterfaceDescription &interface)
{
    if (isExcludedInterfaceName(interface.humanReadableName))
        return false;
    return interface.flags.testFlag(QNetworkInterface::IsRunning) &&
           !interface.flags.testFlag(QNetworkInterface::IsLoopBack);
}

bool isUsableEntry(const AddressEntryDescription &entry)
{
    return !entry.broadcast.isNull() && entry.ip != QHostAddress(QHostAddress::LocalHost) &&
           entry.ip.protocol() == QAbstractSocket::IPv4Protocol;
}

QList<SendTarget> chooseSendTargets(const QList<InterfaceDescription> &interfaces)
{
    QList<SendTarget> targets;
    for (qsizetype i = 0; i < interfaces.size(); ++i) {
        if (!isUsableInterface(interfaces.at(i)))
            continue;
        for (const AddressEntryDescription &entry : interfaces.at(i).entries) {
            if (isUsableEntry(entry))
                targets.append({i, entry.broadcast});
        }
    }
    return targets;
}

std::optional<DeviceInfo> parseMarker(QByteArrayView payload)
{
    const QString text = QString::fromUtf8(payload);
    if (!text.contains(markerTag))
        return std::nullopt;
    const QStringList fields = text.split(QLatin1Char('|'), Qt::KeepEmptyParts);
    if (fields.size() != 5)
        return std::nullopt;
    if (!hasKeyAndValue(fields.at(1), QStringLiteral("Name=")) ||
        !hasKeyAndValue(fields.at(2), QStringLiteral("Ip=")) ||
        !hasKeyAndValue(fields.at(3), QStringLiteral("Mode=")))
        return std::nullopt;
    DeviceInfo device;
    device.name = fields.at(1).mid(5);
    device.ip = fields.at(2).mid(3);
    device.model = fields.at(3).mid(5);
    device.linked = false;
    return device;
}

QByteArrayView announcementText(QByteArrayView datagram)
{
    QByteArrayView text = datagram.first(qMin(datagram.size(), announcementBufferSize));
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.first(nul);
}

bool isAnnouncement(QByteArrayView datagram)
{
    const QString text = QString::fromUtf8(announcementText(datagram));
    return text.contains(QLatin1String("http://")) &&
           text.contains(QLatin1String(":8200/rootDesc.xml"));
}

QString descriptionUrlFor(const QHostAddress &sender)
{
    return QStringLiteral("http://") + sender.toString() + QStringLiteral(":8200/rootDesc.xml");
}

BoundedRequest descriptionRequest(const QString &url)
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setRawHeader("self-header", "plovendrak");
    return {request, {maxDescriptionBytes, mixerReplyTimeoutMs}};
}

std::optional<DescriptionFields> parseDescriptionBody(QByteArrayView body)
{
    const qsizetype device = body.indexOf(QByteArrayView("<device>"));
    if (device < 0)
        return std::nullopt;
    const QByteArrayView part = body.sliced(device);
    DescriptionFields fields;
    fields.model = elementText(part, "<modelName>", "</modelName>");
    fields.name = elementText(part, "<friendlyName>", "</friendlyName>");
    return fields;
}

QString ipFromDescriptionUrl(const QUrl &url)
{
    const QStringList parts = url.toString().split(QLatin1Char(':'), Qt::KeepEmptyParts);
    // A URL without a scheme separator has no host part to take.
    return parts.value(1).remove(QStringLiteral("//"));
}

}  // namespace Discovery
