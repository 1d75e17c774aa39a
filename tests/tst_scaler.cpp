#include <QLabel>
#include <QPushButton>
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

// A form drawn for 1024 x 600 with children placed by absolute geometry.
struct Form
{
    QWidget owner;
    QLabel *probe = new QLabel(QStringLiteral("probe"), &owner);
    QLabel *flat = new QLabel(&owner);
    QLabel *thin = new QLabel(&owner);
    QPushButton *button = new QPushButton(QStringLiteral("button"), &owner);
    QFrame *plainFrame = new QFrame(&owner);

    Form()
    {
        owner.resize(1024, 600);
        probe->setGeometry(100, 50, 200, 40);
        probe->setFont(pointFont(16));
        flat->setGeometry(10, 20, 30, 0);
        thin->setGeometry(300, 300, 2, 1);
        button->setGeometry(400, 500, 120, 30);
        button->setFont(pointFont(10));
        plainFrame->setGeometry(5, 5, 50, 50);
    }
};

}  // namespace

class TestScaler : public QObject
{
    Q_OBJECT
private slots:
    void followsOwnerSize_data()
    {
        QTest::addColumn<QSize>("ownerSize");
        QTest::addColumn<QRect>("probe");
        QTest::addColumn<QRect>("flat");
        QTest::addColumn<QRect>("thin");
        QTest::addColumn<int>("probePoints");
        QTest::addColumn<int>("buttonPoints");

        // At the base size nothing moves, but a zero height becomes 1 and the
        // fonts take the 0.9 step.
        QTest::newRow("base size") << QSize(1024, 600) << QRect(100, 50, 200, 40)
                                   << QRect(10, 20, 30, 1) << QRect(300, 300, 2, 1) << 14 << 9;
        // Exactly twice the base size is not above 2, so it takes the 1.1 step.
        QTest::newRow("double size") << QSize(2048, 1200) << QRect(200, 100, 400, 80)
                                     << QRect(20, 40, 60, 1) << QRect(600, 600, 4, 2) << 17 << 11;
        QTest::newRow("2.5 times") << QSize(2560, 1500) << QRect(250, 125, 500, 100)
                                   << QRect(25, 50, 75, 1) << QRect(750, 750, 5, 2) << 19 << 12;
        QTest::newRow("double width") << QSize(2048, 600) << QRect(200, 50, 400, 40)
                                      << QRect(20, 20, 60, 1) << QRect(600, 300, 4, 1) << 14 << 9;
        // A width may shrink to nothing, a height never below one pixel.
        QTest::newRow("a third") << QSize(341, 200) << QRect(33, 16, 66, 13) << QRect(3, 6, 9, 1)
                                 << QRect(99, 100, 0, 1) << 8 << 5;
        QTest::newRow("1.9 times") << QSize(1946, 1140) << QRect(190, 95, 380, 76)
                                   << QRect(19, 38, 57, 1) << QRect(570, 570, 3, 1) << 17 << 11;
        QTest::newRow("0.85 times") << QSize(870, 510) << QRect(84, 42, 169, 34)
                                    << QRect(8, 17, 25, 1) << QRect(254, 255, 1, 1) << 13 << 8;
        QTest::newRow("0.6 times") << QSize(614, 360) << QRect(59, 30, 119, 24)
                                   << QRect(5, 12, 17, 1) << QRect(179, 180, 1, 1) << 11 << 7;
    }
    void followsOwnerSize()
    {
        QFETCH(QSize, ownerSize);
        QFETCH(QRect, probe);
        QFETCH(QRect, flat);
        QFETCH(QRect, thin);
        QFETCH(int, probePoints);
        QFETCH(int, buttonPoints);

        Form form;
        ProportionalScaler scaler(&form.owner, 1024, 600);
        scaler.setTypeMask(ProportionalScaler::ScaleLabels | ProportionalScaler::ScaleButtons |
                           ProportionalScaler::ScaleLineEdits |
                           ProportionalScaler::ScaleComboBoxes);
        scaler.record();
        form.owner.resize(ownerSize);
        scaler.rescale();

        QCOMPARE(form.probe->geometry(), probe);
        QCOMPARE(form.flat->geometry(), flat);
        QCOMPARE(form.thin->geometry(), thin);
        QCOMPARE(form.probe->font().pointSize(), probePoints);
        QCOMPARE(form.button->font().pointSize(), buttonPoints);
        // A plain frame is not a collected class with this mask.
        QCOMPARE(form.plainFrame->geometry(), QRect(5, 5, 50, 50));
    }

