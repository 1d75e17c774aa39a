// The mixer's configuration: the line rules, and the fetch from a simulated
// mixer into the settings file, also from mixers whose answers are hostile.

#include "app/language.h"
#include "console/configlines.h"
#include "support/consoleundertest.h"
#include "support/filebytes.h"
#include "support/mixersim.h"
#include "support/runaddress.h"

namespace {

const QString configPath = QStringLiteral("/webFile/userConfig/config.ini");

QString requestLog(const QString &address)
{
    return QDir::home().filePath(address + ".log");
}

// How often the mixer at `address` logged `what`: a path when asked, the
// path and " gone" once the connection that asked has closed.
qsizetype logged(const QString &address, const QString &what)
{
    return timesLogged(requestLog(address), address + ' ' + what);
}

// A mixer at `address` serving `config` as its configuration file.
// Its requests are logged to `address`.log in the home folder.
std::unique_ptr<MixerSim> startMixer(const QString &address, const QByteArray &config,
                                     const QStringList &extra = {})
{
    const QString file = QDir::home().filePath(address + ".ini");
    const QStringList options{"--config-file", file, "--request-log", requestLog(address)};
    auto mixer = std::make_unique<MixerSim>(quietMixer(address, options + extra));
    if (!writeFileBytes(file, config) || !mixer->start())
        mixer.reset();
    return mixer;
}

}  // namespace

class TestConfig : public QObject
{
    Q_OBJECT
    int rowsRun = 0;

private slots:
    // Entries as "key -> value".
    void lines_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("entries");
        const QString e = "Language/Language_enum -> ", m = "Language/Language_mode -> ";
        QTest::newRow("plain") << QByteArray("Language_enum=2\nLanguage_mode=1\n")
                               << QStringList{e + "2", m + "1"};
        QTest::newRow("blanks around =") << QByteArray("  Language_enum = 2 \nLanguage_mode =1")
                                         << QStringList{e + "2", m + "1"};
        QTest::newRow("CR LF line ends") << QByteArray("Language_enum=2\r\nLanguage_mode=1\r\n")
                                         << QStringList{e + "2\r", m + "1\r"};
        QTest::newRow("no =, whole line")
            << QByteArray("Language_enum 2") << QStringList{e + "Language_enum2"};
        QTest::newRow("text after the last =")
            << QByteArray("Language_enum==a=b") << QStringList{e + "b"};
        QTest::newRow("both keys, mode first")
            << QByteArray("Language_mode=1;Language_enum=3") << QStringList{e + "3"};
    }
    void lines()
    {
        QFETCH(QByteArray, body);
        QStringList shown;
        for (const ConfigEntry &entry : languageEntries(body))
            shown << entry.key + " -> " + entry.value;
        QTEST(shown, "entries");
    }

    // Where the configuration is asked for, and what its reply may cost: a
    // mixer's file is a few kilobytes, sent within milliseconds.
    void request()
    {
        const BoundedRequest sent = configFileRequest("10.0.0.5");
        QCOMPARE(sent.request.url(), QUrl("http://10.0.0.5/webFile/userConfig/config.ini"));
        QCOMPARE(sent.limits.maxBodyBytes, 256 * 1024);
        QCOMPARE(sent.limits.timeoutMs, 5000);
    }

    // A Connect copies the mixer's two language entries into the settings
    // file, keeping everything else there. A second Connect drops the first
    // fetch: only the second mixer's values can reach the file, even when
    // the first mixer answers later.
    void secondConnectWins()
    {
        auto slow = startMixer(runAddress(31), "Language_enum=1\nLanguage_mode=1\n",
                               {"--delay", "config=1500"});
        auto fast = startMixer(runAddress(32),
                               "[Language]\r\n; Language_mode is kept by the panel\r\n"
                               "Language_enum = 2\r\nLanguage_mode = 1\r\n");
        QVERIFY(slow && fast && writeFileBytes(settingsFilePath(), "[Panel]\nkept=yes\n"));
        ConsoleUnderTest console;
        console.connectTo(runAddress(31));
        QTRY_COMPARE(logged(runAddress(31), configPath), 1);
        console.connectTo(runAddress(32));
        QTRY_COMPARE(logged(runAddress(31), configPath + " gone"), 1);  // dropped
        // Ask the slow mixer ourselves, after the launcher did: once our
        // answer is in, the launcher's would have been in before it.
        QNetworkAccessManager witness;
        QNetworkReply *late =
            witness.get(QNetworkRequest(QUrl("http://" + runAddress(31) + configPath)));
        QTRY_VERIFY_WITH_TIMEOUT(late->isFinished() && logged(runAddress(32), configPath) == 1,
                                 30000);
        QTRY_COMPARE(storedSetting("Language/Language_enum"), QVariant("2\r"));
        QCOMPARE(late->readAll(), QByteArray("Language_enum=1\nLanguage_mode=1\n"));
        QCoreApplication::processEvents();
        QCOMPARE(storedSetting("Language/Language_enum"), QVariant("2\r"));
        QCOMPARE(storedSetting("Language/Language_mode"), QVariant("1\r"));
        QCOMPARE(storedSetting("Panel/kept"), QVariant("yes"));
    }

    // A configuration refused with 404 or one that never ends, a console
    // page that never answers: the configuration request ends, the settings
    // file keeps its bytes (any rewrite by QSettings would change them), and
    // the console either loads or is given up and shown as failed.
    void hostileMixer_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("outcome");  // "console" or "failed"
        QTest::newRow("configuration answered with 404")
            << QStringList{"--status", "config=404"} << "console";
        QTest::newRow("configuration that never ends")
            << QStringList{"--endless", "config"} << "console";
        QTest::newRow("console that never answers")
            << QStringList{"--hang", "console", "--hang", "config"} << "failed";
    }
    void hostileMixer()
    {
        QFETCH(QStringList, faults);
        QFETCH(QString, outcome);
        const QByteArray handWritten =
            "; kept by hand\n[Language]\nLanguage_enum = 3\n"
            "Language_mode = 7\n[Panel]\nkept = yes\n";
        QVERIFY(writeFileBytes(settingsFilePath(), handWritten));
        const QString address = runAddress(20 + ++rowsRun);
        auto mixer = startMixer(address, "Language_enum=1\nLanguage_mode=1\n", faults);
        QVERIFY(mixer);
        ConsoleUnderTest console;
        console.connectTo(address);
        QElapsedTimer sinceConnect;
        sinceConnect.start();
        // Refused for its size or given up for its time, the request ends
        // either way: the launcher closes the connection it came on.
        QTRY_COMPARE_WITH_TIMEOUT(logged(address, configPath), 1, 10000);
        // (A 404 is an answer: its connection may stay open for the next.)
        if (faults.first() != "--status")
            QTRY_COMPARE_WITH_TIMEOUT(logged(address, configPath + " gone"), 1, 60000);
        if (outcome == "console") {
            QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_web", 30000);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(console.loadingText->text().startsWith("Loading failed"),
                                     15000 + 30000);
            // Given up 15 s after the Connect, not before.
            QVERIFY(sinceConnect.elapsed() > 13500);
        }
        QCOMPARE(console.page(), outcome == "console" ? "page_web" : "page_load");
        QCOMPARE(fileBytes(settingsFilePath()), handWritten);
        QVERIFY(mixer->isRunning());
    }
};

LAUNCHER_TEST_MAIN(TestConfig)
#include "tst_config.moc"
