// Mouse events go through the window system interface, as real ones do: to
// the child under the cursor first, then up to the window; double clicks are
// made from two quick presses.
#define QTEST_QPA_MOUSE_HANDLING

#include <QGridLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include "chrome/basewindow.h"
#include "support/testmain.h"

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
    QImage resizePicture() const
    {
        return window.findChild<QPushButton *>("toolResize")->icon().pixmap(20, 20).toImage();
    }
};

QImage titlePicture(const char *name)
{
    return QPixmap(QStringLiteral(":/images/%1").arg(QLatin1String(name)))
        .scaled(20, 20)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

class TestBaseWindow : public QObject
{
    Q_OBJECT
private slots:
    void placement_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("1920x1080") << QSize(1920, 1080) << QPoint(448, 225);
        QTest::newRow("1366x768") << QSize(1366, 768) << QPoint(171, 69);
        QTest::newRow("800x600") << QSize(800, 600) << QPoint(-112, -15);
    }
    void placement()
    {
        QFETCH(QSize, screen);
        QFETCH(QPoint, topLeft);
        if (QGuiApplication::primaryScreen()->size() == screen) {
            BaseWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.geometry(), QRect(topLeft, QSize(1024, 630)));
            return;
        }
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QSKIP("other screen sizes are made with the offscreen platform");

        // Run this row again in a process whose offscreen screen has that size.
        QTemporaryDir dir;
        QFile config(dir.filePath(QStringLiteral("screen.json")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("{\"screens\":[{\"name\":\"OffscreenScreen\",\"width\":%1,"
                                    "\"height\":%2}]}")
                         .arg(screen.width())
                         .arg(screen.height())
                         .toUtf8());
        config.close();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        const QString row = QString::fromLatin1(QTest::currentDataTag());
        child.start(QCoreApplication::applicationFilePath(), {"placement:" + row});
        QVERIFY(child.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child.readAll());
        // Judged by the child's report, not its exit code, which a leak
        // checker in a sanitizer build may change.
        QVERIFY2(output.contains("PASS   : TestBaseWindow::placement(" + row + ")") &&
                     !output.contains("FAIL!"),
                 qPrintable(output));
    }

    void zoneCursors()
    {
        // The window's own cursor never changes; each zone label shows its own.
        Shown s;
        const QList<std::pair<const char *, Qt::CursorShape>> zones = {
            {"zoneTopLeft", Qt::SizeFDiagCursor},  {"zoneTop", Qt::SizeVerCursor},
            {"zoneTopRight", Qt::SizeBDiagCursor}, {"zoneLeft", Qt::SizeHorCursor},
            {"zoneRight", Qt::SizeHorCursor},      {"zoneBottomLeft", Qt::SizeBDiagCursor},
            {"zoneBottom", Qt::SizeVerCursor},     {"zoneBottomRight", Qt::SizeFDiagCursor}};
        for (const auto &[name, cursor] : zones)
            QCOMPARE(s.window.findChild<QLabel *>(name)->cursor().shape(), cursor);
        QCOMPARE(s.window.cursor().shape(), Qt::ArrowCursor);
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
        QTest::newRow("band, y 6, right margin") << QPoint(1021, 6) << moved;
        QTest::newRow("band, y 8, title bar") << QPoint(500, 8) << moved;
        QTest::newRow("band, y 34, title bar") << QPoint(700, 34) << moved;
        QTest::newRow("band, y 37, page frame") << QPoint(300, 37) << moved;
        QTest::newRow("y 5") << QPoint(2, 5) << g;
        QTest::newRow("y 38") << QPoint(2, 38) << g;
        QTest::newRow("page frame") << QPoint(300, 45) << g;
        QTest::newRow("bottom margin") << QPoint(600, 628) << g;
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
        QTest::newRow("title band, one step")
            << QPoint(400, 15) << QList<QPoint>{{-37, 53}} << QRect(63, 133, 1024, 630);
        QTest::newRow("title band, many steps")
            << QPoint(400, 15) << QList<QPoint>{{5, 5}, {100, -50}, {-37, 53}}
            << QRect(63, 133, 1024, 630);
        QTest::newRow("right edge: width only")
            << QPoint(1017, 300) << QList<QPoint>{{30, 40}, {-45, 25}} << QRect(100, 80, 979, 630);
        QTest::newRow("top-left corner: top and left")
            << QPoint(6, 6) << QList<QPoint>{{40, 40}, {-25, -15}} << QRect(75, 65, 1049, 645);
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
        QTest::newRow("top edge") << QPoint(500, 6) << QPoint(0, 3000);
        QTest::newRow("top-left") << QPoint(6, 6) << QPoint(3000, 3000);
        QTest::newRow("right edge") << QPoint(1017, 300) << QPoint(-3000, 0);
        QTest::newRow("bottom-left") << QPoint(6, 623) << QPoint(3000, -3000);
        QTest::newRow("bottom-right") << QPoint(1017, 623) << QPoint(-3000, -3000);
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
        else if (by.x() < 0)
            expected.setWidth(least.width());
        if (by.y() > 0)
            expected.setTop(g.bottom() - least.height() + 1);
        else if (by.y() < 0)
            expected.setHeight(least.height());
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

    void doubleClicks_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("maximises");
        QTest::newRow("left in band") << QPoint(400, 15) << Qt::LeftButton << true;
        QTest::newRow("left in band on margin") << QPoint(1, 30) << Qt::LeftButton << true;
        QTest::newRow("left below band") << QPoint(300, 45) << Qt::LeftButton << false;
        QTest::newRow("left on a zone label") << QPoint(500, 6) << Qt::LeftButton << false;
        QTest::newRow("right in band") << QPoint(400, 15) << Qt::RightButton << false;
    }
    void doubleClicks()
    {
        QFETCH(QPoint, at);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, maximises);
        Shown s;
        s.doubleClick(at, button);
        if (!maximises)
            QTest::qWait(50);
        QTRY_COMPARE(s.window.isMaximized(), maximises);
    }

    void maximiseAndRestore()
    {
        Shown s;
        auto *layout = qobject_cast<QGridLayout *>(s.window.layout());
        auto *zone = s.window.findChild<QLabel *>("zoneTop");
        auto *toolResize = s.window.findChild<QPushButton *>("toolResize");
        const QImage maximise = titlePicture("maximum_white.png");
        const QImage restore = titlePicture("normal_white.png");
        QCOMPARE(s.resizePicture(), maximise);

        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(s.window.isMaximized());
        QCOMPARE(layout->contentsMargins(), QMargins());
        QVERIFY(!zone->isVisible());
        QCOMPARE(s.resizePicture(), restore);
        // Dragging in the band does nothing while maximised.
        const QRect maximised = s.window.geometry();
        s.drag(QPoint(400, 15), {{40, 40}});
        QTest::qWait(20);
        QCOMPARE(s.window.geometry(), maximised);
        s.release(QPoint(440, 55));

        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(!s.window.isMaximized());
        QCOMPARE(layout->contentsMargins(), QMargins(5, 5, 5, 5));
        QVERIFY(zone->isVisible());
        QCOMPARE(s.resizePicture(), maximise);
        QTRY_COMPARE(s.window.geometry(), QRect(100, 80, 1024, 630));
    }

    // Maximised, the band keeps its place (the margin of 5 still counts) and
    // the hidden zone labels no longer catch presses.
    void maximisedBand_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("restores");
        QTest::newRow("y 5") << QPoint(400, 5) << false;
        QTest::newRow("y 6, where the top zone was") << QPoint(500, 6) << true;
        QTest::newRow("x 6, where the left zone was") << QPoint(6, 20) << true;
        QTest::newRow("y 37") << QPoint(2, 37) << true;
        QTest::newRow("y 38") << QPoint(2, 38) << false;
    }
    void maximisedBand()
    {
        QFETCH(QPoint, at);
        QFETCH(bool, restores);
        Shown s;
        s.window.setShowMode();
        QTRY_VERIFY(s.window.isMaximized());
        s.origin = s.window.windowHandle()->position();
        s.doubleClick(at);
        if (!restores)
            QTest::qWait(50);
        QTRY_COMPARE(s.window.isMaximized(), !restores);
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

    void shadowInMargin()
    {
        // Denser towards the frame, fully transparent nowhere in the margin.
        Shown s;
        const QImage image = s.window.grab().toImage();
        int previous = 0;
        for (int x = 0; x < 5; ++x) {
            QVERIFY(qAlpha(image.pixel(x, 300)) > previous);
            previous = qAlpha(image.pixel(x, 300));
        }
        QVERIFY(previous < 255);
        QCOMPARE(qAlpha(image.pixel(45, 300)), 255);
    }
};

LAUNCHER_TEST_MAIN(TestBaseWindow)
#include "tst_basewindow.moc"
