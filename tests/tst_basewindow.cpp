// Mouse events go through the window system interface, as real ones do: to
// the child under the cursor first, then up to the window; double clicks are
// made from two quick presses.
#define QTEST_QPA_MOUSE_HANDLING

#include "chrome/animatedstackedwidget.h"
#include "chrome/basewindow.h"
#include "support/childprocess.h"
#include "support/filebytes.h"
#include "support/testmain.h"
#include "support/windowlook.h"

namespace {

// A screen of another size or scale exists only from the start of a
// process: such a row runs again in a child process of this binary, which
// does the real checks.
bool inRowChild()
{
    return qEnvironmentVariableIsSet("LAUNCHER_TEST_ROW_CHILD");
}

// True when the child that runs the current row, with `settings`
// ("NAME=value") added to its environment, passes it; its output is logged
// when it does not. (A leak checker in a sanitizer build would change the
// exit code: it is off in the child.)
bool rowPassesInChild(const QStringList &settings)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &setting : settings)
        environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
    environment.insert("LAUNCHER_TEST_ROW_CHILD", "1");
    environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
    const ChildRun run = runThisBinaryAgain(
        {QTest::currentTestFunction() + QString(':') + QTest::currentDataTag()}, environment);
    if (!run.passed)
        qWarning().noquote() << run.output << run.errors;
    return run.passed;
}

// Alternate black and white columns one device pixel wide: detail that only
// a picture taken at the screen's pixel density keeps.
struct DevicePixelStripes : QWidget
{
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const qreal ratio = devicePixelRatioF();
        for (int column = 0; column < width() * ratio; ++column)
            painter.fillRect(QRectF(column / ratio, 0, 1 / ratio, height()),
                             column % 2 ? Qt::white : Qt::black);
    }
};

// A shown window at (100, 80), driven by a mouse in window coordinates of
// the press: every point is taken relative to where the window was then.
struct Shown
{
    BaseWindow window;
    QPoint origin{100, 80};
    QWindow *handle = nullptr;

