#include <QLabel>
#include <QVBoxLayout>

#include "chrome/proportionalscaler.h"
#include "support/testmain.h"

namespace {

QFont pointFont(int size)
{
    QFont font;
    font.setPointSize(size);
    return font;
}

// A form drawn for 1024 x 600, its children placed by absolute geometry.
struct Form
{
    QWidget owner;
    QLabel *probe = new QLabel(QStringLiteral("probe"), &owner);
    QLabel *flat = new QLabel(&owner);
    QLabel *thin = new QLabel(&owner);
    QLabel *pixels = new QLabel(&owner);
    QLabel *tiny = new QLabel(&owner);
    QFrame *plainFrame = new QFrame(&owner);
    ProportionalScaler scaler{&owner, 1024, 600};

    Form()
    {
        owner.resize(1024, 600);
        probe->setGeometry(100, 50, 200, 40);
        probe->setFont(pointFont(16));
        flat->setGeometry(10, 20, 30, 0);
        thin->setGeometry(300, 300, 2, 1);
        QFont pixelFont;
        pixelFont.setPixelSize(20);
        pixels->setFont(pixelFont);
        tiny->setFont(pointFont(1));
        plainFrame->setGeometry(5, 5, 50, 50);
        scaler.setTypeMask(ProportionalScaler::ScaleLabels | ProportionalScaler::ScaleButtons |
                           ProportionalScaler::ScaleLineEdits |
                           ProportionalScaler::ScaleComboBoxes);
    }
};

}  // namespace

class TestScaler : public QObject
{
    Q_OBJECT
private slots:
    void followsOwnerSize_data()
    {
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<QSize>("ownerSize");
        QTest::addColumn<QRect>("probe");
        QTest::addColumn<QRect>("flat");
        QTest::addColumn<QRect>("thin");
        QTest::addColumn<int>("points");

        // At the base size nothing moves, but a zero height becomes 1 and
        // fonts take the 0.9 step.
        QTest::newRow("base size") << true << QSize(1024, 600) << QRect(100, 50, 200, 40)
                                   << QRect(10, 20, 30, 1) << QRect(300, 300, 2, 1) << 14;
        // Exactly twice the base size is not above 2: the 1.1 step.
        QTest::newRow("double size") << true << QSize(2048, 1200) << QRect(200, 100, 400, 80)
                                     << QRect(20, 40, 60, 1) << QRect(600, 600, 4, 2) << 17;
        QTest::newRow("2.5 times") << true << QSize(2560, 1500) << QRect(250, 125, 500, 100)
                                   << QRect(25, 50, 75, 1) << QRect(750, 750, 5, 2) << 19;
        QTest::newRow("double width") << true << QSize(2048, 600) << QRect(200, 50, 400, 40)
                                      << QRect(20, 20, 60, 1) << QRect(600, 300, 4, 1) << 14;
        // A width may shrink to nothing, a height never below one pixel.
        QTest::newRow("a third") << true << QSize(341, 200) << QRect(33, 16, 66, 13)
                                 << QRect(3, 6, 9, 1) << QRect(99, 100, 0, 1) << 8;
        QTest::newRow("0.85 times") << true << QSize(870, 510) << QRect(84, 42, 169, 34)
                                    << QRect(8, 17, 25, 1) << QRect(254, 255, 1, 1) << 13;
        QTest::newRow("0.6 times") << true << QSize(614, 360) << QRect(59, 30, 119, 24)
                                   << QRect(5, 12, 17, 1) << QRect(179, 180, 1, 1) << 11;
        QTest::newRow("rescale before record")
            << false << QSize(2048, 1200) << QRect(100, 50, 200, 40) << QRect(10, 20, 30, 0)
            << QRect(300, 300, 2, 1) << 16;
    }
    void followsOwnerSize()
    {
        QFETCH(bool, recorded);
        QFETCH(QSize, ownerSize);
        QFETCH(QRect, probe);
        QFETCH(QRect, flat);
        QFETCH(QRect, thin);
        QFETCH(int, points);

        Form form;
        if (recorded)
            form.scaler.record();
        // Earlier rescales leave no trace: each starts from the recorded state.
        for (const QSize size : {QSize(3000, 1900), QSize(300, 170), ownerSize}) {
            form.owner.resize(size);
            form.scaler.rescale();
        }
        QCOMPARE(form.probe->geometry(), probe);
        QCOMPARE(form.flat->geometry(), flat);
        QCOMPARE(form.thin->geometry(), thin);
        QCOMPARE(form.probe->font().pointSize(), points);
        QCOMPARE(form.pixels->font().pixelSize(), 20);
        // The smallest text never drops to the invalid size 0.
        QCOMPARE(form.tiny->font().pointSize(), 1);
        // Plain frames are not collected with this mask.
        QCOMPARE(form.plainFrame->geometry(), QRect(5, 5, 50, 50));
    }

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

        // The container is scaled; the label keeps to its layout (which now
        // fills the doubled container) and only its font is scaled.
        QCOMPARE(container->geometry(), QRect(200, 200, 600, 400));
        QCOMPARE(inside->font().pointSize(), 17);
        QTRY_COMPARE(inside->geometry(), QRect(0, 0, 600, 400));
    }

    void styleSheetFont_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("rewritten");
        QTest::addColumn<int>("shownPoints");
        QTest::newRow("font: 16pt") << "QLabel{font: 16pt;}"
                                    << "QLabel{font: 14pt;}" << 14;
        // Not rewritten: the font is set instead, and the sheet's size wins.
        QTest::newRow("font-size: 16pt") << "QLabel{font-size: 16pt;}"
                                         << "QLabel{font-size: 16pt;}" << 16;
        QTest::newRow("font:16pt") << "QLabel{font:16pt;}"
                                   << "QLabel{font:16pt;}" << 16;
    }
    void styleSheetFont()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, rewritten);
        QFETCH(int, shownPoints);

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
        QCOMPARE(label->font().pointSize(), shownPoints);

        // Rewritten again from the recorded 16 points, not from 14.
        owner.resize(2560, 1500);
        scaler.rescale();
        QCOMPARE(label->styleSheet().contains(QLatin1String("font: 19pt")), rewritten != sheet);
    }
};

LAUNCHER_TEST_MAIN(TestScaler)
#include "tst_scaler.moc"