    void rescalesFromRecordedState()
    {
        // Growing, shrinking and growing back gives what one rescale gives.
        Form form;
        ProportionalScaler scaler(&form.owner, 1024, 600);
        scaler.setTypeMask(ProportionalScaler::ScaleLabels);
        scaler.record();
        for (const QSize size : {QSize(2048, 1200), QSize(341, 200), QSize(1536, 900)}) {
            form.owner.resize(size);
            scaler.rescale();
        }
        QCOMPARE(form.probe->geometry(), QRect(150, 75, 300, 60));
        QCOMPARE(form.probe->font().pointSize(), 14);
    }

    void framesWhenAsked()
    {
        Form form;
        ProportionalScaler scaler(&form.owner, 1024, 600);
        scaler.setTypeMask(ProportionalScaler::ScaleFrames);
        scaler.record();
        form.owner.resize(2048, 1200);
        scaler.rescale();
        QCOMPARE(form.plainFrame->geometry(), QRect(10, 10, 100, 100));
        // QLabel is a QFrame too; the push button is not.
        QCOMPARE(form.probe->geometry(), QRect(200, 100, 400, 80));
        QCOMPARE(form.button->geometry(), QRect(400, 500, 120, 30));
    }

    void addedWidgetsAreScaled()
    {
        // Explicitly added widgets count even when their class is not collected.
        Form form;
        ProportionalScaler scaler(&form.owner, 1024, 600);
        scaler.setTypeMask(0);
        scaler.addWidget(form.plainFrame);
        scaler.record();
        form.owner.resize(2048, 1200);
        scaler.rescale();
        QCOMPARE(form.plainFrame->geometry(), QRect(10, 10, 100, 100));
        QCOMPARE(form.probe->geometry(), QRect(100, 50, 200, 40));
    }

