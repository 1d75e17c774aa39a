#include <QLabel>
#include <QTimer>

#include "chrome/loading.h"
#include "support/testmain.h"

namespace {

const QString failureText = QStringLiteral("Loading failed, please check the network environment.");

QLabel *textLine(loading &page)
{
    return page.findChild<QLabel *>("tooltip_text");
}

// Waits for the text line to change and returns the new text.
QString nextText(QLabel *label)
{
    const QString before = label->text();
    if (!QTest::qWaitFor([&] { return label->text() != before; }, 5000))
        return QStringLiteral("<no change>");
    return label->text();
}

bool drawnInRed(QLabel *label)
{
    const QImage image = label->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).red() > 180 && image.pixelColor(x, y).green() < 80)
                return true;
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
        QCOMPARE(label->text(), QStringLiteral("Loading..."));
        page.show();
        QStringList seen;
        for (int i = 0; i < 5; ++i)
            seen << nextText(label);
        QCOMPARE(seen,
                 QStringList({"Loading.", "Loading..", "Loading...", "Loading....", "Loading.."}));

        // Hidden, the dots stand still; shown again, they carry on.
        page.hide();
        QTest::qWait(1100);
        QCOMPARE(label->text(), QStringLiteral("Loading.."));
        page.show();
        QCOMPARE(nextText(label), QStringLiteral("Loading..."));
        page.hide();
        // So does another page: the count is one for the whole process.
        loading second;
        second.show();
        QCOMPARE(nextText(textLine(second)), QStringLiteral("Loading...."));
    }

    void failureStays_data()
    {
        QTest::addColumn<bool>("shownFirst");
        QTest::newRow("while shown") << true;
        // A quick failure arrives while the page is still sliding in.
        QTest::newRow("before it is shown") << false;
    }
    void failureStays()
    {
        QFETCH(bool, shownFirst);
        loading page;
        QLabel *label = textLine(page);
        if (shownFirst) {
            page.show();
            QVERIFY(QTest::qWaitForWindowExposed(&page));
            nextText(label);
            QVERIFY(!drawnInRed(label));
        }
        page.showLoadFailed();
        QCOMPARE(label->text(), failureText);

        // Neither a hide nor a later showing brings the dots back; only a
        // restart for a new load does.
        page.hide();
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QTest::qWait(1100);
        QCOMPARE(label->text(), failureText);
        QVERIFY(drawnInRed(label));

        // A new load starts from the white "Loading..." with running dots.
        page.restart();
        QCOMPARE(label->text(), QStringLiteral("Loading..."));
        QVERIFY(nextText(label).startsWith(QStringLiteral("Loading.")));
        QVERIFY(!drawnInRed(label));
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

        for (int width = 1100; width <= 1500; width += 100)
            page.resize(width, 700);
        QTRY_COMPARE(fits.count(), 1);
        QTest::qWait(100);
        QCOMPARE(fits.count(), 1);
        page.resize(1600, 700);
        QTRY_COMPARE(fits.count(), 2);
    }

    // The picture keeps 1024 : 600 and sits in the middle of the page.
    void pictureFollowsPage_data()
    {
        QTest::addColumn<QSize>("pageSize");
        QTest::addColumn<QRect>("pictureRect");
        QTest::newRow("2048 x 600") << QSize(2048, 600) << QRect(512, 0, 1024, 600);
        QTest::newRow("2048 x 1200") << QSize(2048, 1200) << QRect(0, 0, 2048, 1200);
    }
    void pictureFollowsPage()
    {
        QFETCH(QSize, pageSize);
        loading page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.resize(pageSize);
        QFETCH(QRect, pictureRect);
        QTRY_COMPARE(page.findChild<QLabel *>("m_icon")->geometry(), pictureRect);
    }
};

LAUNCHER_TEST_MAIN(TestLoading)
#include "tst_loading.moc"
