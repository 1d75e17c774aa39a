// Searching for mixers in the private test LAN (see run-in-lan.sh): the
// launcher's Widget in this namespace, simulated mixers in the others, real
// UDP and HTTP in between.
#include <QAbstractItemModel>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QTableView>
#include <QUdpSocket>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>
#include <vector>

#include "console/widget.h"
#include "lan/support/datagramrecord.h"
#include "lan/support/lanenvironment.h"
#include "support/mixersim.h"
#include "support/processmemory.h"
#include "support/testmain.h"

namespace {

// The search datagram, spelled out independently of the code that sends it.
const QByteArray expectedSearch =
    "M-SEARCH * HTTP/1.1\r\nHOST:239.255.255.250:1900\r\nMAN:\"ssdp:discover\"\r\n"
    "ST:ssdp:all\r\nMX:3\r\n\r\n";

// A whole search is four one-second ticks; everything waits far longer.
constexpr int searchTimeoutMs = 15000;
// Half a tick longer than one: no pass can hide in it.
constexpr int quietPeriodMs = 1500;

}  // namespace

class TestLanDiscovery : public QObject
{
    Q_OBJECT

    LanEnvironment lan;
    QTemporaryDir scratch;
    std::vector<std::unique_ptr<MixerSim>> sims;
    std::unique_ptr<Widget> widget;
    int recordCount = 0;

    // Starts a simulated mixer in mixer namespace `ns`; returns its record
    // file when `record` is set.
    QString startSim(int ns, QStringList arguments, bool record = false)
    {
        QString recordPath;
        if (record) {
            recordPath = scratch.filePath(QStringLiteral("record-%1.txt").arg(++recordCount));
            arguments << QStringLiteral("--record") << recordPath;
        }
        auto sim = std::make_unique<MixerSim>(arguments, lan.mixerNamespace(ns));
        if (!sim->start())
            qWarning() << "mixer-sim did not start:" << arguments;
        sims.push_back(std::move(sim));
        return recordPath;
    }
    bool allSimsRunning() const
    {
        return std::all_of(sims.cbegin(), sims.cend(),
                           [](const auto &s) { return s->isRunning(); });
    }

    template <typename T>
    T *child(const char *name) const
    {
        return widget->findChild<T *>(QLatin1String(name));
    }
    QString status() const { return child<QLabel>("label_status_disp")->text(); }
    QAbstractItemModel *table() const { return child<QTableView>("tableView")->model(); }
    void clickSearch() { QTest::mouseClick(child<QPushButton>("btn_search"), Qt::LeftButton); }

    // Each row as "name|ip|model|status|remark".
    QStringList rows() const
    {
        QStringList out;
        const QAbstractItemModel *model = table();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 5; ++column)
                cells << model->index(row, column).data().toString();
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }

    // Passes of the launcher that a recording mixer heard: the search
    // datagrams that reached the broadcast address of 10.77.0.0/24.
    static qsizetype passes(const QString &record)
    {
        const QList<RecordedDatagram> datagrams = readDatagramRecord(record);
        return std::count_if(datagrams.cbegin(), datagrams.cend(), [](const RecordedDatagram &d) {
            return d.destination == QLatin1String("10.77.0.255") && d.payload == expectedSearch;
        });
    }

    QNetworkAccessManager *descriptionManager() const
    {
        const QList<QNetworkAccessManager *> managers =
            widget->findChildren<QNetworkAccessManager *>();
        return managers.size() == 1 ? managers.first() : nullptr;
    }

    int runningDescriptions() const
    {
        const QList<QNetworkReply *> replies =
            descriptionManager()->findChildren<QNetworkReply *>();
        return int(std::count_if(replies.cbegin(), replies.cend(),
                                 [](const QNetworkReply *r) { return r->isRunning(); }));
    }

    // Filled by the first row of the tests that share one search.
    QList<RecordedDatagram> fullSearch;

