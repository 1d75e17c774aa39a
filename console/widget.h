#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QStandardItemModel>
#include <QStringList>
#include <QUrl>
#include <QWebEnginePage>
#include <QWidget>

#include "console/deviceinfo.h"
#include "console/pagenavigation.h"
#include "console/webflieload.h"

class QNetworkAccessManager;
class QNetworkDatagram;
class QNetworkReply;
class QTimer;
class QUdpSocket;
class QWebEngineView;
class ConsolePage;
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

    // A console page that has not finished loading this long after Connect is
    // given up and shown as failed: its server took the connection and went
    // silent, or streams a page that never ends.
    static constexpr int consoleLoadTimeoutMs = 15000;

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
    bool insertDevice(const DeviceInfo &device);

    // Search (widget_discovery.cpp) and its answers (widget_replies.cpp).
    void initDiscovery();
    bool discoveryAvailable() const;
    void sendSearch();
    void searchTick();
    void readAnswers(QUdpSocket *socket);
    bool takeMarker(QByteArrayView payload);
    void takeAnnouncement(const QNetworkDatagram &datagram);
    void noteSearchFull();
    void fetchDescriptions();
    void dropRunningDescriptions();
    void parseDescription(QByteArray bytes, QUrl url);

    // Console view (widget.cpp) and the mixer's configuration (widget_config.cpp).
    void initWebView();
    void consoleLoadTimedOut();
    void consoleRendererGone(QWebEnginePage::RenderProcessTerminationStatus status);
    void getNginxFile(QString ip);
    void handleConfigReply(QNetworkReply *reply);

    // The ways back to the search page, and the console's reload
    // (widget_navigation.cpp).
    void initNavigation();
    void returnToSearch();
    void discardLeftConsole();
    void reloadConsole();
    void leaveLostConsole();
    void showDemoPanel();
    // Up and Down in the address field step through the mixers found
    // (widget_table.cpp).
    void stepThroughDevices(int step);

    Ui::Widget *ui;
    QStandardItemModel deviceModel;
    QUdpSocket *multicastSocket = nullptr;
    QUdpSocket *broadcastSocket = nullptr;
    QNetworkAccessManager *descriptionManager = nullptr;
    // Keyed by the sender's IPv4 address as a number.
    QMap<quint32, QString> descriptionUrls;
    // The description request still running for each sender of this search.
    // A sender is asked again only once its request has ended (each request
    // has a time limit), so announcements repeated by a sender, or sent by a
    // flood of senders, cannot pile up requests. A new search drops them all.
    QHash<quint32, QNetworkReply *> descriptionsRunning;
    QMap<QString, DeviceInfo> devices;
    // Records added since the search started, against the bound of a search.
    qsizetype recordsThisSearch = 0;
    bool searchFullNoted = false;
    // A set: with thousands of addresses, a scan of all of them for every
    // incoming marker would stall the event loop.
    QSet<QString> seenIps;
    web *webHost = nullptr;
    demo *demoPanel = nullptr;
    QTimer *searchTimer = nullptr;
    qint32 searchCount = 0;
    QByteArray searchDatagram;
    QWebEngineView *consoleView = nullptr;
    // The console's page, owned by consoleView.
    ConsolePage *consolePage = nullptr;
    // Child of this widget; readies the engine once a Connect is in sight.
    ConsoleWarmUp *consoleWarmUp = nullptr;
    WebFlieLoad webFlieLoad;
    QNetworkAccessManager *configManager = nullptr;
    loading *loadingWidget = nullptr;
    QTimer *pageSwitchTimer = nullptr;
    QTimer *consoleLoadTimer = nullptr;
    // A reload of the console is running: its failure takes the console away.
    bool reloadRunning = false;
    // The page the user is on or is being taken to. Load reports that arrive
    // on the search page belong to a load the user has left.
    PageNavigation::Stage stage = PageNavigation::Stage::Search;
};
