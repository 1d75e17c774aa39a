// Downloads that the mixer's console offers: the folder prompt, the file and
// one message box for the end of each download, against a simulated mixer.
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

#include "support/consoleundertest.h"
#include "support/dialoganswerer.h"
#include "support/filebytes.h"
#include "support/mixersim.h"

namespace {

const qint64 downloadSize = 2 * 1024 * 1024;

// A folder of 1 MiB, where a download of 2 MiB runs out of room part way: a
// tmpfs in a mount namespace of this process's own, made in main() before any
// thread exists so that the web engine's threads see it too. Empty where no
// namespace can be made (not root).
QString smallFolder;

QString mountSmallFolder()
{
    QByteArray path = QDir::tempPath().toLocal8Bit() + "/download-small-XXXXXX";
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) ||
        !mkdtemp(path.data()))
        return {};
    if (mount("tmpfs", path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m") == 0)
        return QString::fromLocal8Bit(path);
    rmdir(path.constData());
    return {};
}

}  // namespace

class TestDownload : public QObject
{
    Q_OBJECT
    ServedMixers mixers;

private slots:
    void cleanupTestCase()
    {
        if (!smallFolder.isEmpty() && umount2(qPrintable(smallFolder), MNT_DETACH) == 0)
            QDir().rmdir(smallFolder);
    }

