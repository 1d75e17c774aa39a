// The frameless window on a real desktop, which a harness of tools/test-wm
// starts for the test: an X server under a window manager (run-under-wm.sh:
// a small screen at 150 % whose top is taken by a panel), or a Wayland
// compositor (run-under-wayland.sh), where only the compositor can place a
// window. A drag of the band or of a corner works there only as the
// desktop's own move or resize. Positions are the desktop's word; the
// pointer is the desktop's, driven from outside as a user's hand would.
#include "chrome/basewindow.h"
#include "chrome/windowplacement.h"
#include "support/testmain.h"

namespace {

bool onWayland()
{
    return QGuiApplication::platformName() == QLatin1String("wayland");
}

// The rectangle of this process's window in the compositor's tree; null
// while it has none.
QRect compositorRect()
{
    QProcess swaymsg;
    swaymsg.start("swaymsg", {"-t", "get_tree", "-r"});
    if (!swaymsg.waitForFinished(5000))
        return {};
    QList<QJsonObject> nodes{QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).object()};
    while (!nodes.isEmpty()) {
        const QJsonObject node = nodes.takeLast();
        if (node["pid"].toInteger() == QCoreApplication::applicationPid()) {
            const QJsonObject r = node["rect"].toObject();
            return {r["x"].toInt(), r["y"].toInt(), r["width"].toInt(), r["height"].toInt()};
        }
        for (const char *children : {"nodes", "floating_nodes"})
            for (const QJsonValue &child : node[children].toArray())
                nodes << child.toObject();
    }
    return {};
}

// Where the desktop has the window, in logical pixels: a Wayland client
// does not know its own position.
QRect desktopRect(const QWidget &window)
{
    return onWayland() ? compositorRect() : window.geometry();
}

// The left button pressed at `path[0]`, taken to `path[1]` (beyond the drag
// distance), then to `path[2]` and released, in device pixels, with pauses
// in which the client can hand the drag over and the desktop can take it:
// through the compositor's virtual pointer (VNC) or the X server's (XTest).
QStringList pointerCommand(const QList<QPoint> &path)
{
    const auto x = [&](int i) { return QString::number(path.at(i).x()); };
    const auto y = [&](int i) { return QString::number(path.at(i).y()); };
    if (onWayland()) {
        QStringList command{"python3", RFB_POINTER_PATH,
                            qEnvironmentVariable("WAYLAND_TEST_VNC_PORT")};
        using Step = std::pair<int, bool>;  // point, button down
        for (const auto &[i, down] : {Step{0, false}, {0, true}, {1, true}, {2, true}, {2, false}})
            command << x(i) + ',' + y(i) + (down ? ",down" : "") << "wait:300";
        return command;
    }
    QStringList command{"xdotool", "mousemove", "--sync", x(0), y(0), "mousedown", "1"};
    for (int i : {1, 2})
        command += QStringList{"sleep", "0.3", "mousemove", x(i), y(i)};
    return command + QStringList{"sleep", "0.3", "mouseup", "1", "sleep", "0.3"};
}

// Device pixels round to a logical one either way at 150 %.
bool near(QRect a, QRect b)
{
    return qAbs(a.left() - b.left()) + qAbs(a.top() - b.top()) + qAbs(a.right() - b.right()) +
               qAbs(a.bottom() - b.bottom()) <=
           2;
}

// A drag by `by` from `at`, in logical pixels. The event loop runs
// meanwhile: the hand-over needs the press to have been handled while still
// held.
bool dragPointer(QPoint at, QPoint by)
{
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    const QPoint handOver = at + QPoint(15, 0);
    QList<QPoint> path;
    for (const QPoint p : {at, handOver, handOver + by})
        path << (QPointF(p) * ratio).toPoint();
    QStringList command = pointerCommand(path);
    QProcess pointer;
    pointer.start(command.takeFirst(), command);
    QDeadlineTimer deadline(20000);
    while (pointer.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(50);
    return pointer.exitStatus() == QProcess::NormalExit && pointer.exitCode() == 0;
}

}  // namespace

class TestDesktopWindow : public QObject
{
    Q_OBJECT
    BaseWindow *window = nullptr;

private slots:
    void initTestCase()
    {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        // Under the X server's panel a window centred on the whole screen
        // would have its title bar out of reach.
        QVERIFY2(onWayland() || available.top() > 0, "no panel at the top of the screen");
        window = new BaseWindow();
        // Room for the drags on the small screen.
        window->resize(400, 250);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_VERIFY(
            near(QRect(desktopRect(*window).topLeft(), QSize(400, 250)), desktopRect(*window)));
        const QRect bar = WindowPlacement::TitleBar{5, 32}.in(desktopRect(*window));
        QVERIFY2(available.contains(bar), qPrintable(QDebug::toString(bar)));
    }
    void cleanupTestCase() { delete window; }

    // The band moves the window by the drag from where it was handed over.
    // A corner is taken at the press, so the hand-over step resizes too: the
    // top-left corner grows the window with its bottom-right corner in place.
    void desktopMovesAndResizes()
    {
        const QRect start = desktopRect(*window);
        QVERIFY(dragPointer(start.topLeft() + QPoint(200, 20), {100, 60}));
        QTRY_COMPARE(desktopRect(*window).topLeft(), start.topLeft() + QPoint(100, 60));
        QVERIFY(near(desktopRect(*window), start.translated(100, 60)));

        const QRect moved = desktopRect(*window);
        // (The corner zone lies just inside the window's 5-pixel margin.)
        QVERIFY(dragPointer(moved.topLeft() + QPoint(6, 6), {-65, -40}));
        QTRY_VERIFY2(near(desktopRect(*window), moved.adjusted(-50, -40, 0, 0)),
                     qPrintable(QDebug::toString(desktopRect(*window))));
    }
};

LAUNCHER_TEST_MAIN(TestDesktopWindow)
#include "tst_desktop_window.moc"
