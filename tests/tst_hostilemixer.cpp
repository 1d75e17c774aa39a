// Connecting to a mixer whose HTTP answers are hostile: a configuration file
// refused with 404 or one that never ends, a console page that never
// answers. The settings file keeps its bytes, the configuration
// request ends, and the console either loads or is given up and shown as
// failed.

#include "app/language.h"
#include "support/consoleundertest.h"
#include "support/filebytes.h"
#include "support/mixersim.h"
#include "support/runaddress.h"

namespace {

// Any rewrite by QSettings would change these bytes.
const QByteArray handWrittenSettings =
    "; kept by hand\n[Language]\nLanguage_enum = 3\nLanguage_mode = 7\n[Panel]\nkept = yes\n";

}  // namespace

class TestHostileMixer : public QObject
{
    Q_OBJECT
    int rowsRun = 0;

private slots:
    void connectTo_data()
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
    void connectTo()
    {
        QFETCH(QStringList, faults);
        QFETCH(QString, outcome);
        QVERIFY(writeFileBytes(settingsFilePath(), handWrittenSettings));
        const QString address = runAddress(20 + ++rowsRun);
        MixerSim mixer(QStringList{"--address", address, "--answer", "none"} + faults);
        QVERIFY(mixer.start());
        ConsoleUnderTest console;

        console.connectTo(address);
        QElapsedTimer sinceConnect;
        sinceConnect.start();
        QPointer<QNetworkReply> config = console.widget.findChild<QNetworkReply *>();
        QVERIFY(config);
        // Refused for its size or given up for its time, it ends either way.
        QTRY_VERIFY_WITH_TIMEOUT(config.isNull(), 60000);
        if (outcome == "console") {
            QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_web", 30000);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(console.loadingText->text().startsWith("Loading failed"),
                                     Widget::consoleLoadTimeoutMs + 30000);
            QVERIFY(sinceConnect.elapsed() > Widget::consoleLoadTimeoutMs * 9 / 10);
        }
        QCOMPARE(console.page(), outcome == "console" ? "page_web" : "page_load");
        QCOMPARE(fileBytes(settingsFilePath()), handWrittenSettings);
        QVERIFY(mixer.isRunning());
    }
};

LAUNCHER_TEST_MAIN(TestHostileMixer)
#include "tst_hostilemixer.moc"
