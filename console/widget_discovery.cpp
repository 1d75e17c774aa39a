// Search members of Widget: the discovery sockets and the repeated search pass.
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QTimer>
#include <QUdpSocket>

#include "app/logcategories.h"
#include "console/discoveryprotocol.h"
#include "console/widget.h"
#include "console/widget_ui.h"

namespace {

constexpr QAbstractSocket::BindMode sharedBinding =
    QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;

}  // namespace

void Widget::initDiscovery()
{
    demoPanel = nullptr;
    searchDatagram = Discovery::searchDatagram();
    searchCount = 0;

    searchTimer = new QTimer();
    searchTimer->setInterval(Discovery::searchIntervalMs);
    connect(searchTimer, &QTimer::timeout, this, &Widget::searchTick);

    // Children with names, so that the sockets can be found by tests.
    broadcastSocket = new QUdpSocket(this);
    broadcastSocket->setObjectName(QStringLiteral("broadcastSocket"));
    if (!broadcastSocket->bind(QHostAddress::AnyIPv4, Discovery::port, sharedBinding)) {
        qCDebug(lcDiscovery) << "Failed to bind socket:" << broadcastSocket->errorString();
        return;
    }
    connect(broadcastSocket, &QUdpSocket::readyRead, this, &Widget::processPendingDatagrams);

    // Bound last, this socket is the one Linux hands unicast answers to;
    // elsewhere either may get them, so both read every kind of answer.
    multicastSocket = new QUdpSocket(this);
    multicastSocket->setObjectName(QStringLiteral("multicastSocket"));
    multicastSocket->bind(QHostAddress::AnyIPv4, Discovery::port, sharedBinding);
    connect(multicastSocket, &QUdpSocket::readyRead, this, &Widget::udpReady);

    descriptionManager = new QNetworkAccessManager(this);
    connect(descriptionManager, &QNetworkAccessManager::finished, this, &Widget::managerFinish);
}

bool Widget::discoveryAvailable() const
{
    // Without the first socket's port nothing else was created: no answer
    // could be received, so a search would only disturb the network.
    return multicastSocket && descriptionManager;
}

void Widget::sendSearch()
{
    if (!discoveryAvailable())
        return;
    const QHostAddress group(Discovery::multicastGroupText());
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    const QList<Discovery::SendTarget> targets =
        Discovery::chooseSendTargets(Discovery::describeInterfaces(interfaces));
    for (const Discovery::SendTarget &target : targets) {
        const QNetworkInterface &interface = interfaces.at(target.interfaceIndex);
        multicastSocket->setMulticastInterface(interface);
        // From the second pass on the membership exists and the join fails
        // harmlessly.
        multicastSocket->joinMulticastGroup(group, interface);
        multicastSocket->writeDatagram(searchDatagram, group, Discovery::port);
        broadcastSocket->writeDatagram(searchDatagram, target.broadcast, Discovery::port);
    }
}

void Widget::searchTick()
{
    ++searchCount;
    if (searchCount >= Discovery::lastSearchTick) {
        searchTimer->stop();
        searchCount = 0;
        ui->label_status_disp->setText(tr("Search ended!"));
    }
    sendSearch();
}

void Widget::on_btn_search_clicked()
{
    if (!discoveryAvailable()) {
        ui->label_status_disp->setText(tr("Discovery unavailable: UDP port 45454 is in use."));
        return;
    }
    seenIps.clear();
    descriptionUrls.clear();
    dropRunningDescriptions();
    recordsThisSearch = 0;
    searchFullNoted = false;
    deviceModel.clear();
    ui->lineEdit_ip->clear();
    ui->label_status_disp->setText(tr("Searching..."));
    sendSearch();
    // A click during a search sends at once but does not restart the count.
    if (!searchTimer->isActive()) {
        searchTimer->start();
        searchCount = 0;
    }
}
