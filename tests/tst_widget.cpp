// The connect flow of the main content widget, end to end against the
// simulated mixer on loopback addresses.
#include <signal.h>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QWebEngineView>
#include <algorithm>

#include "app/language.h"
#include "console/web.h"
#include "console/widget.h"
#include "support/mixersim.h"
#include "support/testmain.h"

namespace {

const char *const kMixerAddress = "127.0.0.11";
const char *const kPaddedMixerAddress = "127.000.000.011";
const char *const kSilentAddress = "127.0.0.12";     // nothing listens there
const char *const kStreamingAddress = "127.0.0.13";  // a console page that never ends
const char *const kHangingAddress = "127.0.0.14";    // takes the console request, never answers
const char *const kFailureText = "Loading failed, please check the network environment.";

QStringList messagesSeen;
QElapsedTimer messageClock;
QList<qint64> pageSwitchTimes;

void recordMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    messagesSeen << message;
    if (message.contains(QStringLiteral("切换页面")))
        pageSwitchTimes << messageClock.elapsed();
}

struct ConsoleUnderTest
{
    Widget widget;
    QLineEdit *address = widget.findChild<QLineEdit *>("lineEdit_ip");
    QPushButton *connectButton = widget.findChild<QPushButton *>("btn_connect");
    QLabel *status = widget.findChild<QLabel *>("label_status_disp");
    QStackedWidget *stack = widget.findChild<QStackedWidget *>("stackedWidget");
    QWebEngineView *view = widget.findChild<QWebEngineView *>();

    QString currentPage() const { return stack->currentWidget()->objectName(); }
    QString connectedText;
    void connectTo(const QString &text)
    {
        connectedText = text;
        address->setText(text);
        QTest::mouseClick(connectButton, Qt::LeftButton);
    }
    // A key sequence such as "Esc" or "Alt+Left", or the mouse's "back button"
    // over the page area, sent to the window as the system would.
    void gesture(const QString &name)
    {
        QWindow *window = widget.windowHandle();
        if (name == QLatin1String("back button")) {
            const QPoint middle = stack->mapTo(&widget, stack->rect().center());
            QTest::mouseClick(window, Qt::BackButton, {}, middle);
            return;
        }
        const QKeyCombination key = QKeySequence(name)[0];
        QTest::keyClick(window, key.key(), key.keyboardModifiers());
    }
    QString loadingText() const { return stack->findChild<QLabel *>("tooltip_text")->text(); }
    bool loadingPageShows(const QString &text) const
    {
        const auto labels = stack->findChild<QWidget *>("page_load")->findChildren<QLabel *>();
        return std::any_of(labels.begin(), labels.end(),
                           [&](const QLabel *label) { return label->text() == text; });
    }
};

int countTopLevel(const char *className)
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->inherits(className) ? 1 : 0;
    return count;
}

}  // namespace

