// Shutting the launcher down in the middle of things: the real start-up runs
// in a child process, connects to a simulated mixer, starts a download that
// is still running, opens the demo panel, and then the user closes the
// windows. The process must end by itself with exit code 0 and without the
// web engine's complaint about a profile that goes before its pages.
#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <cstdio>

#include "app/launcher.h"
#include "chrome/basewindow.h"
#include "console/widget.h"
#include "demo/demo.h"
#include "support/dialoganswerer.h"
#include "support/mixersim.h"
#include "support/runaddress.h"
#include "support/testmain.h"

namespace {

const char childArgument[] = "--shutdown-child";

// ---- the child: the launcher's own run, driven like a user would -----------

void step(const QString &text)
{
    std::fprintf(stderr, "step: %s\n", qPrintable(text));
    std::fflush(stderr);
}

template <typename T>
T *find(QWidget &root, const char *name)
{
    return root.findChild<T *>(QLatin1String(name));
}

// Anything modal that comes up once the user has started closing: noted, and
// answered so that a run can never hang on it.
void watchForLateDialogs()
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        step(QStringLiteral("message box while closing: ") + box->text());
        box->done(QMessageBox::Ok);
    });
    poll->start(20);
}

void openConsole(Widget &widget, const QString &address)
{
    auto *view = widget.findChild<QWebEngineView *>();
    auto *stack = find<QStackedWidget>(widget, "stackedWidget");
    QTest::keyClicks(find<QLineEdit>(widget, "lineEdit_ip"), address);
    QTest::mouseClick(find<QPushButton>(widget, "btn_connect"), Qt::LeftButton);
    if (QTest::qWaitFor([&] { return stack->currentWidget()->objectName() == "page_web"; }, 30000))
        step(QStringLiteral("console loaded: ") + view->url().toString());
}

void startDownload(Widget &widget, const QString &folder)
{
    auto *view = widget.findChild<QWebEngineView *>();
    QPointer<QWebEngineDownloadRequest> download;
    QObject::connect(view->page()->profile(), &QWebEngineProfile::downloadRequested, view,
                     [&download](QWebEngineDownloadRequest *request) { download = request; });
    DialogAnswerer answerer;
    answerer.queueFolderAnswer(folder);
    view->page()->runJavaScript(QStringLiteral("document.getElementById('download').click()"));
    const bool running = QTest::qWaitFor(
        [&] {
            return download && download->state() == QWebEngineDownloadRequest::DownloadInProgress &&
                   download->receivedBytes() > 0;
        },
        30000);
    if (running)
        step(QStringLiteral("download running: %1 of %2 bytes")
                 .arg(download->receivedBytes())
                 .arg(download->totalBytes()));
}

demo *demoWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *panel = qobject_cast<demo *>(window); panel && panel->isVisible())
            return panel;
    }
    return nullptr;
}

void openDemo(Widget &widget)
{
    // The search page, and with it the Connect button, lies behind the
    // console now; the button's click is what a user's press would give.
    find<QLineEdit>(widget, "lineEdit_ip")->setText(QStringLiteral("demo"));
    find<QPushButton>(widget, "btn_connect")->click();
    if (QTest::qWaitFor([] { return demoWindow() != nullptr; }, 5000) && !widget.isVisible())
        step(QStringLiteral("demo shown"));
}

void closeEverything(BaseWindow &window)
{
    watchForLateDialogs();
    step(QStringLiteral("closing"));
    // The title bar's close button, as the user presses it.
    QTest::mouseClick(find<QPushButton>(window, "toolClose"), Qt::LeftButton);
    step(QStringLiteral("main window closed"));
    // The demo keeps the process alive until it is closed as well.
    QTimer::singleShot(300, qApp, [] {
        step(QStringLiteral("still running"));
        if (demo *panel = demoWindow()) {
            panel->close();
            step(QStringLiteral("demo closed"));
        }
    });
}

int runChild(char *argv[])
{
    const QString address = QString::fromLatin1(argv[2]);
    int childArgc = 1;
    const int code = runLauncher(childArgc, argv, [address](BaseWindow &window) {
        Widget *widget = window.findChild<Widget *>();
        if (!widget)
            return;
        openConsole(*widget, address);
        const QString folder = QDir::homePath() + QLatin1String("/chosen");
        QDir().mkpath(folder);
        // The web engine drops a download quietly, before asking anybody,
        // when the user's download folder does not exist; a fresh home has
        // none.
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
        startDownload(*widget, folder);
        openDemo(*widget);
        // The closing happens in the launcher's own event loop.
        QTimer::singleShot(0, qApp, [&window] { closeEverything(window); });
    });
    step(QStringLiteral("event loop returned %1").arg(code));
    return code;
}

}  // namespace

class TestShutdown : public QObject
{
    Q_OBJECT
private slots:
    // Console loaded, a download running, the demo panel open; then the main
    // window is closed, and the demo after it.
    void closeWhileBusy()
    {
        // Slow enough that the download is still running at shutdown.
        MixerSim mixer({"--address", runAddress(141), "--answer", "none", "--download-size",
                        "268435456", "--download-rate", "262144"});
        QVERIFY(mixer.start());

        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QLatin1String(childArgument), runAddress(141)});
        const bool ended = child.waitForFinished(120000);
        if (!ended) {
            child.kill();
            child.waitForFinished(5000);
        }
        const QString errors = QString::fromUtf8(child.readAllStandardError());
        // The steps and what came with them; the web engine's start-up
        // chatter before them would only crowd the message out.
        const QString report = errors.mid(qMax(0, int(errors.indexOf(QLatin1String("step: ")))));
        QVERIFY2(ended, qPrintable("the launcher did not end:\n" + report));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() == 0, qPrintable(report));

        // Every step happened, in order.
        const QStringList steps{"console loaded", "download running",     "demo shown",
                                "closing",        "main window closed",   "still running",
                                "demo closed",    "event loop returned 0"};
        qsizetype at = 0;
        for (const QString &expected : steps) {
            at = errors.indexOf(QStringLiteral("step: ") + expected, at);
            QVERIFY2(at >= 0,
                     qPrintable(QStringLiteral("missing step \"%1\":\n%2").arg(expected, report)));
        }
        QVERIFY2(!errors.contains(QLatin1String("Release of profile requested")),
                 qPrintable(report));
        QVERIFY2(!errors.contains(QLatin1String("message box while closing")), qPrintable(report));
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], childArgument) == 0) {
        prepareTestEnvironment();
        return runChild(argv);
    }
    return runLauncherTests<TestShutdown>(argc, argv);
}

#include "tst_shutdown.moc"
