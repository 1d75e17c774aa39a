// A flood of hostile datagrams on the discovery port, sent from a mixer
// namespace of the test LAN (see run-in-lan.sh) while the launcher searches:
// garbage, oversized datagrams, marker look-alikes, well-formed markers
// claiming 100,000 addresses and announcements from hundreds of senders that
// never answer. The launcher must stay responsive, keep its memory and its
// table bounded, end its search and still list the real mixers.
#include <sys/prctl.h>
#include <sys/socket.h>
#include <QAbstractItemModel>
#include <QLabel>
#include <QNetworkDatagram>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QUdpSocket>
#include <csignal>
#include <memory>

#include "console/discoveryprotocol.h"
#include "console/widget.h"
#include "lan/support/lanenvironment.h"
#include "support/eventloopprobe.h"
#include "support/mixersim.h"
#include "support/processmemory.h"
#include "support/testmain.h"

namespace {

const QByteArray searchDatagram =
    "M-SEARCH * HTTP/1.1\r\nHOST:239.255.255.250:1900\r\nMAN:\"ssdp:discover\"\r\n"
    "ST:ssdp:all\r\nMX:3\r\n\r\n";
const QString launcherBroadcast = QStringLiteral("10.77.255.255");

// Two in five datagrams are well-formed markers, each claiming an address of
// its own until all of floodAddresses have been claimed.
constexpr int floodCount = 250000;
constexpr int floodSeconds = 30;
constexpr int floodAddresses = 100000;
// Senders of announcements: addresses nothing in the LAN holds.
const QString floodSenders = QStringLiteral("10.77.1.1-10.77.2.144");

// Generous: the point is that the launcher keeps answering, not how fast.
constexpr qint64 longestStallBoundMs = 1000;
constexpr qint64 residentGrowthBoundKiB = 96 * 1024 * memoryOverheadFactor();
constexpr int waitMs = 60000;

// Notes of the launcher that a search has reached its bound of new devices.
int boundNotes = 0;
QtMessageHandler previousHandler = nullptr;

void countBoundNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("new devices in one search is reached")))
        ++boundNotes;
    previousHandler(type, context, message);
}

// The flood sender, run inside a mixer namespace.
class FloodSender
{
public:
    bool start(const QString &networkNamespace, const QStringList &arguments)
    {
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process.start(QStringLiteral("ip"), QStringList{"netns", "exec", networkNamespace,
                                                        QStringLiteral(FLOOD_SENDER_PATH)} +
                                                arguments);
        return process.waitForStarted(10000);
    }
    // Everything the sender reported so far.
    QByteArray output()
    {
        seen += process.readAllStandardOutput();
        return seen;
    }
    bool reported(const QByteArray &line) { return output().contains(line); }
    QByteArray errors() { return process.readAllStandardError(); }
    ~FloodSender()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

private:
    QProcess process;
    QByteArray seen;
};

// Counts the launcher's search passes: the copy of each pass's subnet
// broadcast that comes back to this namespace. It drains its socket on a
// thread of its own, so that a launcher busy with the flood cannot make it
// miss a pass.
class PassObserver : public QObject
{
    Q_OBJECT
public:
    explicit PassObserver(QStringList launcher) : launcher(std::move(launcher)) {}

    // Binds the socket; call it on the observer's thread.
    bool open()
    {
        socket = new QUdpSocket(this);
        if (!socket->bind(QHostAddress::AnyIPv4, 45454,
                          QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
            return false;
        // Room for the flood's share that reaches this socket as well.
        const int bytes = 32 * 1024 * 1024;
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_RCVBUFFORCE, &bytes,
                     sizeof bytes);
        connect(socket, &QUdpSocket::readyRead, this, &PassObserver::drain);
        return true;
    }
    int passes() const { return count.loadRelaxed(); }

private:
    void drain()
    {
        while (socket->hasPendingDatagrams()) {
            const QNetworkDatagram datagram = socket->receiveDatagram();
            if (datagram.data() == searchDatagram &&
                datagram.destinationAddress().toString() == launcherBroadcast &&
                launcher.contains(datagram.senderAddress().toString()))
                count.ref();
        }
    }

    const QStringList launcher;
    QUdpSocket *socket = nullptr;
    QAtomicInt count;
};

}  // namespace

class TestLanFlood : public QObject
{
    Q_OBJECT

    LanEnvironment lan;
    std::unique_ptr<Widget> widget;
    std::unique_ptr<MixerSim> mixers;
    QThread observerThread;
    PassObserver *observer = nullptr;

    template <typename T>
    T *child(const char *name) const
    {
        return widget->findChild<T *>(QLatin1String(name));
    }

    QStringList rows() const
    {
        QStringList out;
        const QAbstractItemModel *model = child<QTableView>("tableView")->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 4; ++column)
                cells << model->index(row, column).data().toString();
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(lan.isComplete(), "run this test through run-in-lan.sh");
        QVERIFY(lan.mixerNamespaceCount() >= 2);
        // Bound before the launcher's sockets, so that unicast answers still
        // go to the launcher (the socket bound last gets them).
        observer = new PassObserver(lan.launcherAddresses());
        observer->moveToThread(&observerThread);
        observerThread.start();
        bool bound = false;
        QMetaObject::invokeMethod(
            observer, [&] { bound = observer->open(); }, Qt::BlockingQueuedConnection);
        QVERIFY(bound);

