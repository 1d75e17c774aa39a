// Mouse events go through the window system interface, as real ones do: to
// the child under the cursor first, then up to the window, with double
// clicks made from two quick presses.
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

constexpr int margin = 5;

// Presses, moves and releases at global cursor positions.
class Mouse
{
public:
    explicit Mouse(QWidget *window) : window(window->windowHandle()) {}

    void press(QPoint global, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(window, button, {}, local(global));
    }
    void release(QPoint global, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(window, button, {}, local(global));
    }
    void move(QPoint global) { QTest::mouseMove(window, local(global)); }
    void doubleClick(QPoint global, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseDClick(window, button, {}, local(global));
    }

private:
    QPoint local(QPoint global) const { return global - window->geometry().topLeft(); }
    QWindow *window;
};

struct Shown
{
    BaseWindow window;
    Shown()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setGeometry(100, 80, 1024, 630);
        QTRY_COMPARE(window.geometry(), QRect(100, 80, 1024, 630));
        QTRY_COMPARE(window.windowHandle()->geometry(), QRect(100, 80, 1024, 630));
    }
    QPoint global(int x, int y) const { return window.geometry().topLeft() + QPoint(x, y); }
};

QImage picture(QPushButton *button)
{
    return button->icon().pixmap(20, 20).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage resource(const char *name)
{
    return QPixmap(QStringLiteral(":/images/%1").arg(QLatin1String(name)))
        .scaled(20, 20)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
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
        QTest::newRow("2560x1440") << QSize(2560, 1440) << QPoint(768, 405);
    }
    void placement()
    {
        QFETCH(QSize, screen);
        QFETCH(QPoint, topLeft);

        if (QGuiApplication::primaryScreen()->size() == screen) {
            BaseWindow window;
            QCOMPARE(window.geometry(), QRect(topLeft, QSize(1024, 630)));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.pos(), topLeft);
            return;
        }
        if (!QGuiApplication::platformName().startsWith(QLatin1String("offscreen")))
            QSKIP("other screen sizes are made with the offscreen platform");

        // Run this same row in a process whose offscreen screen has that size.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile config(dir.filePath(QStringLiteral("screen.json")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("{\"screens\":[{\"name\":\"OffscreenScreen\",\"x\":0,\"y\":0,"
                                    "\"width\":%1,\"height\":%2}]}")
                         .arg(screen.width())
                         .arg(screen.height())
                         .toUtf8());
        config.close();

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"),
                   QStringLiteral("offscreen:configfile=") + config.fileName());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        const QString row = QString::fromLatin1(QTest::currentDataTag());
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("placement:") + row});
        QVERIFY(child.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child.readAll());
        QVERIFY2(child.exitCode() == 0, qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("PASS   : TestBaseWindow::placement(%1)").arg(row)),
                 qPrintable(output));
    }

    void frameAndZones()
    {
        Shown s;
        QVERIFY(s.window.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(s.window.testAttribute(Qt::WA_TranslucentBackground));
        auto *frame = s.window.findChild<QFrame *>("m_BaseFrame");
        QVERIFY(frame);
        QCOMPARE(frame->geometry(), QRect(margin, margin, 1014, 620));
        auto *content = s.window.findChild<QWidget *>("MainWidget");
        QVERIFY(content);
        QCOMPARE(content->parentWidget(), frame);
        QVERIFY(content->testAttribute(Qt::WA_DeleteOnClose));

        // The zone labels lie on the frame's outermost three pixels.
        const QList<std::tuple<const char *, QRect, Qt::CursorShape>> zones = {
            {"zoneTopLeft", QRect(5, 5, 3, 3), Qt::SizeFDiagCursor},
            {"zoneTop", QRect(8, 5, 1008, 3), Qt::SizeVerCursor},
            {"zoneTopRight", QRect(1016, 5, 3, 3), Qt::SizeBDiagCursor},
            {"zoneLeft", QRect(5, 8, 3, 614), Qt::SizeHorCursor},
            {"zoneRight", QRect(1016, 8, 3, 614), Qt::SizeHorCursor},
            {"zoneBottomLeft", QRect(5, 622, 3, 3), Qt::SizeBDiagCursor},
            {"zoneBottom", QRect(8, 622, 1008, 3), Qt::SizeVerCursor},
            {"zoneBottomRight", QRect(1016, 622, 3, 3), Qt::SizeFDiagCursor},
        };
        for (const auto &[name, rect, cursor] : zones) {
            auto *label = s.window.findChild<QLabel *>(name);
            QVERIFY2(label, name);
            QCOMPARE(label->geometry(), rect);
            QCOMPARE(label->cursor().shape(), cursor);
            QVERIFY(label->isVisible());
        }
        QCOMPARE(s.window.cursor().shape(), Qt::ArrowCursor);
    }

    // Where a left press lands decides what a drag by (+20, +10) does.
    void zoneOfPress_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRect>("after");
        const QRect g(100, 80, 1024, 630);
        const QPoint d(20, 10);
        const QRect moved = g.translated(d);

        QTest::newRow("top-left corner") << QPoint(5, 5) << QRect(120, 90, 1004, 620);
        QTest::newRow("top-left corner inner") << QPoint(7, 7) << QRect(120, 90, 1004, 620);
        QTest::newRow("top edge") << QPoint(500, 6) << QRect(100, 90, 1024, 620);
        QTest::newRow("top-right corner") << QPoint(1017, 6) << QRect(100, 90, 1044, 620);
        QTest::newRow("left edge") << QPoint(6, 300) << QRect(120, 80, 1004, 630);
        QTest::newRow("left edge in band") << QPoint(6, 20) << QRect(120, 80, 1004, 630);
        QTest::newRow("right edge") << QPoint(1018, 300) << QRect(100, 80, 1044, 630);
        QTest::newRow("bottom-left corner") << QPoint(6, 623) << QRect(120, 80, 1004, 640);
        QTest::newRow("bottom edge") << QPoint(500, 624) << QRect(100, 80, 1024, 640);
        QTest::newRow("bottom-right corner") << QPoint(1018, 624) << QRect(100, 80, 1044, 640);
        // The move band: y from 6 to 37 wherever x is, outside the zone labels
        // (here on the transparent margin and on the title bar).
        QTest::newRow("band on margin, y 6") << QPoint(2, 6) << moved;
        QTest::newRow("band on margin right, y 6") << QPoint(1021, 6) << moved;
        QTest::newRow("band, y 8") << QPoint(500, 8) << moved;
        QTest::newRow("band on title, y 20") << QPoint(300, 20) << moved;
        QTest::newRow("band, y 34") << QPoint(700, 34) << moved;
        QTest::newRow("band below title bar, y 37") << QPoint(2, 37) << moved;
        QTest::newRow("above band, y 5") << QPoint(2, 5) << g;
        QTest::newRow("above band, y 0") << QPoint(600, 0) << g;
        QTest::newRow("below band, y 38") << QPoint(2, 38) << g;
        QTest::newRow("bottom margin") << QPoint(600, 628) << g;
    }
    void zoneOfPress()
    {
        QFETCH(QPoint, at);
        QFETCH(QRect, after);

        Shown s;
        Mouse mouse(&s.window);
        const QPoint start = s.global(at.x(), at.y());
        mouse.press(start);
        mouse.move(start + QPoint(20, 10));
        QTRY_COMPARE(s.window.geometry(), after);
        mouse.release(start + QPoint(20, 10));
    }

    void dragFollowsTotalDisplacement_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QList<QPoint>>("path");
        QTest::addColumn<QRect>("after");

        QTest::newRow("move by title, one step")
            << QPoint(400, 15) << QList<QPoint>{{-37, 53}} << QRect(63, 133, 1024, 630);
        QTest::newRow("move by title, many steps")
            << QPoint(400, 15) << QList<QPoint>{{5, 5}, {100, -50}, {-20, 30}, {-37, 53}}
            << QRect(63, 133, 1024, 630);
        QTest::newRow("right edge, width only")
            << QPoint(1017, 300) << QList<QPoint>{{30, 40}, {-60, 90}, {-45, 25}}
            << QRect(100, 80, 979, 630);
        QTest::newRow("top-left corner, top and left")
            << QPoint(6, 6) << QList<QPoint>{{40, 40}, {-25, -15}} << QRect(75, 65, 1049, 645);
        QTest::newRow("bottom edge, height only")
            << QPoint(300, 623) << QList<QPoint>{{80, -30}} << QRect(100, 80, 1024, 600);
        // On the page's frame, which lets the press through to the window.
        QTest::newRow("press below the band")
            << QPoint(300, 45) << QList<QPoint>{{80, -30}, {10, 10}} << QRect(100, 80, 1024, 630);
        QTest::newRow("press on the bottom margin")
            << QPoint(600, 627) << QList<QPoint>{{80, -30}} << QRect(100, 80, 1024, 630);
    }
    void dragFollowsTotalDisplacement()
    {
        QFETCH(QPoint, at);
        QFETCH(QList<QPoint>, path);
        QFETCH(QRect, after);

        Shown s;
        Mouse mouse(&s.window);
        const QPoint start = s.global(at.x(), at.y());
        mouse.press(start);
        for (const QPoint &step : path)
            mouse.move(start + step);
        QTRY_COMPARE(s.window.geometry(), after);
        mouse.release(start + path.last());
        // After the release moves change nothing.
        mouse.move(start + path.last() + QPoint(50, 50));
        QTest::qWait(20);
        QCOMPARE(s.window.geometry(), after);
    }

    void belowBandRestoresGeometry()
    {
        // A press on the page area re-applies the geometry of the press, even
        // when something else changed the window meanwhile.
        Shown s;
        Mouse mouse(&s.window);
        const QPoint start = s.global(300, 45);
        mouse.press(start);
        s.window.resize(900, 600);
        QTRY_COMPARE(s.window.size(), QSize(900, 600));
        mouse.move(start + QPoint(10, 10));
        QTRY_COMPARE(s.window.geometry(), QRect(100, 80, 1024, 630));
        mouse.release(start + QPoint(10, 10));
    }

    void edgesStopAtMinimumSize_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QPoint>("drag");
        QTest::addColumn<bool>("keepsRight");
        QTest::addColumn<bool>("keepsBottom");
        QTest::newRow("left edge far right") << QPoint(6, 300) << QPoint(3000, 0) << true << true;
        QTest::newRow("top edge far down") << QPoint(500, 6) << QPoint(0, 3000) << true << true;
        QTest::newRow("top-left far in") << QPoint(6, 6) << QPoint(3000, 3000) << true << true;
        QTest::newRow("right edge far left")
            << QPoint(1017, 300) << QPoint(-3000, 0) << false << true;
        QTest::newRow("bottom-right far in")
            << QPoint(1017, 623) << QPoint(-3000, -3000) << false << false;
        QTest::newRow("bottom-left far in")
            << QPoint(6, 623) << QPoint(3000, -3000) << true << false;
    }
    void edgesStopAtMinimumSize()
    {
        QFETCH(QPoint, at);
        QFETCH(QPoint, drag);
        QFETCH(bool, keepsRight);
        QFETCH(bool, keepsBottom);

        Shown s;
        const QRect before = s.window.geometry();
        const QSize minimum = s.window.minimumSize();
        QVERIFY(minimum.width() > 0 && minimum.height() > 0);
        Mouse mouse(&s.window);
        const QPoint start = s.global(at.x(), at.y());
        mouse.press(start);
        mouse.move(start + drag / 2);
        mouse.move(start + drag);
        const bool widthDragged = drag.x() != 0;
        const bool heightDragged = drag.y() != 0;
        QTRY_COMPARE(s.window.width(), widthDragged ? minimum.width() : before.width());
        QTRY_COMPARE(s.window.height(), heightDragged ? minimum.height() : before.height());
        // The edge opposite the dragged one stays where it was.
        QTRY_COMPARE(keepsRight ? s.window.geometry().right() : s.window.x(),
                     keepsRight ? before.right() : before.x());
        QCOMPARE(keepsBottom ? s.window.geometry().bottom() : s.window.y(),
                 keepsBottom ? before.bottom() : before.y());
        mouse.release(start + drag);
    }

    void otherButtons()
    {
        Shown s;
        Mouse mouse(&s.window);
        const QRect g = s.window.geometry();
        const QPoint start = s.global(400, 15);

        // A right-button press starts nothing.
        mouse.press(start, Qt::RightButton);
        mouse.move(start + QPoint(30, 30));
        QTest::qWait(20);
        QCOMPARE(s.window.geometry(), g);
        mouse.release(start + QPoint(30, 30), Qt::RightButton);

        // A right-button release ends a left drag.
        mouse.press(start);
        mouse.move(start + QPoint(10, 0));
        QTRY_COMPARE(s.window.geometry(), g.translated(10, 0));
        mouse.press(start + QPoint(10, 0), Qt::RightButton);
        mouse.release(start + QPoint(10, 0), Qt::RightButton);
        mouse.move(start + QPoint(60, 60));
        QTest::qWait(20);
        QCOMPARE(s.window.geometry(), g.translated(10, 0));
        mouse.release(start + QPoint(60, 60));
    }

    void doubleClicks_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("maximises");
        QTest::newRow("left in band") << QPoint(400, 15) << Qt::LeftButton << true;
        QTest::newRow("left in band on margin") << QPoint(1, 30) << Qt::LeftButton << true;
        QTest::newRow("left below band") << QPoint(400, 300) << Qt::LeftButton << false;
        QTest::newRow("left on a zone label") << QPoint(500, 6) << Qt::LeftButton << false;
        QTest::newRow("right in band") << QPoint(400, 15) << Qt::RightButton << false;
    }
    void doubleClicks()
    {
        QFETCH(QPoint, at);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, maximises);

        Shown s;
        Mouse mouse(&s.window);
        mouse.doubleClick(s.global(at.x(), at.y()), button);
        if (maximises) {
            QTRY_VERIFY(s.window.isMaximized());
        } else {
            QTest::qWait(50);
            QVERIFY(!s.window.isMaximized());
            QCOMPARE(s.window.geometry(), QRect(100, 80, 1024, 630));
        }
    }

    void maximisedState()
    {
        Shown s;
        auto *toolResize = s.window.findChild<QPushButton *>("toolResize");
        auto *layout = qobject_cast<QGridLayout *>(s.window.layout());
        auto *top = s.window.findChild<QLabel *>("zoneTop");
        QVERIFY(toolResize && layout && top);
        const QImage maximise = resource("maximum_white.png");
        const QImage restore = resource("normal_white.png");
        QCOMPARE(picture(toolResize), maximise);

        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(s.window.isMaximized());
        QCOMPARE(layout->contentsMargins(), QMargins(0, 0, 0, 0));
        QVERIFY(!top->isVisible());
        QCOMPARE(picture(toolResize), restore);
        const QRect maximised = s.window.geometry();
        QTRY_COMPARE(s.window.findChild<QFrame *>("m_BaseFrame")->geometry(),
                     QRect(QPoint(0, 0), maximised.size()));

        // Dragging in the band does nothing while maximised.
        Mouse mouse(&s.window);
        mouse.press(s.global(400, 15));
        mouse.move(s.global(400, 15) + QPoint(40, 40));
        QTest::qWait(20);
        QCOMPARE(s.window.geometry(), maximised);
        mouse.release(s.global(400, 15) + QPoint(40, 40));

        QTest::mouseClick(toolResize, Qt::LeftButton);
        QTRY_VERIFY(!s.window.isMaximized());
        QCOMPARE(layout->contentsMargins(), QMargins(margin, margin, margin, margin));
        QVERIFY(top->isVisible());
        QCOMPARE(picture(toolResize), maximise);
        QTRY_COMPARE(s.window.geometry(), QRect(100, 80, 1024, 630));
    }

    // While maximised the band keeps its place (margin 5 still counts): a
    // left double click in it restores, wherever x is.
    void maximisedBand_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("restores");
        QTest::newRow("y 5") << QPoint(400, 5) << false;
        QTest::newRow("y 6") << QPoint(400, 6) << true;
        QTest::newRow("y 6 where the top zone was") << QPoint(500, 6) << true;
        QTest::newRow("x 6 where the left zone was") << QPoint(6, 20) << true;
        QTest::newRow("x 1017 where the right zone was") << QPoint(1017, 20) << true;
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
        QTRY_COMPARE(s.window.windowHandle()->geometry(), s.window.geometry());
        Mouse mouse(&s.window);
        mouse.doubleClick(s.global(at.x(), at.y()));
        if (restores) {
            QTRY_VERIFY(!s.window.isMaximized());
            QVERIFY(s.window.findChild<QLabel *>("zoneLeft")->isVisible());
        } else {
            QTest::qWait(50);
            QVERIFY(s.window.isMaximized());
        }
    }

    void titleButtons()
    {
        Shown s;
        QTest::mouseClick(s.window.findChild<QPushButton *>("toolMinimum"), Qt::LeftButton);
        QTRY_VERIFY(s.window.isMinimized());
        s.window.showNormal();
        QTRY_VERIFY(!s.window.isMinimized());
        QTest::mouseClick(s.window.findChild<QPushButton *>("toolClose"), Qt::LeftButton);
        QTRY_VERIFY(!s.window.isVisible());
    }

    void shadowInMargin()
    {
        // A soft shadow fills the transparent margin, densest next to the frame.
        Shown s;
        const QImage image = s.window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(1024, 630));
        int previous = 0;
        for (int x = 0; x < margin; ++x) {
            const int alpha = qAlpha(image.pixel(x, 300));
            QVERIFY2(alpha > previous, qPrintable(QString::number(x)));
            previous = alpha;
        }
        QVERIFY(previous < 255);
        QCOMPARE(qAlpha(image.pixel(margin + 40, 300)), 255);
    }
};

LAUNCHER_TEST_MAIN(TestBaseWindow)
#include "tst_basewindow.moc"
