// The simulated mixer's UDP side, in a small network of two namespaces
// that this test creates and removes: a searcher at 10.77.0.1 and the
// mixers at 10.77.0.5, 10.77.0.6 and 10.77.0.20-29, joined by a veth pair.
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>
#include <QDir>
#include <QNetworkDatagram>
#include <QTemporaryDir>
#include <QUdpSocket>

#include "support/mixersim.h"
#include "support/testmain.h"

namespace {

const QByteArray searchDatagram =
    "M-SEARCH * HTTP/1.1\r\nHOST:239.255.255.250:1900\r\nMAN:\"ssdp:discover\"\r\n"
    "ST:ssdp:all\r\nMX:3\r\n\r\n";
const QHostAddress searcherAddress(QStringLiteral("10.77.0.1"));
const QHostAddress subnetBroadcast(QStringLiteral("10.77.0.255"));
const QHostAddress searchGroup(QStringLiteral("239.255.255.250"));
constexpr quint16 discoveryPort = 45454;
const QString namespacePrefix = QStringLiteral("msim-");

bool ip(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("ip"), arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0) {
        qWarning().noquote() << "ip" << arguments.join(' ')
                             << "failed:" << process.readAllStandardError();
        return false;
    }
    return true;
}

// Namespaces left behind by an earlier run that died before removing them.
void removeStaleNamespaces()
{
    QProcess list;
    list.start(QStringLiteral("ip"), {"netns", "list"});
    list.waitForFinished(10000);
    for (const QByteArray &line : list.readAllStandardOutput().split('\n')) {
        const QString name = QString::fromLatin1(line.split(' ').value(0));
        if (!name.startsWith(namespacePrefix))
            continue;
        const QString pid = name.mid(namespacePrefix.size()).section('-', 0, 0);
        if (!QDir(QStringLiteral("/proc/") + pid).exists())
            ip({"netns", "del", name});
    }
}

// Creates the socket while this thread is inside the namespace; the socket
// stays there after the thread has returned to its own namespace.
bool bindInNamespace(QUdpSocket &socket, const QString &ns, QAbstractSocket::BindMode mode,
                     const QHostAddress &address = QHostAddress(QHostAddress::AnyIPv4))
{
    const int own = ::open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC);
    const int target = ::open(qPrintable("/run/netns/" + ns), O_RDONLY | O_CLOEXEC);
    bool bound = false;
    if (own >= 0 && target >= 0 && ::setns(target, CLONE_NEWNET) == 0) {
        bound = socket.bind(address, discoveryPort, mode);
        if (::setns(own, CLONE_NEWNET) != 0)
            qFatal("cannot return to the test's own network namespace");
    }
    if (own >= 0)
        ::close(own);
    if (target >= 0)
        ::close(target);
    return bound;
}

struct Answer
{
    QString sender;
    QString destination;
    QByteArray payload;
};

}  // namespace

class TestMixerSimLan : public QObject
{
    Q_OBJECT
public:
    ~TestMixerSimLan() override { removeNetwork(); }

private slots:
    void initTestCase();
    void cleanupTestCase() { removeNetwork(); }
    void answers_data();
    void answers();
    void recordsEveryDatagram_data();
    void recordsEveryDatagram();
    void ignoresSearchesFromOtherSubnets();
    void discoveryPortOnlyWhenNeeded_data();
    void discoveryPortOnlyWhenNeeded();

private:
    bool buildNetwork();
    void removeNetwork();
    void collectAnswers(QUdpSocket &socket, int count, QList<Answer> &answers);

    QString searcherNs;
    QString mixerNs;
    bool networkUp = false;
    QTemporaryDir files;
};

void TestMixerSimLan::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("network namespaces need root");
    removeStaleNamespaces();
    const QString id = QString::number(QCoreApplication::applicationPid());
    searcherNs = namespacePrefix + id + "-a";
    mixerNs = namespacePrefix + id + "-b";
    if (!buildNetwork()) {
        removeNetwork();
        QSKIP("cannot build the test network (ip netns / veth unavailable)");
    }
    QVERIFY(files.isValid());
}

