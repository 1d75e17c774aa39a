// Shutting the launcher down in the middle of things: the real start-up runs
// in a child process, connects to a simulated mixer, starts a download that
// is still running, and then the user closes the window. The process must end by itself with exit
// code 0 and without the web engine's complaint about a profile that goes before its pages; and the
// next start finds nothing of what the console stored.
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "app/launcher.h"
#include "chrome/basewindow.h"
#include "console/widget.h"
#include "support/childprocess.h"
#include "support/dialoganswerer.h"
#include "support/mixersim.h"
#include "support/runaddress.h"
#include "support/searchpage.h"
#include "support/testmain.h"

namespace {

const char childArgument[] = "--shutdown-child";

void step(const QString &text)
{
    std::fprintf(stderr, "step: %s\n", qPrintable(text));
}

// The user's part, driven in the launcher's own run: console, download.
void useTheLauncher(BaseWindow &window, const QString &mixer)
{
    auto *widget = window.findChild<Widget *>();
    auto *view = widget->findChild<QWebEngineView *>();
    typeAndConnect(widget, mixer);
    if (QTest::qWaitFor([&] { return view->isVisible(); }, 30000))
        step("console loaded");
    // What the console stored in an earlier run; then it stores a cookie and
    // an item of web storage.
    view->page()->runJavaScript(
        QStringLiteral("var found = (document.cookie || 'no cookie') + ', ' +"
                       "    (localStorage.getItem('visit') || 'no item');"
                       "document.cookie = 'visit=1; max-age=86400';"
                       "localStorage.setItem('visit', '1'); 'console found ' + found"),
        [](const QVariant &found) { step(found.toString()); });

    const QString folder = QDir::home().filePath("chosen");
    // The web engine drops a download quietly when the user's download
    // folder does not exist; a fresh home has none.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
    QDir().mkpath(folder);
    QPointer<QWebEngineDownloadRequest> download;
    QObject::connect(view->page()->profile(), &QWebEngineProfile::downloadRequested, view,
                     [&download](QWebEngineDownloadRequest *request) { download = request; });
    // It stays to the end: anything modal that comes up, also while
    // closing, is noted and answered.
    auto *answerer = new DialogAnswerer(qApp);
    answerer->queueFolderAnswer(folder);
    answerer->beforeAnswer = [](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            step("message box: " + box->text());
    };
    view->page()->runJavaScript(QStringLiteral("document.getElementById('download').click()"));
    if (QTest::qWaitFor([&] { return download && download->receivedBytes() > 0; }, 30000) &&
        download->state() == QWebEngineDownloadRequest::DownloadInProgress)
        step("download running");

    QTimer::singleShot(0, qApp, [&window] {
        QTest::mouseClick(window.findChild<QPushButton *>("toolClose"), Qt::LeftButton);
        step("main window closed");
    });
}

}  // namespace

class TestShutdown : public QObject
{
    Q_OBJECT
private slots:
    // Twice, in one home: the second start finds nothing of what the console
    // stored in the first.
    void closeWhileBusy()
    {
        // Slow enough that the download is still running at shutdown.
        MixerSim mixer(quietMixer(runAddress(41),
                                  {"--download-size", "268435456", "--download-rate", "262144"}));
        QVERIFY(mixer.start());
        QTemporaryDir home;
        for (int start = 0; start < 2; ++start) {
            const ChildRun run = runThisBinaryAgain({childArgument, runAddress(41), home.path()});
            const QString errors = QString::fromUtf8(run.errors);
            const QString report = errors.mid(qMax(0, int(errors.indexOf("step: "))));
            QVERIFY2(run.passed, qPrintable(report));
            qsizetype at = 0;
            for (const char *expected :
                 {"console loaded", "console found no cookie, no item", "download running",
                  "main window closed", "event loop returned 0"}) {
                at = errors.indexOf(QLatin1String("step: ") + expected, at);
                QVERIFY2(at >= 0, qPrintable(QLatin1String(expected) + " missing:\n" + report));
            }
            QVERIFY2(!errors.contains("Release of profile requested"), qPrintable(report));
            QVERIFY2(!errors.contains("step: message box"), qPrintable(report));
        }
    }
};

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], childArgument) == 0) {
        prepareTestEnvironment();
        qputenv("HOME", argv[3]);
        const QString mixer = QString::fromLatin1(argv[2]);
        int childArgc = 1;
        const int code = runLauncher(childArgc, argv,
                                     [&](BaseWindow &window) { useTheLauncher(window, mixer); });
        step(QStringLiteral("event loop returned %1").arg(code));
        return code;
    }
    return runLauncherTests<TestShutdown>(argc, argv);
}

#include "tst_shutdown.moc"
