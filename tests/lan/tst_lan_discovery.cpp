// Searching for mixers in the private test LAN (see run-in-lan.sh): the
// launcher's Widget in this namespace, simulated mixers in the others, real
// UDP and HTTP in between.

#include "app/language.h"
#include "lan/support/lanenvironment.h"
#include "support/consoleundertest.h"
#include "support/filebytes.h"
#include "support/mixersim.h"

namespace {

// The search datagram, spelled out independently of the code that sends it.
const QString searchHex =
    QByteArray(
        "M-SEARCH * HTTP/1.1\r\nHOST:239.255.255.250:1900\r\nMAN:\"ssdp:discover\"\r\n"
        "ST:ssdp:all\r\nMX:3\r\n\r\n")
        .toHex();
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
    std::unique_ptr<ConsoleUnderTest> console;
    QString record;  // of the first mixer started by a test

    // A simulated mixer in mixer namespace `ns` at `address`, answering a
    // search `answer`; the first of a test records the datagrams it hears.
    void startSim(int ns, const QString &address, const QString &answer, QStringList arguments = {})
    {
        arguments << "--address" << address << "--answer" << answer;
        if (sims.empty())
            arguments << "--record" << record;
        sims.push_back(std::make_unique<MixerSim>(arguments, lan.mixerNamespaces.value(ns)));
        QVERIFY(sims.back()->start());
    }
    QString status() const { return console->status->text(); }
    QStringList rows() const { return console->rows(5); }
    // The complete lines the recording mixer wrote so far, one a datagram:
    // "<destination> <sender>:<port> <payload as hex>".
    QStringList heard() const
    {
        QFile file(record);
        QStringList lines =
            file.open(QIODevice::ReadOnly) ? QString(file.readAll()).split('\n') : QStringList{""};
        lines.removeLast();
        return lines;
    }
    // The launcher's search passes that the recording mixer heard: the
    // datagrams to the broadcast address of 10.77.0.0/24.
    qsizetype passes() const
    {
        return heard().filter(QRegularExpression("^10.77.0.255 .* " + searchHex + "$")).size();
    }
    QNetworkAccessManager *descriptions() const
    {
        return console->widget.findChild<QNetworkAccessManager *>();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(lan.isComplete(), "run this test through run-in-lan.sh");
        // The test runs under a system proxy where nothing answers (see
        // CMakeLists.txt): whatever reaches a mixer went there directly.
        const QNetworkProxyQuery toMixer(QUrl("http://10.77.0.9/"));
        QCOMPARE(QNetworkProxyFactory::systemProxyForQuery(toMixer).value(0).hostName(),
                 "127.0.0.9");
    }
    void init()
    {
        record = scratch.filePath(QTest::currentTestFunction() + QLatin1String(".txt"));
        QFile::remove(record);
        console = std::make_unique<ConsoleUnderTest>();
    }
    void cleanup()
    {
        console.reset();
        sims.clear();
    }

    void listsMixersAnsweringEachWay_data()
    {
        QTest::addColumn<QStringList>("ways");  // one per mixer namespace
        QTest::addColumn<bool>("broadcastSocketOnly");
        // Unicast answers reach only the socket bound last.
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
            console->widget.findChild<QUdpSocket *>("multicastSocket")->close();
        const QStringList played[] = {
            {"10.77.0.10", "10.77.0.9"}, {"10.77.0.20", "10.77.0.21"}, {"10.77.0.30"}};
        for (int ns = 0; ns < 3; ++ns) {
            QStringList more{"--name", "Desk %a", "--model", QStringLiteral("M-%1").arg(ns + 1)};
            for (const QString &address : played[ns].mid(1))
                more << "--address" << address;
            startSim(ns, played[ns].first(), ways.at(ns), more);
        }
        console->search();
        QCOMPARE(status(), QStringLiteral("Searching..."));
        // Textual order of the addresses: 10.77.0.10 comes before 10.77.0.9.
        const QStringList expected = {
            "Desk 10.77.0.10|10.77.0.10|M-1|No Link|", "Desk 10.77.0.20|10.77.0.20|M-2|No Link|",
            "Desk 10.77.0.21|10.77.0.21|M-2|No Link|", "Desk 10.77.0.30|10.77.0.30|M-3|No Link|",
            "Desk 10.77.0.9|10.77.0.9|M-1|No Link|"};
        QTRY_COMPARE_WITH_TIMEOUT(rows(), expected, searchMs);
    }

