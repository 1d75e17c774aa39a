// Mouse events go through the window system interface, as real ones do: to
// the child under the cursor first, then up to the window; double clicks are
// made from two quick presses.
#define QTEST_QPA_MOUSE_HANDLING

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include "chrome/basewindow.h"
#include "chrome/windowplacement.h"
#include "support/childrow.h"
#include "support/testmain.h"
#include "support/windowlook.h"

namespace {

// A shown window at (100, 80), driven by a mouse in window coordinates of
// the press: every point is taken relative to where the window was then.
struct Shown
{
    BaseWindow window;
    QPoint origin{100, 80};

    Shown()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setGeometry(QRect(origin, QSize(1024, 630)));
        QTRY_COMPARE(window.windowHandle()->geometry(), QRect(origin, QSize(1024, 630)));
    }
    QPoint local(QPoint p) const { return origin + p - window.windowHandle()->position(); }
    void press(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(window.windowHandle(), b, {}, local(p));
    }
    void release(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(window.windowHandle(), b, {}, local(p));
    }
    void move(QPoint p) { QTest::mouseMove(window.windowHandle(), local(p)); }
    void doubleClick(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseDClick(window.windowHandle(), b, {}, local(p));
    }
    void drag(QPoint from, const QList<QPoint> &steps)
    {
        press(from);
        for (const QPoint &step : steps)
            move(from + step);
    }
};

// The title bar of a window in its normal state: 5 pixels in, 32 high.
const WindowPlacement::TitleBar titleBar{5, 32};

}  // namespace

