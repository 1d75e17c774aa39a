// The simulated mixer over loopback: each resource, each fault switch, and
// how the simulator reports a command line or a port it cannot use.
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <memory>

#include "support/mixersim.h"
#include "support/testmain.h"

namespace {

// An address of our own on loopback, so runs in parallel do not collide.
QString loopbackAddress()
{
    const qint64 pid = QCoreApplication::applicationPid();
    return QStringLiteral("127.42.%1.%2").arg((pid >> 8) & 0xFF).arg(pid & 0xFF);
}

// The description lives on its own port, everything else on the HTTP port.
QString urlFor(const QString &path, int port = 0)
{
    if (port == 0)
        port = path == QLatin1String("/rootDesc.xml") ? 8200 : 80;
    return QStringLiteral("http://%1:%2%3").arg(loopbackAddress()).arg(port).arg(path);
}

QStringList simArguments(const QStringList &extra)
{
    return QStringList{"--address", loopbackAddress(), "--answer", "none"} + extra;
}

qint64 peakMemoryKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

}  // namespace

class TestMixerSim : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void resources_data();
    void resources();
    void errorStatus_data();
    void errorStatus();
    void delay_data();
    void delay();
    void hangUntilClientAborts_data();
    void hangUntilClientAborts();
    void hugeBodyIsStreamed_data();
    void hugeBodyIsStreamed();
    void endlessBody();
    void brokenDownload();
    void pacedDownloadArrivesWhole();
    void rejectsBadCommandLine_data();
    void rejectsBadCommandLine();
    void reportsPortInUse();

private:
    QNetworkReply *get(const QString &path, int port = 0);
    std::unique_ptr<MixerSim> startSim(const QStringList &extra);

    QNetworkAccessManager manager;
    QTemporaryDir files;
};

void TestMixerSim::initTestCase()
{
    manager.setProxy(QNetworkProxy::NoProxy);
    QVERIFY(files.isValid());
}

QNetworkReply *TestMixerSim::get(const QString &path, int port)
{
    QNetworkReply *reply = manager.get(QNetworkRequest(QUrl(urlFor(path, port))));
    reply->setParent(this);
    return reply;
}

std::unique_ptr<MixerSim> TestMixerSim::startSim(const QStringList &extra)
{
    auto sim = std::make_unique<MixerSim>(simArguments(extra));
    if (!sim->start())
        return nullptr;
    return sim;
}

void TestMixerSim::resources_data()
{
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("port");  // 0: the resource's own port
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("disposition");
    QTest::addColumn<QByteArray>("exactBody");  // null: check the needles only
    QTest::addColumn<QByteArrayList>("needles");

    const QString configPath = files.filePath("config.ini");
    const QByteArray configText = "[Language]\r\nLanguage_enum = 2\r\n; Language_mode\r\n";
    QFile config(configPath);
    QVERIFY(config.open(QIODevice::WriteOnly) && config.write(configText) == configText.size());
    config.close();
    const QString descriptionPath = files.filePath("rootDesc.xml");
    const QByteArray descriptionText = "<device><friendlyName>A &amp; B</friendlyName></device>";
    QFile description(descriptionPath);
    QVERIFY(description.open(QIODevice::WriteOnly) && description.write(descriptionText) > 0);
    description.close();

    const QStringList named{"--name", "Desk %n at %a", "--model", "MX-7"};
    const QByteArray deskName = "Desk 1 at " + loopbackAddress().toLatin1();
    QTest::newRow("console page") << named << "/dist/index.html" << 0 << 200
                                  << QByteArray("text/html; charset=utf-8") << QByteArray()
                                  << QByteArray()
                                  << QByteArrayList{"<h1", deskName, "MX-7", "id=\"download\"",
                                                    "href=\"/dist/download/mixer-scene.bin\""};
    QTest::newRow("description names the mixer")
        << named << "/rootDesc.xml" << 0 << 200 << QByteArray("text/xml; charset=utf-8")
        << QByteArray() << QByteArray()
        << QByteArrayList{"<device>", "<friendlyName>" + deskName + "</friendlyName>",
                          "<modelName>MX-7</modelName>"};
    QTest::newRow("default configuration")
        << QStringList() << "/webFile/userConfig/config.ini" << 0 << 200
        << QByteArray("text/plain; charset=utf-8") << QByteArray()
        << QByteArray("Language_enum=1\r\nLanguage_mode=0\r\n") << QByteArrayList();
    QTest::newRow("configuration from a file")
        << QStringList{"--config-file", configPath} << "/webFile/userConfig/config.ini" << 0 << 200
        << QByteArray("text/plain; charset=utf-8") << QByteArray() << configText
        << QByteArrayList();
    QTest::newRow("description from a file")
        << QStringList{"--description-file", descriptionPath} << "/rootDesc.xml" << 0 << 200
        << QByteArray("text/xml; charset=utf-8") << QByteArray() << descriptionText
        << QByteArrayList();
    QTest::newRow("download is an attachment of the pattern")
        << QStringList{"--download-size", "100003"} << "/dist/download/mixer-scene.bin" << 0 << 200
        << QByteArray("application/octet-stream")
        << QByteArray("attachment; filename=\"mixer-scene.bin\"") << expectedDownloadBytes(100003)
        << QByteArrayList();
    QTest::newRow("unknown path") << QStringList() << "/dist/indexXhtml" << 0 << 404 << QByteArray()
                                  << QByteArray() << QByteArray() << QByteArrayList();
    QTest::newRow("description only on its own port")
        << QStringList() << "/rootDesc.xml" << 80 << 404 << QByteArray() << QByteArray()
        << QByteArray() << QByteArrayList();
}

