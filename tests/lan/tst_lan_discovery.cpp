// Searching for mixers in the private test LAN (see run-in-lan.sh): the
// launcher's Widget in this namespace, simulated mixers in the others, real
// UDP and HTTP in between.

#include "console/widget.h"
#include "lan/support/lanenvironment.h"
#include "support/mixersim.h"
#include "support/processmemory.h"
#include "support/tablerows.h"
#include "support/testmain.h"

namespace {

// The search datagram, spelled out independently of the code that sends it.
const QByteArray expectedSearch =
    "M-SEARCH * HTTP/1.1\r\nHOST:239.255.255.250:1900\r\nMAN:\"ssdp:discover\"\r\n"
    "ST:ssdp:all\r\nMX:3\r\n\r\n";
// A whole search is four one-second ticks; everything waits far longer.
constexpr int searchMs = 15000;
// Half a tick longer than one: no pass can hide in it.
constexpr int quietMs = 1500;

}  // namespace

class TestLanDiscovery : public QObject
{
    Q_OBJECT
    LanEnvironment lan;
    QTemporaryDir scratch;
    std::vector<std::unique_ptr<MixerSim>> sims;
    std::unique_ptr<Widget> widget;
    QString record;  // of the first mixer started by a test

    // A simulated mixer in mixer namespace `ns`; the first of a test records
    // the datagrams it hears.
    void startSim(int ns, QStringList arguments)
    {
        if (sims.empty())
            arguments << "--record" << record;
        sims.push_back(std::make_unique<MixerSim>(arguments, lan.mixerNamespaces.value(ns)));
        QVERIFY(sims.back()->start());
    }
    template <typename T>
    T *child(const char *name = nullptr) const
    {
        return widget->findChild<T *>(QLatin1String(name));
    }
    QString status() const { return child<QLabel>("label_status_disp")->text(); }
    QAbstractItemModel *table() const { return child<QTableView>()->model(); }
    void clickSearch() { QTest::mouseClick(child<QPushButton>("btn_search"), Qt::LeftButton); }
    QStringList rows() const { return tableRows(table(), 5); }
    // What the recording mixer heard so far, each datagram as destination,
    // sender:port and payload. The last line may still be being written.
    QList<QByteArrayList> heard() const
    {
        QFile file(record);
        QByteArrayList lines =
            file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QByteArrayList{""};
        lines.removeLast();
        QList<QByteArrayList> datagrams;
        for (const QByteArray &line : lines) {
            datagrams << line.split(' ');
            datagrams.last().last() = QByteArray::fromHex(datagrams.last().last());
        }
        return datagrams;
    }
    // The launcher's search passes that the recording mixer heard: the
    // datagrams to the broadcast address of 10.77.0.0/24.
    qsizetype passes() const
    {
        const QList<QByteArrayList> datagrams = heard();
        return std::count_if(datagrams.cbegin(), datagrams.cend(), [](const QByteArrayList &d) {
            return d.value(0) == "10.77.0.255" && d.value(2) == expectedSearch;
        });
    }
    QNetworkAccessManager *descriptions() const { return child<QNetworkAccessManager>(); }
    qsizetype descriptionsRunning() const
    {
        const auto replies = descriptions()->findChildren<QNetworkReply *>();
        return std::count_if(replies.cbegin(), replies.cend(),
                             [](const QNetworkReply *r) { return r->isRunning(); });
    }

private slots:
    void initTestCase() { QVERIFY2(lan.isComplete(), "run this test through run-in-lan.sh"); }
    void init()
    {
        record = scratch.filePath(QTest::currentTestFunction() + QLatin1String(".txt"));
        QFile::remove(record);
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
        clickSearch();
        QCOMPARE(status(), QStringLiteral("Searching..."));
        // Textual order of the addresses: 10.77.0.10 comes before 10.77.0.9.
        const QStringList expected = {
            "Desk 10.77.0.10|10.77.0.10|M-1|No Link|", "Desk 10.77.0.20|10.77.0.20|M-2|No Link|",
            "Desk 10.77.0.21|10.77.0.21|M-2|No Link|", "Desk 10.77.0.30|10.77.0.30|M-3|No Link|",
            "Desk 10.77.0.9|10.77.0.9|M-1|No Link|"};
        QTRY_COMPARE_WITH_TIMEOUT(rows(), expected, searchMs);
    }

    // Two usable entries on eth0: each of the five passes goes to the group
    // once per entry and to each entry's broadcast address; never to the
    // adapter named VMware, nowhere else. All from the discovery port.
    void searchDatagramsOnTheWire()
    {
        startSim(0, {"--address", "10.77.0.9", "--answer", "none"});
        clickSearch();
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Search ended!"), searchMs);
        // The tick that ends the search still sends its pass.
        QTRY_COMPARE_WITH_TIMEOUT(passes(), 5, searchMs);
        QTest::qWait(quietMs);
        QMap<QByteArray, int> sent;
        for (const QByteArrayList &datagram : heard()) {
            ++sent[datagram.value(0)];
            QCOMPARE(datagram.value(2), expectedSearch);
            const QByteArrayList sender = datagram.value(1).split(':');
            QVERIFY2(lan.launcherAddresses.contains(sender.first()) && sender.last() == "45454",
                     datagram.value(1));
        }
        const QMap<QByteArray, int> expected{
            {"239.255.255.250", 10}, {"10.77.0.255", 5}, {"10.77.1.255", 5}};
        QCOMPARE(sent, expected);
    }