class TestBaseWindow : public QObject
{
    Q_OBJECT
private slots:
    // Centred on the primary screen's full size, unless that leaves part of
    // the title bar off the screen. Each screen exists only in a child
    // process started on it (an offscreen screen of that size and scale).
    void placement_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QByteArray>("scale");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("1920 x 1080")
            << QSize(1920, 1080) << QByteArray("1") << QRect(448, 225, 1024, 630);
        // 910.7 x 512 logical pixels: the window is fitted to the screen.
        QTest::newRow("1366 x 768 at 150 %")
            << QSize(1366, 768) << QByteArray("1.5") << QRect(0, 0, 911, 512);
        QTest::newRow("1280 x 600")
            << QSize(1280, 600) << QByteArray("1") << QRect(128, 0, 1024, 600);
    }
    void placement()
    {
        QFETCH(QSize, screen);
        QFETCH(QByteArray, scale);
        QFETCH(QRect, expected);
        if (inRowChild()) {
            BaseWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.geometry(), expected);
            QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(
                titleBar.in(window.geometry())));
            return;
        }
        QTemporaryDir dir;
        QFile config(dir.filePath(QStringLiteral("screen.json")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral(R"({"screens":[{"name":"S","width":%1,"height":%2}]})")
                         .arg(screen.width())
                         .arg(screen.height())
                         .toUtf8());
        config.close();
        QProcessEnvironment added;
        added.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
        added.insert("QT_SCALE_FACTOR", QString::fromLatin1(scale));
        QString output;
        QVERIFY2(rowPassesInChild(added, &output), qPrintable(output));
    }

    void initialGeometry_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QRect>("expected");
        const QSize least(222, 108);
        QTest::newRow("task bar below: centred on the whole screen")
            << QSize(1920, 1080) << QRect(0, 0, 1920, 1040) << least << QRect(448, 225, 1024, 630);
        QTest::newRow("task bar over the title bar")
            << QSize(1100, 660) << QRect(0, 40, 1100, 620) << least << QRect(38, 40, 1024, 620);
        QTest::newRow("task bar at the left of a narrow screen")
            << QSize(1000, 700) << QRect(60, 0, 940, 700) << least << QRect(60, 35, 940, 630);
        QTest::newRow("screen smaller than the window")
            << QSize(910, 512) << QRect(0, 0, 910, 512) << least << QRect(0, 0, 910, 512);
        // The close button and the top of the bar stay on the screen.
        QTest::newRow("screen smaller than the least size")
            << QSize(200, 100) << QRect(0, 0, 200, 100) << least << QRect(-22, 0, 222, 108);
    }
    void initialGeometry()
    {
        QFETCH(QSize, screen);
        QFETCH(QRect, available);
        QFETCH(QSize, minimum);
        QTEST(WindowPlacement::initialGeometry(screen, available, QSize(1024, 630), minimum,
                                               titleBar),
              "expected");
    }

    // A title-band drag to `wanted` ends where the title bar is in reach.
    void reachablePosition_data()
    {
        QTest::addColumn<QPoint>("wanted");
        QTest::addColumn<QList<QRect>>("areas");
        QTest::addColumn<QPoint>("expected");
        const QList<QRect> one{{0, 0, 1920, 1080}};
        QTest::newRow("inside") << QPoint(100, 80) << one << QPoint(100, 80);
        QTest::newRow("partly off the left side") << QPoint(-500, 80) << one << QPoint(-500, 80);
        QTest::newRow("above the top") << QPoint(100, -300) << one << QPoint(100, -5);
        QTest::newRow("behind a task bar at the top")
            << QPoint(100, 20) << QList<QRect>{{0, 40, 1920, 1040}} << QPoint(100, 35);
        QTest::newRow("below the bottom") << QPoint(100, 1070) << one << QPoint(100, 1043);
        // 100 pixels of the bar stay on the screen at either side.
        QTest::newRow("far right") << QPoint(1900, 80) << one << QPoint(1815, 80);
        QTest::newRow("far left") << QPoint(-2000, 80) << one << QPoint(-919, 80);
        const QList<QRect> two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1440}};
        QTest::newRow("on the taller second screen")
            << QPoint(2000, 1200) << two << QPoint(2000, 1200);
        QTest::newRow("below both: the nearer one")
            << QPoint(1500, 1430) << two << QPoint(1500, 1403);
        QTest::newRow("no screen") << QPoint(100, -300) << QList<QRect>{} << QPoint(100, -300);
    }
    void reachablePosition()
    {
        QFETCH(QPoint, wanted);
        QFETCH(QList<QRect>, areas);
        QTEST(WindowPlacement::reachablePosition(wanted, QSize(1024, 630), areas, titleBar),
              "expected");
    }

    // Where a left press lands decides what a drag by (+20, +10) does.
    void zoneOfPress_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRect>("after");
        const QRect g(100, 80, 1024, 630);
        const QRect moved = g.translated(20, 10);
        QTest::newRow("top-left corner") << QPoint(5, 5) << QRect(120, 90, 1004, 620);
        QTest::newRow("top edge") << QPoint(500, 6) << QRect(100, 90, 1024, 620);
        QTest::newRow("top-right corner") << QPoint(1017, 7) << QRect(100, 90, 1044, 620);
        QTest::newRow("left edge, in the band") << QPoint(6, 20) << QRect(120, 80, 1004, 630);
        QTest::newRow("right edge") << QPoint(1018, 300) << QRect(100, 80, 1044, 630);
        QTest::newRow("bottom-left corner") << QPoint(6, 623) << QRect(120, 80, 1004, 640);
        QTest::newRow("bottom edge") << QPoint(500, 624) << QRect(100, 80, 1024, 640);
        QTest::newRow("bottom-right corner") << QPoint(1018, 624) << QRect(100, 80, 1044, 640);
        // The move band: y from 6 to 37 wherever x is, outside the zone labels.
        QTest::newRow("band, y 6, left margin") << QPoint(2, 6) << moved;
        QTest::newRow("band, y 34, title bar") << QPoint(700, 34) << moved;
        QTest::newRow("band, y 37, page frame") << QPoint(300, 37) << moved;
        QTest::newRow("y 5") << QPoint(2, 5) << g;
        QTest::newRow("y 38") << QPoint(2, 38) << g;
    }
    void zoneOfPress()
    {
        QFETCH(QPoint, at);
        QFETCH(QRect, after);
        Shown s;
        s.drag(at, {{20, 10}});
        QTRY_COMPARE(s.window.geometry(), after);
    }

    // Every step starts from the geometry of the press.
    void drags_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QList<QPoint>>("steps");
        QTest::addColumn<QRect>("after");
        QTest::newRow("title band, many steps")
            << QPoint(400, 15) << QList<QPoint>{{5, 5}, {100, -50}, {-37, 53}}
            << QRect(63, 133, 1024, 630);
        QTest::newRow("right edge: width only")
            << QPoint(1017, 300) << QList<QPoint>{{30, 40}, {-45, 25}} << QRect(100, 80, 979, 630);
        QTest::newRow("top-left corner: top and left")
            << QPoint(6, 6) << QList<QPoint>{{40, 40}, {-25, -15}} << QRect(75, 65, 1049, 645);
        // The offscreen screen is 800 x 600: the title bar stays in reach.
        QTest::newRow("title band, above the screen")
            << QPoint(400, 15) << QList<QPoint>{{0, -50}, {0, -500}} << QRect(100, -5, 1024, 630);
        QTest::newRow("title band, off the right side")
            << QPoint(400, 15) << QList<QPoint>{{2000, 0}} << QRect(695, 80, 1024, 630);
    }
    void drags()
    {
        QFETCH(QPoint, at);
        QFETCH(QList<QPoint>, steps);
        QFETCH(QRect, after);
        Shown s;
        s.drag(at, steps);
        QTRY_COMPARE(s.window.geometry(), after);
        s.release(at + steps.last());
        s.move(at + QPoint(50, 50));
        QTest::qWait(20);
        QCOMPARE(s.window.geometry(), after);
    }

    void belowBandRestoresPressGeometry()
    {
        Shown s;
        s.press(QPoint(300, 45));
        s.window.resize(900, 600);
        QTRY_COMPARE(s.window.size(), QSize(900, 600));
        s.move(QPoint(310, 55));
        QTRY_COMPARE(s.window.geometry(), QRect(100, 80, 1024, 630));
    }

    // Past the minimum size the dragged edge stops; the opposite one stays.
    void minimumSize_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QPoint>("by");
        QTest::newRow("left edge") << QPoint(6, 300) << QPoint(3000, 0);
        QTest::newRow("top-left") << QPoint(6, 6) << QPoint(3000, 3000);
    }
    void minimumSize()
    {
        QFETCH(QPoint, at);
        QFETCH(QPoint, by);
        Shown s;
        const QRect g = s.window.geometry();
        const QSize least = s.window.minimumSize();
        QVERIFY(least.width() > 100 && least.height() > 30);
        s.drag(at, {by / 2, by});
        QRect expected = g;
        if (by.x() > 0)
            expected.setLeft(g.right() - least.width() + 1);
        if (by.y() > 0)
            expected.setTop(g.bottom() - least.height() + 1);
        QTRY_COMPARE(s.window.geometry(), expected);
    }

    void otherButtons()
    {
        Shown s;
        const QPoint at(400, 15);
        // A right-button press starts nothing.
        s.press(at, Qt::RightButton);
        s.move(at + QPoint(30, 30));
        s.release(at + QPoint(30, 30), Qt::RightButton);
        // A right-button release ends a left drag.
        s.drag(at, {{10, 0}});
        QTRY_COMPARE(s.window.pos(), QPoint(110, 80));
        s.press(at + QPoint(10, 0), Qt::RightButton);
        s.release(at + QPoint(10, 0), Qt::RightButton);
        s.move(at + QPoint(60, 60));
        QTest::qWait(20);
        QCOMPARE(s.window.pos(), QPoint(110, 80));
    }

    // A left double click in the band toggles the state. Maximised, the band
    // keeps its place (the margin of 5 still counts) and the hidden zone
    // labels no longer catch presses.
    void doubleClicks_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("toggles");
        QTest::newRow("left in band") << false << QPoint(400, 15) << Qt::LeftButton << true;
        QTest::newRow("left below band") << false << QPoint(300, 45) << Qt::LeftButton << false;
        QTest::newRow("right in band") << false << QPoint(400, 15) << Qt::RightButton << false;
        QTest::newRow("maximised, y 5") << true << QPoint(400, 5) << Qt::LeftButton << false;
        QTest::newRow("maximised, on the top zone's place")
            << true << QPoint(500, 6) << Qt::LeftButton << true;
        QTest::newRow("maximised, y 37") << true << QPoint(2, 37) << Qt::LeftButton << true;
        QTest::newRow("maximised, y 38") << true << QPoint(2, 38) << Qt::LeftButton << false;
    }
    void doubleClicks()
    {
        QFETCH(bool, maximised);
        QFETCH(QPoint, at);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, toggles);
        Shown s;
        if (maximised) {
            s.window.setShowMode();
            QTRY_VERIFY(s.window.isMaximized());
            s.origin = s.window.windowHandle()->position();
        }
        s.doubleClick(at, button);
        if (!toggles)
            QTest::qWait(50);
        QTRY_COMPARE(s.window.isMaximized(), maximised != toggles);
    }

    void maximiseAndRestore()
    {
        Shown s;
        auto *toolResize = s.window.findChild<QPushButton *>("toolResize");
        QCOMPARE(windowLook(s.window), expectedLook(false));

        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(s.window.isMaximized());
        QCOMPARE(windowLook(s.window), expectedLook(true));
        // Dragging in the band does nothing while maximised.
        const QRect maximised = s.window.geometry();
        s.drag(QPoint(400, 15), {{40, 40}});
        QTest::qWait(20);
        QCOMPARE(s.window.geometry(), maximised);
        s.release(QPoint(440, 55));

        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(!s.window.isMaximized());
        QCOMPARE(windowLook(s.window), expectedLook(false));
        QTRY_COMPARE(s.window.geometry(), QRect(100, 80, 1024, 630));
    }

    // The window system may change the state without the title bar: the
    // window then looks as the button would have left it, and the button's
    // next click goes the other way.
    void stateFromOutside_data()
    {
        QTest::addColumn<bool>("throughWindow");
        QTest::newRow("widget state") << false;
        QTest::newRow("window handle state") << true;
    }
    void stateFromOutside()
    {
        QFETCH(bool, throughWindow);
        Shown s;
        auto *toolResize = s.window.findChild<QPushButton *>("toolResize");
        const auto setState = [&](Qt::WindowState state) {
            if (throughWindow)
                s.window.windowHandle()->setWindowStates(state);
            else
                s.window.setWindowState(state);
        };
        setState(Qt::WindowMaximized);
        QTRY_COMPARE(windowLook(s.window), expectedLook(true));
        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(!s.window.isMaximized());
        QCOMPARE(windowLook(s.window), expectedLook(false));

        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(s.window.isMaximized());
        setState(Qt::WindowNoState);
        QTRY_COMPARE(windowLook(s.window), expectedLook(false));
        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(s.window.isMaximized());
        QCOMPARE(windowLook(s.window), expectedLook(true));
    }

    void minimiseAndClose()
    {
        Shown s;
        QTest::mouseClick(s.window.findChild<QPushButton *>("toolMinimum"), Qt::LeftButton);
        QTRY_VERIFY(s.window.isMinimized());
        s.window.showNormal();
        QTest::mouseClick(s.window.findChild<QPushButton *>("toolClose"), Qt::LeftButton);
        QTRY_VERIFY(!s.window.isVisible());
    }
};

LAUNCHER_TEST_MAIN(TestBaseWindow)
#include "tst_basewindow.moc"