private slots:
    void initTestCase()
    {
        QVERIFY2(lan.isComplete(), "run this test through run-in-lan.sh");
        QVERIFY(lan.mixerNamespaceCount() >= 3);
        QVERIFY(scratch.isValid());
    }

    void init()
    {
        widget = std::make_unique<Widget>();
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    }

    void cleanup()
    {
        widget.reset();
        sims.clear();
    }

    void listsMixersAnsweringEachWay_data()
    {
        QTest::addColumn<QStringList>("ways");  // one per mixer namespace
        QTest::addColumn<bool>("broadcastSocketOnly");
        QTest::newRow("marker broadcasts")
            << QStringList{"marker-broadcast", "marker-broadcast", "marker-broadcast"} << false;
        // Unicast answers reach only the socket bound last.
        QTest::newRow("marker unicasts")
            << QStringList{"marker-unicast", "marker-unicast", "marker-unicast"} << false;
        QTest::newRow("announcements") << QStringList{"announce", "announce", "announce"} << false;
        QTest::newRow("each way at once")
            << QStringList{"marker-unicast", "announce", "marker-broadcast"} << false;
        // Which socket gets a unicast answer is up to the system (undefined
        // on Windows): with the other one closed, the socket bound first
        // gets them all.
        QTest::newRow("announcements, broadcast socket only")
            << QStringList{"announce", "announce", "announce"} << true;
    }
    void listsMixersAnsweringEachWay()
    {
        QFETCH(QStringList, ways);
        QFETCH(bool, broadcastSocketOnly);
        if (broadcastSocketOnly)
            child<QUdpSocket>("multicastSocket")->close();
        const QList<QStringList> played = {
            {"10.77.0.9", "10.77.0.10"}, {"10.77.0.20", "10.77.0.21"}, {"10.77.0.30"}};
        for (int ns = 0; ns < 3; ++ns) {
            QStringList arguments{"--answer", ways.at(ns), "--name",
                                  "Desk %a",  "--model",   QStringLiteral("M-%1").arg(ns + 1)};
            for (const QString &address : played.at(ns))
                arguments << "--address" << address;
            startSim(ns, arguments);
        }
        QVERIFY(allSimsRunning());

        clickSearch();
        QCOMPARE(status(), QStringLiteral("Searching..."));
        // Textual order of the addresses: 10.77.0.10 comes before 10.77.0.9.
        const QStringList expected = {
            "Desk 10.77.0.10|10.77.0.10|M-1|No Link|", "Desk 10.77.0.20|10.77.0.20|M-2|No Link|",
            "Desk 10.77.0.21|10.77.0.21|M-2|No Link|", "Desk 10.77.0.30|10.77.0.30|M-3|No Link|",
            "Desk 10.77.0.9|10.77.0.9|M-1|No Link|"};
        QTRY_COMPARE_WITH_TIMEOUT(rows(), expected, searchTimeoutMs);
    }

    void searchDatagramsOnTheWire_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("count");
        // Two usable entries on eth0: each pass goes to the group once per
        // entry and to each entry's broadcast address.
        QTest::newRow("multicast group") << "239.255.255.250" << 10;
        QTest::newRow("broadcast of the first entry") << "10.77.0.255" << 5;
        QTest::newRow("broadcast of the second entry") << "10.77.1.255" << 5;
        QTest::newRow("adapter named VMware") << "10.77.2.255" << 0;
        QTest::newRow("anything else") << "" << 0;
    }
    void searchDatagramsOnTheWire()
    {
        QFETCH(QString, destination);
        QFETCH(int, count);
        if (fullSearch.isEmpty()) {
            const QString record =
                startSim(0, {"--address", "10.77.0.9", "--answer", "none"}, true);
            QVERIFY(allSimsRunning());
            clickSearch();
            QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Search ended!"), searchTimeoutMs);
            // The tick that ends the search still sends its pass.
            QTRY_COMPARE_WITH_TIMEOUT(passes(record), 5, searchTimeoutMs);
            QTest::qWait(quietPeriodMs);
            fullSearch = readDatagramRecord(record);
            QCOMPARE(fullSearch.size(), 20);
        }
        const QStringList known = {"239.255.255.250", "10.77.0.255", "10.77.1.255"};
        qsizetype seen = 0;
        for (const RecordedDatagram &datagram : std::as_const(fullSearch)) {
            const bool matches = destination.isEmpty() ? !known.contains(datagram.destination)
                                                       : datagram.destination == destination;
            if (!matches)
                continue;
            ++seen;
            QCOMPARE(datagram.payload, expectedSearch);
            QCOMPARE(datagram.payload.size(), 90);
            // Both sockets are bound to the discovery port and send from it.
            QCOMPARE(datagram.senderPort, quint16(45454));
            QVERIFY2(lan.launcherAddresses().contains(datagram.sender),
                     qPrintable(datagram.sender));
        }
        QCOMPARE(seen, qsizetype(count));
    }

    void descriptionReplyEndsSearch()
    {
        const QString record = startSim(
            0,
            {"--address", "10.77.0.9", "--answer", "announce", "--name", "Stage", "--model", "D-1"},
            true);
        QVERIFY(allSimsRunning());
        clickSearch();
        QTRY_COMPARE_WITH_TIMEOUT(rows(), QStringList{"Stage|10.77.0.9|D-1|No Link|"},
                                  searchTimeoutMs);
        QCOMPARE(status(), QStringLiteral("Search ended!"));
        const qsizetype sent = passes(record);
        QVERIFY(sent >= 1);
        QTest::qWait(quietPeriodMs);
        QCOMPARE(passes(record), sent);
        QVERIFY(sent < 5);
    }

    void announcementsAndRequests_data()
    {
        QTest::addColumn<QStringList>("secondMixer");  // empty: none
        QTest::addColumn<int>("requests");
        QTest::addColumn<QStringList>("listed");
        // Every pass reaches the mixer four times, and it announces to each.
        QTest::newRow("one sender, many announcements")
            << QStringList{} << 1 << QStringList{"10.77.0.9"};
        // The later sender arrives on its own and has every entry requested.
        QTest::newRow("a later second sender")
            << QStringList{"--address", "10.77.0.20", "--answer-delay", "400"} << 3
            << QStringList{"10.77.0.20", "10.77.0.9"};
    }
    void announcementsAndRequests()
    {
        QFETCH(QStringList, secondMixer);
        QFETCH(int, requests);
        QFETCH(QStringList, listed);
        const QString record =
            startSim(0, {"--address", "10.77.0.9", "--answer", "announce"}, true);
        if (!secondMixer.isEmpty())
            startSim(1, secondMixer << "--answer"
                                    << "announce");
        QVERIFY(allSimsRunning());
        QSignalSpy finished(descriptionManager(), &QNetworkAccessManager::finished);

        clickSearch();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), requests, searchTimeoutMs);
        QTest::qWait(quietPeriodMs);
        QCOMPARE(finished.size(), requests);
        QVERIFY(readDatagramRecord(record).size() >= 2);
        QStringList ips;
        for (const QString &row : rows())
            ips << row.section(QLatin1Char('|'), 1, 1);
        QCOMPARE(ips, listed);
    }

    void failedDescription_data()
    {
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<bool>("endsSearch");
        QTest::newRow("error status") << QStringList{"--status", "description=404"} << true;
        QTest::newRow("huge body") << QStringList{"--huge", "description=268435456"} << true;
        QTest::newRow("endless body") << QStringList{"--endless", "description"} << true;
        QTest::newRow("no answer at all") << QStringList{"--hang", "description"} << false;
    }
    void failedDescription()
    {
        QFETCH(QStringList, fault);
        QFETCH(bool, endsSearch);
        const QString record = startSim(
            0, QStringList{"--address", "10.77.0.9", "--answer", "announce"} + fault, true);
        QVERIFY(allSimsRunning());
        QSignalSpy finished(descriptionManager(), &QNetworkAccessManager::finished);
        resetPeakResident();
        const qint64 residentBefore = residentKiB();

        clickSearch();
        if (endsSearch) {
            // The failed reply ends the search at once, without a device and
            // without claiming that the search ended well.
            QTRY_VERIFY_WITH_TIMEOUT(finished.size() >= 1, searchTimeoutMs);
            const qsizetype sent = passes(record);
            QTest::qWait(quietPeriodMs);
            QCOMPARE(passes(record), sent);
            QVERIFY(sent < 5);
            QCOMPARE(status(), QStringLiteral("Searching..."));
        } else {
            // A mixer that never answers cannot hold the search open.
            QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Search ended!"), searchTimeoutMs);
            QTRY_COMPARE_WITH_TIMEOUT(passes(record), 5, searchTimeoutMs);
        }
        QCOMPARE(rows(), QStringList{});
        // What was read of a body stays far below what the mixer offered.
        const qint64 peak = peakResidentKiB();
        QVERIFY(residentBefore > 0 && peak > 0);
        QVERIFY2(peak - residentBefore < 96 * 1024,
                 qPrintable(QStringLiteral("peak grew by %1 KiB").arg(peak - residentBefore)));
    }

    // A description server that takes the connection and never answers:
    // each request ends after a while as a failed one, and every search asks
    // again, also one started while the last request still waits.
    void hungDescriptionAskedAgain()
    {
        startSim(0, {"--address", "10.77.0.9", "--answer", "announce", "--hang", "description"});
        QVERIFY(allSimsRunning());
        QSignalSpy finished(descriptionManager(), &QNetworkAccessManager::finished);
        clickSearch();
        QTRY_COMPARE_WITH_TIMEOUT(runningDescriptions(), 1, searchTimeoutMs);
        clickSearch();
        QTRY_VERIFY_WITH_TIMEOUT(finished.size() == 1 && runningDescriptions() == 1,
                                 searchTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 30000);
        QCOMPARE(runningDescriptions(), 0);
        QCOMPARE(rows(), QStringList{});

        // Recovered: the next search lists it.
        sims.clear();
        startSim(0, {"--address", "10.77.0.9", "--answer", "announce", "--name", "Back"});
        QVERIFY(allSimsRunning());
        clickSearch();
        QTRY_COMPARE_WITH_TIMEOUT(rows(), QStringList{"Back|10.77.0.9|SIM-16|No Link|"},
                                  searchTimeoutMs);
    }

    void secondClickMidSearch()
    {
        const QString record = startSim(
            0, {"--address", "10.77.0.9", "--answer", "marker-broadcast", "--name", "A"}, true);
        QVERIFY(allSimsRunning());
        clickSearch();
        QTRY_COMPARE_WITH_TIMEOUT(passes(record), 2, searchTimeoutMs);  // first tick
        QCOMPARE(rows().size(), 1);
        QCOMPARE(status(), QStringLiteral("Searching..."));
        child<QLineEdit>("lineEdit_ip")->setText(QStringLiteral("10.77.0.9"));

        clickSearch();
        // Emptied at once, header labels included, and the field cleared.
        QCOMPARE(table()->rowCount(), 0);
        QCOMPARE(table()->columnCount(), 0);
        QCOMPARE(child<QLineEdit>("lineEdit_ip")->text(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(rows().size(), 1, searchTimeoutMs);

        // Two clicks and four ticks counted from the first click: six passes.
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Search ended!"), searchTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(passes(record), 6, searchTimeoutMs);
        QTest::qWait(quietPeriodMs);
        QCOMPARE(passes(record), 6);
    }

    void rowClickCopiesAddressAndReadiesConsole()
    {
        startSim(0, {"--address", "10.77.0.9", "--answer", "marker-broadcast", "--name", "A"});
        QVERIFY(allSimsRunning());
        clickSearch();
        QTRY_COMPARE_WITH_TIMEOUT(rows().size(), 1, searchTimeoutMs);
        // Searching and finding is no sign of a Connect yet: no renderer.
        QWebEnginePage *page = widget->findChild<QWebEngineView *>()->page();
        QCOMPARE(page->renderProcessPid(), 0);

        auto *view = child<QTableView>("tableView");
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(0, 3)).center());
        QCOMPARE(child<QLineEdit>("lineEdit_ip")->text(), QStringLiteral("10.77.0.9"));
        QCOMPARE(rows().size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(page->renderProcessPid() != 0, 15000);
    }

    void earlierDeviceComesBack_data()
    {
        QTest::addColumn<QStringList>("laterFirstMixer");  // empty: silent
        QTest::newRow("silent since") << QStringList{};
        QTest::newRow("renamed since") << QStringList{"--name", "Renamed", "--model", "M-9"};
    }
    void earlierDeviceComesBack()
    {
        QFETCH(QStringList, laterFirstMixer);
        const QString record = startSim(0,
                                        {"--address", "10.77.0.9", "--answer", "marker-broadcast",
                                         "--name", "First", "--model", "M-1"},
                                        true);
        QVERIFY(allSimsRunning());
        QSignalSpy rebuilds(table(), &QAbstractItemModel::modelReset);
        clickSearch();
        rebuilds.clear();  // the click's own clearing
        QTRY_COMPARE_WITH_TIMEOUT(passes(record), 5, searchTimeoutMs);
        QTest::qWait(500);
        // Five passes, each answered several times: one rebuild for the one
        // new device, none for the repeats.
        QCOMPARE(rebuilds.size(), 1);
        QCOMPARE(rows(), QStringList{"First|10.77.0.9|M-1|No Link|"});

        sims.clear();
        if (!laterFirstMixer.isEmpty())
            startSim(0, QStringList{"--address", "10.77.0.9", "--answer", "marker-broadcast"} +
                            laterFirstMixer);
        startSim(1, {"--address", "10.77.0.20", "--answer", "marker-broadcast", "--name", "Second",
                     "--model", "M-2"});
        QVERIFY(allSimsRunning());
        clickSearch();
        QCOMPARE(rows(), QStringList{});
        // The first find of the new search brings back every record, and a
        // record keeps the values first seen.
        QTRY_VERIFY_WITH_TIMEOUT(!rows().isEmpty(), searchTimeoutMs);
        const QStringList expected = {"Second|10.77.0.20|M-2|No Link|",
                                      "First|10.77.0.9|M-1|No Link|"};
        if (laterFirstMixer.isEmpty())
            QCOMPARE(rows(), expected);  // only the new mixer answers
        else
            QTRY_COMPARE_WITH_TIMEOUT(rows(), expected, searchTimeoutMs);
    }

    void discoveryUnavailable()
    {
        widget.reset();
        QUdpSocket blocker;
        QVERIFY(blocker.bind(QHostAddress::AnyIPv4, 45454, QAbstractSocket::DontShareAddress));
        const QString record = startSim(0, {"--address", "10.77.0.9", "--answer", "none"}, true);
        QVERIFY(allSimsRunning());
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Failed to bind socket: "));
        widget = std::make_unique<Widget>();
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));

        clickSearch();
        QCOMPARE(status(), QStringLiteral("Discovery unavailable: UDP port 45454 is in use."));
        clickSearch();
        QTest::qWait(quietPeriodMs);
        QCOMPARE(readDatagramRecord(record).size(), 0);
        QCOMPARE(status(), QStringLiteral("Discovery unavailable: UDP port 45454 is in use."));
        QCOMPARE(table()->columnCount(), 5);
    }
};

LAUNCHER_TEST_MAIN(TestLanDiscovery)
#include "tst_lan_discovery.moc"
