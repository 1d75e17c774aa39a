// The sliding page stack: what a slide shows halfway, also with a web page
// in it, and where requests during a slide end.
#include <QWebEngineView>

#include "chrome/animatedstackedwidget.h"
#include "support/testmain.h"

namespace {

QLabel *colour(const char *name)
{
    auto *label = new QLabel();
    label->setStyleSheet(QStringLiteral("background:%1;").arg(QLatin1String(name)));
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return label;
}

// A page of one or two halves under a layout, as real pages are.
QWidget *page(QWidget *left, QWidget *right = nullptr)
{
    auto *page = new QWidget();
    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(left, 1);
    if (right)
        layout->addWidget(right, 1);
    return page;
}

struct Stack
{
    AnimatedStackedWidget stack;
    QList<QWidget *> pages;
    QSignalSpy changes{&stack, &QStackedWidget::currentChanged};

    explicit Stack(QList<QWidget *> list, int current = 0) : pages(list)
    {
        for (QWidget *page : pages)
            stack.addWidget(page);
        stack.setCurrentIndex(current);
        changes.clear();
        stack.resize(1000, 300);
        stack.show();
        QVERIFY(QTest::qWaitForWindowExposed(&stack));
    }
    Stack(int current = 0)
        : Stack({page(colour("#ff0000"), colour("#00ff00")),
                 page(colour("#0000ff"), colour("#ffff00")),
                 page(colour("#00ffff"), colour("#ff00ff"))},
                current)
    {
    }
    // Starts a slide to page `to`, freezes it at `v` and returns what it shows.
    QImage frozenSlide(int to, int v = 500)
    {
        stack.setCurrentWidgetAnimated(pages.at(to));
        stack.valueChanged_slot(QVariant(v));
        return stack.grab().toImage();
    }
};

bool near(const QColor &actual, const QColor &expected)
{
    return qAbs(actual.red() - expected.red()) + qAbs(actual.green() - expected.green()) +
               qAbs(actual.blue() - expected.blue()) <=
           24;
}

}  // namespace

class TestAnimatedStackedWidget : public QObject
{
    Q_OBJECT
private slots:
    // Always out to the left and in from the right, whatever the order.
    void halfwayPicture_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QColor>("leftHalf");
        QTest::addColumn<QColor>("rightHalf");
        QTest::newRow("A to B") << 0 << 1 << QColor("#00ff00") << QColor("#0000ff");
        QTest::newRow("C to A") << 2 << 0 << QColor("#ff00ff") << QColor("#ff0000");
    }
    void halfwayPicture()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        Stack s(from);
        const QImage frame = s.frozenSlide(to);
        for (int x : {4, 250, 495})
            QTEST(frame.pixelColor(x, 150), "leftHalf");
        for (int x : {505, 750, 995})
            QTEST(frame.pixelColor(x, 150), "rightHalf");
        QTRY_COMPARE(s.stack.currentIndex(), to);
    }

    // A web page is pictured once per slide: the picture shows the page as it
    // was when the slide began, never one taken during an earlier slide.
    void webPageInSlides()
    {
        auto *view = new QWebEngineView();
        QWidget *webPage = page(view);
        AnimatedStackedWidget::setPicturedOncePerSlide(webPage);
        Stack s({page(colour("#ff0000")), webPage});
        for (const char *colour : {"#0000ff", "#00ff00"}) {
            QSignalSpy loaded(view, &QWebEngineView::loadFinished);
            view->setHtml(QStringLiteral("<body style='margin:0;background:%1'>").arg(colour));
            QVERIFY(loaded.wait(15000));
            s.stack.setCurrentWidget(webPage);
            // A web view draws nothing new while it is hidden: wait for its picture.
            QTRY_VERIFY_WITH_TIMEOUT(near(webPage->grab().toImage().pixelColor(500, 150), colour),
                                     15000);
            // Out to the left: the web page's right part at the left edge.
            const QImage out = s.frozenSlide(0, 700);
            QVERIFY2(near(out.pixelColor(350, 150), colour), colour);
            QVERIFY(near(out.pixelColor(850, 150), Qt::red));
            QTRY_COMPARE(s.stack.currentIndex(), 0);
            // In from the right: the web page's left part beside the strip.
            const QImage in = s.frozenSlide(1, 200);
            QVERIFY2(near(in.pixelColor(600, 150), colour), colour);
            QTRY_COMPARE(s.stack.currentIndex(), 1);
        }
    }

    // A request during a slide only replaces the target.
    void slides_data()
    {
        QTest::addColumn<QList<int>>("requests");
        QTest::addColumn<int>("endsOn");
        QTest::addColumn<int>("changes");
        QTest::newRow("B then C") << QList<int>{1, 2} << 2 << 1;
        QTest::newRow("B then back to A") << QList<int>{1, 0} << 0 << 0;
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
            s.stack.setCurrentWidgetAnimated(s.pages.at(index));
        const bool sliding = requests.first() != 0;
        // During a slide the stack paints both pages itself.
        QCOMPARE(s.pages.at(0)->isVisible(), !sliding);
        QCOMPARE(s.stack.currentIndex(), 0);
        QTRY_VERIFY(s.pages.at(endsOn)->isVisible());
        QCOMPARE(s.stack.currentIndex(), endsOn);
        QVERIFY(!sliding || clock.elapsed() >= 490);
        QCOMPARE(s.changes.count(), changes);
        for (QWidget *page : s.pages)
            QCOMPARE(page->isVisible(), page == s.pages.at(endsOn));
        // Idle again: the next request slides.
        s.stack.setCurrentWidgetAnimated(s.pages.at(endsOn == 2 ? 0 : 2));
        QTRY_COMPARE(s.stack.currentIndex(), endsOn == 2 ? 0 : 2);
    }
};

LAUNCHER_TEST_MAIN(TestAnimatedStackedWidget)
#include "tst_animatedstackedwidget.moc"