    void nothingMovesBeforeRecord()
    {
        Form form;
        ProportionalScaler scaler(&form.owner, 1024, 600);
        scaler.setTypeMask(ProportionalScaler::ScaleLabels | ProportionalScaler::ScaleButtons);
        form.owner.resize(2048, 1200);
        scaler.rescale();
        QCOMPARE(form.probe->geometry(), QRect(100, 50, 200, 40));
        QCOMPARE(form.probe->font().pointSize(), 16);
        QCOMPARE(form.button->geometry(), QRect(400, 500, 120, 30));

        // Recording afterwards takes the current geometry as the base.
        scaler.record();
        scaler.rescale();
        QCOMPARE(form.probe->geometry(), QRect(200, 100, 400, 80));
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
        // A container whose name does not mark it as one: its label is an
        // ordinary label.
        auto *other = new QWidget(&owner);
        other->setObjectName("panel");
        other->setGeometry(500, 100, 300, 200);
        auto *otherLayout = new QVBoxLayout(other);
        otherLayout->setContentsMargins(0, 0, 0, 0);
        auto *outside = new QLabel(QStringLiteral("outside"));
        otherLayout->addWidget(outside);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));

        ProportionalScaler scaler(&owner, 1024, 600);
        scaler.setTypeMask(ProportionalScaler::ScaleLabels);
        scaler.record();
        const QRect outsideBefore = outside->geometry();
        owner.resize(2048, 1200);
        scaler.rescale();

        QCOMPARE(container->geometry(), QRect(200, 200, 600, 400));
        QCOMPARE(inside->font().pointSize(), 17);
        // The label stays under its container's layout, which now fills the
        // doubled container with it.
        QTRY_COMPARE(inside->geometry(), QRect(0, 0, 600, 400));
        // Outside a marked container a label's geometry is scaled from its
        // recorded one, even though a layout manages it.
        QCOMPARE(outside->geometry(), QRect(outsideBefore.x() * 2, outsideBefore.y() * 2,
                                            outsideBefore.width() * 2, outsideBefore.height() * 2));
    }

    void styleSheetFont_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("rewritten");
        QTest::addColumn<int>("shownPoints");

        QTest::newRow("font: 16pt") << "QLabel{font: 16pt;}"
                                    << "QLabel{font: 14pt;}" << 14;
        QTest::newRow("two matches") << "QLabel{font:  16pt;} QLabel:hover{font: 16pt;}"
                                     << "QLabel{font: 14pt;} QLabel:hover{font: 14pt;}" << 14;
        // Not rewritten: the scaler sets the widget's font instead, which the
        // sheet's own size then overrides.
        QTest::newRow("font-size: 16pt") << "QLabel{font-size: 16pt;}"
                                         << "QLabel{font-size: 16pt;}" << 16;
        QTest::newRow("font:16pt") << "QLabel{font:16pt;}"
                                   << "QLabel{font:16pt;}" << 16;
        QTest::newRow("no font") << "QLabel{color:white}"
                                 << "QLabel{color:white}" << 14;
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

        // Rescaling again starts from the recorded 16 points, not from 14.
        owner.resize(2560, 1500);
        scaler.rescale();
        QCOMPARE(label->styleSheet().contains(QLatin1String("font: 19pt")), rewritten != sheet);
    }

    void pixelFontsStay()
    {
        QWidget owner;
        owner.resize(1024, 600);
        auto *label = new QLabel(QStringLiteral("pixels"), &owner);
        QFont font;
        font.setPixelSize(20);
        label->setFont(font);
        label->setGeometry(0, 0, 100, 30);
        ProportionalScaler scaler(&owner, 1024, 600);
        scaler.setTypeMask(ProportionalScaler::ScaleLabels);
        scaler.record();
        owner.resize(2048, 1200);
        scaler.rescale();
        QCOMPARE(label->font().pixelSize(), 20);
        QCOMPARE(label->geometry(), QRect(0, 0, 200, 60));
    }

    void smallestFontStaysValid()
    {
        QWidget owner;
        owner.resize(1024, 600);
        auto *label = new QLabel(QStringLiteral("tiny"), &owner);
        label->setFont(pointFont(1));
        ProportionalScaler scaler(&owner, 1024, 600);
        scaler.setTypeMask(ProportionalScaler::ScaleLabels);
        scaler.record();
        scaler.rescale();
        QCOMPARE(label->font().pointSize(), 1);
    }

    void fontSteps_data()
    {
        QTest::addColumn<float>("ratio");
        QTest::addColumn<float>("factor");
        QTest::newRow("2.5") << 2.5f << 1.2f;
        QTest::newRow("2.0") << 2.0f << 1.1f;
        QTest::newRow("1.8") << 1.8f << 1.0f;
        QTest::newRow("1.5") << 1.5f << 0.9f;
        QTest::newRow("0.9") << 0.9f << 0.9f;
        QTest::newRow("0.85") << 0.85f << 0.85f;
        QTest::newRow("0.8") << 0.8f << 0.8f;
        QTest::newRow("0.79") << 0.79f << 0.7f;
        QTest::newRow("0.5") << 0.5f << 0.7f;
        QTest::newRow("0.49") << 0.49f << 0.5f;
        QTest::newRow("0") << 0.0f << 0.5f;
    }
    void fontSteps()
    {
        QFETCH(float, ratio);
        QFETCH(float, factor);
        QCOMPARE(ProportionalScaler::fontFactor(ratio), factor);
    }
};

LAUNCHER_TEST_MAIN(TestScaler)
#include "tst_scaler.moc"
