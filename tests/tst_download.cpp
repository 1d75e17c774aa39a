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
#include "support/runaddress.h"

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
    int rowsRun = 0;

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
        // A mixer of the row's own: what an earlier row did to its mixer's
        // connections cannot reach this one.
        QStringList serving{"--address", runAddress(++rowsRun), "--download-size",
                            QString::number(downloadSize)};
        MixerSim mixer(broken ? serving << "--break-download" : serving);
        QVERIFY(mixer.start());
        ConsoleUnderTest console;
        QWebEngineView *view = console.view;
        console.connectTo(runAddress(rowsRun));
        QTRY_VERIFY_WITH_TIMEOUT(view->isVisible(), 20000);
        QSignalSpy requested(view->page()->profile(), &QWebEngineProfile::downloadRequested);
        DialogAnswerer answerer;
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
        for (const QString &answer : answers) {
            if (answer.isEmpty())
                continue;
            const QFileInfoList files = QDir(folderOf(answer)).entryInfoList(QDir::Files);
            const bool saved = boxes.contains("saved:" + answer);
            QCOMPARE(files.size() == 1 &&
                         fileBytes(files.first().filePath()) == expectedDownloadBytes(downloadSize),
                     saved);
        }
        // Every prompt and every box under its own caption.
        QCOMPARE(answerer.titles.count("选择下载目录"), answers.size());
        QCOMPARE(answerer.titles.count("download tooltip"), boxes.size());
    }
};

int main(int argc, char *argv[])
{
    smallFolder = mountSmallFolder();
    return runLauncherTests<TestDownload>(argc, argv);
}

#include "tst_download.moc"