bool TestMixerSimLan::buildNetwork()
{
    networkUp = true;  // from here on, removeNetwork cleans up whatever exists
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const QString searcherLink = "msa" + pid;
    const QString mixerLink = "msb" + pid;
    QList<QStringList> steps = {
        {"netns", "add", searcherNs},
        {"netns", "add", mixerNs},
        {"link", "add", searcherLink, "netns", searcherNs, "type", "veth", "peer", "name",
         mixerLink, "netns", mixerNs},
        {"-n", searcherNs, "addr", "add", "10.77.0.1/24", "brd", "+", "dev", searcherLink},
        {"-n", searcherNs, "addr", "add", "10.88.0.1/24", "brd", "+", "dev", searcherLink},
        {"-n", mixerNs, "addr", "add", "10.77.0.5/24", "brd", "+", "dev", mixerLink},
        {"-n", mixerNs, "addr", "add", "10.77.0.6/24", "brd", "+", "dev", mixerLink},
    };
    for (int host = 20; host <= 29; ++host)
        steps.append({"-n", mixerNs, "addr", "add", QStringLiteral("10.77.0.%1/24").arg(host),
                      "brd", "+", "dev", mixerLink});
    steps += QList<QStringList>{
        {"-n", searcherNs, "link", "set", "lo", "up"},
        {"-n", mixerNs, "link", "set", "lo", "up"},
        {"-n", searcherNs, "link", "set", searcherLink, "up"},
        {"-n", mixerNs, "link", "set", mixerLink, "up"},
        {"-n", searcherNs, "route", "add", "224.0.0.0/4", "dev", searcherLink},
        // The mixers could reach the searcher's second subnet; they must not try.
        {"-n", mixerNs, "route", "add", "10.88.0.0/24", "dev", mixerLink},
    };
    for (const QStringList &step : steps) {
        if (!ip(step))
            return false;
    }
    return true;
}

void TestMixerSimLan::removeNetwork()
{
    if (!networkUp)
        return;
    networkUp = false;
    // Deleting a namespace also deletes the veth end inside it, and with it
    // the peer.
    for (const QString &ns : {searcherNs, mixerNs}) {
        QProcess::execute(QStringLiteral("ip"), {"netns", "del", ns});
    }
}

void TestMixerSimLan::collectAnswers(QUdpSocket &socket, int count, QList<Answer> &answers)
{
    const auto drain = [&] {
        while (socket.hasPendingDatagrams()) {
            const QNetworkDatagram d = socket.receiveDatagram();
            if (d.senderAddress() == searcherAddress)  // our own broadcasts
                continue;
            answers.append(
                {d.senderAddress().toString(), d.destinationAddress().toString(), d.data()});
        }
        return answers.size() >= count;
    };
    QTRY_VERIFY_WITH_TIMEOUT(drain(), 10000);
}

