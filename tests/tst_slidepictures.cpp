#include <QGridLayout>
#include <QLabel>
#include <QWebEngineView>

#include "chrome/animatedstackedwidget.h"
#include "support/testmain.h"

namespace {

bool near(const QColor &actual, const QColor &expected)
{
    return qAbs(actual.red() - expected.red()) <= 8 &&
           qAbs(actual.green() - expected.green()) <= 8 &&
           qAbs(actual.blue() - expected.blue()) <= 8;
}

// A stack of a plain page and a page that holds nothing but a web view, as
// the loading page and the console page are.
struct WebStack
{
    AnimatedStackedWidget stack;
    QLabel *plain = new QLabel();
    QWidget *webPage = new QWidget();
    QWebEngineView *view = new QWebEngineView();

    WebStack()
    {
        plain->setStyleSheet(QStringLiteral("background:#ff0000;"));
        auto *layout = new QGridLayout(webPage);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
        stack.addWidget(plain);
        AnimatedStackedWidget::setPicturedOncePerSlide(webPage);
        stack.addWidget(webPage);
        stack.resize(1000, 300);
        stack.show();
    }

    // Shows the web page with the given background and waits until its
    // picture has it: a web view draws nothing new while it is hidden.
    bool showColour(const QColor &colour)
    {
        QSignalSpy loaded(view, &QWebEngineView::loadFinished);
        view->setHtml(QStringLiteral("<html><body style='margin:0;background:%1'></body></html>")
                          .arg(colour.name()));
        if (!loaded.wait(15000))
            return false;
        stack.setCurrentWidget(webPage);
        QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired()) {
            if (near(webPage->grab().toImage().pixelColor(500, 150), colour))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    // Starts a slide to the page, freezes it at v and returns what it shows.
    QImage frozenSlide(QWidget *to, int v)
    {
        stack.setCurrentWidgetAnimated(to);
        stack.valueChanged_slot(QVariant(v));
        return stack.grab().toImage();
    }
};

}  // namespace

class TestSlidePictures : public QObject
{
    Q_OBJECT
private slots:
    void webPageInSlides_data()
    {
        QTest::addColumn<QStringList>("colours");
        QTest::newRow("one console") << QStringList{"#0000ff"};
        // A picture of the console taken during one slide must not turn up
        // in a later one.
        QTest::newRow("console changes between slides")
            << QStringList{"#0000ff", "#00ff00", "#ffff00"};
    }
    void webPageInSlides()
    {
        QFETCH(QStringList, colours);
        WebStack s;
        QVERIFY(QTest::qWaitForWindowExposed(&s.stack));
        const QColor plainColour("#ff0000");

        for (const QString &name : colours) {
            const QColor colour(name);
            QVERIFY2(s.showColour(colour), qPrintable(name));

            // Out to the left: the web page's right part at the left edge.
            for (int v : {700, 300}) {
                const QImage frame = s.frozenSlide(s.plain, v);
                QVERIFY2(near(frame.pixelColor(v / 2, 150), colour), qPrintable(name));
                QVERIFY(near(frame.pixelColor(v + (1000 - v) / 2, 150), plainColour));
            }
            QTRY_COMPARE_WITH_TIMEOUT(s.stack.currentWidget(), s.plain, 5000);

            // In from the right: the web page's left part beside the strip.
            for (int v : {600, 200}) {
                const QImage frame = s.frozenSlide(s.webPage, v);
                QVERIFY(near(frame.pixelColor(v / 2, 150), plainColour));
                QVERIFY2(near(frame.pixelColor(v + (1000 - v) / 2, 150), colour), qPrintable(name));
            }
            QTRY_COMPARE_WITH_TIMEOUT(s.stack.currentWidget(), s.webPage, 5000);
            QVERIFY(s.webPage->isVisible());
        }
    }
};

LAUNCHER_TEST_MAIN(TestSlidePictures)
#include "tst_slidepictures.moc"
