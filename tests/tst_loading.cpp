#include <QLabel>
#include <QTimer>

#include "chrome/loading.h"
#include "support/testmain.h"

namespace {

QLabel *textLine(loading &page)
{
    return page.findChild<QLabel *>("tooltip_text");
}

QLabel *picture(loading &page)
{
    return page.findChild<QLabel *>("m_icon");
}

// Waits for the text line to change and returns the new text.
QString nextText(QLabel *label)
{
    const QString before = label->text();
    if (!QTest::qWaitFor([&] { return label->text() != before; }, 5000))
        return QStringLiteral("<no change>");
    return label->text();
}

// Counts the events of one type that reach an object.
class EventCounter : public QObject
{
public:
    EventCounter(QObject *watched, QEvent::Type type) : type(type)
    {
        watched->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == type)
            ++count;
        return false;
    }

private:
    QEvent::Type type;
};

bool looksRed(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 80 && c.blue() < 80)
                return true;
        }
    }
    return false;
}

}  // namespace

class TestLoading : public QObject
{
    Q_OBJECT
private slots:
    // Must stay first: the dot count belongs to the process.
    void dotsFromFirstShowing()
    {
        loading page;
        QLabel *label = textLine(page);
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Loading..."));

        page.show();
        QStringList seen;
        for (int i = 0; i < 5; ++i)
            seen << nextText(label);
        QCOMPARE(seen,
                 QStringList({"Loading.", "Loading..", "Loading...", "Loading....", "Loading.."}));

        // Hidden, the dots stand still.
        page.hide();
        const QString whileHidden = label->text();
        QTest::qWait(1200);
        QCOMPARE(label->text(), whileHidden);

        // Shown again, it carries on where it stopped; so does another page
        // shown later, since the count belongs to the process.
        page.show();
        QCOMPARE(nextText(label), QStringLiteral("Loading..."));
        page.hide();
        loading second;
        second.show();
        QCOMPARE(nextText(textLine(second)), QStringLiteral("Loading...."));
    }

    void failureStays()
    {
        loading page;
        QLabel *label = textLine(page);
        page.resize(1024, 600);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        nextText(label);

        page.showLoadFailed();
        const QString failure =
            QStringLiteral("Loading failed, please check the network environment.");
        QCOMPARE(label->text(), failure);
        QCOMPARE(label->styleSheet(), QStringLiteral("QLabel{color:red}"));
        QVERIFY(looksRed(label->grab().toImage()));

        // Neither the dot timer nor a hide and show brings the dots back.
        page.hide();
        QCOMPARE(label->styleSheet(), QStringLiteral("QLabel{color:red}"));
        page.show();
        QTest::qWait(1300);
        QCOMPARE(label->text(), failure);
        QVERIFY(looksRed(label->grab().toImage()));
    }

    void failureWhileHidden()
    {
        // A fast failure arrives while the page is still sliding in (hidden):
        // showing it afterwards must keep the failure, not restart the dots.
        loading page;
        page.showLoadFailed();
        page.show();
        QTest::qWait(1300);
        QCOMPARE(textLine(page)->text(),
                 QStringLiteral("Loading failed, please check the network environment."));
    }

    void oneFitPerBurst()
    {
        loading page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto *timer = page.findChild<QTimer *>("resizeTimer");
        QVERIFY(timer);
        QTRY_VERIFY(!timer->isActive());
        QSignalSpy fits(timer, &QTimer::timeout);
        EventCounter resizes(&page, QEvent::Resize);

        for (int width = 1100; width <= 1500; width += 100)
            page.resize(width, 700);
        QCOMPARE(resizes.count, 5);
        QTRY_COMPARE(fits.count(), 1);
        QTest::qWait(100);
        QCOMPARE(fits.count(), 1);

        page.resize(1600, 700);
        QTRY_COMPARE(fits.count(), 2);
    }

    void pictureFits_data()
    {
        QTest::addColumn<QSize>("pageSize");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("2048 x 600") << QSize(2048, 600) << QRect(512, 0, 1024, 600);
        QTest::newRow("2048 x 1200") << QSize(2048, 1200) << QRect(0, 0, 2048, 1200);
        QTest::newRow("1024 x 1000") << QSize(1024, 1000) << QRect(0, 200, 1024, 600);
        QTest::newRow("1014 x 590") << QSize(1014, 590) << QRect(4, 0, 1006, 590);
        QTest::newRow("512 x 300") << QSize(512, 300) << QRect(0, 0, 512, 300);
    }
    void pictureFits()
    {
        QFETCH(QSize, pageSize);
        QFETCH(QRect, expected);
        loading page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.resize(pageSize);
        QTRY_COMPARE(picture(page)->geometry(), expected);
        QVERIFY(picture(page)->hasScaledContents());
    }

    void textFollowsPage()
    {
        // The text line is scaled with the page: it stays at the bottom sixth,
        // with its font in steps.
        loading page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.resize(2048, 1200);
        QTRY_COMPARE(textLine(page)->geometry(), QRect(0, 1000, 2048, 200));
        QCOMPARE(textLine(page)->font().pointSize(), 17);
        page.resize(1024, 600);
        QTRY_COMPARE(textLine(page)->geometry(), QRect(0, 500, 1024, 100));
        QCOMPARE(textLine(page)->font().pointSize(), 14);
    }
};

LAUNCHER_TEST_MAIN(TestLoading)
#include "tst_loading.moc"
