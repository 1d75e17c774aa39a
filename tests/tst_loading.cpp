// The loading page: its running dots, the failure that stays, and the
// picture that keeps its proportion.

#include "chrome/loading.h"
#include "support/testmain.h"

namespace {

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
    loading page;
    QLabel *text = page.findChild<QLabel *>("tooltip_text");
    // Shown while `page` must stand still: its dots tell that ticks have come
    // (and go on with the count the two share).
    loading witness;

    // The texts that `label` shows next, one at each change.
    static QStringList nextTexts(QLabel *label, int count)
    {
        QStringList seen;
        QString last = label->text();
        while (seen.size() < count && QTest::qWaitFor([&] { return label->text() != last; }, 5000))
            seen << (last = label->text());
        return seen;
    }
    // Two ticks pass on the witness, and `text` shows the same all along.
    void letTwoTicksPass()
    {
        const QString shown = text->text();
        witness.show();
        for (int tick = 0; tick < 2; ++tick) {
            QCOMPARE(nextTexts(witness.findChild<QLabel *>("tooltip_text"), 1).size(), 1);
            QCOMPARE(text->text(), shown);
        }
        witness.hide();
    }

private slots:
    // The dot count belongs to the process: one dot only on the very first tick.
    void dotsFromFirstShowing()
    {
        QCOMPARE(text->text(), QStringLiteral("Loading..."));
        page.show();
        QCOMPARE(nextTexts(text, 6), QStringList({"Loading.", "Loading..", "Loading...",
                                                  "Loading....", "Loading..", "Loading..."}));
        // Hidden, the dots stand still.
        page.hide();
        letTwoTicksPass();
    }

    // A failure, maybe while the page is still sliding in, stays shown in
    // red: a later showing brings no dots back; only a restart does.
    void failureStays()
    {
        page.showLoadFailed();
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        letTwoTicksPass();
        QCOMPARE(text->text(),
                 QStringLiteral("Loading failed, please check the network environment."));
        QVERIFY(drawnInRed(text));
        page.restart();
        QCOMPARE(text->text(), QStringLiteral("Loading..."));
        // Four dots were next, then the witness's two ticks took four and two.
        QCOMPARE(nextTexts(text, 1), QStringList{"Loading.."});
        QVERIFY(!drawnInRed(text));
    }

    // The picture keeps 1024 : 600 and sits in the middle of the page, also
    // after a burst of resizes.
    void pictureFollowsPage()
    {
        auto *picture = page.findChild<QLabel *>("m_icon");
        for (int width = 1100; width <= 2048; width += 100)
            page.resize(width, 600);
        page.resize(2048, 600);
        QTRY_COMPARE(picture->geometry(), QRect(512, 0, 1024, 600));
        page.resize(2048, 1200);
        QTRY_COMPARE(picture->geometry(), QRect(0, 0, 2048, 1200));
    }
};

LAUNCHER_TEST_MAIN(TestLoading)
#include "tst_loading.moc"
