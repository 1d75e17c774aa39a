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

// The rectangle the X server has for `window`, as it stands on the screen
// (a window manager tells the client where a drag took it only at the end),
// in logical pixels.
QRect xServerRect(const QWidget &window)
{
    QProcess xdotool;
    xdotool.start("xdotool", {"getwindowgeometry", "--shell", QString::number(window.winId())});
    if (!xdotool.waitForFinished(5000) || xdotool.exitCode())
        return {};
    // WINDOW=, X=, Y=, WIDTH=, HEIGHT= and SCREEN= lines.
    const QStringList v =
        QString(xdotool.readAllStandardOutput()).split(QRegularExpression("[=\n]"));
    const qreal r = window.devicePixelRatioF();
    const auto at = [&](int i) { return v.value(i).toInt() / r; };
    return QRectF(at(3), at(5), at(7), at(9)).toRect();
}

// Where the desktop has the window, in logical pixels: a Wayland client
// does not know its own position.
QRect desktopRect(const QWidget &window)
{
    return onWayland() ? compositorRect() : xServerRect(window);
}

// Device pixels round to a logical one either way at 150 %.
bool near(QRect a, QRect b)
{
    return qAbs(a.left() - b.left()) + qAbs(a.top() - b.top()) + qAbs(a.right() - b.right()) +
               qAbs(a.bottom() - b.bottom()) <=
           2;
}

// The desktop's pointer, driven from outside as a user's hand would: the
// compositor's virtual pointer (VNC, one connection for a whole drag) or the
// X server's (XTest). Points are in logical pixels.
class Pointer
{
    QProcess vnc;
    bool held = false;

public:
    Pointer()
    {
        if (onWayland())
            vnc.start("python3",
                      {RFB_POINTER_PATH, qEnvironmentVariable("WAYLAND_TEST_VNC_PORT"), "-"});
    }
    ~Pointer()
    {
        vnc.closeWriteChannel();
        vnc.waitForFinished(10000);
    }
    bool to(QPoint p, bool down)
    {
        const QPoint at =
            (QPointF(p) * QGuiApplication::primaryScreen()->devicePixelRatio()).toPoint();
        const QString x = QString::number(at.x()), y = QString::number(at.y());
        if (onWayland()) {
            vnc.write((x + ',' + y + (down ? ",down\n" : "\n")).toLatin1());
            return vnc.waitForBytesWritten(5000);
        }
        QStringList command{"mousemove", x, y};
        if (down != held)
            command << (down ? "mousedown" : "mouseup") << "1";
        held = down;
        return QProcess::execute("xdotool", command) == 0;
    }
};

// What reached a window while the left button was held: presses, moves and
// leaves (a compositor that takes the pointer for a drag makes it leave).
struct Seen : QObject
{
    int presses = 0, moves = 0, leaves = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        presses += event->type() == QEvent::MouseButtonPress;
        moves += event->type() == QEvent::MouseMove &&
                 (static_cast<QMouseEvent *>(event)->buttons() & Qt::LeftButton);
        leaves += event->type() == QEvent::Leave && presses;
        return false;
    }
};

// A drag of `window` by `by` from `at`, in logical pixels, by which the
// desktop should take it to `expected`: the left button pressed at `at`,
// taken 15 pixels right (past the drag distance), then by `by`, and
// released. A resize zone hands the drag over at the press, the band at the
// step past the drag distance; the next step waits until the window has
// handled that event and, on Wayland, until the compositor has taken the
// pointer, where the drag starts from. The last point is sent again until
// the desktop has the window at `expected`: a window manager that takes the
// drag after the pointer got there follows it at the next motion.
bool dragPointer(QWidget &window, QPoint at, bool zone, QPoint by, const QRect &expected)
{
    Seen seen;
    window.windowHandle()->installEventFilter(&seen);
    // Waits until `count` events reached the window, and the compositor took
    // the pointer when one of them `handsOver`. It never fails the drag: the
    // verdict is where the desktop puts the window.
    const auto handled = [&](const int &count, bool handsOver) {
        (void)QTest::qWaitFor(
            [&] { return count > 0 && (!handsOver || !onWayland() || seen.leaves > 0); }, 10000);
        return true;
    };
    // Where the desktop has it, at the size the window itself has taken
    // (a compositor's rectangle is the one it asked the window for).
    const auto arrived = [&] {
        const QRect now = desktopRect(window);
        return near(now, expected) && near(QRect(now.topLeft(), window.size()), expected);
    };
    Pointer pointer;
    const QPoint handOver = at + QPoint(15, 0), end = handOver + by;
    bool ok = pointer.to(at, false) && pointer.to(at, true) && handled(seen.presses, zone) &&
              pointer.to(handOver, true) && handled(zone ? seen.presses : seen.moves, !zone);
    for (QDeadlineTimer deadline(20000); ok && !deadline.hasExpired();) {
        ok = pointer.to(end + QPoint(0, 1), true) && pointer.to(end, true);
        if (QTest::qWaitFor(arrived, 1000))
            break;
    }
    return pointer.to(end, false) && ok;
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
        const QRect moved = start.translated(100, 60);
        QVERIFY(dragPointer(*window, start.topLeft() + QPoint(200, 20), false, {100, 60}, moved));
        QTRY_COMPARE(desktopRect(*window).topLeft(), moved.topLeft());
        QVERIFY(near(desktopRect(*window), moved));

        // (The corner zone lies just inside the window's 5-pixel margin.)
        const QRect grown = moved.adjusted(-50, -40, 0, 0);
        QVERIFY(dragPointer(*window, moved.topLeft() + QPoint(6, 6), true, {-65, -40}, grown));
        QTRY_VERIFY2(near(desktopRect(*window), grown),
                     qPrintable(QDebug::toString(desktopRect(*window))));
    }
};

LAUNCHER_TEST_MAIN(TestDesktopWindow)
#include "tst_desktop_window.moc"
