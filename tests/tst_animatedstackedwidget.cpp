// The sliding page stack: what a slide shows of a web page in it, and when
// a slide ends.
#include <QWebEngineView>

#include "chrome/animatedstackedwidget.h"
#include "support/pixelprobe.h"
#include "support/testmain.h"

namespace {

struct Stack
{
    AnimatedStackedWidget stack;
    QList<QWidget *> pages;

    explicit Stack(QList<QWidget *> list) : pages(list)
    {
        for (QWidget *page : pages)
            stack.addWidget(page);
        stack.resize(1000, 300);
        stack.show();
        QVERIFY(QTest::qWaitForWindowExposed(&stack));
    }
    // Starts a slide to page `to`, freezes it at `v` and returns what it shows.
    QImage frozenSlide(int to, int v)
    {
        stack.setCurrentWidgetAnimated(pages.at(to));
        stack.valueChanged_slot(QVariant(v));
        return stack.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

// Holds up the first paint a page gets, as a page drawn for the first time
// (or on a busy machine) may, and notes when that frame was done.
struct SlowFirstPaint : QObject
{
    QElapsedTimer clock;
    qint64 endedAt = -1;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && endedAt < 0) {
            QThread::msleep(1000);
            endedAt = clock.elapsed();
        }
        return false;
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
    // The old page leaves to the left while the new one comes in from the
    // right, whichever comes first in the stack: halfway (v = 500 of 1000) the
    // left half shows the old page's right half, the right half the new
    // page's left half, pixel for pixel as the page draws itself. A web page
    // (a view under a layout, as the console page) is pictured once per
    // slide: the picture shows the page as it was when the slide began, never
    // one taken during an earlier slide.
    void webPageInSlides()
    {
        QWidget *plain = new QLabel(), *webPage = new QWidget();
        plain->setStyleSheet("background:qlineargradient(x2:1, stop:0 #f00, stop:1 #ff0);");
        const auto plainHalf = [plain](int x) {
            return plain->grab()
                .toImage()
                .copy(x, 0, 500, 300)
                .convertToFormat(QImage::Format_RGB32);
        };
        auto *view = new QWebEngineView();
        (new QGridLayout(webPage))->addWidget(view);
        webPage->layout()->setContentsMargins(0, 0, 0, 0);
        AnimatedStackedWidget::setPicturedOncePerSlide(webPage);
        Stack s({plain, webPage});
        for (const char *colour : {"#0000ff", "#00ff00"}) {
            QSignalSpy loaded(view, &QWebEngineView::loadFinished);
            view->setHtml(QStringLiteral("<body style='margin:0;background:%1'>").arg(colour));
            QVERIFY(loaded.wait(15000));
            s.stack.setCurrentWidget(webPage);
            // A web view draws nothing new while it is hidden: wait for its picture.
            QTRY_VERIFY_WITH_TIMEOUT(near(colourAt(webPage, {500, 150}), colour), 15000);
            const QImage out = s.frozenSlide(0, 500);
            QVERIFY2(near(out.pixelColor(250, 150), colour), colour);
            QVERIFY(out.copy(500, 0, 500, 300) == plainHalf(0));
            QTRY_COMPARE(s.stack.currentIndex(), 0);
            const QImage in = s.frozenSlide(1, 500);
            QVERIFY(in.copy(0, 0, 500, 300) == plainHalf(500));
            QVERIFY2(near(in.pixelColor(750, 150), colour), colour);
            QTRY_COMPARE(s.stack.currentIndex(), 1);
        }
    }

    // A slide lasts 500 ms by the clock, also when its first frame takes a
    // second: it ends as soon as the thread is free again, not another 500 ms
    // after that frame. Measured from the frame's end, so that a busy machine
    // does not count.
    void slideEndsOnTimeAfterASlowFirstFrame()
    {
        Stack s({new QLabel("A"), new QLabel("B")});
        SlowFirstPaint slow;
        s.pages.at(1)->installEventFilter(&slow);
        qint64 switchedAt = -1;
        connect(&s.stack, &QStackedWidget::currentChanged, this,
                [&] { switchedAt = slow.clock.elapsed(); });
        slow.clock.start();
        s.stack.setCurrentWidgetAnimated(s.pages.at(1));
        QTRY_COMPARE_WITH_TIMEOUT(s.stack.currentIndex(), 1, 10000);
        // The slow frame is the slide's own first one, before the switch.
        QVERIFY(slow.endedAt >= 0 && switchedAt >= slow.endedAt);
        QVERIFY2(switchedAt - slow.endedAt < 400,
                 qPrintable(
                     QStringLiteral("%1 ms after the slow frame").arg(switchedAt - slow.endedAt)));
    }
};

LAUNCHER_TEST_MAIN(TestAnimatedStackedWidget)
#include "tst_animatedstackedwidget.moc"