        mixers = std::make_unique<MixerSim>(
            QStringList{"--address", "10.77.0.20", "--address", "10.77.0.21", "--answer",
                        "marker-broadcast,marker-unicast,announce", "--name", "Desk %a", "--model",
                        "V-1"},
            lan.mixerNamespace(1));
        QVERIFY(mixers->start());
        widget = std::make_unique<Widget>();
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    }

    void cleanupTestCase()
    {
        widget.reset();
        mixers.reset();
        QMetaObject::invokeMethod(observer, &QObject::deleteLater);
        observerThread.quit();
        observerThread.wait();
    }

    void underFlood()
    {
        FloodSender sender;
        const QStringList arguments{
            "--to",
            lan.launcherAddresses().first() + "," + launcherBroadcast + ",239.255.255.250",
            "--count",
            QString::number(floodCount),
            "--seconds",
            QString::number(floodSeconds),
            "--ip-values",
            QString::number(floodAddresses),
            "--senders",
            floodSenders};
        boundNotes = 0;
        previousHandler = qInstallMessageHandler(countBoundNotes);
        EventLoopProbe probe;
        resetPeakResident();
        const qint64 residentBefore = residentKiB();
        QVERIFY(sender.start(lan.mixerNamespace(0), arguments));
        QTRY_VERIFY_WITH_TIMEOUT(sender.reported("flood ready\n"), waitMs);
        probe.start();

        // The search starts in the middle of the flood.
        QTRY_VERIFY_WITH_TIMEOUT(sender.reported("flood progress 30\n"), waitMs);
        QTest::mouseClick(child<QPushButton>("btn_search"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sender.reported("flood done"), waitMs);
        const QByteArray senderReport = sender.output() + sender.errors();

        // Ended: no pass for well over a tick.
        bool passesStopped = false;
        int quietSince = -1;
        QElapsedTimer clock;
        clock.start();
        while (!passesStopped && clock.elapsed() < waitMs) {
            const int before = observer->passes();
            QTest::qWait(250);
            if (observer->passes() != before || before == 0)
                quietSince = -1;
            else if (quietSince < 0)
                quietSince = int(clock.elapsed());
            passesStopped = quietSince >= 0 && clock.elapsed() - quietSince > 2000;
        }
        const int passesSeen = observer->passes();
        // Requests to the senders that never answer fail within seconds;
        // their end belongs to the flood's cost.
        QTest::qWait(4000);
        probe.stop();
        qInstallMessageHandler(previousHandler);
        const qint64 peakKiB = peakResidentKiB();
        const QStringList listed = rows();
        const QString figures = QStringLiteral(
                                    "stall %1 ms over %2 ticks; resident %3 KiB, peak %4 KiB; "
                                    "%5 passes; %6 rows")
                                    .arg(probe.longestGapMs())
                                    .arg(probe.ticks())
                                    .arg(residentBefore)
                                    .arg(peakKiB)
                                    .arg(passesSeen)
                                    .arg(listed.size());
        qInfo().noquote() << figures;
        QVERIFY2(senderReport.contains("flood done sent=" + QByteArray::number(floodCount)),
                 senderReport.constData());

        // Responsive, bounded, ended.
        QVERIFY2(probe.ticks() > 100 && probe.longestGapMs() < longestStallBoundMs,
                 qPrintable(figures));
        QVERIFY2(residentBefore > 0 && peakKiB - residentBefore < residentGrowthBoundKiB,
                 qPrintable(figures));
        QVERIFY2(passesStopped && passesSeen >= 1 && passesSeen <= 5, qPrintable(figures));

        // The real mixers are listed, most of the flood's valid markers made
        // it in, and no look-alike or garbage did.
        QVERIFY2(listed.contains("Desk 10.77.0.20|10.77.0.20|V-1|No Link"), qPrintable(figures));
        QVERIFY2(listed.contains("Desk 10.77.0.21|10.77.0.21|V-1|No Link"), qPrintable(figures));
        qsizetype fromFlood = 0;
        for (const QString &row : listed) {
            const QString ip = row.section('|', 1, 1);
            const bool claimed = ip.startsWith("10.200.") || ip.startsWith("10.201.");
            fromFlood += claimed ? 1 : 0;
            const bool expected = claimed || ip.startsWith("10.199.") ||
                                  ip == QLatin1String("10.77.0.20") ||
                                  ip == QLatin1String("10.77.0.21");
            QVERIFY2(expected && !row.section('|', 0, 0).isEmpty(), qPrintable(row.left(200)));
        }
        // The flood filled its share and no more: the records taken while no
        // search ran and those of the search, each up to the bound, which is
        // noted once each time.
        const qsizetype bound = Discovery::maxRecordsPerSearch;
        QVERIFY2(fromFlood >= bound && listed.size() <= 2 * bound, qPrintable(figures));
        QCOMPARE(boundNotes, 2);
    }
};

LAUNCHER_TEST_MAIN(TestLanFlood)
#include "tst_lan_flood.moc"
