// The frameless window on a real X server under a real window manager
// (tools/test-wm/run-under-wm.sh starts both): a small screen at 150 % whose
// top is taken by a panel, and maximise and restore done by the window
// manager itself.
#define QTEST_QPA_MOUSE_HANDLING

#include "chrome/basewindow.h"
#include "chrome/windowplacement.h"
#include "support/testmain.h"
#include "support/windowlook.h"

namespace {

QRect available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Asks the window manager, as a panel or a key binding would, to add or
// remove the maximised state.
bool askWindowManager(const QWidget &window, const QString &change)
{
    const QString id = QStringLiteral("0x%1").arg(window.winId(), 0, 16);
    return QProcess::execute(
               "wmctrl", {"-i", "-r", id, "-b", change + ",maximized_vert,maximized_horz"}) == 0;
}

// The state the window system last reported for a window (-1: none since
// reset). Qt reads the state property when it handles a report, not as it
// was sent: the next change is only asked for once the last one has been
// heard back, or two reports could read the same state and the second
// change would go unseen.
struct StateReports : QObject
{
    QWindow *window;
    int heard = -1;
    explicit StateReports(QWindow *window) : window(window) { window->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange && event->spontaneous())
            heard = window->windowStates() & Qt::WindowMaximized;
        return false;
    }
};

}  // namespace

class TestWmWindow : public QObject
{
    Q_OBJECT
    BaseWindow *window = nullptr;
    QRect titleBar() const { return WindowPlacement::TitleBar{5, 32}.in(window->geometry()); }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        // The panel along the top leaves the centred title bar under it.
        QVERIFY2(available().top() > 0, "no panel at the top of the screen");
    }
    void init()
    {
        window = new BaseWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() { delete window; }

    // It opens with its title bar in reach. The real pointer (XTest) drags
    // the band and the bottom-right corner: the window manager moves and
    // resizes the window, from where the drag was handed over.
    void dragsThroughWindowManager()
    {
        QTRY_VERIFY2(available().contains(titleBar()),
                     qPrintable(QDebug::toString(window->geometry())));
        window->setGeometry(100, 100, 400, 250);
        QTRY_COMPARE(window->geometry(), QRect(100, 100, 400, 250));
        const auto drag = [&](QPoint at, QPoint by) {
            // Device pixels of the 150 % screen; the first step passes the
            // drag distance, the second is the drag that is measured.
            at = at * 3 / 2;
            for (const QStringList &step :
                 {QStringList{"mousemove", "--sync", QString::number(at.x()),
                              QString::number(at.y()), "mousedown", "1"},
                  {"mousemove", QString::number(at.x() + 15), QString::number(at.y())},
                  {"mousemove", QString::number(at.x() + 15 + by.x() * 3 / 2),
                   QString::number(at.y() + by.y() * 3 / 2)},
                  {"mouseup", "1"}}) {
                QProcess xdotool;
                xdotool.start("xdotool", step);
                QTRY_VERIFY(xdotool.state() == QProcess::NotRunning);
                QTest::qWait(300);
            }
        };
        drag(window->geometry().topLeft() + QPoint(200, 20), {100, 60});
        QTRY_COMPARE(window->geometry().topLeft(), QPoint(200, 160));
        // The corner is taken at the press: the hand-over step resizes too.
        const QRect moved = window->geometry();
        drag(moved.bottomRight() - QPoint(6, 6), {60, 40});
        // (Device pixels round to a logical one either way at 150 %.)
        QTRY_VERIFY((window->geometry().bottomRight() - moved.bottomRight() - QPoint(70, 40))
                        .manhattanLength() <= 2);
        QCOMPARE(window->geometry().topLeft(), moved.topLeft());
    }

    // Whoever maximises or restores, the window ends as the title bar's button
    // leaves it, and one click on the button goes the other way.
    void windowManagerChangesState()
    {
        auto *toolResize = window->findChild<QPushButton *>("toolResize");
        StateReports reports(window->windowHandle());
        QVERIFY(askWindowManager(*window, "add"));
        QTRY_VERIFY(window->isMaximized());
        QTRY_COMPARE(windowLook(*window), expectedLook(true));
        reports.heard = -1;
        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_COMPARE(reports.heard, 0);
        QCOMPARE(windowLook(*window), expectedLook(false));

        reports.heard = -1;
        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_COMPARE(reports.heard, int(Qt::WindowMaximized));
        QTRY_COMPARE(window->geometry(), available());
        QVERIFY(askWindowManager(*window, "remove"));
        QTRY_VERIFY(!window->isMaximized());
        QTRY_COMPARE(windowLook(*window), expectedLook(false));
        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(window->isMaximized());
        QCOMPARE(windowLook(*window), expectedLook(true));
    }
};

LAUNCHER_TEST_MAIN(TestWmWindow)
#include "tst_wm_window.moc"
