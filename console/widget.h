#pragma once

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QStandardItemModel>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include "console/deviceinfo.h"
#include "console/webflieload.h"

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;
class QUdpSocket;
class QWebEngineView;
class ConsoleWarmUp;
class demo;
class loading;
class web;

namespace Ui {
class Widget;
}

// The content of the main window: the search page with the device table, the
// loading page and the page that shows a mixer's own console.
class Widget : public QWidget
{
    Q_OBJECT
public:
    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

private slots:
    void udpReady();
    void on_btn_search_clicked();
    void managerFinish(QNetworkReply *reply);
    void on_tableView_clicked(const QModelIndex &index);
    void on_btn_connect_clicked();
    void on_lineEdit_ip_textEdited(const QString &arg1);
    void on_lineEdit_ip_editingFinished();
    void loadFinishedSlot(bool ok);
    void timerOut();
    void processPendingDatagrams();

private:
    // Device table (widget_table.cpp).
    void setupTable();
    void refreshTable();
    void insertDevice(const DeviceInfo &device);

    // Search (widget_discovery.cpp) and its answers (widget_replies.cpp).
    void initDiscovery();
    bool discoveryAvailable() const;
    void sendSearch();
    void searchTick();
    bool takeMarker(QByteArrayView payload);
    void fetchDescriptions();
    void limitDescriptionBody(QNetworkReply *reply);
    void parseDescription(QByteArray bytes, QUrl url);

    // Console view (widget.cpp) and the mixer's configuration (widget_config.cpp).
    void initWebView();
    void getNginxFile(QString ip);
    void handleConfigReply(QNetworkReply *reply);

    Ui::Widget *ui;
    QStandardItemModel deviceModel;
    QUdpSocket *multicastSocket = nullptr;
    QUdpSocket *broadcastSocket = nullptr;
    QNetworkAccessManager *descriptionManager = nullptr;
    // Keyed by the sender's IPv4 address as a number.
    QMap<quint32, QString> descriptionUrls;
    // Senders whose description request is still running. Each is asked again
    // only once its request has ended, so announcements repeated by a sender,
    // or sent by a flood of senders, cannot pile up requests.
    QSet<quint32> descriptionsRunning;
    QMap<QString, DeviceInfo> devices;
    // A set: with thousands of addresses, a scan of all of them for every
    // incoming marker would stall the event loop.
    QSet<QString> seenIps;
    web *webHost = nullptr;
    demo *demoPanel = nullptr;
    QTimer *searchTimer = nullptr;
    qint32 searchCount = 0;
    QByteArray searchDatagram;
    QWebEngineView *consoleView = nullptr;
    // Child of this widget; readies the engine once a Connect is in sight.
    ConsoleWarmUp *consoleWarmUp = nullptr;
    WebFlieLoad webFlieLoad;
    QNetworkAccessManager *configManager = nullptr;
    loading *loadingWidget = nullptr;
    QTimer *pageSwitchTimer = nullptr;
};
