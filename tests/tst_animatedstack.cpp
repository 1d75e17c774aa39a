#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>

#include "chrome/animatedstackedwidget.h"
#include "support/testmain.h"

namespace {

// A page whose left and right halves have different colours, drawn by child
// widgets under a layout, as real pages are.
QWidget *halvesPage(const char *name, const char *left, const char *right)
{
    auto *page = new QWidget();
    page->setObjectName(name);
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

struct Stack
{
    AnimatedStackedWidget stack;
    QWidget *a = halvesPage("A", "#ff0000", "#00ff00");
    QWidget *b = halvesPage("B", "#0000ff", "#ffff00");
    QWidget *c = halvesPage("C", "#00ffff", "#ff00ff");

    Stack()
    {
        stack.addWidget(a);
        stack.addWidget(b);
        stack.addWidget(c);
        stack.resize(1000, 300);
        stack.show();
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
        // Always out to the left and in from the right, whatever the order of
        // the pages in the stack.
        QTest::newRow("A to B") << 0 << 1 << QColor("#00ff00") << QColor("#0000ff");
        QTest::newRow("A to C") << 0 << 2 << QColor("#00ff00") << QColor("#00ffff");
        QTest::newRow("C to A") << 2 << 0 << QColor("#ff00ff") << QColor("#ff0000");
    }
    void halfwayPicture()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QColor, leftHalf);
        QFETCH(QColor, rightHalf);

        Stack s;
        s.stack.setCurrentIndex(from);
        QVERIFY(QTest::qWaitForWindowExposed(&s.stack));
        s.stack.setCurrentWidgetAnimated(s.stack.widget(to));
        // Freeze the picture at the middle of the value range and draw it at once.
        s.stack.valueChanged_slot(QVariant(500));
        const QImage frame = s.stack.grab().toImage();

        for (int x : {4, 250, 495})
            QCOMPARE(frame.pixelColor(x, 150), leftHalf);
        for (int x : {505, 750, 995})
            QCOMPARE(frame.pixelColor(x, 150), rightHalf);
        QTRY_COMPARE(s.stack.currentIndex(), to);
    }

    void lastRequestWins()
    {
        Stack s;
        QVERIFY(QTest::qWaitForWindowExposed(&s.stack));
        QSignalSpy changes(&s.stack, &QStackedWidget::currentChanged);

        s.stack.setCurrentWidgetAnimated(s.b);
        s.stack.setCurrentWidgetAnimated(s.c);
        // The current page changes only when the one slide ends.
        QCOMPARE(s.stack.currentWidget(), s.a);
        QTRY_COMPARE(s.stack.currentWidget(), s.c);
        QTest::qWait(100);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.first().first().toInt(), 2);
        QVERIFY(s.c->isVisible());
        QVERIFY(!s.a->isVisible());
        QVERIFY(!s.b->isVisible());
    }

    void slideShowsTargetAtEnd()
    {
        Stack s;
        QVERIFY(QTest::qWaitForWindowExposed(&s.stack));
        QElapsedTimer clock;
        clock.start();
        s.stack.setCurrentWidgetAnimated(s.b);
        // During the slide the stack paints both pages itself.
        QVERIFY(!s.a->isVisible());
        QVERIFY(!s.b->isVisible());
        QTRY_COMPARE(s.stack.currentWidget(), s.b);
        QVERIFY(clock.elapsed() >= 490);
        QVERIFY(s.b->isVisible());
        QVERIFY(!s.a->isVisible());

        // Done sliding: the next request slides again.
        s.stack.setCurrentWidgetAnimated(s.a);
        QTRY_COMPARE(s.stack.currentWidget(), s.a);
        QVERIFY(s.a->isVisible());
    }

    void currentPageRequest()
    {
        Stack s;
        QVERIFY(QTest::qWaitForWindowExposed(&s.stack));
        QSignalSpy changes(&s.stack, &QStackedWidget::currentChanged);
        s.stack.setCurrentWidgetAnimated(s.a);
        // No slide: the page was not hidden for one.
        QVERIFY(s.a->isVisible());
        s.stack.setCurrentWidgetAnimated(s.c);
        QTRY_COMPARE(s.stack.currentWidget(), s.c);
        QCOMPARE(changes.count(), 1);
    }

    void backToCurrentDuringSlide()
    {
        Stack s;
        QVERIFY(QTest::qWaitForWindowExposed(&s.stack));
        QSignalSpy changes(&s.stack, &QStackedWidget::currentChanged);
        s.stack.setCurrentWidgetAnimated(s.b);
        s.stack.setCurrentWidgetAnimated(s.a);
        QVERIFY(!s.a->isVisible());
        // The slide runs to its end and shows the old page again.
        QTRY_VERIFY(s.a->isVisible());
        QCOMPARE(s.stack.currentWidget(), s.a);
        QVERIFY(!s.b->isVisible());
        QCOMPARE(changes.count(), 0);
    }

    void targetDeletedDuringSlide()
    {
        Stack s;
        QVERIFY(QTest::qWaitForWindowExposed(&s.stack));
        s.stack.setCurrentWidgetAnimated(s.c);
        delete s.c;
        QTest::qWait(800);
        QCOMPARE(s.stack.currentWidget(), s.a);
        QCOMPARE(s.stack.count(), 2);
        // The stack is usable again afterwards.
        s.stack.setCurrentWidgetAnimated(s.b);
        QTRY_COMPARE(s.stack.currentWidget(), s.b);
        QVERIFY(s.b->isVisible());
    }
};

LAUNCHER_TEST_MAIN(TestAnimatedStack)
#include "tst_animatedstack.moc"
