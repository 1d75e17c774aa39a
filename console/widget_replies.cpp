// Answer members of Widget: marker datagrams, announcements and descriptions.
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkDatagram>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUdpSocket>

#include "console/discoveryprotocol.h"
#include "console/widget.h"
#include "console/widget_ui.h"

namespace {

// Set on a description reply that was cut off for being too large.
const char oversizedProperty[] = "descriptionOversized";
// The sender a description reply asks, as the key of descriptionUrls.
const char senderProperty[] = "descriptionSender";

}  // namespace

void Widget::processPendingDatagrams()
{
    bool listed = false;
    while (broadcastSocket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = broadcastSocket->receiveDatagram();
        listed = takeMarker(datagram.data()) || listed;
    }
    if (listed)
        refreshTable();
}

void Widget::udpReady()
{
    const qsizetype knownSenders = descriptionUrls.size();
    bool listed = false;
    while (multicastSocket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = multicastSocket->receiveDatagram();
        const QByteArray payload = datagram.data();
        // Unicast answers arrive only on this socket, the one bound last, so
        // markers must count here as well as on the broadcast socket.
        listed = takeMarker(payload) || listed;
        if (!Discovery::isAnnouncement(payload))
            continue;
        const QHostAddress sender = datagram.senderAddress();
        const quint32 key = sender.toIPv4Address();
        if (!descriptionUrls.contains(key))
            descriptionUrls.insert(key, Discovery::descriptionUrlFor(sender));
    }
    if (listed)
        refreshTable();
    if (descriptionUrls.size() != knownSenders)
        fetchDescriptions();
}

bool Widget::takeMarker(QByteArrayView payload)
{
    const std::optional<DeviceInfo> device = Discovery::parseMarker(payload);
    if (!device || seenIps.contains(device->ip))
        return false;
    seenIps.insert(device->ip);
    insertDevice(*device);
    return true;
}

void Widget::fetchDescriptions()
{
    for (auto it = descriptionUrls.cbegin(); it != descriptionUrls.cend(); ++it) {
        if (descriptionsRunning.contains(it.key()))
            continue;
        QNetworkRequest request(QUrl(it.value(), QUrl::TolerantMode));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
        request.setRawHeader("self-header", "plovendrak");
        QNetworkReply *reply = descriptionManager->get(request);
        reply->setProperty(senderProperty, it.key());
        descriptionsRunning.insert(it.key());
        limitDescriptionBody(reply);
    }
}

void Widget::limitDescriptionBody(QNetworkReply *reply)
{
    // A description comes from whatever answered on the network. A body that
    // is huge or never ends is cut off as soon as it passes the bound, so it
    // can neither fill the memory nor keep the reply open for ever; the abort
    // finishes the reply, which then counts as a failed one.
    const auto cutOff = [reply] {
        reply->setProperty(oversizedProperty, true);
        reply->abort();
    };
    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, cutOff] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > Discovery::maxDescriptionBytes)
            cutOff();
    });
    connect(reply, &QNetworkReply::readyRead, reply, [reply, cutOff] {
        if (reply->bytesAvailable() > Discovery::maxDescriptionBytes)
            cutOff();
    });
}

void Widget::managerFinish(QNetworkReply *reply)
{
    descriptionsRunning.remove(reply->property(senderProperty).toUInt());
    // Any description reply, good or failed, ends the running search.
    if (searchTimer->isActive()) {
        searchTimer->stop();
        searchCount = 0;
    }
    if (!reply->property(oversizedProperty).toBool()) {
        QByteArray body;
        while (!reply->atEnd())
            body += reply->readAll();
        if (!body.isEmpty() && body.size() <= Discovery::maxDescriptionBytes)
            parseDescription(body, reply->url());
    }
    reply->deleteLater();
}

void Widget::parseDescription(QByteArray bytes, QUrl url)
{
    const std::optional<Discovery::DescriptionFields> fields =
        Discovery::parseDescriptionBody(bytes);
    if (!fields)
        return;
    DeviceInfo device;
    device.name = fields->name;
    device.ip = Discovery::ipFromDescriptionUrl(url);
    device.model = fields->model;
    device.linked = false;
    insertDevice(device);
    ui->label_status_disp->setText(tr("Search ended!"));
    refreshTable();
}
