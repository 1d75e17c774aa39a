// A flood of hostile datagrams on the discovery port, sent from a mixer
// namespace of the test LAN (see run-in-lan.sh) while the launcher searches:
// garbage, oversized datagrams, marker look-alikes, well-formed markers
// claiming 4,000 addresses, each many times over, and announcements from more senders than one
// search may ask, which never answer. The launcher must keep its table
// bounded, ask no more senders than it may list, end its search and still
// list the real mixers.
#include <sys/prctl.h>
#include <csignal>

#include "lan/support/lanenvironment.h"
#include "support/consoleundertest.h"
#include "support/mixersim.h"

namespace {

const QString launcherBroadcast = QStringLiteral("10.77.255.255");
constexpr int floodCount = 125000;
constexpr int waitMs = 60000;
// One search lists, and asks for descriptions, at most this many new senders.
constexpr qsizetype searchBound = 1024;

}  // namespace

class TestLanFlood : public QObject
{
    Q_OBJECT
    LanEnvironment lan;

private slots:
    void initTestCase() { QVERIFY2(lan.isComplete(), "run this test through run-in-lan.sh"); }

    void underFlood()
    {
        MixerSim mixers(
            {"--address", "10.77.0.20", "--address", "10.77.0.21", "--answer",
             "marker-broadcast,marker-unicast,announce", "--name", "Desk %a", "--model", "V-1"},
            lan.mixerNamespaces.value(1));
        QVERIFY(mixers.start());
        ConsoleUnderTest console;
        // Two in five datagrams are well-formed markers, claiming 4,000
        // addresses in turn, so that a dropped one comes again; the
        // announcements come from addresses nothing in the LAN holds.
        QProcess sender;
        sender.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        sender.start(
            "ip", {"netns", "exec", lan.mixerNamespaces.value(0), FLOOD_SENDER_PATH, "--to",
                   lan.launcherAddresses.first() + "," + launcherBroadcast + ",239.255.255.250",
                   "--count", QString::number(floodCount), "--seconds", "15", "--ip-values", "4000",
                   "--senders", "10.77.1.1-10.77.5.200"});
        QByteArray report;
        const auto reported = [&](const QByteArray &line) {
            report += sender.readAllStandardOutput();
            return report.contains(line);
        };
        QTRY_VERIFY_WITH_TIMEOUT(reported("flood ready\n"), waitMs);
        // The search starts in the middle of the flood.
        QTRY_VERIFY_WITH_TIMEOUT(reported("flood progress 30\n"), waitMs);
        console.search();
        // Of the 1,224 senders that announce themselves, the search asks
        // only as many as it may list, however often it asks each again.
        QSet<QString> asked;
        connect(console.widget.findChild<QNetworkAccessManager *>(),
                &QNetworkAccessManager::finished, this,
                [&](QNetworkReply *reply) { asked.insert(reply->url().host()); });
        QTRY_VERIFY_WITH_TIMEOUT(reported("flood done"), waitMs);
        QVERIFY2(report.contains("flood done sent=" + QByteArray::number(floodCount)),
                 report + sender.readAllStandardError());

        // The search ends at its fourth tick or at the first description
        // reply, which here fails (nothing answers at those senders) and so
        // leaves "Searching..." shown: whichever comes first on this machine.
        QTRY_VERIFY_WITH_TIMEOUT(console.status->text() == "Search ended!" || !asked.isEmpty(),
                                 waitMs);
        // Requests to the senders that never answer are given up within the
        // 5 s every request to a mixer has.
        QTest::qWait(5000 + 1500);
        // A launcher that drops most of the flood under load may hear fewer
        // than the bound; it never asks more.
        QVERIFY2(asked.size() <= searchBound, qPrintable(QString::number(asked.size())));
        const QStringList listed = console.rows(4);

        // The real mixers are listed, the flood's valid markers filled their
        // share and no more (the records taken while no search ran and those
        // of the search, each up to the bound), and no look-alike or garbage
        // made it in.
        QVERIFY(listed.contains("Desk 10.77.0.20|10.77.0.20|V-1|No Link"));
        QVERIFY(listed.contains("Desk 10.77.0.21|10.77.0.21|V-1|No Link"));
        qsizetype fromFlood = 0;
        for (const QString &row : listed) {
            const QString ip = row.section('|', 1, 1);
            const bool claimed = ip.startsWith("10.200.") || ip.startsWith("10.201.");
            fromFlood += claimed ? 1 : 0;
            const bool expected =
                claimed || ip.startsWith("10.199.") || ip == "10.77.0.20" || ip == "10.77.0.21";
            QVERIFY2(expected && !row.section('|', 0, 0).isEmpty(), qPrintable(row.left(200)));
        }
        QVERIFY2(fromFlood >= searchBound && listed.size() <= 2 * searchBound,
                 qPrintable(QStringLiteral("%1 rows").arg(listed.size())));
    }
};

LAUNCHER_TEST_MAIN(TestLanFlood)
#include "tst_lan_flood.moc"
