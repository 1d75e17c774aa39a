// Connecting to a mixer whose HTTP answers are hostile: a configuration file
// of 200 MB or one that never ends, a console page that never answers or
// never finishes. The launcher's memory stays bounded, its event loop keeps
// running, the settings file keeps its bytes, and the console load either
// ends or leaves the loading page up; nothing else happens.
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkReply>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QWebEngineView>
#include <memory>

#include "app/language.h"
#include "console/widget.h"
#include "support/eventloopprobe.h"
#include "support/mixersim.h"
#include "support/processmemory.h"
#include "support/testmain.h"

namespace {

// A settings file as a person might have left it: any rewrite by QSettings
// would change its bytes.
const QByteArray handWrittenSettings =
    "; kept by hand\n[Language]\nLanguage_enum = 3\nLanguage_mode = 7\n[Panel]\nkept = yes\n";

constexpr qint64 hugeBytes = 200 * 1000 * 1000;
// How long a console that never finishes is given before the checks.
constexpr int streamingMs = 6000;
constexpr qint64 stallBoundMs = 1500;
// The launcher's own process; the renderer is a process of its own.
constexpr qint64 launcherGrowthBoundKiB = 96 * 1024 * memoryOverheadFactor();

QString runAddress(int salt)
{
    const int pid = int(getpid());
    return QStringLiteral("127.%1.%2.%3").arg(160 + salt).arg((pid >> 8) & 0xFF).arg(1 + pid % 254);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
        const QString address = runAddress(++rowsRun);
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
        if (page == QLatin1String("page_web")) {
            // A hostile configuration costs neither the console nor the memory.
            QTRY_VERIFY_WITH_TIMEOUT(config.isNull(), 60000);
            QTRY_COMPARE_WITH_TIMEOUT(stack->currentWidget()->objectName(), page, 30000);
        } else {
            QTest::qWait(streamingMs);
            QCOMPARE(stack->currentWidget()->objectName(), page);
            // Still loading: no failure was claimed.
            const QList<QLabel *> labels = stack->currentWidget()->findChildren<QLabel *>();
            for (const QLabel *label : labels)
                QVERIFY2(!label->text().startsWith(QLatin1String("Loading failed")),
                         qPrintable(label->text()));
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