    // The first description reply, good or failed, ends the search; each
    // sender is asked once, however often it announces itself.
    void descriptionReplyEndsSearch_data()
    {
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("described") << QStringList{} << QStringList{"Stage|10.77.0.9|D-1|No Link|"};
        QTest::newRow("huge body")
            << QStringList{"--huge", "description=268435456"} << QStringList{};
        QTest::newRow("endless body") << QStringList{"--endless", "description"} << QStringList{};
    }
    void descriptionReplyEndsSearch()
    {
        QFETCH(QStringList, fault);
        startSim(0, QStringList{"--address", "10.77.0.9", "--answer", "announce", "--name", "Stage",
                                "--model", "D-1"} +
                        fault);
        QSignalSpy finished(descriptions(), &QNetworkAccessManager::finished);
        resetPeakResident();
        const qint64 residentBefore = residentKiB();
        clickSearch();
        QVERIFY(finished.wait(searchMs));
        const qsizetype sent = passes();
        QTest::qWait(quietMs);
        QCOMPARE(passes(), sent);
        QVERIFY(sent < 5);
        QCOMPARE(finished.size(), 1);
        QTEST(rows(), "listed");
        // Only a good description claims that the search ended well.
        QCOMPARE(status(), fault.isEmpty() ? "Search ended!" : "Searching...");
        // What was read of a body stays far below what the mixer offered.
        const qint64 growth = peakResidentKiB() - residentBefore;
        QVERIFY2(residentBefore > 0 && growth < 96 * 1024, qPrintable(QString::number(growth)));
    }

    // A description server that takes the connection and never answers:
    // each request ends after a while as a failed one, and every search asks
    // again, also one started while the last request still waits.
    void hungDescriptionAskedAgain()
    {
        startSim(0, {"--address", "10.77.0.9", "--answer", "announce", "--hang", "description"});
        QSignalSpy finished(descriptions(), &QNetworkAccessManager::finished);
        clickSearch();
        QTRY_COMPARE_WITH_TIMEOUT(descriptionsRunning(), 1, searchMs);
        clickSearch();
        QTRY_VERIFY_WITH_TIMEOUT(finished.size() == 1 && descriptionsRunning() == 1, searchMs);
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 30000);
        QCOMPARE(descriptionsRunning(), 0);
        QCOMPARE(rows(), QStringList{});

        // Recovered: the next search lists it.
        sims.clear();
        startSim(0, {"--address", "10.77.0.9", "--answer", "announce", "--name", "Back"});
        clickSearch();
        QTRY_COMPARE_WITH_TIMEOUT(rows(), QStringList{"Back|10.77.0.9|SIM-16|No Link|"}, searchMs);
    }

    // A click during a search empties the table and the field at once and
    // sends a pass, but does not restart the four ticks.
    void secondClickMidSearch()
    {
        startSim(0, {"--address", "10.77.0.9", "--answer", "marker-broadcast", "--name", "A"});
        clickSearch();
        QTRY_COMPARE_WITH_TIMEOUT(passes(), 2, searchMs);  // first tick
        QCOMPARE(rows().size(), 1);
        child<QLineEdit>("lineEdit_ip")->setText(QStringLiteral("10.77.0.9"));
        clickSearch();
        QCOMPARE(table()->rowCount(), 0);
        QCOMPARE(table()->columnCount(), 0);
        QCOMPARE(child<QLineEdit>("lineEdit_ip")->text(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(rows().size(), 1, searchMs);
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Search ended!"), searchMs);
        QTRY_COMPARE_WITH_TIMEOUT(passes(), 6, searchMs);
        QTest::qWait(quietMs);
        QCOMPARE(passes(), 6);
    }

    // Repeated answers rebuild nothing; the next search brings back every
    // record at its first find, with the values first seen.
    void earlierDeviceComesBack()
    {
        startSim(0, {"--address", "10.77.0.9", "--answer", "marker-broadcast", "--name", "First",
                     "--model", "M-1"});
        QSignalSpy rebuilds(table(), &QAbstractItemModel::modelReset);
        clickSearch();
        rebuilds.clear();  // the click's own clearing
        QTRY_COMPARE_WITH_TIMEOUT(passes(), 5, searchMs);
        QTest::qWait(500);
        QCOMPARE(rebuilds.size(), 1);
        QCOMPARE(rows(), QStringList{"First|10.77.0.9|M-1|No Link|"});

        sims.clear();
        startSim(0, {"--address", "10.77.0.9", "--answer", "marker-broadcast", "--name", "Renamed",
                     "--model", "M-9"});
        startSim(1, {"--address", "10.77.0.20", "--answer", "marker-broadcast", "--name", "Second",
                     "--model", "M-2"});
        clickSearch();
        QCOMPARE(rows(), QStringList{});
        const QStringList expected = {"Second|10.77.0.20|M-2|No Link|",
                                      "First|10.77.0.9|M-1|No Link|"};
        QTRY_COMPARE_WITH_TIMEOUT(rows(), expected, searchMs);
        QTest::qWait(quietMs);
        QCOMPARE(rows(), expected);
    }

    void discoveryUnavailable()
    {
        widget.reset();
        QUdpSocket blocker;
        QVERIFY(blocker.bind(QHostAddress::AnyIPv4, 45454, QAbstractSocket::DontShareAddress));
        startSim(0, {"--address", "10.77.0.9", "--answer", "none"});
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Failed to bind socket: "));
        widget = std::make_unique<Widget>();
        widget->show();
        const QString unavailable = "Discovery unavailable: UDP port 45454 is in use.";
        for (int click = 0; click < 2; ++click) {
            clickSearch();
            QCOMPARE(status(), unavailable);
        }
        QTest::qWait(quietMs);
        QCOMPARE(heard().size(), 0);
        QCOMPARE(table()->columnCount(), 5);
    }
};

LAUNCHER_TEST_MAIN(TestLanDiscovery)
#include "tst_lan_discovery.moc"
