// A console page is whatever answers on the address the user connects to:
// what such a page can make the launcher do on the user's computer. Each
// hostile page is served by a simulated mixer of its own.
#include <unistd.h>

#include "support/consoleundertest.h"
#include "support/dialoganswerer.h"
#include "support/filebytes.h"
#include "support/mixersim.h"

namespace {

// The peak resident memory of this process, in bytes.
qint64 peakMemory()
{
    const QByteArray status = fileBytes("/proc/self/status");
    const qsizetype at = status.indexOf("VmHWM:");
    return at < 0 ? -1
                  : status.mid(at + 6, status.indexOf('\n', at) - at - 6)
                            .trimmed()
                            .split(' ')
                            .first()
                            .toLongLong() *
                        1024;
}

// The text a tool tip shows, as a reader sees it.
QString shownToolTip()
{
    QTextDocument document;
    document.setHtml(QToolTip::text());
    return document.toPlainText();
}

}  // namespace

class TestStrangerPage : public QObject
{
    Q_OBJECT
    QTemporaryDir scratch;
    ServedMixers mixers;

public:
    // What the launcher hands to the desktop, which would start the
    // program registered for the link's scheme.
    QStringList handedToDesktop;
    Q_INVOKABLE void openWithDesktop(const QUrl &url) { handedToDesktop << url.toString(); }

private slots:
    void init() { handedToDesktop.clear(); }

    // A link that some other program handles goes nowhere, even when the
    // user clicks it: no program is started.
    void linksStartNoProgram_data()
    {
        QTest::addColumn<QString>("href");
        QTest::addColumn<QString>("target");  // where the link opens: "" for the console
        QTest::newRow("mail") << "mailto:someone@example.invalid"
                              << "";
        QTest::newRow("ssh") << "ssh://someone@example.invalid/"
                             << "";
        QTest::newRow("smb, into a frame") << "smb://example.invalid/share"
                                           << "frame";
    }
    void linksStartNoProgram()
    {
        QFETCH(QString, href);
        QFETCH(QString, target);
        const QString scheme = QUrl(href).scheme();
        QDesktopServices::setUrlHandler(scheme, this, "openWithDesktop");
        const auto unregister = qScopeGuard([&] { QDesktopServices::unsetUrlHandler(scheme); });
        // The whole page is the link; the title tells that the click arrived.
        const QString address = mixers.start(
            "<!doctype html><title>mixer</title><iframe name=frame></iframe><a href=\"" +
            href.toUtf8() + "\" target=\"" + target.toUtf8() +
            "\" style=\"position:fixed;inset:0\" onclick=\"setTimeout(() => document.title = "
            "'clicked', 500)\">console</a>");
        QVERIFY(!address.isEmpty());
        ConsoleUnderTest console;
        QVERIFY(console.showConsole(address));
        QTRY_COMPARE_WITH_TIMEOUT(console.view->title(), "mixer", 10000);
        QWindow *window = console.widget.windowHandle();
        const QPoint middle = console.view->mapTo(&console.widget, console.view->rect().center());
        // The engine takes input once it has shown the page; until then a
        // click is lost, and the user clicks again.
        QVERIFY(QTest::qWaitFor(
            [&] {
                QTest::mouseClick(window, Qt::LeftButton, {}, middle);
                return QTest::qWaitFor([&] { return console.view->title() == "clicked"; }, 1000);
            },
            15000));
        // The hand-over would have come on the same turn as the click.
        QTest::qWait(500);
        QCOMPARE(handedToDesktop, QStringList());
        QCOMPARE(console.view->url().host(), address);
    }

