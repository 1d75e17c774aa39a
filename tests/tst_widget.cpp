// The connect flow of the main content widget, end to end against the
// simulated mixer on loopback addresses of the run's own.
#include <signal.h>

#include "app/language.h"
#include "chrome/loading.h"
#include "support/consoleundertest.h"
#include "support/filebytes.h"
#include "support/mixersim.h"
#include "support/runaddress.h"

namespace {

// A mixer (whose console asks it for something every 100 ms), nothing at
// all, a console page that never ends, a mixer that takes the console
// request and never answers, a second mixer like the first.
const QString mixer = runAddress(11), silent = runAddress(12), streaming = runAddress(13),
              hanging = runAddress(14), other = runAddress(15);
const QString failureText = "Loading failed, please check the network environment.";

// When a widget was last hidden, on `clock`.
struct HideTime : QObject
{
    QElapsedTimer clock;
    qint64 at = -1;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            at = clock.elapsed();
        return false;
    }
};

}  // namespace

class TestWidget : public QObject
{
    Q_OBJECT
    std::vector<std::unique_ptr<MixerSim>> sims;
    QTemporaryDir scratch;
    const QString requestLog = scratch.filePath("requests.txt");
    const QString otherLog = scratch.filePath("other.txt");
    static qsizetype polls(const QString &log) { return timesLogged(log, "/dist/poll"); }
    qsizetype polls() const { return polls(requestLog); }

private slots:
    void initTestCase()
    {
        for (const QStringList &extra :
             {QStringList{"--address", mixer, "--console-poll", "100", "--request-log", requestLog},
              {"--address", other, "--console-poll", "100", "--request-log", otherLog},
              {"--address", streaming, "--endless", "console"},
              {"--address", hanging, "--hang", "console"}}) {
            sims.push_back(std::make_unique<MixerSim>(extra + QStringList{"--answer", "none"}));
            QVERIFY(sims.back()->start());
        }
    }
    void cleanupTestCase() { sims.clear(); }

    void refusesWhatIsNotAnAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("status");
        const QString refusal = "Please enter a valid IP address!";
        QTest::newRow("empty field: nothing") << QString() << QString();
        QTest::newRow("Demo") << "Demo" << refusal;
        // A form a URL would still read as the mixer's address.
        const QStringList parts = mixer.split('.');
        QTest::newRow("three parts")
            << QStringLiteral("%1.%2.%3")
                   .arg(parts[0], parts[1],
                        QString::number(parts[2].toInt() * 256 + parts[3].toInt()))
            << refusal;
    }
    void refusesWhatIsNotAnAddress()
    {
        QFETCH(QString, text);
        const qsizetype fetches = timesLogged(requestLog, "config.ini");
        ConsoleUnderTest console;
        console.connectTo(text);
        console.connectTo(text);
        QTEST(console.status->text(), "status");
        QCOMPARE(console.page(), "page_search");
        QVERIFY(console.view->url().isEmpty());
        // Nothing new shows (the QML web host made on the way stays hidden).
        for (QWidget *window : QApplication::topLevelWidgets())
            QVERIFY(window == &console.widget || !window->isVisible());
        // No configuration fetch: one asked for after these has reached the
        // mixer alone.
        QNetworkAccessManager probe;
        QScopedPointer<QNetworkReply> reply(
            probe.get(QNetworkRequest(QUrl("http://" + mixer + "/webFile/userConfig/config.ini"))));
        QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 5000);
        QCOMPARE(timesLogged(requestLog, "config.ini"), fetches + 1);
    }

    // The loading page first; the console once it has loaded.
    void validAddressSlidesToConsole_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byKeys");
        QTest::newRow("typed key by key") << mixer << true;
        // Zero-led parts must reach the same mixer, not an octal reading of it.
        QStringList parts = mixer.split('.');
        for (QString &part : parts)
            part = part.rightJustified(3, '0');
        QTest::newRow("leading zeros") << parts.join('.') << false;
    }
    void validAddressSlidesToConsole()
    {
        QFETCH(QString, typed);
        QFETCH(bool, byKeys);
        ConsoleUnderTest console;
        QWebEnginePage *page = console.view->page();
        QElapsedTimer sinceLoad;
        QStringList pages;
        qint64 switchedAfter = -1;
        connect(console.view, &QWebEngineView::loadFinished, this, [&] { sinceLoad.start(); });
        connect(console.stack, &QStackedWidget::currentChanged, this, [&] {
            pages << console.page();
            switchedAfter = sinceLoad.isValid() ? sinceLoad.elapsed() : -1;
        });
        if (byKeys) {
            // No renderer for a user who has not shown that a Connect is
            // coming; the first key readies one, and nothing shows it.
            QTest::qWait(1500);
            QCOMPARE(page->renderProcessPid(), 0);
            QTest::keyClicks(console.address, typed);
            QTRY_VERIFY_WITH_TIMEOUT(page->renderProcessPid() != 0, 15000);
            QVERIFY(pages.isEmpty() && console.view->url().isEmpty());
            pressConnect(&console.widget);
        } else {
            console.connectTo(typed);
        }
        QCOMPARE(console.view->url(), QUrl("http://" + mixer + "/dist/index.html"));
        QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_web", 15000);
        QTRY_COMPARE(console.view->geometry(), console.stack->currentWidget()->rect());
        // The switch waits for the page timer, then slides. On a busy machine
        // the first slide may still run when the switch is asked for, and then
        // ends directly on the console page.
        const QStringList slides{"page_load", "page_web"};
        QVERIFY2(pages == slides || pages == slides.mid(1), qPrintable(pages.join(", ")));
        QVERIFY2(switchedAfter >= (pages.size() == 2 ? 900 : 450),
                 qPrintable(QString::number(switchedAfter)));
    }

    // The switch to the console (the slide's start hides the loading page)
    // comes 500 ms after a load is reported, never sooner; further reports
    // restart nothing: reports every 200 ms cannot hold it back.
    void switchComesOnTime()
    {
        ConsoleUnderTest console;
        console.connectTo(hanging);
        QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_load", 15000);
        QWidget *loadingPage = console.stack->currentWidget();
        HideTime hidden;
        loadingPage->installEventFilter(&hidden);
        // A switch held back by the reports would come only once they stop.
        constexpr int lastReport = 14;
        int reports = 0;
        QTimer repeat;
        connect(&repeat, &QTimer::timeout, this, [&] {
            if (++reports <= lastReport && hidden.at < 0)
                emit console.view->loadFinished(true);
        });
        for (int round = 0; round < 6; ++round) {
            console.stack->setCurrentWidget(loadingPage);
            hidden.at = -1;
            reports = 0;
            hidden.clock.start();
            emit console.view->loadFinished(true);
            repeat.start(200);
            QTRY_VERIFY_WITH_TIMEOUT(hidden.at >= 0, 15000);
            QVERIFY2(hidden.at >= 500 && reports < lastReport,
                     qPrintable(QStringLiteral("round %1: %2 ms").arg(round).arg(hidden.at)));
            QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_web", 5000);
        }
    }

    // The renderer ends (its own script crashed it, its memory ran out, the
    // system killed it): the loading page comes back with the failure,
    // whether the console was still loading or already shown. One that ends
    // on the search page (readied by the first key typed) leaves it alone.
    void rendererDies_data()
    {
        QTest::addColumn<QString>("address");  // none: a key typed, no Connect
        QTest::addColumn<QString>("pageWhenKilled");
        QTest::newRow("console loading") << streaming << "page_load";
        QTest::newRow("console shown") << mixer << "page_web";
        QTest::newRow("search page, readied") << QString() << "page_search";
    }
    void rendererDies()
    {
        QFETCH(QString, address);
        QFETCH(QString, pageWhenKilled);
        ConsoleUnderTest console;
        QWebEnginePage *page = console.view->page();
        QSignalSpy ended(page, &QWebEnginePage::renderProcessTerminated);
        if (address.isEmpty())
            QTest::keyClicks(console.address, "1");
        else
            console.connectTo(address);
        QTRY_COMPARE_WITH_TIMEOUT(console.page(), pageWhenKilled, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(page->renderProcessPid() > 0, 10000);
        QCOMPARE(::kill(pid_t(page->renderProcessPid()), SIGKILL), 0);
        if (address.isEmpty()) {
            // The launcher heard of it before the spy did.
            QVERIFY(ended.wait(8000));
            QVERIFY(console.address->isVisible() && console.loadingText->text() != failureText);
            return;
        }
        // Sooner than a console load is given up.
        QTRY_COMPARE_WITH_TIMEOUT(console.loadingText->text(), failureText, 8000);
        QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_load", 5000);
        QTRY_COMPARE(console.widget.findChild<loading *>()->geometry(),
                     console.stack->currentWidget()->rect());
    }

    // The gesture comes on `page` once the loading page's text starts with
    // `text`, or, with `onLoad`, as the load succeeds, before the switch.
    // Expected: the page then and the loads reported after the gesture.
    void gesturesOnThePages_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("onLoad");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QString>("pageAfter");
        QTest::addColumn<int>("loadsAfter");
        const auto row = [](const char *tag, const QString &address, bool onLoad, const char *page,
                            const QString &text, const char *gesture, const char *pageAfter,
                            int loadsAfter) {
            QTest::newRow(tag) << address << onLoad << page << text << gesture << pageAfter
                               << loadsAfter;
        };
        // A load still running is stopped, which reports it as failed.
        row("loading, Esc", hanging, false, "page_load", "", "Esc", "page_search", 1);
        row("loading, back button", hanging, false, "page_load", "", "back button", "page_search",
            1);
        row("loaded, Esc", mixer, true, "page_load", "", "Esc", "page_search", 0);
        row("failed, Esc", silent, false, "page_load", failureText, "Esc", "page_search", 0);
        row("console, Alt+Left", mixer, false, "page_web", "", "Alt+Left", "page_search", 0);
        // Esc belongs to the console page itself.
        row("console, Esc", mixer, false, "page_web", "", "Esc", "page_web", 0);
        row("console, F5", mixer, false, "page_web", "", "F5", "page_web", 1);
    }
    void gesturesOnThePages()
    {
        QFETCH(QString, address);
        QFETCH(bool, onLoad);
        QFETCH(QString, page);
        QFETCH(QString, text);
        QFETCH(QString, gesture);
        QFETCH(QString, pageAfter);
        QFETCH(int, loadsAfter);
        ConsoleUnderTest console;
        QVERIFY(console.hear({"10.0.0.9"}));  // found earlier
        qsizetype loadsBefore = 1;            // a gesture on load comes with the first report
        if (onLoad)
            connect(
                console.view, &QWebEngineView::loadFinished, this,
                [&] { console.perform(gesture); }, Qt::SingleShotConnection);
        console.connectTo(address);
        if (!onLoad) {
            QTRY_COMPARE_WITH_TIMEOUT(console.page(), page, 15000);
            QTRY_VERIFY_WITH_TIMEOUT(console.loadingText->text().startsWith(text), 15000);
            if (page == "page_web")
                console.view->setFocus();
            loadsBefore = console.loads.count();
            console.perform(gesture);
        }
        QTRY_COMPARE_WITH_TIMEOUT(console.page(), pageAfter, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(console.loads.count() - loadsBefore, loadsAfter, 5000);
        // Longer than the page timer and a slide: whatever would follow has.
        QTest::qWait(1200);
        QCOMPARE(console.page(), pageAfter);
        QCOMPARE(console.loads.count() - loadsBefore, loadsAfter);
        QCOMPARE(console.address->text(), address);
        QCOMPARE(console.table()->rowCount(), 1);
    }

    // F5 with the mixer gone: the loading page with its failure takes the
    // console's place, at once when nothing answers, after the bound of a
    // Connect when a mixer takes the request and never answers; the ways
    // back work from there. (A reload that succeeds: "console, F5" above.)
    void reloadWithoutMixer_data()
    {
        QTest::addColumn<int>("host");
        QTest::addColumn<QStringList>("then");  // the mixer in its place; none: nothing
        QTest::addColumn<QString>("gesture");
        QTest::newRow("nothing answers, Esc") << 21 << QStringList() << "Esc";
        QTest::newRow("never answers, Alt+Left")
            << 22 << QStringList{"--hang", "console"} << "Alt+Left";
    }
    void reloadWithoutMixer()
    {
        QFETCH(int, host);
        QFETCH(QStringList, then);
        QFETCH(QString, gesture);
        auto sim = std::make_unique<MixerSim>(quietMixer(runAddress(host)));
        QVERIFY(sim->start());
        ConsoleUnderTest console;
        QVERIFY(console.showConsole(runAddress(host)));
        sim.reset();
        if (!then.isEmpty()) {
            sim = std::make_unique<MixerSim>(quietMixer(runAddress(host), then));
            QVERIFY(sim->start());
        }
        console.view->setFocus();
        QElapsedTimer sinceReload;
        sinceReload.start();
        console.perform("F5");
        // A reload has the 15 s of a Connect; nothing there fails it at once.
        QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_load", 15000 + 5000);
        QCOMPARE(console.loadingText->text(), failureText);
        QVERIFY2(then.isEmpty() ? sinceReload.elapsed() < 7500 : sinceReload.elapsed() > 13500,
                 qPrintable(QString::number(sinceReload.elapsed())));
        console.perform(gesture);
        QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_search", 5000);
    }

    // Going back ends the console: once the slide has hidden it, it asks its
    // mixer for nothing more, and the next Connect shows it again, running.
    // So does going back the moment it has loaded, before it was ever shown
    // (its load ran as if it were on screen).
    void leftConsoleStopsTalking_data()
    {
        QTest::addColumn<bool>("beforeShown");
        QTest::newRow("console shown, Alt+Left") << false;
        QTest::newRow("console loaded, not yet shown, Esc") << true;
    }
    void leftConsoleStopsTalking()
    {
        QFETCH(bool, beforeShown);
        ConsoleUnderTest console;
        if (beforeShown)
            connect(
                console.view, &QWebEngineView::loadFinished, this, [&] { console.perform("Esc"); },
                Qt::SingleShotConnection);
        console.connectTo(mixer);
        if (!beforeShown) {
            QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_web", 15000);
            QTRY_VERIFY_WITH_TIMEOUT(polls() >= 3, 5000);
            console.perform("Alt+Left");
        }
        QTRY_VERIFY_WITH_TIMEOUT(console.page() == "page_search" && !console.view->isVisible(),
                                 15000);
        const qsizetype left = polls();
        // As long as a page running unseen takes for four calls (the engine
        // may throttle one to a call a second): a page of the test's own on
        // the other mixer. One call of the left console may have been on its way.
        const qsizetype othersBefore = polls(otherLog);
        {
            QWebEnginePage unseen;
            unseen.load(QUrl("http://" + other + "/dist/index.html"));
            QTRY_VERIFY_WITH_TIMEOUT(polls(otherLog) >= othersBefore + 4, 20000);
        }
        QVERIFY2(polls() <= left + 1, qPrintable(QString::number(polls() - left)));

        QVERIFY(console.showConsole(mixer));
        QTRY_VERIFY_WITH_TIMEOUT(polls() >= left + 3, 5000);
    }

    // Up and Down in the address field pick the mixers found in turn, as a
    // click on a row does: the row selected, its address in the field.
    void keysStepThroughTheList_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("row");  // -1: none
        QTest::newRow("Down: the first") << QStringList{"Down"} << 0;
        QTest::newRow("Down, Down: the second") << QStringList{"Down", "Down"} << 1;
        QTest::newRow("past the last: stays") << QStringList{"Down", "Down", "Down", "Down"} << 2;
        QTest::newRow("Up: the last") << QStringList{"Up"} << 2;
        QTest::newRow("Up past the first: stays") << QStringList{"Down", "Up", "Up"} << 0;
        QTest::newRow("on from a click") << QStringList{"click 2", "Up"} << 1;
        QTest::newRow("two clicks: the last row") << QStringList{"click 0", "click 2"} << 2;
        QTest::newRow("typed by hand: no rows") << QStringList{"type", "Down"} << -1;
    }
    void keysStepThroughTheList()
    {
        QFETCH(QStringList, keys);
        QFETCH(int, row);
        ConsoleUnderTest console;
        const QStringList found{"10.0.0.1", "10.0.0.2", "10.0.0.3"};
        QVERIFY(console.hear(found));
        QAbstractItemModel *table = console.table();
        auto *view = console.widget.findChild<QTableView *>();
        QTRY_COMPARE(QApplication::focusWidget(), console.address);
        for (const QString &key : keys) {
            if (key.startsWith("click")) {
                const QModelIndex cell = table->index(key.back().digitValue(), 0);
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                                  view->visualRect(cell).center());
            } else if (key == "type") {
                QTest::keyClick(console.widget.windowHandle(), Qt::Key_1);
            } else {
                QTest::keyClick(console.widget.windowHandle(),
                                key == "Up" ? Qt::Key_Up : Qt::Key_Down);
            }
        }
        const QModelIndexList selected = view->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), row < 0 ? 0 : 1);
        QCOMPARE(console.address->text(), row < 0 ? "1" : found.at(row));
        QVERIFY(row < 0 || selected.first().row() == row);
        QCOMPARE(view->focusPolicy(), Qt::NoFocus);
        QVERIFY(!view->verticalHeader()->isVisible());
    }

    // After the way back the address field has the focus and Return in it
    // connects: afresh, with a new configuration fetch and a fresh loading page.
    void returnAfterGoingBackStartsAfresh()
    {
        ConsoleUnderTest console;
        console.address->setFocus();
        QVERIFY(console.hear({"10.0.0.9"}));  // found earlier
        QAbstractItemModel *table = console.table();
        QTest::keyClicks(console.address, silent);
        // Typing empties the device table of its rows; its labels stay.
        QCOMPARE(table->rowCount(), 0);
        QStringList labels;
        for (int column = 0; column < table->columnCount(); ++column)
            labels << table->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(labels, QStringList({"Name", "IP", "Modle", "Status", "Remark"}));
        QTest::keyClick(console.address, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(console.loadingText->text(), failureText, 15000);
        console.perform("Esc");
        QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_search", 5000);
        QCOMPARE(QApplication::focusWidget(), console.address);

        QFile::remove(settingsFilePath());
        console.address->selectAll();
        QTest::keyClicks(console.address, hanging);
        QTest::keyClick(console.widget.windowHandle(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(console.page(), "page_load", 5000);
        QTRY_VERIFY_WITH_TIMEOUT(console.loadingText->text().startsWith("Loading."), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(storedSetting("Language/Language_enum"), QVariant("1\r"), 15000);
    }
};

LAUNCHER_TEST_MAIN(TestWidget)
#include "tst_widget.moc"
