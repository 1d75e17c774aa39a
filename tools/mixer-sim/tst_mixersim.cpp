// The simulated mixer's fault switches over loopback. The launcher's tests
// lean on them to prove their bounds and time-outs: a switch that silently
// served a normal answer would let those tests pass without testing anything.
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>

#include <QtTest>
#include "support/mixersim.h"
#include "support/runaddress.h"

namespace {

const QString console = QStringLiteral("/dist/index.html");
const QString config = QStringLiteral("/webFile/userConfig/config.ini");
const QString description = QStringLiteral("/rootDesc.xml");
const QString download = QStringLiteral("/dist/download/mixer-scene.bin");

}  // namespace

class TestMixerSim : public QObject
{
    Q_OBJECT
    QNetworkAccessManager manager;

    QNetworkReply *get(const QString &path)
    {
        const int port = path == description ? 8200 : 80;
        const QUrl url(QStringLiteral("http://%1:%2%3").arg(runAddress(42)).arg(port).arg(path));
        QNetworkReply *reply = manager.get(QNetworkRequest(url));
        reply->setParent(this);
        return reply;
    }

private slots:
    void initTestCase() { manager.setProxy(QNetworkProxy::NoProxy); }

    void faultSwitches_data()
    {
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("status");         // 0: no answer at all
        QTest::addColumn<bool>("late");          // still unanswered after another request
        QTest::addColumn<bool>("ends");          // the body ends by itself
        QTest::addColumn<qint64>("minBytes");    // of the byte pattern, at least
        QTest::addColumn<QByteArray>("length");  // Content-Length; null: not checked
        QTest::addColumn<bool>("failed");
        const qint64 big = qint64(4) << 20;
        QTest::newRow("status") << QStringList{"--status", "config=404"} << config << 404 << false
                                << true << qint64(0) << QByteArray() << true;
        QTest::newRow("delay") << QStringList{"--delay", "description=1500"} << description << 200
                               << true << true << qint64(0) << QByteArray() << false;
        QTest::newRow("hang") << QStringList{"--hang", "console"} << console << 0 << true << false
                              << qint64(0) << QByteArray() << false;
        QTest::newRow("huge") << QStringList{"--huge", "config=268435456"} << config << 200 << false
                              << false << big << QByteArray("268435456") << false;
        QTest::newRow("endless") << QStringList{"--endless", "description"} << description << 200
                                 << false << false << big << QByteArray("") << false;
        QTest::newRow("broken download")
            << QStringList{"--break-download", "--download-size", "2000000"} << download << 200
            << false << true << qint64(500000) << QByteArray("2000000") << true;
    }
    void faultSwitches()
    {
        QFETCH(QStringList, fault);
        QFETCH(QString, path);
        QFETCH(bool, ends);
        QFETCH(qint64, minBytes);
        QFETCH(QByteArray, length);
        QFETCH(bool, late);
        QFETCH(bool, failed);
        MixerSim sim(QStringList{"--address", runAddress(42), "--answer", "none"} + fault);
        QVERIFY(sim.start());

        QNetworkReply *reply = get(path);
        qint64 received = 0;
        QByteArray head;
        connect(reply, &QIODevice::readyRead, this, [&] {
            const QByteArray chunk = reply->readAll();
            head += chunk.left(4096 - head.size());
            received += chunk.size();
        });
        // Every other resource keeps answering at once.
        QNetworkReply *other = get(path == console ? config : console);
        QTRY_VERIFY_WITH_TIMEOUT(other->isFinished(), 10000);
        QCOMPARE(other->error(), QNetworkReply::NoError);
        if (late)
            QVERIFY(!reply->isFinished() && received == 0);

        QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished() == ends && received >= minBytes, 30000);
        QTEST(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), "status");
        if (!length.isNull())
            QCOMPARE(reply->rawHeader("Content-Length"), length);
        if (minBytes > 0)
            QVERIFY(head == expectedDownloadBytes(head.size()));
        if (ends)
            QCOMPARE(reply->error() != QNetworkReply::NoError, failed);
        // A broken download stops short of what its headers announced.
        if (ends && failed && !length.isEmpty())
            QVERIFY(received < length.toLongLong());
        reply->abort();
    }
};

QTEST_GUILESS_MAIN(TestMixerSim)
#include "tst_mixersim.moc"
