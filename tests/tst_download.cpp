#include <unistd.h>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <memory>

#include "console/selectdownloadfolder.h"
#include "console/widget.h"
#include "support/dialoganswerer.h"
#include "support/mixersim.h"
#include "support/testmain.h"

namespace {

const qint64 downloadSize = 2 * 1024 * 1024;
const QString downloadName = QStringLiteral("mixer-scene.bin");

// A loopback address of this run's own, so that test binaries running side
// by side never compete for the simulated mixer's ports.
QString runAddress(int salt)
{
    const int pid = int(getpid());
    return QStringLiteral("127.%1.%2.%3").arg(120 + salt).arg((pid >> 8) & 0xFF).arg(1 + pid % 254);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The console of a mixer, opened the way a user does: address, Connect, wait
// for the web page to slide in.
class ConsoleSession
{
public:
    explicit ConsoleSession(const QString &address)
    {
        widget.show();
        auto *field = widget.findChild<QLineEdit *>("lineEdit_ip");
        auto *connectButton = widget.findChild<QPushButton *>("btn_connect");
        view = widget.findChild<QWebEngineView *>();
        stack = widget.findChild<QStackedWidget *>("stackedWidget");
        if (!field || !connectButton || !view || !stack)
            return;
        QTest::keyClicks(field, address);
        QTest::mouseClick(connectButton, Qt::LeftButton);
    }

    bool consoleShown() const
    {
        return stack && stack->currentWidget() &&
               stack->currentWidget()->objectName() == QLatin1String("page_web");
    }

    void clickDownloadLink()
    {
        view->page()->runJavaScript(QStringLiteral("document.getElementById('download').click()"));
    }

    QWebEngineProfile *profile() const { return view->page()->profile(); }

    Widget widget;
    QWebEngineView *view = nullptr;
    QStackedWidget *stack = nullptr;
};

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
            QStringList{"--address", runAddress(1), "--download-size", size});
        brokenMixer = std::make_unique<MixerSim>(
            QStringList{"--address", runAddress(2), "--download-size", size, "--break-download"});
        QVERIFY(wholeMixer->start());
        QVERIFY(brokenMixer->start());
    }

    void downloads_data()
    {
        QTest::addColumn<bool>("broken");
        // One entry per click on the console's download link: the folder
        // chosen at the prompt, or an empty string for a cancelled prompt.
        QTest::addColumn<QStringList>("answers");
        // Click again while the earlier downloads still run.
        QTest::addColumn<bool>("overlapping");
        // A file of the download's name already in the first chosen folder.
        QTest::addColumn<QByteArray>("existing");
        // The boxes expected, in order: "saved:<folder>" or "failed".
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("saved") << false << QStringList{"chosen"} << false << QByteArray()
                               << QStringList{"saved:chosen"};
        QTest::newRow("prompt cancelled")
            << false << QStringList{""} << false << QByteArray() << QStringList{};
        QTest::newRow("broken off")
            << true << QStringList{"chosen"} << false << QByteArray() << QStringList{"failed"};
        QTest::newRow("two downloads")
            << false << QStringList{"first", "second"} << false << QByteArray()
            << QStringList{"saved:first", "saved:second"};
        QTest::newRow("two at once") << false << QStringList{"first", "second"} << true
                                     << QByteArray() << QStringList{"saved:first", "saved:second"};
        QTest::newRow("cancelled, then saved") << false << QStringList{"", "later"} << false
                                               << QByteArray() << QStringList{"saved:later"};
        QTest::newRow("same folder, file already there")
            << false << QStringList{"shared", "shared"} << false << QByteArray("keep me")
            << QStringList{"saved:shared", "saved:shared"};
    }
    void downloads()
    {
        QFETCH(bool, broken);
        QFETCH(QStringList, answers);
        QFETCH(bool, overlapping);
        QFETCH(QByteArray, existing);
        QFETCH(QStringList, boxes);
        QTemporaryDir target;
        QVERIFY(target.isValid());
        const auto folderOf = [&](const QString &name) { return target.filePath(name); };
        for (const QString &answer : answers)
            QVERIFY(answer.isEmpty() || QDir().mkpath(folderOf(answer)));
        const QString existingPath = QDir(folderOf(answers.first())).filePath(downloadName);
        if (!existing.isEmpty()) {
            QFile file(existingPath);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(existing) == existing.size());
        }

        ConsoleSession session(runAddress(broken ? 2 : 1));
        QVERIFY(session.view);
        QTRY_VERIFY_WITH_TIMEOUT(session.consoleShown(), 20000);
        QSignalSpy requested(session.profile(), &QWebEngineProfile::downloadRequested);
        DialogAnswerer answerer;

        for (int i = 0; i < answers.count(); ++i) {
            answerer.queueFolderAnswer(answers[i].isEmpty() ? QString() : folderOf(answers[i]));
            session.clickDownloadLink();
            QTRY_COMPARE_WITH_TIMEOUT(requested.count(), i + 1, 20000);
            QCOMPARE(answerer.folderPrompts.count(), i + 1);
            QCOMPARE(answerer.folderPrompts.last().answered, !answers[i].isEmpty());
            if (!overlapping)
                QTRY_VERIFY_WITH_TIMEOUT(downloadAt(requested, i)->isFinished(), 20000);
        }
        for (int i = 0; i < answers.count(); ++i)
            QTRY_VERIFY_WITH_TIMEOUT(downloadAt(requested, i)->isFinished(), 20000);

        // Every accepted download ends in exactly one box; a cancelled
        // prompt adds none, even once a later download has ended.
        QTRY_COMPARE_WITH_TIMEOUT(answerer.messageBoxes.count(), boxes.count(), 10000);
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
        // Downloads running side by side may end in either order.
        if (overlapping) {
            expectedTexts.sort();
            shownTexts.sort();
        }
        QCOMPARE(shownTexts, expectedTexts);

        for (const DialogAnswerer::FolderPrompt &prompt : answerer.folderPrompts) {
            QCOMPARE(prompt.caption, QStringLiteral("选择下载目录"));
            QCOMPARE(prompt.startFolder, downloadFolder);
            QVERIFY(prompt.options.testFlag(QFileDialog::ShowDirsOnly));
        }

        // Each saved download lies whole in its folder, and what was there
        // before is left alone.
        QMap<QString, int> wholeCopies;
        for (const QString &box : boxes)
            if (box.startsWith(QLatin1String("saved:")))
                ++wholeCopies[box.section(':', 1)];
        for (const QString &answer : answers)
            if (!answer.isEmpty())
                QCOMPARE(wholeCopiesIn(folderOf(answer)), wholeCopies.value(answer));
        if (!existing.isEmpty())
            QCOMPARE(fileBytes(existingPath), existing);
        // Nothing is ever saved where the prompt merely started.
        QVERIFY(QDir(downloadFolder).isEmpty());
    }

    void folderPromptFromQml_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("chosen") << "picked";
        QTest::newRow("cancelled") << "";
    }
    void folderPromptFromQml()
    {
        QFETCH(QString, answer);
        QTemporaryDir target;
        const QString folder = answer.isEmpty() ? QString() : target.filePath(answer);
        if (!folder.isEmpty())
            QVERIFY(QDir().mkpath(folder));

        registerSelectDownloadFolderType();
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData(R"(
import QtQml
import com.mycompany 1.0
QtObject {
    property SelectDownloadFolder chooser: SelectDownloadFolder {}
    function ask() { return chooser.getSelectDownloadFolder() }
}
)",
                          QUrl());
        QScopedPointer<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));

        DialogAnswerer answerer;
        answerer.queueFolderAnswer(folder);
        QVariant chosen;
        QVERIFY(QMetaObject::invokeMethod(object.get(), "ask", Q_RETURN_ARG(QVariant, chosen)));
        QCOMPARE(chosen.toString(), folder);
        QCOMPARE(answerer.folderPrompts.count(), 1);
        const DialogAnswerer::FolderPrompt &prompt = answerer.folderPrompts.first();
        QCOMPARE(prompt.caption, QStringLiteral(" 选择文件夹 "));
        QVERIFY(prompt.options.testFlag(QFileDialog::ShowDirsOnly));
        QVERIFY(prompt.options.testFlag(QFileDialog::DontResolveSymlinks));
    }

    void cleanupTestCase()
    {
        wholeMixer.reset();
        brokenMixer.reset();
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

LAUNCHER_TEST_MAIN(TestDownload)
#include "tst_download.moc"