    void downloads_data()
    {
        QTest::addColumn<bool>("broken");
        QTest::addColumn<bool>("downloadsFolder");  // whether the home has one
        // One entry per download the console starts: the folder chosen at
        // the prompt ("small" for the small one), or "" for a cancelled prompt.
        QTest::addColumn<QStringList>("answers");
        // The boxes expected, in order: "saved:<folder>" or "failed".
        QTest::addColumn<QStringList>("boxes");
        const QStringList chosen{"chosen"}, saved{"saved:chosen"}, failed{"failed"};
        // The prompt opens in the home folder, with nothing typed in.
        QTest::newRow("saved, no Downloads folder") << false << false << chosen << saved;
        QTest::newRow("broken off") << true << true << chosen << failed;
        // Interrupted in one step by the engine, which also ends it.
        QTest::newRow("folder fills up") << false << true << QStringList{"small"} << failed;
        // A cancelled prompt adds no box, even once a later download has ended.
        QTest::newRow("cancelled, then two saved")
            << false << true << QStringList{"", "first", "second"}
            << QStringList{"saved:first", "saved:second"};
    }
    void downloads()
    {
        QFETCH(bool, broken);
        QFETCH(bool, downloadsFolder);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, boxes);
        if (answers.contains("small") && smallFolder.isEmpty())
            QSKIP("no mount namespace for a small folder (needs root)");
        const QString downloads =
            QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        QVERIFY(downloadsFolder ? QDir().mkpath(downloads) : QDir(downloads).removeRecursively());
        QTemporaryDir target;
        const auto folderOf = [&](const QString &name) {
            return name == "small" ? smallFolder : target.filePath(name);
        };
        QStringList serving{"--download-size", QString::number(downloadSize)};
        const QString address = mixers.start({}, broken ? serving << "--break-download" : serving);
        ConsoleUnderTest console;
        QWebEngineView *view = console.view;
        QVERIFY(console.showConsole(address));
        QSignalSpy requested(view->page()->profile(), &QWebEngineProfile::downloadRequested);
        DialogAnswerer answerer;
        // A way back made in a prompt or a box is the dialog's own.
        answerer.beforeAnswer = [&](QWidget *modal) {
            console.perform(answerer.titles.size() % 2 ? "Alt+Left" : "back button",
                            modal->windowHandle());
        };
        for (int i = 0; i < answers.count(); ++i) {
            QVERIFY(answers[i].isEmpty() || QDir().mkpath(folderOf(answers[i])));
            answerer.queueFolderAnswer(answers[i].isEmpty() ? QString() : folderOf(answers[i]));
            // What the console's download link starts. (A scripted click is
            // no user gesture, and the engine may hold back a page's repeated
            // downloads without one.)
            view->page()->download(view->url().resolved(QUrl("download/mixer-scene.bin")));
            QTRY_COMPARE_WITH_TIMEOUT(requested.count(), i + 1, 20000);
            QTRY_VERIFY_WITH_TIMEOUT(
                requested.at(i).at(0).value<QWebEngineDownloadRequest *>()->isFinished(), 20000);
        }
        // Every accepted download ends in exactly one box: a second one
        // would open inside the first one's event loop, so once the boxes
        // expected are answered and none is open, no other is coming.
        QTRY_VERIFY_WITH_TIMEOUT(
            answerer.messages.count() >= boxes.count() && !QApplication::activeModalWidget(),
            10000);
        QStringList expected;
        for (const QString &box : boxes)
            expected << (box == "failed" ? QStringLiteral("下载失败")
                                         : "下载成功，地址为:\n" + folderOf(box.section(':', 1)));
        QCOMPARE(answerer.messages, expected);
        // Each prompt opens in the user's download folder, or in the home
        // folder without one, where nothing is ever saved; each saved
        // download lies whole in its folder.
        QCOMPARE(answerer.promptStartFolders,
                 QStringList(answers.size(), downloadsFolder ? downloads : QDir::homePath()));
        QVERIFY(QDir(downloads).isEmpty());
        // One that failed leaves nothing behind, not even a part of itself.
        for (const QString &answer : answers) {
            if (answer.isEmpty())
                continue;
            const QFileInfoList files =
                QDir(folderOf(answer)).entryInfoList(QDir::Files | QDir::Hidden);
            const bool saved = boxes.contains("saved:" + answer);
            QCOMPARE(files.size(), saved ? 1 : 0);
            if (saved)
                QCOMPARE(fileBytes(files.first().filePath()), expectedDownloadBytes(downloadSize));
        }
        // Every prompt and every box under its own caption.
        QCOMPARE(answerer.titles.count("选择下载目录"), answers.size());
        QCOMPARE(answerer.titles.count("download tooltip"), boxes.size());
        QVERIFY(view->isVisible());
    }

    // The name a page suggests is reduced to a plain one in the folder the
    // user picked, and a download never replaces a file: neither one the user
    // has, nor one that another download under way writes.
    void nameFromThePage_data()
    {
        QTest::addColumn<QString>("suggested");  // the link's download attribute
        QTest::addColumn<int>("clicks");         // 700 ms apart, each while the last runs
        QTest::addColumn<QStringList>("saved");
        QTest::newRow("climbs out of the folder")
            << "../../../../nonexistent/notes.txt" << 1 << QStringList{"notes (1).txt"};
        QTest::newRow("two at once")
            << "notes.txt" << 2 << QStringList{"notes (1).txt", "notes (2).txt"};
    }
    void nameFromThePage()
    {
        QFETCH(QString, suggested);
        QFETCH(int, clicks);
        QFETCH(QStringList, saved);
        QTemporaryDir folder;
        const QByteArray mine = "the user's own notes\n";
        QVERIFY(writeFileBytes(folder.filePath("notes.txt"), mine));
        // Two seconds a download: the second starts while the first runs.
        const QString address =
            mixers.start("<!doctype html><a id=link href=download/mixer-scene.bin download=\"" +
                             suggested.toUtf8() + "\">scene</a>",
                         {"--download-size", QString::number(downloadSize), "--download-rate",
                          QString::number(downloadSize / 2)});
        ConsoleUnderTest console;
        QVERIFY(console.showConsole(address));
        DialogAnswerer answerer;
        for (int i = 0; i < clicks; ++i) {
            answerer.queueFolderAnswer(folder.path());
            console.view->page()->runJavaScript("document.getElementById('link').click()");
            QTRY_COMPARE_WITH_TIMEOUT(answerer.promptStartFolders.size(), i + 1, 10000);
            QTest::qWait(700);
        }
        QTRY_COMPARE_WITH_TIMEOUT(answerer.messages.size(), clicks, 20000);
        QCOMPARE(answerer.messages,
                 QStringList(clicks, QStringLiteral("下载成功，地址为:\n") + folder.path()));
        QCOMPARE(fileBytes(folder.filePath("notes.txt")), mine);
        QStringList names = QStringList{"notes.txt"} + saved;
        names.sort();
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), names);
        for (const QString &name : saved)
            QCOMPARE(fileBytes(folder.filePath(name)), expectedDownloadBytes(downloadSize));
    }

    // A download that runs for a while shows its progress over the
    // launcher's window, and its Cancel ends it: the failure box, no file.
    void longDownloadCanBeStopped()
    {
        QTemporaryDir folder;
        // 2 MiB at 64 KiB/s: half a minute, far longer than this waits.
        const QString address = mixers.start(
            {}, {"--download-size", QString::number(downloadSize), "--download-rate", "65536"});
        ConsoleUnderTest console;
        QVERIFY(console.showConsole(address));
        DialogAnswerer answerer;
        answerer.queueFolderAnswer(folder.path());
        console.view->page()->download(
            console.view->url().resolved(QUrl("download/mixer-scene.bin")));
        QPointer<QProgressDialog> progress;
        QTRY_VERIFY_WITH_TIMEOUT(
            (progress = console.widget.findChild<QProgressDialog *>()) && progress->isVisible(),
            10000);
        QTRY_VERIFY_WITH_TIMEOUT(progress->value() > progress->minimum(), 10000);
        QVERIFY(progress->value() < progress->maximum());
        QVERIFY2(progress->labelText().startsWith("mixer-scene.bin\n") &&
                     progress->labelText().endsWith(" of 2.00 MiB"),
                 qPrintable(progress->labelText()));
        QVERIFY(answerer.messages.isEmpty());
        QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(answerer.messages, QStringList{QStringLiteral("下载失败")},
                                  10000);
        QTRY_VERIFY(!progress);
        // The engine removes what it wrote on its own file thread, a moment later.
        QTRY_COMPARE_WITH_TIMEOUT(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                                  QStringList(), 10000);
    }

    // A page that starts download after download by script: one prompt at
    // a time, and none once the user has cancelled two in a row, until the
    // user reloads the console. Every request is answered.
    void promptFlood_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("apartMs");
        QTest::addColumn<int>("thinkMs");  // before the user cancels a prompt
        QTest::addColumn<int>("prompts");  // for each load of the page
        QTest::newRow("one after another") << 12 << 300 << 0 << 2;
    }
    void promptFlood()
    {
        QFETCH(int, count);
        QFETCH(int, apartMs);
        QFETCH(int, thinkMs);
        QFETCH(int, prompts);
        // The page's script starts them (as it might on load) when asked.
        const QString address = mixers.start(
            "<!doctype html><title>mixer</title><a id=link href=download/mixer-scene.bin>"
            "scene</a><script>function flood() { let n = 0; const next = () => { "
            "document.getElementById('link').click(); if (++n < " +
            QByteArray::number(count) + ") setTimeout(next, " + QByteArray::number(apartMs) +
            "); else document.title = 'done'; }; next(); }</script>");
        DialogAnswerer answerer;  // cancels every prompt
        answerer.thinkMs = thinkMs;
        ConsoleUnderTest console;
        QSignalSpy requested(console.view->page()->profile(),
                             &QWebEngineProfile::downloadRequested);
        console.connectTo(address);
        qsizetype promptsBefore = 0;
        for (int load = 1; load <= 2; ++load) {
            QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_web", 20000);
            QTRY_COMPARE_WITH_TIMEOUT(console.view->title(), "mixer", 10000);
            console.view->page()->runJavaScript("flood()");
            QTRY_COMPARE_WITH_TIMEOUT(console.view->title(), "done", 20000);
            // The engine may fold requests that come close together; those
            // that arrive are each answered, and all of them cancelled.
            QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), thinkMs + 5000);
            QVERIFY2(requested.count() > prompts, qPrintable(QString::number(requested.count())));
            for (const QList<QVariant> &request : requested)
                QTRY_COMPARE_WITH_TIMEOUT(
                    request.at(0).value<QWebEngineDownloadRequest *>()->state(),
                    QWebEngineDownloadRequest::DownloadCancelled, 5000);
            QCOMPARE(answerer.titles.size() - promptsBefore, prompts);
            QCOMPARE(answerer.titles.count(QStringLiteral("选择下载目录")), answerer.titles.size());
            promptsBefore = answerer.titles.size();
            requested.clear();
            console.view->setFocus();
            QTest::keyClick(console.widget.windowHandle(), Qt::Key_F5);
            QTRY_VERIFY_WITH_TIMEOUT(console.view->title() != "done", 10000);
        }
    }
};

int main(int argc, char *argv[])
{
    smallFolder = mountSmallFolder();
    return runLauncherTests<TestDownload>(argc, argv);
}

#include "tst_download.moc"