class TestWidget : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        sim.reset(new MixerSim(
            {"--address", kMixerAddress, "--answer", "none", "--name", "Loopback Mixer"}));
        QVERIFY(sim->start());
        streamingSim.reset(new MixerSim(
            {"--address", kStreamingAddress, "--answer", "none", "--endless", "console"}));
        QVERIFY(streamingSim->start());
        hangingSim.reset(
            new MixerSim({"--address", kHangingAddress, "--answer", "none", "--hang", "console"}));
        QVERIFY(hangingSim->start());
    }
    void cleanupTestCase() { sim.reset(), streamingSim.reset(), hangingSim.reset(); }

    void rejectsWhatIsNotAnAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("Demo") << "Demo";
        QTest::newRow("DEMO") << "DEMO";
        QTest::newRow("blank demo") << " demo";
        QTest::newRow("part above 255") << "256.1.1.1";
        QTest::newRow("three parts") << "1.2.3";
        QTest::newRow("five parts") << "1.2.3.4.5";
        QTest::newRow("leading blank") << " 127.0.0.11";
        QTest::newRow("trailing blank") << "127.0.0.11 ";
        QTest::newRow("trailing line feed") << "127.0.0.11\n";
        QTest::newRow("ten thousand characters") << QString(10000, QLatin1Char('7'));
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("١٢٧.٠.٠.١١");
    }
    void rejectsWhatIsNotAnAddress()
    {
        QFETCH(QString, text);
        ConsoleUnderTest console;
        console.connectTo(text);
        QCOMPARE(console.status->text(), QStringLiteral("Please enter a valid IP address!"));
        QCOMPARE(console.currentPage(), QStringLiteral("page_search"));
        QVERIFY(console.view->url().isEmpty());
    }

    void emptyFieldDoesNothing()
    {
        const int hostsBefore = countTopLevel("web");
        ConsoleUnderTest console;
        console.connectTo(QString());
        QCOMPARE(console.status->text(), QString());
        QCOMPARE(console.currentPage(), QStringLiteral("page_search"));
        QVERIFY(console.view->url().isEmpty());
        QCOMPARE(countTopLevel("web"), hostsBefore);
    }

    void validAddressSlidesToConsole_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byKeys");
        QTest::newRow("plain") << kMixerAddress << false;
        // Zero-led parts must reach the same mixer, not an octal reading of it.
        QTest::newRow("leading zeros") << kPaddedMixerAddress << false;
        QTest::newRow("typed key by key") << kMixerAddress << true;
    }
    void validAddressSlidesToConsole()
    {
        QFETCH(QString, typed);
        QFETCH(bool, byKeys);
        ConsoleUnderTest console;
        console.widget.show();
        QWebEnginePage *page = console.view->page();
        qint64 loadedAt = -1;
        bool loadedOk = false;
        QStringList pagesShown;
        connect(console.stack, &QStackedWidget::currentChanged, this,
                [&] { pagesShown << console.currentPage(); });
        connect(console.view, &QWebEngineView::loadFinished, this, [&](bool ok) {
            loadedAt = messageClock.elapsed();
            loadedOk = ok;
            pagesShown << QStringLiteral("(loaded)");
        });
        messageClock.start();
        pageSwitchTimes.clear();
        QtMessageHandler previous = qInstallMessageHandler(recordMessage);

        if (byKeys) {
            // No renderer for a user who has not shown that a Connect is
            // coming; the first key readies one, and nothing shows it.
            QTest::qWait(1500);
            QCOMPARE(page->renderProcessPid(), 0);
            QTest::keyClicks(console.address, typed);
            QTRY_VERIFY_WITH_TIMEOUT(page->renderProcessPid() != 0, 15000);
            QCOMPARE(pagesShown, QStringList());
            QVERIFY(console.view->url().isEmpty());
            QTest::mouseClick(console.connectButton, Qt::LeftButton);
        } else {
            console.connectTo(typed);
        }
        QCOMPARE(console.view->url(), QUrl(QStringLiteral("http://127.0.0.11/dist/index.html")));
        QTRY_COMPARE_WITH_TIMEOUT(console.currentPage(), QStringLiteral("page_web"), 15000);
        qInstallMessageHandler(previous);
        QVERIFY(loadedOk);

        // Loading page first; the console only after it has loaded. On a busy
        // machine the first slide may still run when the switch is asked
        // for, and then ends directly on the console page.
        QVERIFY(pagesShown.indexOf("(loaded)") < pagesShown.indexOf("page_web"));
        pagesShown.removeAll(QStringLiteral("(loaded)"));
        if (pagesShown.size() == 2)
            QCOMPARE(pagesShown.first(), QStringLiteral("page_load"));
        QCOMPARE(pagesShown.last(), QStringLiteral("page_web"));
        QVERIFY(pagesShown.size() <= 2);

        // The switch waits for the page timer, then slides: never sooner.
        QCOMPARE(pageSwitchTimes.size(), 1);
        QVERIFY2(pageSwitchTimes.first() - loadedAt >= 450,
                 qPrintable(QString::number(pageSwitchTimes.first() - loadedAt)));
        QVERIFY(console.view->isVisible());

        // The page shown is the one our mixer served.
        QString pageText;
        console.view->page()->toPlainText([&](const QString &text) { pageText = text; });
        QTRY_VERIFY_WITH_TIMEOUT(pageText.contains(QStringLiteral("Loopback Mixer")), 5000);
    }

    void secondLoadDoesNotProlongTheDelay()
    {
        ConsoleUnderTest console;
        console.widget.show();
        console.connectTo(kMixerAddress);
        QSignalSpy loads(console.view, &QWebEngineView::loadFinished);
        QTRY_COMPARE_WITH_TIMEOUT(loads.count(), 1, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(console.currentPage(), QStringLiteral("page_web"), 10000);

        QtMessageHandler previous = qInstallMessageHandler(recordMessage);
        // The switch comes 500 ms after the load, never sooner (a coarse
        // timer is off by up to 25 ms either way).
        for (int round = 0; round < 8; ++round) {
            pageSwitchTimes.clear();
            messageClock.start();
            emit console.view->loadFinished(true);
            QTRY_COMPARE_WITH_TIMEOUT(pageSwitchTimes.size(), 1, 5000);
            QVERIFY2(
                pageSwitchTimes.first() >= 500,
                qPrintable(
                    QStringLiteral("round %1: %2 ms").arg(round).arg(pageSwitchTimes.first())));
        }

        // From a fresh start of the timer, a second report 430 ms after the
        // first must not push the switch back by another 500 ms.
        pageSwitchTimes.clear();
        messageClock.start();
        emit console.view->loadFinished(true);
        QTimer::singleShot(430, Qt::PreciseTimer, console.view,
                           [&] { emit console.view->loadFinished(true); });
        QTRY_COMPARE_WITH_TIMEOUT(pageSwitchTimes.size(), 1, 5000);
        QTest::qWait(700);
        qInstallMessageHandler(previous);
        QCOMPARE(pageSwitchTimes.size(), 1);
        QVERIFY2(pageSwitchTimes.first() < 900,
                 qPrintable(QString::number(pageSwitchTimes.first())));
        QCOMPARE(console.currentPage(), QStringLiteral("page_web"));
    }

    void nothingBehindTheAddressShowsTheFailure()
    {
        ConsoleUnderTest console;
        console.widget.show();
        QSignalSpy loads(console.view, &QWebEngineView::loadFinished);
        console.connectTo(kSilentAddress);
        QTRY_COMPARE_WITH_TIMEOUT(loads.count(), 1, 15000);
        QCOMPARE(loads.first().first().toBool(), false);
        QTRY_VERIFY_WITH_TIMEOUT(console.loadingPageShows(kFailureText), 5000);
        QTest::qWait(1200);
        QCOMPARE(console.currentPage(), QStringLiteral("page_load"));
    }

    // The renderer ends (its own script crashed it, its memory ran out, the
    // system killed it): the loading page comes back with the failure,
    // whether the console was still loading or already shown.
    void rendererDies_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("pageWhenKilled");
        QTest::newRow("console loading") << kStreamingAddress << "page_load";
        QTest::newRow("console shown") << kMixerAddress << "page_web";
    }
    void rendererDies()
    {
        QFETCH(QString, address);
        QFETCH(QString, pageWhenKilled);
        ConsoleUnderTest console;
        console.widget.show();
        console.connectTo(address);
        QTRY_COMPARE_WITH_TIMEOUT(console.currentPage(), pageWhenKilled, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(console.view->page()->renderProcessPid() > 0, 10000);
        QCOMPARE(::kill(pid_t(console.view->page()->renderProcessPid()), SIGKILL), 0);
        // Sooner than a console load is given up.
        QTRY_VERIFY_WITH_TIMEOUT(console.loadingPageShows(kFailureText), 8000);
        QTRY_COMPARE_WITH_TIMEOUT(console.currentPage(), QStringLiteral("page_load"), 5000);
    }

    // States: "loading" (a load that never ends), "loaded" (the gesture comes
    // as the load succeeds, before the switch), "failed", "console".
    void gesturesOnThePages_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QString>("outcome");  // "back", "stay" or "reload"
        const auto row = [](const char *state, const char *gesture, const char *outcome) {
            QTest::addRow("%s, %s", state, gesture)
                << QString(state) << QString(gesture) << QString(outcome);
        };
        row("loading", "Esc", "back");
        row("loading", "Alt+Left", "back");
        row("loading", "back button", "back");
        row("loaded", "Esc", "back");
        row("failed", "Esc", "back");
        row("console", "Alt+Left", "back");
        row("console", "back button", "back");
        row("console", "Esc", "stay");  // the console page's own key
        row("console", "F5", "reload");
    }
    void gesturesOnThePages()
    {
        QFETCH(QString, state);
        QFETCH(QString, gesture);
        QFETCH(QString, outcome);
        ConsoleUnderTest console;
        auto *table = qobject_cast<QStandardItemModel *>(
            console.widget.findChild<QTableView *>("tableView")->model());
        console.widget.show();
        QVERIFY(QTest::qWaitForWindowActive(&console.widget));
        table->appendRow(new QStandardItem(QStringLiteral("found earlier")));
        QSignalSpy loads(console.view, &QWebEngineView::loadFinished);
        if (state == "loaded")
            connect(console.view, &QWebEngineView::loadFinished, &console.widget,
                    [&] { console.gesture(gesture); });
        console.connectTo(state == "loading"  ? kHangingAddress
                          : state == "failed" ? kSilentAddress
                                              : kMixerAddress);
        const QString page = state == "console" ? "page_web" : "page_load";
        if (state != "loaded")
            QTRY_COMPARE_WITH_TIMEOUT(console.currentPage(), page, 15000);
        if (state == "failed")
            QTRY_VERIFY_WITH_TIMEOUT(console.loadingPageShows(kFailureText), 15000);
        if (state == "console")
            console.view->setFocus();
        const int loadsBefore = loads.count();
        if (state != "loaded")
            console.gesture(gesture);

        if (outcome == "back") {
            QTRY_COMPARE_WITH_TIMEOUT(console.currentPage(), QStringLiteral("page_search"), 5000);
            // A load still running was stopped; a page that loads again by
            // itself later does not take the user away from the search page.
            QTRY_VERIFY_WITH_TIMEOUT(loads.count() > 0, 5000);
            if (state == "console") {
                console.view->page()->runJavaScript(QStringLiteral("location.reload()"));
                QVERIFY(loads.wait(10000));
            }
            QTest::qWait(1200);
            QCOMPARE(console.currentPage(), QStringLiteral("page_search"));
            QCOMPARE(console.address->text(), console.connectedText);
            QCOMPARE(table->rowCount(), 1);
        } else {
            if (outcome == "reload")
                QTRY_COMPARE_WITH_TIMEOUT(loads.count(), loadsBefore + 1, 15000);
            QTest::qWait(1200);
            QCOMPARE(loads.count(), loadsBefore + (outcome == "reload" ? 1 : 0));
            QCOMPARE(console.currentPage(), page);
        }
    }

    // After the way back the address field has the focus and Return in it
    // connects: afresh, with a new configuration fetch and a fresh loading page.
    void returnAfterGoingBackStartsAfresh()
    {
        ConsoleUnderTest console;
        console.widget.show();
        QVERIFY(QTest::qWaitForWindowActive(&console.widget));
        console.address->setFocus();
        QTest::keyClicks(console.address, kSilentAddress);
        QTest::mouseClick(console.connectButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(console.loadingPageShows(kFailureText), 15000);
        console.gesture("Esc");
        QTRY_COMPARE_WITH_TIMEOUT(console.currentPage(), QStringLiteral("page_search"), 5000);
        QCOMPARE(QApplication::focusWidget(), console.address);

        QFile::remove(settingsFilePath());
        console.address->selectAll();
        QTest::keyClicks(console.address, kHangingAddress);
        QTest::keyClick(console.widget.windowHandle(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(console.currentPage(), QStringLiteral("page_load"), 5000);
        const QString shown = console.loadingText();
        QVERIFY2(shown.startsWith(QStringLiteral("Loading")), qPrintable(shown));
        QTRY_VERIFY_WITH_TIMEOUT(console.loadingText() != shown, 5000);
        QVERIFY(console.loadingText().startsWith(QStringLiteral("Loading.")));
        const auto language = [] {
            return QSettings(settingsFilePath(), QSettings::IniFormat)
                .value(QStringLiteral("Language/Language_enum"))
                .toString()
                .trimmed();
        };
        QTRY_COMPARE_WITH_TIMEOUT(language(), QStringLiteral("1"), 15000);
    }

    void shutsDownCleanlyWithTheConsoleLoaded()
    {
        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({"--shutdown-child", kMixerAddress});
        child.start();
        QVERIFY(child.waitForFinished(60000));
        const QString errors = QString::fromUtf8(child.readAllStandardError());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() == 0, qPrintable(errors));
        QVERIFY2(errors.contains(QStringLiteral("console loaded")), qPrintable(errors));
        QVERIFY2(!errors.contains(QStringLiteral("Release of profile requested")),
                 qPrintable(errors));
    }

private:
    QScopedPointer<MixerSim> sim, streamingSim, hangingSim;
};

// Child mode: load the console, then leave the event loop and tear down the
// way the launcher does, so the parent can read the exit code and warnings.
static int runShutdownChild(int argc, char *argv[], const QString &address)
{
    prepareProcessForWebAndQuick();
    QApplication app(argc, argv);
    auto *widget = new Widget();
    widget->show();
    auto *view = widget->findChild<QWebEngineView *>();
    QObject::connect(view, &QWebEngineView::loadFinished, &app, [&](bool ok) {
        qWarning("console loaded: %d", ok);
        QTimer::singleShot(300, &app, [&app, ok] { app.exit(ok ? 0 : 3); });
    });
    widget->findChild<QLineEdit *>("lineEdit_ip")->setText(address);
    QTest::mouseClick(widget->findChild<QPushButton *>("btn_connect"), Qt::LeftButton);
    QTimer::singleShot(30000, &app, [&] { app.exit(4); });
    const int code = app.exec();
    delete widget;
    return code;
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--shutdown-child") == 0) {
        prepareTestEnvironment();
        int childArgc = 1;
        return runShutdownChild(childArgc, argv, QString::fromLatin1(argv[2]));
    }
    return runLauncherTests<TestWidget>(argc, argv);
}

#include "tst_widget.moc"