    Shown()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        handle = window.windowHandle();
        window.setGeometry(QRect(origin, QSize(1024, 630)));
        QTRY_COMPARE(handle->geometry(), QRect(origin, QSize(1024, 630)));
    }
    QPoint local(QPoint p) const { return origin + p - handle->position(); }
    void drag(QPoint from, const QList<QPoint> &steps, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(handle, button, {}, local(from));
        for (const QPoint &step : steps)
            QTest::mouseMove(handle, local(from + step));
    }
    void clickResize()
    {
        QTest::mouseClick(window.findChild<QPushButton *>("toolResize"), Qt::LeftButton);
    }
};

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
        QTest::addColumn<QString>("screens");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QRect>("expected");
        QTest::addColumn<QPoint>("drag");  // of the title band, which it follows
        QTest::newRow("1920 x 1080") << R"({"width":1920,"height":1080})"
                                     << "1" << QRect(448, 225, 1024, 630) << QPoint();
        // The screen first by name is the primary one (screens without names
        // would be taken for one). The title bar may go onto the other screen.
        QTest::newRow("primary right of another")
            << R"({"name":"B","width":1920,"height":1080},)"
               R"({"name":"A","x":1920,"width":1920,"height":1080})"
            << "1" << QRect(2368, 225, 1024, 630) << QPoint(-2000, 100);
        // 910.7 x 512 logical pixels: the window is fitted to the screen.
        QTest::newRow("1366 x 768 at 150 %") << R"({"width":1366,"height":768})"
                                             << "1.5" << QRect(0, 0, 911, 512) << QPoint();
    }
    void placement()
    {
        QFETCH(QString, screens);
        QFETCH(QString, scale);
        if (inRowChild()) {
            BaseWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QTEST(window.geometry(), "expected");
            QFETCH(QPoint, drag);
            QFETCH(QRect, expected);
            QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, {400, 15});
            QTest::mouseMove(window.windowHandle(), QPoint(400, 15) + drag);
            QTRY_COMPARE(window.geometry(), expected.translated(drag));
            return;
        }
        const QString config = QDir::home().filePath("screen.json");
        QVERIFY(writeFileBytes(config, ("{\"screens\":[" + screens + "]}").toUtf8()));
        QVERIFY(rowPassesInChild(
            {"QT_QPA_PLATFORM=offscreen:configfile=" + config, "QT_SCALE_FACTOR=" + scale}));
    }

    // On a scaled screen the title-bar pictures and the pictures of a slide
    // bring a pixel for every device pixel instead of being enlarged.
    void crispOnScaledScreens_data()
    {
        QTest::addColumn<QString>("scale");
        QTest::newRow("150 %") << "1.5";
        QTest::newRow("200 %") << "2";
    }
    void crispOnScaledScreens()
    {
        QFETCH(QString, scale);
        if (!inRowChild()) {
            QVERIFY(rowPassesInChild({"QT_SCALE_FACTOR=" + scale}));
            return;
        }
        const qreal ratio = scale.toDouble();
        Shown s;
        const auto resize = s.window.findChild<QPushButton *>("toolResize");
        for (QIcon picture : {resize->icon(), QIcon(":/images/minimum_white.png"),
                              QIcon(":/images/close_white.png")})
            QCOMPARE(picture.pixmap(resize->iconSize(), ratio).devicePixelRatio(), ratio);

        // Halfway through a slide, the old page's right half keeps its stripes.
        AnimatedStackedWidget stack;
        stack.addWidget(new DevicePixelStripes);
        stack.addWidget(new QWidget);
        stack.resize(1000, 300);
        stack.show();
        QVERIFY(QTest::qWaitForWindowExposed(&stack));
        stack.setCurrentWidgetAnimated(stack.widget(1));
        stack.valueChanged_slot(QVariant(500));
        const QImage frame = stack.grab().toImage();
        for (int x = 0; x < qRound(500 * ratio); ++x)
            QCOMPARE(frame.pixelColor(x, 100), x % 2 ? QColor(Qt::white) : QColor(Qt::black));
    }

    // Where a left press lands decides what a drag does: each of the eight
    // zones over the frame's outermost 3 pixels (its place and cursor given)
    // moves the edges it names, the title band moves the window. Every step
    // starts from the geometry of the press, and the release ends the drag.
    void drags_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QList<QPoint>>("steps");
        QTest::addColumn<QRect>("after");
        QTest::addColumn<Qt::MouseButton>("button");
        const QList<QPoint> by{{20, 10}};
        const auto zone = [&](const char *row, const char *name, QRect place,
                              Qt::CursorShape cursor, QRect after) {
            QTest::newRow(row) << name << place << int(cursor) << place.center() << by << after
                               << Qt::LeftButton;
        };
        // No steps: a double click.
        const auto drag = [&](const char *row, QPoint at, QList<QPoint> steps, QRect after,
                              Qt::MouseButton button = Qt::LeftButton) {
            QTest::newRow(row) << QString() << QRect() << 0 << at << steps << after << button;
        };
        zone("top-left", "zoneTopLeft", {5, 5, 3, 3}, Qt::SizeFDiagCursor, {120, 90, 1004, 620});
        zone("top", "zoneTop", {8, 5, 1008, 3}, Qt::SizeVerCursor, {100, 90, 1024, 620});
        zone("top-right", "zoneTopRight", {1016, 5, 3, 3}, Qt::SizeBDiagCursor,
             {100, 90, 1044, 620});
        zone("left", "zoneLeft", {5, 8, 3, 614}, Qt::SizeHorCursor, {120, 80, 1004, 630});
        zone("right", "zoneRight", {1016, 8, 3, 614}, Qt::SizeHorCursor, {100, 80, 1044, 630});
        zone("bottom-left", "zoneBottomLeft", {5, 622, 3, 3}, Qt::SizeBDiagCursor,
             {120, 80, 1004, 640});
        zone("bottom", "zoneBottom", {8, 622, 1008, 3}, Qt::SizeVerCursor, {100, 80, 1024, 640});
        zone("bottom-right", "zoneBottomRight", {1016, 622, 3, 3}, Qt::SizeFDiagCursor,
             {100, 80, 1044, 640});
        const QRect moved(120, 90, 1024, 630), still(100, 80, 1024, 630);
        // The offscreen screen is 800 x 600: the top edge stops where the
        // title bar would leave it.
        drag("top edge, above the screen", {500, 6}, {{0, -300}}, {100, -5, 1024, 715});
        drag("top-right corner, above the screen", {1017, 6}, {{20, -300}}, {100, -5, 1044, 715});
        // The move band: y from 6 to 37 wherever x is, outside the zone labels.
        drag("band, y 6, left margin", {2, 6}, by, moved);
        drag("y 5", {2, 5}, by, still);
        drag("y 38", {2, 38}, by, still);
        // Only the left button drags, and maximises by a double click in the band.
        drag("band, right button", {400, 15}, by, still, Qt::RightButton);
        drag("right edge, right button", {1017, 300}, by, still, Qt::RightButton);
        drag("band, right double click", {400, 15}, {}, still, Qt::RightButton);
        drag("double click below the band", {400, 60}, {}, still);
        drag("band, many steps", {400, 15}, {{5, 5}, {100, -50}, {-37, 53}}, {63, 133, 1024, 630});
        drag("band, above the screen", {400, 15}, {{0, -50}, {0, -500}}, {100, -5, 1024, 630});
        drag("band, off the right side", {400, 15}, {{2000, 0}}, {695, 80, 1024, 630});
        // Past the least size (222 x 108) the dragged edges stop.
        drag("top-left, past the least size", {6, 6}, {{1500, 1500}, {3000, 3000}},
             {902, 602, 222, 108});
    }
    void drags()
    {
        QFETCH(QString, zone);
        QFETCH(QPoint, at);
        QFETCH(QList<QPoint>, steps);
        QFETCH(QRect, after);
        QFETCH(Qt::MouseButton, button);
        Shown s;
        if (!zone.isEmpty()) {
            const auto *label = s.window.findChild<QLabel *>(zone);
            QTEST(label->geometry(), "place");
            QTEST(int(label->cursor().shape()), "cursor");
        }
        if (steps.isEmpty()) {
            QTest::mouseDClick(s.handle, button, {}, s.local(at));
        } else {
            s.drag(at, steps, button);
            QTRY_COMPARE(s.window.geometry(), after);
            QTest::mouseRelease(s.handle, button, {}, s.local(at + steps.last()));
        }
        QTest::mouseMove(s.handle, s.local(at + QPoint(50, 50)));
        QTest::qWait(20);
        QCOMPARE(s.window.geometry(), after);
    }

    // Whoever changes the state (the title bar's button, a double click in
    // the title band, the widget's state, the window system), the window looks
    // as the button would have left it, and the button's next click goes the
    // other way. Maximised, the band starts at the window's top edge, and a
    // drag in it does nothing where the window system offers no move.
    void stateChanges_data()
    {
        QTest::addColumn<QString>("by");
        QTest::newRow("button") << "button";
        QTest::newRow("double click in the band") << "double click";
        QTest::newRow("widget state") << "widget";
        QTest::newRow("window handle state") << "window";
    }
    void stateChanges()
    {
        QFETCH(QString, by);
        Shown s;
        const auto change = [&](Qt::WindowState state) {
            if (by == "button")
                s.clickResize();
            else if (by == "double click")  // maximised, at the screen's very edge
                QTest::mouseDClick(s.handle, Qt::LeftButton, {},
                                   {400, s.window.isMaximized() ? 0 : 15});
            else if (by == "window")
                s.handle->setWindowStates(state);
            else
                s.window.setWindowState(state);
        };
        QCOMPARE(windowLook(s.window), expectedLook(false));
        change(Qt::WindowMaximized);
        QTRY_COMPARE(windowLook(s.window), expectedLook(true));
        // Maximised, it fills the screen's free area; minimised by its button
        // from there, it comes back maximised.
        const QRect maximised = s.window.screen()->availableGeometry();
        QTRY_COMPARE(s.window.geometry(), maximised);
        QTest::mouseClick(s.window.findChild<QPushButton *>("toolMinimum"), Qt::LeftButton);
        QTRY_VERIFY(s.window.isMinimized());
        s.window.setWindowState(s.window.windowState() & ~Qt::WindowMinimized);  // the task bar
        QTRY_COMPARE(windowLook(s.window), expectedLook(true));
        QTRY_COMPARE(s.window.geometry(), maximised);
        // Dragging in the band does nothing while maximised.
        s.drag(QPoint(400, 15), {{40, 40}});
        QTest::qWait(20);
        QCOMPARE(s.window.geometry(), maximised);
        QTest::mouseRelease(s.handle, Qt::LeftButton, {}, s.local({440, 55}));
        s.clickResize();
        QTRY_COMPARE(s.window.geometry(), QRect(100, 80, 1024, 630));
        QCOMPARE(windowLook(s.window), expectedLook(false));

        s.clickResize();
        QTRY_VERIFY(s.window.isMaximized());
        change(Qt::WindowNoState);
        QTRY_COMPARE(windowLook(s.window), expectedLook(false));
        s.clickResize();
        QTRY_VERIFY(s.window.isMaximized());
        QCOMPARE(windowLook(s.window), expectedLook(true));
    }
};

LAUNCHER_TEST_MAIN(TestBaseWindow)
#include "tst_basewindow.moc"