    // Two usable entries on eth0: each pass goes to the group once per entry
    // and to each entry's broadcast address; never to the adapter named
    // VMware, nowhere else; all from the discovery port. A click during a
    // search empties the table (header included) and the field at once and
    // sends a pass, but does not restart the four ticks: six passes.
    void searchOnTheWire()
    {
        startSim(0, "10.77.0.9", "marker-broadcast", {"--name", "A"});
        console->search();
        QTRY_COMPARE_WITH_TIMEOUT(passes(), 2, searchMs);  // the first tick
        QCOMPARE(rows().size(), 1);
        // Searching and finding is no sign of a Connect yet: no renderer. A
        // click on the row copies its address and readies one.
        QWebEnginePage *page = console->view->page();
        QCOMPARE(page->renderProcessPid(), 0);
        auto *view = console->widget.findChild<QTableView *>();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(0, 3)).center());
        QCOMPARE(console->address->text(), QStringLiteral("10.77.0.9"));
        QCOMPARE(rows().size(), 1);
        console->search();
        QCOMPARE(console->table()->rowCount() + console->table()->columnCount(), 0);
        QCOMPARE(console->address->text(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(rows().size(), 1, searchMs);
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Search ended!"), searchMs);
        QTRY_VERIFY_WITH_TIMEOUT(page->renderProcessPid() != 0, searchMs);
        // The tick that ends the search still sends its pass.
        QTRY_COMPARE_WITH_TIMEOUT(passes(), 6, searchMs);
        QTest::qWait(quietMs);
        QMap<QString, int> sent;
        // (The mixer hears its own answers too.)
        for (const QString &datagram : heard().filter(searchHex)) {
            const QStringList parts = datagram.split(' ');
            ++sent[parts.value(0)];
            const QString sender = parts.value(1).section(':', 0, 0);
            QVERIFY2(lan.launcherAddresses.contains(sender) && parts.value(1) == sender + ":45454",
                     qPrintable(datagram));
        }
        const QMap<QString, int> expected{
            {"239.255.255.250", 12}, {"10.77.0.255", 6}, {"10.77.1.255", 6}};
        QCOMPARE(sent, expected);
    }

    // The search's status in the user's language; with the discovery port
    // taken by another program, the search says so (in English: that text
    // has no translation) and sends nothing.
    void searchStatus_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("portTaken");
        QTest::addColumn<QStringList>("shown");  // at once, then at the end
        QTest::newRow("Spanish") << "sp" << false
                                 << QStringList{"Buscando", "¡Búsqueda finalizada!"};
        QTest::newRow("Traditional Chinese")
            << "tc" << false << QStringList{"搜尋中。。。", "搜尋完畢"};
        const QString taken = "Discovery unavailable: UDP port 45454 is in use.";
        QTest::newRow("port taken, Spanish") << "sp" << true << QStringList{taken, taken};
    }
    void searchStatus()
    {
        QFETCH(QString, language);
        QFETCH(bool, portTaken);
        QFETCH(QStringList, shown);
        QTranslator catalogue;
        QVERIFY(catalogue.load(":/Resource/main_widget_" + language + ".qm"));
        QCoreApplication::installTranslator(&catalogue);
        const auto uninstall = qScopeGuard([&] { QCoreApplication::removeTranslator(&catalogue); });
        console.reset();  // made anew in the language, after the port is taken
        QUdpSocket otherProgram;
        QVERIFY(!portTaken ||
                otherProgram.bind(QHostAddress::AnyIPv4, 45454, QUdpSocket::DontShareAddress));
        console = std::make_unique<ConsoleUnderTest>();
        startSim(0, "10.77.0.9", "none");
        console->search();
        QCOMPARE(status(), shown.first());
        QTRY_COMPARE_WITH_TIMEOUT(status(), shown.last(), searchMs);
        QTest::qWait(portTaken ? quietMs : 0);
        QCOMPARE(passes() == 0, portTaken);
    }

    // A description without end fails: that ends the search at once, without
    // a device and without claiming that the search ended well (not even at
    // the fourth tick, which never comes).
    void endlessDescriptionEndsSearch()
    {
        startSim(0, "10.77.0.9", "announce", {"--endless", "description"});
        QSignalSpy finished(descriptions(), &QNetworkAccessManager::finished);
        console->search();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, searchMs);
        QTest::qWait(4000 + quietMs);
        QCOMPARE(status(), QStringLiteral("Searching..."));
        QCOMPARE(rows(), QStringList{});
    }

    // Descriptions are a kilobyte or two, and a search may fetch a thousand:
    // one of 64 KiB is still read, one a byte larger is refused.
    void descriptionSizeBound_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("64 KiB") << 64 * 1024 << QStringList{"Big|10.77.0.9|M-64|No Link|"};
        QTest::newRow("64 KiB and a byte") << 64 * 1024 + 1 << QStringList{};
    }
    void descriptionSizeBound()
    {
        QFETCH(int, size);
        QByteArray xml =
            "<device><friendlyName>Big</friendlyName><modelName>M-64</modelName><!---->";
        const QString file = scratch.filePath("description.xml");
        QVERIFY(
            writeFileBytes(file, xml.insert(xml.size() - 3, QByteArray(size - xml.size(), 'x'))));
        startSim(0, "10.77.0.9", "announce", {"--description-file", file});
        QSignalSpy finished(descriptions(), &QNetworkAccessManager::finished);
        console->search();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, searchMs);
        QTEST(rows(), "listed");
    }

    // A description server that takes the connection and never answers:
    // each request ends after a while as a failed one, and every search asks
    // again, also one started while the last request still waits.
    void hungDescriptionAskedAgain()
    {
        const QString log = scratch.filePath("hung-requests.txt");
        startSim(0, "10.77.0.9", "announce", {"--hang", "description", "--request-log", log});
        QSignalSpy finished(descriptions(), &QNetworkAccessManager::finished);
        console->search();
        QTRY_COMPARE_WITH_TIMEOUT(timesLogged(log, "/rootDesc.xml"), 1, searchMs);
        console->search();
        QTRY_COMPARE_WITH_TIMEOUT(timesLogged(log, "/rootDesc.xml"), 2, searchMs);
        QCOMPARE(finished.size(), 1);  // the first given up for the second
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 30000);
        QCOMPARE(timesLogged(log, "/rootDesc.xml"), 2);
        QCOMPARE(rows(), QStringList{});

        // Recovered: the next search lists it. Its announcement names another
        // host, but the sender is the one asked. Its description ends the
        // search at once, and it is asked once, however often it announces
        // itself.
        sims.clear();
        startSim(0, "10.77.0.9", "announce",
                 {"--name", "Back", "--announce-text",
                  "HTTP/1.1 200 OK\r\nLOCATION: http://10.77.0.30:8200/rootDesc.xml\r\n\r\n"});
        const qsizetype passesBefore = passes();
        console->search();
        QTRY_COMPARE_WITH_TIMEOUT(rows(), QStringList{"Back|10.77.0.9|SIM-16|No Link|"}, searchMs);
        QCOMPARE(status(), QStringLiteral("Search ended!"));
        QTest::qWait(quietMs);
        QVERIFY(passes() - passesBefore < 5);
        QCOMPARE(finished.size(), 3);
    }

    // The first record of an address stays: the description that follows the
    // marker changes nothing, and the next search brings the record back with
    // the values first seen. The description came straight from the mixer,
    // past the system proxy; so do a console and its configuration.
    void earlierDeviceComesBack()
    {
        startSim(0, "10.77.0.9", "marker-broadcast,announce",
                 {"--marker-text", "DIGITAL_MIXER_DLNA|Name=First|Ip=%a|Mode=M-1|", "--name",
                  "Described", "--delay", "description=300"});
        console->search();
        QTRY_COMPARE_WITH_TIMEOUT(rows(), QStringList{"First|10.77.0.9|M-1|No Link|"}, searchMs);
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Search ended!"), searchMs);
        QCOMPARE(rows(), QStringList{"First|10.77.0.9|M-1|No Link|"});

        sims.clear();
        startSim(0, "10.77.0.9", "marker-broadcast", {"--name", "Renamed", "--model", "M-9"});
        startSim(1, "10.77.0.20", "marker-broadcast", {"--name", "Second", "--model", "M-2"});
        console->search();
        QCOMPARE(rows(), QStringList{});
        const QStringList expected = {"Second|10.77.0.20|M-2|No Link|",
                                      "First|10.77.0.9|M-1|No Link|"};
        QTRY_COMPARE_WITH_TIMEOUT(rows(), expected, searchMs);
        QTest::qWait(quietMs);
        QCOMPARE(rows(), expected);
        QVERIFY(console->showConsole("10.77.0.20"));
        QTRY_COMPARE_WITH_TIMEOUT(storedSetting("Language/Language_enum"), QVariant("1\r"),
                                  searchMs);
    }
};

LAUNCHER_TEST_MAIN(TestLanDiscovery)
#include "tst_lan_discovery.moc"
