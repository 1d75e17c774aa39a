#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QThread>
#include <utility>

#include "chrome/animatedstackedwidget.h"
#include "support/childrow.h"
#include "support/testmain.h"

namespace {

// A page whose halves have different colours, drawn by children under a
// layout as on real pages.
QWidget *halvesPage(const char *left, const char *right)
{
    auto *page = new QWidget();
    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const char *colour : {left, right}) {
        auto *half = new QLabel();
        half->setStyleSheet(QStringLiteral("background:%1;").arg(QLatin1String(colour)));
        half->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(half, 1);
    }
    return page;
}

// Holds up the first paint a page gets, as a page drawn for the first time
// (or on a busy machine) may.
class SlowFirstPaint : public QObject
{
public:
    explicit SlowFirstPaint(int ms) : ms(ms) { clock.start(); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && ms > 0) {
            QThread::msleep(std::exchange(ms, 0));
            endedAt = clock.elapsed();
        }
        return false;
    }

    QElapsedTimer clock;
    qint64 endedAt = -1;  // when the slow frame was done, on `clock`

private:
    unsigned long ms;
};

// Alternate black and white columns one device pixel wide: detail that only
// a picture taken at the screen's pixel density keeps.
class DevicePixelStripes : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const qreal ratio = devicePixelRatioF();
        painter.fillRect(rect(), Qt::white);
        for (int column = 0; column < width() * ratio; column += 2)
            painter.fillRect(QRectF(column / ratio, 0, 1 / ratio, height()), Qt::black);
    }
};

struct Stack
{
    AnimatedStackedWidget stack;
    QWidget *a = halvesPage("#ff0000", "#00ff00");
    QWidget *b = halvesPage("#0000ff", "#ffff00");
    QWidget *c = halvesPage("#00ffff", "#ff00ff");
    QSignalSpy changes{&stack, &QStackedWidget::currentChanged};

    Stack(int current = 0)
    {
        for (QWidget *page : {a, b, c})
            stack.addWidget(page);
        stack.setCurrentIndex(current);
        changes.clear();
        stack.resize(1000, 300);
        stack.show();
        QVERIFY(QTest::qWaitForWindowExposed(&stack));
    }
};

}  // namespace

