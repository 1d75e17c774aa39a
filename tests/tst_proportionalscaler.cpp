// The proportional scaler of fixed-geometry forms: geometry and fonts follow
// the owner's size from what was recorded at the base size.

#include "chrome/proportionalscaler.h"
#include "support/testmain.h"

namespace {

QFont pointFont(int size)
{
    QFont font;
    font.setPointSize(size);
    return font;
}

}  // namespace

class TestProportionalScaler : public QObject
{
    Q_OBJECT
private slots:
    // A form drawn for 1024 x 600: "probe" at (100, 50, 200, 40) in 16 points,
    // "flat" at (10, 20, 30, 0), "thin" at (300, 300, 2, 1).
    void followsOwnerSize_data()
    {
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<QSize>("ownerSize");
        QTest::addColumn<QList<QRect>>("geometries");  // probe, flat, thin
        QTest::addColumn<int>("points");
        const auto row = [](const char *tag, QSize size, QList<QRect> rects, int points) {
            QTest::newRow(tag) << true << size << rects << points;
        };
        // At the base size nothing moves, but a zero height becomes 1 and
        // fonts take the 0.9 step.
        row("base size", {1024, 600}, {{100, 50, 200, 40}, {10, 20, 30, 1}, {300, 300, 2, 1}}, 14);
        // Exactly twice the base size is not above 2: the 1.1 step.
        row("double size", {2048, 1200}, {{200, 100, 400, 80}, {20, 40, 60, 1}, {600, 600, 4, 2}},
            17);
        row("2.5 times", {2560, 1500}, {{250, 125, 500, 100}, {25, 50, 75, 1}, {750, 750, 5, 2}},
            19);
        // Fonts follow the smaller of the two ratios.
        row("double width", {2048, 600}, {{200, 50, 400, 40}, {20, 20, 60, 1}, {600, 300, 4, 1}},
            14);
        // A width may shrink to nothing, a height never below one pixel.
        row("a third", {341, 200}, {{33, 16, 66, 13}, {3, 6, 9, 1}, {99, 100, 0, 1}}, 8);
        row("0.85 times", {870, 510}, {{84, 42, 169, 34}, {8, 17, 25, 1}, {254, 255, 1, 1}}, 13);
        row("0.6 times", {614, 360}, {{59, 30, 119, 24}, {5, 12, 17, 1}, {179, 180, 1, 1}}, 11);
        QTest::newRow("rescale before record")
            << false << QSize(2048, 1200)
            << QList<QRect>{{100, 50, 200, 40}, {10, 20, 30, 0}, {300, 300, 2, 1}} << 16;
    }
    void followsOwnerSize()
    {
        QFETCH(bool, recorded);
        QFETCH(QSize, ownerSize);
        QWidget owner;
        owner.resize(1024, 600);
        QList<QLabel *> labels;
        for (const QRect &r :
             {QRect(100, 50, 200, 40), QRect(10, 20, 30, 0), QRect(300, 300, 2, 1)})
            labels << new QLabel(&owner), labels.last()->setGeometry(r);
        labels.first()->setFont(pointFont(16));
        auto *pixels = new QLabel(&owner), *tiny = new QLabel(&owner);
        QFont pixelFont;
        pixelFont.setPixelSize(20);
        pixels->setFont(pixelFont);
        tiny->setFont(pointFont(1));
        auto *plainFrame = new QFrame(&owner);
        plainFrame->setGeometry(5, 5, 50, 50);
        ProportionalScaler scaler(&owner, 1024, 600);
        scaler.setTypeMask(ProportionalScaler::ScaleLabels | ProportionalScaler::ScaleButtons |
                           ProportionalScaler::ScaleLineEdits |
                           ProportionalScaler::ScaleComboBoxes);
        if (recorded)
            scaler.record();
        // Earlier rescales leave no trace: each starts from the recorded state.
        for (const QSize size : {QSize(3000, 1900), QSize(300, 170), ownerSize}) {
            owner.resize(size);
            scaler.rescale();
        }
        QList<QRect> geometries;
        for (QLabel *label : labels)
            geometries << label->geometry();
        QTEST(geometries, "geometries");
        QTEST(labels.first()->font().pointSize(), "points");
        // Pixel sizes are left alone; the smallest text never drops to the
        // invalid size 0; plain frames are not collected with this mask.
        QCOMPARE(pixels->font().pixelSize(), 20);
        QCOMPARE(tiny->font().pointSize(), 1);
        QCOMPARE(plainFrame->geometry(), QRect(5, 5, 50, 50));
    }

    // A free-standing layout's container is scaled; the label in it keeps to
    // its layout, and only its font is scaled.
    void layoutContainer()
    {
        QWidget owner;
        owner.resize(1024, 600);
        auto *container = new QWidget(&owner);
        container->setObjectName("layoutWidget1");
        container->setGeometry(100, 100, 300, 200);
        auto *layout = new QVBoxLayout(container);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *inside = new QLabel(QStringLiteral("inside"));
        inside->setFont(pointFont(16));
        layout->addWidget(inside);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        ProportionalScaler scaler(&owner, 1024, 600);
        scaler.setTypeMask(ProportionalScaler::ScaleLabels);
        scaler.record();
        owner.resize(2048, 1200);
        scaler.rescale();
        QCOMPARE(container->geometry(), QRect(200, 200, 600, 400));
        QCOMPARE(inside->font().pointSize(), 17);
        QTRY_COMPARE(inside->geometry(), QRect(0, 0, 600, 400));
    }

    // A style sheet font wins over setFont: "font: Npt" is rewritten, always
    // from the recorded size; other forms are left as written.
    void styleSheetFont_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("rewritten");
        QTest::addColumn<int>("shownPoints");
        QTest::newRow("font: 16pt") << "QLabel{font: 16pt;}"
                                    << "QLabel{font: 14pt;}" << 14;
        QTest::newRow("font-size: 16pt") << "QLabel{font-size: 16pt;}"
                                         << "QLabel{font-size: 16pt;}" << 16;
    }
    void styleSheetFont()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, rewritten);
        QWidget owner;
        owner.resize(1024, 600);
        auto *label = new QLabel(QStringLiteral("text"), &owner);
        label->setFont(pointFont(16));
        label->setStyleSheet(sheet);
        ProportionalScaler scaler(&owner, 1024, 600);
        scaler.setTypeMask(ProportionalScaler::ScaleLabels);
        scaler.record();
        scaler.rescale();
        QCOMPARE(label->styleSheet(), rewritten);
        label->ensurePolished();
        QTEST(label->font().pointSize(), "shownPoints");
        owner.resize(2560, 1500);
        scaler.rescale();
        QCOMPARE(label->styleSheet().contains(QLatin1String("font: 19pt")), rewritten != sheet);
    }
};

LAUNCHER_TEST_MAIN(TestProportionalScaler)
#include "tst_proportionalscaler.moc"
