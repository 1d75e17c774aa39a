// The proportional scaler of fixed-geometry forms: geometry and fonts follow
// the owner's size from what was recorded at the base size.
#include "chrome/proportionalscaler.h"
#include "support/testmain.h"

namespace {

// A container as Qt Designer makes for a free-standing layout, where "probe"
// stands (100, 50, 200, 40), with a label of 16 points under its layout.
QWidget *layoutContainer(QWidget *owner)
{
    auto *container = new QWidget(owner);
    container->setObjectName("layoutWidget");
    container->setGeometry(100, 50, 200, 40);
    (new QGridLayout(container))->addWidget(new QLabel(QStringLiteral("inside")));
    container->findChild<QLabel *>()->setFont(QFont(QString(), 16));
    return container;
}

// An owner drawn for 1024 x 600 with its scaler.
struct Form
{
    QWidget owner;
    QWidget *container = layoutContainer(&owner);  // before the scaler, which looks for it
    ProportionalScaler scaler{&owner, 1024, 600};
    Form() { owner.resize(1024, 600); }
    QLabel *label(const QRect &geometry, const QFont &font = {})
    {
        auto *label = new QLabel(QStringLiteral("text"), &owner);
        label->setGeometry(geometry);
        label->setFont(font);
        return label;
    }
    void rescale(QSize size)
    {
        owner.resize(size);
        scaler.rescale();
    }
};

}  // namespace

class TestProportionalScaler : public QObject
{
    Q_OBJECT
private slots:
    // "probe" drawn at (100, 50, 200, 40) in 16 points, "flat" at
    // (10, 20, 30, 0): at the base size nothing moves, but a zero height
    // becomes 1 and fonts take the 0.9 step; fonts follow the smaller ratio
    // in coarse steps; a height never drops below one pixel. The layout
    // container moves and resizes; the label under its layout keeps the
    // place the layout gives it, and its font is scaled.
    void followsOwnerSize_data()
    {
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<QSize>("ownerSize");
        QTest::addColumn<QRect>("probe");
        QTest::addColumn<QRect>("flat");
        QTest::addColumn<int>("points");
        const auto row = [](const char *tag, QSize size, QRect probe, QRect flat, int points) {
            QTest::newRow(tag) << true << size << probe << flat << points;
        };
        row("base size", {1024, 600}, {100, 50, 200, 40}, {10, 20, 30, 1}, 14);
        // Exactly twice the base size is not above 2: the 1.1 step.
        row("double size", {2048, 1200}, {200, 100, 400, 80}, {20, 40, 60, 1}, 17);
        row("double width", {2048, 600}, {200, 50, 400, 40}, {20, 20, 60, 1}, 14);
        row("a third", {341, 200}, {33, 16, 66, 13}, {3, 6, 9, 1}, 8);
        row("0.85 times", {870, 510}, {84, 42, 169, 34}, {8, 17, 25, 1}, 13);
        QTest::newRow("rescale before record")
            << false << QSize(2048, 1200) << QRect(100, 50, 200, 40) << QRect(10, 20, 30, 0) << 16;
    }
    void followsOwnerSize()
    {
        QFETCH(bool, recorded);
        QFETCH(QSize, ownerSize);
        Form form;
        QLabel *probe = form.label({100, 50, 200, 40}, QFont(QString(), 16));
        QLabel *flat = form.label({10, 20, 30, 0});
        QFont pixelFont;
        pixelFont.setPixelSize(20);
        QLabel *pixels = form.label({}, pixelFont), *tiny = form.label({}, QFont(QString(), 1));
        auto *plainFrame = new QFrame(&form.owner);
        auto *inside = form.container->findChild<QLabel *>();
        const QRect placed = inside->geometry();
        plainFrame->setGeometry(5, 5, 50, 50);
        form.scaler.setTypeMask(ProportionalScaler::ScaleLabels | ProportionalScaler::ScaleButtons);
        if (recorded)
            form.scaler.record();
        // Earlier rescales leave no trace: each starts from the recorded state.
        for (const QSize size : {QSize(3000, 1900), QSize(300, 170), ownerSize})
            form.rescale(size);
        QTEST(probe->geometry(), "probe");
        QTEST(flat->geometry(), "flat");
        QTEST(probe->font().pointSize(), "points");
        QTEST(form.container->geometry(), "probe");
        QCOMPARE(inside->geometry(), placed);
        QTEST(inside->font().pointSize(), "points");
        // Pixel sizes are left alone; the smallest text never drops to the
        // invalid size 0; plain frames are not collected with this mask.
        QCOMPARE(pixels->font().pixelSize(), 20);
        QCOMPARE(tiny->font().pointSize(), 1);
        QCOMPARE(plainFrame->geometry(), QRect(5, 5, 50, 50));
    }
};

LAUNCHER_TEST_MAIN(TestProportionalScaler)
#include "tst_proportionalscaler.moc"
