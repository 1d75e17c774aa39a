// Answer members of Widget: marker datagrams, announcements and descriptions.
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkDatagram>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUdpSocket>

#include "app/logcategories.h"
#include "console/boundedreplybody.h"
#include "console/discoveryprotocol.h"
#include "console/widget.h"
#include "console/widget_ui.h"

namespace {

// The sender a description reply asks, as the key of descriptionUrls.
const char senderProperty[] = "descriptionSender";

}  // namespace

void Widget::processPendingDatagrams()
{
    readAnswers(broadcastSocket);
}

void Widget::udpReady()
{
    readAnswers(multicastSocket);
}

// Both sockets share the discovery port, and which of them the system hands a
// unicast answer to is not something to rely on (Linux gives it to the one
// bound last; on Windows it is undefined): each socket reads both kinds of
// answer. An answer that reaches both counts once, as its address (or its
// sender) is known by then.
void Widget::readAnswers(QUdpSocket *socket)
{
    const qsizetype knownSenders = descriptionUrls.size();
    bool listed = false;
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        listed = takeMarker(datagram.data()) || listed;
        takeAnnouncement(datagram);
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
    // A search that is full still takes the addresses it knows; only new
    // ones would cost more.
    if (!insertDevice(*device) && !devices.contains(device->ip))
        return false;
    seenIps.insert(device->ip);
    return true;
}

void Widget::takeAnnouncement(const QNetworkDatagram &datagram)
{
    if (!Discovery::isAnnouncement(datagram.data()))
        return;
    const QHostAddress sender = datagram.senderAddress();
    const quint32 key = sender.toIPv4Address();
    if (descriptionUrls.contains(key))
        return;
    if (descriptionUrls.size() >= Discovery::maxRecordsPerSearch) {
        noteSearchFull();
        return;
    }
    descriptionUrls.insert(key, Discovery::descriptionUrlFor(sender));
}

void Widget::noteSearchFull()
{
    if (searchFullNoted)
        return;
    searchFullNoted = true;
    qCWarning(lcDiscovery)
        << "widget" << __LINE__ << "Widget: the bound of" << Discovery::maxRecordsPerSearch
        << "new devices in one search is reached; more are ignored until the next search";
}

void Widget::fetchDescriptions()
{
    for (auto it = descriptionUrls.cbegin(); it != descriptionUrls.cend(); ++it) {
        if (descriptionsRunning.contains(it.key()))
            continue;
        QNetworkReply *reply =
            BoundedReplyBody::get(descriptionManager, Discovery::descriptionRequest(it.value()));
        reply->setProperty(senderProperty, it.key());
        descriptionsRunning.insert(it.key(), reply);
    }
}

void Widget::dropRunningDescriptions()
{
    // The new search asks every sender again; what the last one still waits
    // for would only end this one early when it finally finishes.
    const QList<QNetworkReply *> running = descriptionsRunning.values();
    descriptionsRunning.clear();
    for (QNetworkReply *reply : running)
        reply->abort();
}

void Widget::managerFinish(QNetworkReply *reply)
{
    reply->deleteLater();
    const quint32 sender = reply->property(senderProperty).toUInt();
    if (descriptionsRunning.value(sender) != reply)
        return;  // dropped by a new search
    descriptionsRunning.remove(sender);
    // Any description reply, good or failed, ends the running search.
    if (searchTimer->isActive()) {
        searchTimer->stop();
        searchCount = 0;
    }
    // Too large or too slow: the reader kept nothing of it.
    BoundedReplyBody *reader = BoundedReplyBody::of(reply);
    const QByteArray body = reader ? reader->takeBody() : QByteArray();
    if (!body.isEmpty())
        parseDescription(body, reply->url());
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