class TestAnimatedStack : public QObject
{
    Q_OBJECT
private slots:
    void halfwayPicture_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QColor>("leftHalf");
        QTest::addColumn<QColor>("rightHalf");
        // Always out to the left and in from the right, whatever the order.
        QTest::newRow("A to B") << 0 << 1 << QColor("#00ff00") << QColor("#0000ff");
        QTest::newRow("C to A") << 2 << 0 << QColor("#ff00ff") << QColor("#ff0000");
    }
    void halfwayPicture()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QColor, leftHalf);
        QFETCH(QColor, rightHalf);

        Stack s(from);
        s.stack.setCurrentWidgetAnimated(s.stack.widget(to));
        // Freeze the slide in the middle of its value range and draw it now.
        s.stack.valueChanged_slot(QVariant(500));
        const QImage frame = s.stack.grab().toImage();
        for (int x : {4, 250, 495})
            QCOMPARE(frame.pixelColor(x, 150), leftHalf);
        for (int x : {505, 750, 995})
            QCOMPARE(frame.pixelColor(x, 150), rightHalf);
        QTRY_COMPARE(s.stack.currentIndex(), to);
    }

    // Halfway through a slide on a scaled screen, the old page's right half
    // (stripes) keeps every device pixel, beside the new page's left half.
    void slideOnScaledScreen_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("150 %") << 1.5;
        QTest::newRow("200 %") << 2.0;
    }
    void slideOnScaledScreen()
    {
        QFETCH(qreal, ratio);
        if (!inRowChild()) {
            QProcessEnvironment added;
            added.insert("QT_SCALE_FACTOR", QString::number(ratio));
            QString output;
            QVERIFY2(rowPassesInChild(added, &output), qPrintable(output));
            return;
        }
        Stack s;
        QCOMPARE(s.stack.devicePixelRatioF(), ratio);
        // Page A: red left half, stripes right half.
        QLayout *layout = s.a->layout();
        auto *stripes = new DevicePixelStripes();
        QLayoutItem *green = layout->replaceWidget(layout->itemAt(1)->widget(), stripes);
        delete green->widget();
        delete green;
        stripes->show();
        layout->activate();
        s.stack.setCurrentWidgetAnimated(s.b);
        s.stack.valueChanged_slot(QVariant(500));
        const QImage frame = s.stack.grab().toImage();
        QCOMPARE(frame.devicePixelRatio(), ratio);
        const int half = qRound(500 * ratio);
        for (int x = 0; x < half; ++x)
            QCOMPARE(frame.pixelColor(x, 100), x % 2 ? QColor(Qt::white) : QColor(Qt::black));
        for (int x = half; x < 2 * half; x += 50)
            QCOMPARE(frame.pixelColor(x, 100), QColor("#0000ff"));
    }

    void slides_data()
    {
        QTest::addColumn<QList<int>>("requests");
        QTest::addColumn<int>("endsOn");
        QTest::addColumn<int>("changes");
        // A request during a slide only replaces the target.
        QTest::newRow("B then C") << QList<int>{1, 2} << 2 << 1;
        QTest::newRow("B then back to A") << QList<int>{1, 0} << 0 << 0;
        QTest::newRow("the current page") << QList<int>{0} << 0 << 0;
    }
    void slides()
    {
        QFETCH(QList<int>, requests);
        QFETCH(int, endsOn);
        QFETCH(int, changes);

        Stack s;
        QElapsedTimer clock;
        clock.start();
        for (int index : requests)
            s.stack.setCurrentWidgetAnimated(s.stack.widget(index));
        const bool sliding = requests.first() != 0;
        // During a slide the stack paints both pages itself.
        QCOMPARE(s.a->isVisible(), !sliding);
        QCOMPARE(s.stack.currentWidget(), s.a);

        QTRY_VERIFY(s.stack.widget(endsOn)->isVisible());
        QCOMPARE(s.stack.currentIndex(), endsOn);
        if (sliding)
            QVERIFY(clock.elapsed() >= 490);
        QTest::qWait(50);
        QCOMPARE(s.changes.count(), changes);
        for (QWidget *page : {s.a, s.b, s.c})
            QCOMPARE(page->isVisible(), page == s.stack.widget(endsOn));

        // Idle again: the next request slides.
        s.stack.setCurrentWidgetAnimated(endsOn == 2 ? s.a : s.c);
        QTRY_COMPARE(s.stack.currentWidget(), endsOn == 2 ? s.a : s.c);
    }

    void slideEndsOnTimeAfterASlowFirstFrame()
    {
        // A slide lasts 500 ms by the clock, also when its first frame takes a
        // second: it ends as soon as the thread is free again, not another
        // 500 ms after that frame. Measured from the frame's end, so that a
        // busy machine does not count.
        Stack s;
        SlowFirstPaint slow(1000);
        s.b->findChild<QLabel *>()->installEventFilter(&slow);
        qint64 switchedAt = -1;
        connect(&s.stack, &QStackedWidget::currentChanged, &s.stack,
                [&] { switchedAt = slow.clock.elapsed(); });
        s.stack.setCurrentWidgetAnimated(s.b);
        QTRY_COMPARE_WITH_TIMEOUT(s.stack.currentWidget(), s.b, 10000);
        QVERIFY(slow.endedAt >= 0);
        QVERIFY2(switchedAt - slow.endedAt < 400,
                 qPrintable(
                     QStringLiteral("%1 ms after the slow frame").arg(switchedAt - slow.endedAt)));
    }

    void targetDeletedDuringSlide()
    {
        Stack s;
        s.stack.setCurrentWidgetAnimated(s.c);
        delete s.c;
        QTest::qWait(700);
        QCOMPARE(s.stack.currentWidget(), s.a);
        s.stack.setCurrentWidgetAnimated(s.b);
        QTRY_COMPARE(s.stack.currentWidget(), s.b);
        QVERIFY(s.b->isVisible());
    }
};

LAUNCHER_TEST_MAIN(TestAnimatedStack)
#include "tst_animatedstack.moc"