void TestMixerSimLan::answers_data()
{
    QTest::addColumn<QStringList>("mixers");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QStringList>("expected");  // "sender destination payload"
    QTest::addColumn<bool>("exact");            // payload equal, else contained

    const QString marker1 = "DIGITAL_MIXER_DLNA|Name=Desk 1|Ip=10.77.0.5|Mode=SIM-16|";
    const QString marker2 = "DIGITAL_MIXER_DLNA|Name=Desk 2|Ip=10.77.0.6|Mode=SIM-16|";
    const QString announce1 = "LOCATION: http://10.77.0.5:8200/rootDesc.xml\r\n";
    const QString announce2 = "LOCATION: http://10.77.0.6:8200/rootDesc.xml\r\n";
    const QStringList two{"--address", "10.77.0.5", "--address", "10.77.0.6"};
    QTest::newRow("default: marker to the subnet broadcast")
        << two << QStringList{}
        << QStringList{"10.77.0.5 10.77.0.255 " + marker1, "10.77.0.6 10.77.0.255 " + marker2}
        << true;
    QTest::newRow("marker to the searcher")
        << two << QStringList{"--answer", "marker-unicast"}
        << QStringList{"10.77.0.5 10.77.0.1 " + marker1, "10.77.0.6 10.77.0.1 " + marker2} << true;
    QTest::newRow("announcement to the searcher")
        << two << QStringList{"--answer", "announce"}
        << QStringList{"10.77.0.5 10.77.0.1 " + announce1, "10.77.0.6 10.77.0.1 " + announce2}
        << false;
    QTest::newRow("all three ways, delayed")
        << two
        << QStringList{"--answer", "announce,marker-unicast,marker-broadcast", "--answer-delay",
                       "200"}
        << QStringList{"10.77.0.5 10.77.0.255 " + marker1, "10.77.0.6 10.77.0.255 " + marker2,
                       "10.77.0.5 10.77.0.1 " + marker1,   "10.77.0.6 10.77.0.1 " + marker2,
                       "10.77.0.5 10.77.0.1 " + announce1, "10.77.0.6 10.77.0.1 " + announce2}
        << false;
    QTest::newRow("malformed marker text")
        << two
        << QStringList{"--answer", "marker-unicast", "--marker-text", "DIGITAL_MIXER_DLNA|%a|%n"}
        << QStringList{"10.77.0.5 10.77.0.1 DIGITAL_MIXER_DLNA|10.77.0.5|1",
                       "10.77.0.6 10.77.0.1 DIGITAL_MIXER_DLNA|10.77.0.6|2"}
        << true;
    QTest::newRow("announcement naming another host")
        << two
        << QStringList{"--answer", "announce", "--announce-text",
                       "see http://192.0.2.9:8200/rootDesc.xml"}
        << QStringList{"10.77.0.5 10.77.0.1 see http://192.0.2.9:8200/rootDesc.xml",
                       "10.77.0.6 10.77.0.1 see http://192.0.2.9:8200/rootDesc.xml"}
        << true;
    QStringList range;
    for (int host = 20; host <= 29; ++host)
        range << QStringLiteral(
                     "10.77.0.%1 10.77.0.1 DIGITAL_MIXER_DLNA|Name=Desk %2|Ip=10.77.0.%1|"
                     "Mode=SIM-16|")
                     .arg(host)
                     .arg(host - 19);
    QTest::newRow("a range of mixers in one process")
        << QStringList{"--range", "10.77.0.20-10.77.0.29"}
        << QStringList{"--answer", "marker-unicast"} << range << true;
}

void TestMixerSimLan::answers()
{
    QFETCH(QStringList, mixers);
    QFETCH(QStringList, extra);
    QFETCH(QStringList, expected);
    QFETCH(bool, exact);

    MixerSim sim(mixers + QStringList{"--name", "Desk %n"} + extra, mixerNs);
    QVERIFY(sim.start());
    QUdpSocket searcher;
    QVERIFY(bindInNamespace(searcher, searcherNs,
                            QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint));
    // Anything but a search goes unanswered; it is sent first, so an answer
    // to it would arrive before the answers to the search.
    QCOMPARE(searcher.writeDatagram("hello", subnetBroadcast, discoveryPort), qint64(5));
    QCOMPARE(searcher.writeDatagram(searchDatagram, searchGroup, discoveryPort),
             qint64(searchDatagram.size()));

    QList<Answer> answers;
    collectAnswers(searcher, int(expected.size()), answers);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(answers.size(), expected.size());
    QStringList unmatched = expected;
    for (const Answer &answer : answers) {
        const auto matches = [&](const QString &entry) {
            const QString payload = entry.section(' ', 2);
            return entry.section(' ', 0, 0) == answer.sender &&
                   entry.section(' ', 1, 1) == answer.destination &&
                   (exact ? answer.payload == payload.toUtf8()
                          : answer.payload.contains(payload.toUtf8()));
        };
        const auto found = std::find_if(unmatched.begin(), unmatched.end(), matches);
        QVERIFY2(found != unmatched.end(),
                 qPrintable(answer.sender + " " + answer.destination + " " + answer.payload));
        unmatched.erase(found);
    }
}

