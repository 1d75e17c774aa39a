// The launcher's window under a real Wayland compositor (sway, started by
// tools/test-wm/run-under-wayland.sh with a virtual pointer): there only the
// compositor can place a window, so a drag of the band or of a corner works
// only as the compositor's own move or resize. Positions are the compositor's
// word, read from its tree; the pointer is the compositor's, driven over VNC.
#include "app/launcher.h"
#include "chrome/basewindow.h"
#include "support/testmain.h"

namespace {

QRect rectOf(const QJsonObject &node)
{
    const QJsonObject r = node["rect"].toObject();
    return {r["x"].toInt(), r["y"].toInt(), r["width"].toInt(), r["height"].toInt()};
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
        if (node["pid"].toInteger() == QCoreApplication::applicationPid())
            return rectOf(node);
        for (const char *children : {"nodes", "floating_nodes"})
            for (const QJsonValue &child : node[children].toArray())
                nodes << child.toObject();
    }
    return {};
}

// The left button pressed at `at`, taken beyond the drag distance, then
// moved by `by` and released, with pauses in which the client can hand the
// drag over and the compositor can take it. The event loop runs meanwhile:
// the hand-over needs the press to have been handled while still held.
bool dragPointer(QPoint at, QPoint by)
{
    const auto step = [](QPoint p, bool down) {
        return QStringLiteral("%1,%2%3").arg(p.x()).arg(p.y()).arg(down ? ",down" : "");
    };
    const QPoint handOver = at + QPoint(15, 0);
    QProcess pointer;
    pointer.start("python3",
                  {RFB_POINTER_PATH, qEnvironmentVariable("WAYLAND_TEST_VNC_PORT"), step(at, false),
                   "wait:300", step(at, true), "wait:300", step(handOver, true), "wait:300",
                   step(handOver + by, true), "wait:300", step(handOver + by, false), "wait:300"});
    QDeadlineTimer deadline(20000);
    while (pointer.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(50);
    return pointer.exitStatus() == QProcess::NormalExit && pointer.exitCode() == 0;
}

}  // namespace

class TestWaylandWindow : public QObject
{
    Q_OBJECT
    BaseWindow *window = nullptr;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        window = new BaseWindow(nullptr, consoleContent());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_VERIFY(!compositorRect().isNull());
    }
    void cleanupTestCase() { delete window; }

    // The band moves the window by the drag from where it was handed over;
    // the top-left corner resizes it with the bottom-right corner in place.
    void compositorMovesAndResizes()
    {
        const QRect start = compositorRect();
        QVERIFY(dragPointer(start.topLeft() + QPoint(200, 20), {200, 100}));
        QTRY_COMPARE(compositorRect().topLeft(), start.topLeft() + QPoint(200, 100));
        QCOMPARE(compositorRect().size(), start.size());

        const QRect moved = compositorRect();
        // (The corner zone lies just inside the window's 5-pixel margin.)
        QVERIFY(dragPointer(moved.topLeft() + QPoint(6, 6), {-65, -40}));
        QTRY_COMPARE(compositorRect().size(), moved.size() + QSize(50, 40));
        QCOMPARE(compositorRect().bottomRight(), moved.bottomRight());
    }
};

LAUNCHER_TEST_MAIN(TestWaylandWindow)
#include "tst_wayland_window.moc"