void TestMixerSim::resources()
{
    QFETCH(QStringList, extra);
    QFETCH(QString, path);
    QFETCH(int, port);
    QFETCH(int, status);
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, disposition);
    QFETCH(QByteArray, exactBody);
    QFETCH(QByteArrayList, needles);

    auto sim = startSim(extra);
    QVERIFY(sim);
    QNetworkReply *reply = get(path, port);
    QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 10000);
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), status);
    const QByteArray body = reply->readAll();
    if (!contentType.isNull())
        QCOMPARE(reply->rawHeader("Content-Type"), contentType);
    QCOMPARE(reply->rawHeader("Content-Disposition"), disposition);
    if (!exactBody.isNull()) {
        QCOMPARE(body.size(), exactBody.size());
        QVERIFY(body == exactBody);
        QCOMPARE(reply->rawHeader("Content-Length").toLongLong(), qint64(exactBody.size()));
    }
    for (const QByteArray &needle : needles)
        QVERIFY2(body.contains(needle), needle.constData());
    reply->deleteLater();
}

void TestMixerSim::errorStatus_data()
{
    QTest::addColumn<QString>("switchValue");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    QTest::newRow("console 503") << "console=503"
                                 << "/dist/index.html" << 503;
    QTest::newRow("download 500") << "download=500"
                                  << "/dist/download/mixer-scene.bin" << 500;
    QTest::newRow("config 404") << "config=404"
                                << "/webFile/userConfig/config.ini" << 404;
    QTest::newRow("description 403") << "description=403"
                                     << "/rootDesc.xml" << 403;
}

void TestMixerSim::errorStatus()
{
    QFETCH(QString, switchValue);
    QFETCH(QString, path);
    QFETCH(int, status);
    auto sim = startSim({"--status", switchValue});
    QVERIFY(sim);
    QNetworkReply *reply = get(path);
    // Another resource keeps answering normally.
    QNetworkReply *other = get(path == "/dist/index.html" ? "/rootDesc.xml" : "/dist/index.html");
    QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished() && other->isFinished(), 10000);
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), status);
    QVERIFY(reply->error() != QNetworkReply::NoError);
    QCOMPARE(other->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
}

void TestMixerSim::delay_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("path");
    QTest::newRow("config") << "config"
                            << "/webFile/userConfig/config.ini";
    QTest::newRow("description") << "description"
                                 << "/rootDesc.xml";
}

void TestMixerSim::delay()
{
    QFETCH(QString, resource);
    QFETCH(QString, path);
    auto sim = startSim({"--delay", resource + "=1500"});
    QVERIFY(sim);
    QNetworkReply *delayed = get(path);
    QNetworkReply *prompt = get("/dist/index.html");
    QTRY_VERIFY_WITH_TIMEOUT(prompt->isFinished(), 10000);
    QVERIFY2(!delayed->isFinished(), "the delayed resource answered before an undelayed one");
    QTRY_VERIFY_WITH_TIMEOUT(delayed->isFinished(), 15000);
    QCOMPARE(delayed->error(), QNetworkReply::NoError);
    QVERIFY(!delayed->readAll().isEmpty());
}

