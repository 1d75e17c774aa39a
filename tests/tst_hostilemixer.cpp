// Connecting to a mixer whose HTTP answers are hostile: a configuration file
// of 200 MB or one that never ends, a console page that never answers or
// never finishes. The launcher's memory stays bounded, its event loop keeps
// running, the settings file keeps its bytes, the configuration request ends,
// and the console either loads or is given up and shown as failed.
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkReply>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QWebEngineView>
#include <algorithm>
#include <memory>

#include "app/language.h"
#include "console/widget.h"
#include "support/eventloopprobe.h"
#include "support/filebytes.h"
#include "support/mixersim.h"
#include "support/processmemory.h"
#include "support/runaddress.h"
#include "support/testmain.h"

namespace {

// A settings file as a person might have left it: any rewrite by QSettings
// would change its bytes.
const QByteArray handWrittenSettings =
    "; kept by hand\n[Language]\nLanguage_enum = 3\nLanguage_mode = 7\n[Panel]\nkept = yes\n";

constexpr qint64 hugeBytes = 200 * 1000 * 1000;
// How long a console that never finishes is watched.
constexpr int streamingMs = 6000;
constexpr qint64 stallBoundMs = 1500;
// The launcher's own process; the renderer is a process of its own.
constexpr qint64 launcherGrowthBoundKiB = 96 * 1024 * memoryOverheadFactor();

bool writeSettingsFile()
{
    QDir().mkpath(QFileInfo(settingsFilePath()).path());
    QFile file(settingsFilePath());
    return file.open(QIODevice::WriteOnly) &&
           file.write(handWrittenSettings) == handWrittenSettings.size();
}

QNetworkReply *configReply(const Widget &widget)
{
    const QList<QNetworkReply *> replies = widget.findChildren<QNetworkReply *>();
    for (QNetworkReply *reply : replies) {
        if (reply->url().path() == QLatin1String("/webFile/userConfig/config.ini"))
            return reply;
    }
    return nullptr;
}

bool loadFailedShown(const QWidget *stack)
{
    const QList<QLabel *> labels =
        stack->findChild<QWidget *>("page_load")->findChildren<QLabel *>();
    return std::any_of(labels.cbegin(), labels.cend(), [](const QLabel *label) {
        return label->text().startsWith(QLatin1String("Loading failed"));
    });
}

}  // namespace

class TestHostileMixer : public QObject
{
    Q_OBJECT
private slots:
    void connectTo_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("page");  // where the stack stands at the end
        const QString huge = QString::number(hugeBytes);
        QTest::newRow("configuration of 200 MB")
            << QStringList{"--huge", "config=" + huge} << "page_web";
        QTest::newRow("configuration that never ends")
            << QStringList{"--endless", "config"} << "page_web";
        QTest::newRow("console that never answers")
            << QStringList{"--hang", "console", "--hang", "config"} << "page_load";
        QTest::newRow("console page that never ends")
            << QStringList{"--endless", "console", "--endless", "config"} << "page_load";
    }
    void connectTo()
    {
        QFETCH(QStringList, faults);
        QFETCH(QString, page);
        QVERIFY(writeSettingsFile());
        const QString address = runAddress(160 + ++rowsRun);
        MixerSim mixer(QStringList{"--address", address, "--answer", "none"} + faults);
        QVERIFY(mixer.start());

        Widget widget;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        auto *stack = widget.findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
        QTest::qWait(200);
        EventLoopProbe probe;
        resetPeakResident();
        const qint64 before = residentKiB();
        const qint64 treeBefore = treeResidentKiB();
        probe.start();

        QTest::keyClicks(widget.findChild<QLineEdit *>(QStringLiteral("lineEdit_ip")), address);
        QTest::mouseClick(widget.findChild<QPushButton *>(QStringLiteral("btn_connect")),
                          Qt::LeftButton);
        QPointer<QNetworkReply> config = configReply(widget);
        QVERIFY(config);
        QElapsedTimer sinceConnect;
        sinceConnect.start();
        // Refused for its size or given up for its time: the configuration
        // request ends either way.
        QTRY_VERIFY_WITH_TIMEOUT(config.isNull(), 60000);
        if (page == QLatin1String("page_web")) {
            // A hostile configuration costs neither the console nor the memory.
            QTRY_COMPARE_WITH_TIMEOUT(stack->currentWidget()->objectName(), page, 30000);
        } else if (faults.contains(QLatin1String("--hang"))) {
            // A console that never answers is given up, as a failed load.
            QTRY_VERIFY_WITH_TIMEOUT(loadFailedShown(stack), Widget::consoleLoadTimeoutMs + 30000);
            QVERIFY(sinceConnect.elapsed() > Widget::consoleLoadTimeoutMs * 9 / 10);
            QTest::qWait(1000);
            QCOMPARE(stack->currentWidget()->objectName(), page);
        } else {
            // One that streams for ever fills the renderer's memory long
            // before it is given up: only a while of it, still loading.
            QTest::qWait(streamingMs);
            QCOMPARE(stack->currentWidget()->objectName(), page);
            QVERIFY(!loadFailedShown(stack));
        }
        probe.stop();
        const qint64 growth = peakResidentKiB() - before;
        const QString figures = QStringLiteral(
                                    "launcher peak +%1 KiB, with its child processes %2 -> %3 KiB; "
                                    "longest stall %4 ms over %5 ticks")
                                    .arg(growth)
                                    .arg(treeBefore)
                                    .arg(treeResidentKiB())
                                    .arg(probe.longestGapMs())
                                    .arg(probe.ticks());
        qInfo().noquote() << figures;
        QVERIFY2(before > 0 && growth < launcherGrowthBoundKiB, qPrintable(figures));
        QVERIFY2(probe.ticks() > 50 && probe.longestGapMs() < stallBoundMs, qPrintable(figures));
        // The configuration fetch was refused or never finished: not a byte
        // of the settings file changed.
        QCOMPARE(fileBytes(settingsFilePath()), handWrittenSettings);
        QVERIFY(mixer.isRunning());
    }

private:
    int rowsRun = 0;
};

LAUNCHER_TEST_MAIN(TestHostileMixer)
#include "tst_hostilemixer.moc"
