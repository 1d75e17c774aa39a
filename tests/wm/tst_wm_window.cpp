// The frameless window on a real X server under a real window manager
// (run-under-wm.sh starts both): a small screen at 150 % whose top is taken
// by a panel, and maximise and restore done by the window manager itself.
#define QTEST_QPA_MOUSE_HANDLING

#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <optional>

#include "chrome/basewindow.h"
#include "chrome/windowplacement.h"
#include "support/testmain.h"
#include "support/windowlook.h"

namespace {

const WindowPlacement::TitleBar titleBar{5, 32};

QRect titleBarOf(const QWidget &window)
{
    return titleBar.in(window.geometry());
}

QRect available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Asks the window manager, as a panel or a key binding would, to add or
// remove the maximised state.
bool askWindowManager(const QWidget &window, const char *change)
{
    const QString id = QStringLiteral("0x%1").arg(window.winId(), 0, 16);
    const QString state = QLatin1String(change) + QLatin1String(",maximized_vert,maximized_horz");
    return QProcess::execute(QStringLiteral("wmctrl"), {"-i", "-r", id, "-b", state}) == 0;
}

// The window system's own reports of the window's state. Qt reads the state
// property when it handles a report, not as it was sent: the next change is
// only asked for once the last one has been heard back, or two reports could
// read the same state and the second change would go unseen.
class StateReports : public QObject
{
public:
    explicit StateReports(QWindow *window) : m_window(window) { window->installEventFilter(this); }
    void clear() { m_heard.reset(); }
    bool heard(Qt::WindowState state) const { return m_heard && *m_heard == state; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange && event->spontaneous())
            m_heard = m_window->windowStates() & Qt::WindowMaximized ? Qt::WindowMaximized
                                                                     : Qt::WindowNoState;
        return false;
    }

private:
    QWindow *m_window;
    std::optional<Qt::WindowState> m_heard;
};

}  // namespace

class TestWmWindow : public QObject
{
    Q_OBJECT
    BaseWindow *window = nullptr;

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

    void opensWithTheTitleBarInReach()
    {
        QTRY_VERIFY2(available().contains(titleBarOf(*window)),
                     qPrintable(QDebug::toString(window->geometry())));
    }

    void dragStopsAtThePanel()
    {
        const QPoint band(300, 20);
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, band);
        QTest::mouseMove(window->windowHandle(), band + QPoint(40, -400));
        QTRY_COMPARE(titleBarOf(*window).top(), available().top());
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {},
                            band + QPoint(40, -400) - window->pos());
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
        reports.clear();
        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(reports.heard(Qt::WindowNoState));
        QCOMPARE(windowLook(*window), expectedLook(false));

        reports.clear();
        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(reports.heard(Qt::WindowMaximized));
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