void TestMixerSim::hangUntilClientAborts_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("path");
    QTest::newRow("description") << "description"
                                 << "/rootDesc.xml";
    QTest::newRow("console") << "console"
                             << "/dist/index.html";
}

void TestMixerSim::hangUntilClientAborts()
{
    QFETCH(QString, resource);
    QFETCH(QString, path);
    auto sim = startSim({"--hang", resource});
    QVERIFY(sim);
    QNetworkReply *hung = get(path);
    QSignalSpy headers(hung, &QNetworkReply::metaDataChanged);
    // Two full exchanges with the same simulator end while the hung one waits.
    for (int round = 0; round < 2; ++round) {
        QNetworkReply *other = get("/webFile/userConfig/config.ini");
        QTRY_VERIFY_WITH_TIMEOUT(other->isFinished(), 10000);
        QCOMPARE(other->error(), QNetworkReply::NoError);
    }
    QVERIFY(!hung->isFinished());
    QCOMPARE(headers.count(), 0);

    hung->abort();
    QVERIFY(hung->isFinished());
    QCOMPARE(hung->error(), QNetworkReply::OperationCanceledError);

    // The simulator survives the abort, and a request still hanging when it
    // is told to stop does not keep it from a clean exit.
    QNetworkReply *again = get(path);
    QNetworkReply *after = get("/webFile/userConfig/config.ini");
    QTRY_VERIFY_WITH_TIMEOUT(after->isFinished(), 10000);
    QCOMPARE(after->error(), QNetworkReply::NoError);
    QVERIFY(!again->isFinished());
    sim->stop();
    QCOMPARE(sim->exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim->exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(again->isFinished(), 10000);
    QVERIFY(again->error() != QNetworkReply::NoError);
}

void TestMixerSim::hugeBodyIsStreamed_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("path");
    QTest::newRow("description") << "description"
                                 << "/rootDesc.xml";
    QTest::newRow("config") << "config"
                            << "/webFile/userConfig/config.ini";
}

void TestMixerSim::hugeBodyIsStreamed()
{
    QFETCH(QString, resource);
    QFETCH(QString, path);
    const qint64 size = qint64(128) << 20;
    // In a sanitizer build freed buffers sit in a 256 MiB quarantine and
    // count as resident; a small one keeps the peak about the live memory.
    const QByteArray asanOptions = qgetenv("ASAN_OPTIONS");
    qputenv("ASAN_OPTIONS",
            asanOptions + (asanOptions.isEmpty() ? "" : ":") + "quarantine_size_mb=16");
    auto sim = startSim({"--huge", QStringLiteral("%1=%2").arg(resource).arg(size)});
    if (asanOptions.isNull())
        qunsetenv("ASAN_OPTIONS");
    else
        qputenv("ASAN_OPTIONS", asanOptions);
    QVERIFY(sim);
    QNetworkReply *reply = get(path);
    qint64 received = 0;
    QByteArray head;
    connect(reply, &QIODevice::readyRead, this, [&] {
        const QByteArray chunk = reply->readAll();
        if (head.size() < 4096)
            head += chunk.left(4096 - head.size());
        received += chunk.size();
    });
    QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 60000);
    received += reply->readAll().size();
    QCOMPARE(reply->error(), QNetworkReply::NoError);
    QCOMPARE(reply->rawHeader("Content-Length").toLongLong(), size);
    QCOMPARE(received, size);
    QCOMPARE(head, expectedDownloadBytes(head.size()));
    const qint64 peak = peakMemoryKiB(sim->processId());
    QVERIFY(peak > 0);
    QVERIFY2(peak * 1024 < size / 2, qPrintable(QStringLiteral("peak %1 KiB").arg(peak)));
}