void TestMixerSimLan::recordsEveryDatagram_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QByteArray>("payload");
    QTest::newRow("search to the group") << "239.255.255.250" << searchDatagram;
    QTest::newRow("search to the subnet broadcast") << "10.77.0.255" << searchDatagram;
    QTest::newRow("other text to a mixer address") << "10.77.0.6" << QByteArray("hello\0x", 7);
}

void TestMixerSimLan::recordsEveryDatagram()
{
    QFETCH(QString, destination);
    QFETCH(QByteArray, payload);
    const QString recordPath = files.filePath(QString(QTest::currentDataTag()) + ".txt");
    MixerSim sim({"--address", "10.77.0.5", "--address", "10.77.0.6", "--answer", "none",
                  "--record", recordPath},
                 mixerNs);
    QVERIFY(sim.start());
    QUdpSocket searcher;
    QVERIFY(bindInNamespace(searcher, searcherNs, QAbstractSocket::ShareAddress));
    const QHostAddress to(destination);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(searcher.writeDatagram(payload, to, discoveryPort), qint64(payload.size()));

    const QByteArray line = destination.toLatin1() + " 10.77.0.1:45454 " + payload.toHex() + "\n";
    const auto recorded = [&recordPath] {
        QFile record(recordPath);
        return record.open(QIODevice::ReadOnly) ? record.readAll() : QByteArray();
    };
    QTRY_VERIFY_WITH_TIMEOUT(recorded().count('\n') >= 2, 10000);
    QCOMPARE(recorded(), line + line);
}

void TestMixerSimLan::ignoresSearchesFromOtherSubnets()
{
    const QString recordPath = files.filePath("other-subnet.txt");
    MixerSim sim(
        {"--address", "10.77.0.5", "--answer", "marker-unicast,announce", "--record", recordPath},
        mixerNs);
    QVERIFY(sim.start());
    QUdpSocket stranger;
    QVERIFY(bindInNamespace(stranger, searcherNs, QAbstractSocket::ShareAddress,
                            QHostAddress(QStringLiteral("10.88.0.1"))));
    QUdpSocket searcher;
    QVERIFY(bindInNamespace(searcher, searcherNs,
                            QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint));
    QVERIFY(stranger.writeDatagram(searchDatagram, searchGroup, discoveryPort) > 0);
    QVERIFY(searcher.writeDatagram(searchDatagram, searchGroup, discoveryPort) > 0);

    // The stranger's search arrives (it is recorded) but only the
    // searcher on the mixer's subnet is answered.
    QList<Answer> answers;
    collectAnswers(searcher, 2, answers);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(answers.size(), 2);
    for (const Answer &answer : answers)
        QCOMPARE(answer.destination, QStringLiteral("10.77.0.1"));
    QFile record(recordPath);
    QVERIFY(record.open(QIODevice::ReadOnly));
    QVERIFY(record.readAll().contains("239.255.255.250 10.88.0.1:45454 "));
    QVERIFY(!stranger.hasPendingDatagrams());
}

void TestMixerSimLan::discoveryPortOnlyWhenNeeded_data()
{
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<bool>("portTaken");
    QTest::newRow("answer none") << QStringList{"--answer", "none"} << false;
    QTest::newRow("answer none but record")
        << QStringList{"--answer", "none", "--record", files.filePath("port.txt")} << true;
    QTest::newRow("answering") << QStringList{"--answer", "marker-unicast"} << true;
}

void TestMixerSimLan::discoveryPortOnlyWhenNeeded()
{
    QFETCH(QStringList, extra);
    QFETCH(bool, portTaken);
    MixerSim sim(QStringList{"--address", "10.77.0.5"} + extra, mixerNs);
    QVERIFY(sim.start());
    // An exclusive bind succeeds only while nobody else holds the port.
    QUdpSocket probe;
    QCOMPARE(bindInNamespace(probe, mixerNs, QAbstractSocket::DontShareAddress), !portTaken);
}

LAUNCHER_TEST_MAIN(TestMixerSimLan)
#include "tst_mixersim_lan.moc"