    // An element's title that reads like markup naming a local file is
    // shown as the text it is: the file is not read (its size would show in
    // the process's memory), and the text is cut short.
    void toolTipIsPlainText()
    {
        const QString big = scratch.filePath("big.png");
        QFile sparse(big);
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(qint64(1) << 30));
        sparse.close();
        const QString title = "<img src='" + big + "'>" + QString(5000, 'x');
        const QString address =
            mixers.start("<!doctype html><title>mixer</title><div title=\"" + title.toUtf8() +
                         "\" style=\"position:fixed;inset:0\">faders</div>");
        QVERIFY(!address.isEmpty());
        ConsoleUnderTest console;
        QVERIFY(console.showConsole(address));
        QTRY_COMPARE_WITH_TIMEOUT(console.view->title(), "mixer", 10000);
        const qint64 before = peakMemory();
        QWindow *window = console.widget.windowHandle();
        const QPoint middle = console.view->mapTo(&console.widget, console.view->rect().center());
        // The engine names the title once the pointer rests over the element.
        QTest::mouseMove(window, middle - QPoint(5, 5));
        QTest::mouseMove(window, middle);
        QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), 10000);
        // As the tip is drawn on screen.
        QWidget *tip = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->objectName() == "qtooltip_label")
                tip = window;
        QVERIFY(tip && tip->objectName() == "qtooltip_label");
        tip->grab();
        QVERIFY2(peakMemory() - before < 256 * 1024 * 1024,
                 qPrintable(QString::number((peakMemory() - before) >> 20) + " MiB more"));
        const QString shown = shownToolTip();
        QVERIFY2(shown.startsWith(title.left(100)), qPrintable(shown.left(100)));
        QVERIFY2(shown.size() <= 501, qPrintable(QString::number(shown.size())));
    }

    // The console's window stays on the mixer: a page that sends it to
    // another host stays where it is, and that host is never asked; a page
    // of the same mixer is fine.
    void consoleStaysOnTheMixer_data()
    {
        QTest::addColumn<bool>("sameMixer");
        QTest::newRow("another host") << false;
        QTest::newRow("another page of the mixer") << true;
    }
    void consoleStaysOnTheMixer()
    {
        QFETCH(bool, sameMixer);
        const QString requestLog = scratch.filePath("other-requests.txt");
        const QString other =
            mixers.start("<!doctype html><title>sign in</title>", {"--request-log", requestLog});
        QVERIFY(!other.isEmpty());
        const QString target = sameMixer ? QStringLiteral("/webFile/userConfig/config.ini")
                                         : "http://" + other + "/dist/index.html";
        const QString address = mixers.start(
            "<!doctype html><title>mixer</title><script>setTimeout(() => { location.href = '" +
            target.toUtf8() +
            "'; setTimeout(() => document.title = 'stayed', 1000); }, 300);</script>");
        QVERIFY(!address.isEmpty());
        ConsoleUnderTest console;
        QVERIFY(console.showConsole(address));
        if (sameMixer) {
            QTRY_COMPARE_WITH_TIMEOUT(console.view->url(), QUrl("http://" + address + target),
                                      10000);
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(console.view->title(), "stayed", 10000);
        QCOMPARE(console.view->url(), QUrl("http://" + address + "/dist/index.html"));
        QCOMPARE(fileBytes(requestLog), QByteArray());
    }

    // A page that opens box after box: the second one, close behind the
    // first, offers to stop them; once the user has ticked that, the rest are
    // answered unseen (as cancelled) and the page goes on. A reload by the
    // user shows its boxes again. A way back made in a box is the box's own.
    void dialogFloodCanBeStopped_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("confirmed");    // of the 30 calls, those answered OK
        QTest::addColumn<QString>("gesture");  // in each box shown
        QTest::newRow("alert, Alt+Left") << "alert" << 0 << "Alt+Left";
        QTest::newRow("confirm, back button") << "confirm" << 2 << "back button";
        QTest::newRow("prompt, Alt+Left") << "prompt" << 2 << "Alt+Left";
    }
    void dialogFloodCanBeStopped()
    {
        QFETCH(QString, call);
        QFETCH(int, confirmed);
        QFETCH(QString, gesture);
        const QString address = mixers.start(
            "<!doctype html><title>mixer</title><script>onload = () => setTimeout(() => {"
            "let yes = 0; for (let i = 0; i < 30; ++i) if (" +
            call.toUtf8() +
            "('<img src=/dev/zero> box ' + i, 'typed')) ++yes;"
            "document.title = 'done ' + yes; }, 0);</script>");
        QVERIFY(!address.isEmpty());
        DialogAnswerer answerer;
        answerer.tickStop = true;
        ConsoleUnderTest console;
        answerer.beforeAnswer = [&](QWidget *box) {
            console.perform(gesture, box->windowHandle());
        };
        console.connectTo(address);
        const QString done = "done " + QString::number(confirmed);
        QTRY_COMPARE_WITH_TIMEOUT(console.view->title(), done, 20000);
        QCOMPARE(answerer.checkBoxes, QList<bool>({false, true}));
        // The page's text as it stands, not read as markup.
        QCOMPARE(answerer.messages.first(), "<img src=/dev/zero> box 0");
        QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_web", 10000);
        console.view->setFocus();
        QTest::keyClick(console.widget.windowHandle(), Qt::Key_F5);
        QTRY_COMPARE_WITH_TIMEOUT(answerer.checkBoxes.size(), 4, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(console.view->title(), done, 20000);
        QCOMPARE(answerer.checkBoxes.size(), 4);
        QVERIFY(console.view->isVisible());
    }
};

LAUNCHER_TEST_MAIN(TestStrangerPage)
#include "tst_strangerpage.moc"