void TestMixerSim::endlessBody()
{
    auto sim = startSim({"--endless", "config"});
    QVERIFY(sim);
    QNetworkReply *reply = get("/webFile/userConfig/config.ini");
    qint64 received = 0;
    connect(reply, &QIODevice::readyRead, this, [&] { received += reply->readAll().size(); });
    const qint64 enough = qint64(32) << 20;
    QTRY_VERIFY_WITH_TIMEOUT(received >= enough, 60000);
    QVERIFY(!reply->isFinished());
    QVERIFY(!reply->hasRawHeader("Content-Length"));
    reply->abort();
    QNetworkReply *next = get("/dist/index.html");
    QTRY_VERIFY_WITH_TIMEOUT(next->isFinished(), 10000);
    QCOMPARE(next->error(), QNetworkReply::NoError);
}

void TestMixerSim::brokenDownload()
{
    const qint64 size = 2000000;
    auto sim = startSim({"--break-download", "--download-size", QString::number(size)});
    QVERIFY(sim);
    QNetworkReply *reply = get("/dist/download/mixer-scene.bin");
    QByteArray body;
    connect(reply, &QIODevice::readyRead, this, [&] { body += reply->readAll(); });
    QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 30000);
    body += reply->readAll();
    QCOMPARE(reply->rawHeader("Content-Length").toLongLong(), size);
    QVERIFY(reply->error() != QNetworkReply::NoError);
    QVERIFY2(body.size() > size / 4 && body.size() < size * 3 / 4,
             qPrintable(QString::number(body.size())));
    QVERIFY(body == expectedDownloadBytes(body.size()));
}

void TestMixerSim::pacedDownloadArrivesWhole()
{
    const qint64 size = 4194304;
    auto sim = startSim({});
    QVERIFY(sim);
    QElapsedTimer clock;
    clock.start();
    QNetworkReply *reply = get("/dist/download/mixer-scene.bin");
    QByteArray body;
    int chunks = 0;
    connect(reply, &QIODevice::readyRead, this, [&] {
        body += reply->readAll();
        ++chunks;
    });
    QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 30000);
    body += reply->readAll();
    QCOMPARE(reply->error(), QNetworkReply::NoError);
    QVERIFY(body == expectedDownloadBytes(size));
    // Paced: a browser sees it in progress for a moment rather than at once.
    QVERIFY2(clock.elapsed() >= 250, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(chunks > 1);
}

void TestMixerSim::rejectsBadCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("no address") << QStringList{"--answer", "none"}
                                << QByteArray("no mixer address");
    QTest::newRow("bad address") << QStringList{"--address", "300.1.1.1"}
                                 << QByteArray("300.1.1.1");
    QTest::newRow("reversed range")
        << QStringList{"--range", "127.0.0.9-127.0.0.1"} << QByteArray("--range");
    QTest::newRow("unknown resource")
        << QStringList{"--address", "127.0.0.1", "--hang", "mixer"} << QByteArray("mixer");
    QTest::newRow("status without code")
        << QStringList{"--address", "127.0.0.1", "--status", "console"} << QByteArray("--status");
    QTest::newRow("unknown answer way")
        << QStringList{"--address", "127.0.0.1", "--answer", "sometimes"} << QByteArray("--answer");
    QTest::newRow("missing config file")
        << QStringList{"--address", "127.0.0.1", "--config-file", "/nonexistent/config.ini"}
        << QByteArray("/nonexistent/config.ini");
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << QByteArray("frobnicate");
}

void TestMixerSim::rejectsBadCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    MixerSim sim(arguments);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^MixerSim: not ready"));
    QVERIFY(!sim.start());
    QVERIFY(!sim.isRunning());
    QVERIFY(sim.exitCode() != 0);
    QVERIFY2(sim.standardError().contains(message), sim.standardError().constData());
}

void TestMixerSim::reportsPortInUse()
{
    auto first = startSim({});
    QVERIFY(first);
    MixerSim second(simArguments({}));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^MixerSim: not ready"));
    QVERIFY(!second.start());
    QVERIFY(second.exitCode() != 0);
    const QByteArray expected = "cannot listen on " + loopbackAddress().toLatin1() + ":80";
    QVERIFY2(second.standardError().contains(expected), second.standardError().constData());
    // The first one is not disturbed.
    QNetworkReply *reply = get("/dist/index.html");
    QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 10000);
    QCOMPARE(reply->error(), QNetworkReply::NoError);
}

LAUNCHER_TEST_MAIN(TestMixerSim)
#include "tst_mixersim.moc"
