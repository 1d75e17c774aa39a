#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <memory>

#include "console/widget.h"
#include "support/dialoganswerer.h"
#include "support/filebytes.h"
#include "support/mixersim.h"
#include "support/runaddress.h"
#include "support/testmain.h"

namespace {

const qint64 downloadSize = 2 * 1024 * 1024;

// A folder of 1 MiB, where a download of 2 MiB runs out of room part way: a
// tmpfs in a mount namespace of this process's own, made in main() before any
// thread exists so that the web engine's threads see it too. Empty where no
// namespace can be made (not root).
QString smallFolder;
const QString smallFolderAnswer = QStringLiteral("<small folder>");

QString mountSmallFolder()
{
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return {};
    QByteArray path = QDir::tempPath().toLocal8Bit() + "/download-small-XXXXXX";
    if (!mkdtemp(path.data()))
        return {};
    if (mount("tmpfs", path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m") != 0) {
        rmdir(path.constData());
        return {};
    }
    return QString::fromLocal8Bit(path);
}

}  // namespace

class TestDownload : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The user's download folder, where every prompt should start.
        downloadFolder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        QVERIFY(downloadFolder.startsWith(QDir::homePath()));
        QVERIFY(QDir().mkpath(downloadFolder));

        const QString size = QString::number(downloadSize);
        wholeMixer = std::make_unique<MixerSim>(
            QStringList{"--address", runAddress(121), "--download-size", size});
        brokenMixer = std::make_unique<MixerSim>(
            QStringList{"--address", runAddress(122), "--download-size", size, "--break-download"});
        QVERIFY(wholeMixer->start());
        QVERIFY(brokenMixer->start());
    }

    void downloads_data()
    {
        QTest::addColumn<bool>("broken");
        // One entry per click on the console's download link: the folder
        // chosen at the prompt, or an empty string for a cancelled prompt.
        QTest::addColumn<QStringList>("answers");
        // The boxes expected, in order: "saved:<folder>" or "failed".
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("saved") << false << QStringList{"chosen"} << QStringList{"saved:chosen"};
        QTest::newRow("prompt cancelled") << false << QStringList{""} << QStringList{};
        QTest::newRow("broken off") << true << QStringList{"chosen"} << QStringList{"failed"};
        // Interrupted in one step by the engine, which also ends it.
        QTest::newRow("folder fills up")
            << false << QStringList{smallFolderAnswer} << QStringList{"failed"};
        // A cancelled prompt adds no box, even once a later download has ended.
        QTest::newRow("cancelled, then two saved") << false << QStringList{"", "first", "second"}
                                                   << QStringList{"saved:first", "saved:second"};
    }
    void downloads()
    {
        QFETCH(bool, broken);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, boxes);
        if (answers.contains(smallFolderAnswer) && smallFolder.isEmpty())
            QSKIP("no mount namespace for a small folder (needs root)");
        QTemporaryDir target;
        QVERIFY(target.isValid());
        const auto folderOf = [&](const QString &name) {
            return name == smallFolderAnswer ? smallFolder : target.filePath(name);
        };
        for (const QString &answer : answers)
            QVERIFY(answer.isEmpty() || QDir().mkpath(folderOf(answer)));

        // The console, opened the way a user does.
        Widget widget;
        widget.show();
        auto *view = widget.findChild<QWebEngineView *>();
        auto *stack = widget.findChild<QStackedWidget *>("stackedWidget");
        QVERIFY(view && stack);
        QTest::keyClicks(widget.findChild<QLineEdit *>("lineEdit_ip"),
                         runAddress(broken ? 122 : 121));
        QTest::mouseClick(widget.findChild<QPushButton *>("btn_connect"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(stack->currentWidget()->objectName(), QStringLiteral("page_web"),
                                  20000);
        QSignalSpy requested(view->page()->profile(), &QWebEngineProfile::downloadRequested);
        DialogAnswerer answerer;

        for (int i = 0; i < answers.count(); ++i) {
            answerer.queueFolderAnswer(answers[i].isEmpty() ? QString() : folderOf(answers[i]));
            // The console page starts the download of the file its link offers.
            // (A scripted click is no user gesture, and the engine may hold
            // back a page's repeated downloads without one.)
            view->page()->download(view->url().resolved(QUrl("download/mixer-scene.bin")));
            QTRY_COMPARE_WITH_TIMEOUT(requested.count(), i + 1, 20000);
            QCOMPARE(answerer.folderPrompts.count(), i + 1);
            QCOMPARE(answerer.folderPrompts.last().answered, !answers[i].isEmpty());
            QTRY_VERIFY_WITH_TIMEOUT(downloadAt(requested, i)->isFinished(), 20000);
        }

        // Every accepted download ends in exactly one box: a second one
        // would open inside the first one's event loop, so once the boxes
        // expected are answered and none is open, no other is coming.
        QTRY_VERIFY_WITH_TIMEOUT(
            answerer.messageBoxes.count() >= boxes.count() && !QApplication::activeModalWidget(),
            10000);
        QStringList expectedTexts;
        for (const QString &box : boxes)
            expectedTexts.append(box == QLatin1String("failed")
                                     ? QStringLiteral("下载失败")
                                     : QStringLiteral("下载成功，地址为:\n") +
                                           folderOf(box.section(':', 1)));
        QStringList shownTexts;
        for (const DialogAnswerer::MessageBox &box : answerer.messageBoxes) {
            QCOMPARE(box.title, QStringLiteral("download tooltip"));
            shownTexts.append(box.text);
        }
        QCOMPARE(shownTexts, expectedTexts);

        for (const DialogAnswerer::FolderPrompt &prompt : answerer.folderPrompts) {
            QCOMPARE(prompt.caption, QStringLiteral("选择下载目录"));
            QCOMPARE(prompt.startFolder, downloadFolder);
            QVERIFY(prompt.options.testFlag(QFileDialog::ShowDirsOnly));
        }

        // Each saved download lies whole in its folder.
        QMap<QString, int> wholeCopies;
        for (const QString &box : boxes)
            if (box.startsWith(QLatin1String("saved:")))
                ++wholeCopies[box.section(':', 1)];
        for (const QString &answer : answers)
            if (!answer.isEmpty())
                QCOMPARE(wholeCopiesIn(folderOf(answer)), wholeCopies.value(answer));
        // Nothing is ever saved where the prompt merely started.
        QVERIFY(QDir(downloadFolder).isEmpty());
    }

    void cleanupTestCase()
    {
        wholeMixer.reset();
        brokenMixer.reset();
        if (!smallFolder.isEmpty() && umount2(qPrintable(smallFolder), MNT_DETACH) == 0)
            QDir().rmdir(smallFolder);
    }

private:
    static QWebEngineDownloadRequest *downloadAt(const QSignalSpy &requested, int i)
    {
        return requested.at(i).at(0).value<QWebEngineDownloadRequest *>();
    }

    static int wholeCopiesIn(const QString &folder)
    {
        static const QByteArray whole = expectedDownloadBytes(downloadSize);
        int copies = 0;
        for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
            copies += fileBytes(file.filePath()) == whole ? 1 : 0;
        return copies;
    }

    QString downloadFolder;
    std::unique_ptr<MixerSim> wholeMixer;
    std::unique_ptr<MixerSim> brokenMixer;
};

int main(int argc, char *argv[])
{
    smallFolder = mountSmallFolder();
    return runLauncherTests<TestDownload>(argc, argv);
}

#include "tst_download.moc"
