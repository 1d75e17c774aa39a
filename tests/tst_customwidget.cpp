#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

#include "chrome/animatedstackedwidget.h"
#include "chrome/customwidget.h"
#include "console/widget.h"
#include "support/testmain.h"

namespace {

QString customizationDir()
{
    return QCoreApplication::applicationDirPath() + QLatin1String("/customization");
}

QImage buttonPicture(const QString &resource)
{
    return QPixmap(resource).scaled(20, 20).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage iconPicture(QPushButton *button)
{
    return button->icon().pixmap(20, 20).toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

class TestCustomWidget : public QObject
{
    Q_OBJECT
private:
    QString savedAside;

    static void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(customizationDir() + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void initTestCase()
    {
        // The folder lives beside the executable; a copy that happens to be
        // there is put aside for the run and restored afterwards.
        if (QDir(customizationDir()).exists()) {
            savedAside = customizationDir() + QLatin1String(".aside");
            QVERIFY(QDir().rename(customizationDir(), savedAside));
        }
    }
    void cleanup() { QDir(customizationDir()).removeRecursively(); }
    void cleanupTestCase()
    {
        if (!savedAside.isEmpty())
            QDir().rename(savedAside, customizationDir());
    }

    void customizationFolder_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<QString>("title");

        QTest::newRow("absent") << false << QByteArray() << false << "Corvane";
        QTest::newRow("present") << true << QByteArray("[App]\nname=Studio Desk\n") << true
                                 << "Studio Desk";
        QTest::newRow("name present but empty")
            << true << QByteArray("[App]\nname=\n") << true << "";
        QTest::newRow("other keys only")
            << true << QByteArray("[App]\nvendor=x\n") << false << "Corvane";
        QTest::newRow("unreadable icon, no config") << true << QByteArray() << false << "Corvane";
    }
    void customizationFolder()
    {
        QFETCH(bool, folder);
        QFETCH(QByteArray, config);
        QFETCH(bool, icon);
        QFETCH(QString, title);

        if (folder) {
            QVERIFY(QDir().mkpath(customizationDir()));
            if (!config.isEmpty())
                writeFile(QStringLiteral("config.ini"), config);
            if (icon) {
                const QString source = QFINDTESTDATA("../customization/Tessan.ico");
                QVERIFY(!source.isEmpty());
                QVERIFY(QFile::copy(source, customizationDir() + QLatin1String("/Tessan.ico")));
            } else {
                writeFile(QStringLiteral("Tessan.ico"), "not an icon");
            }
        }

        customWidget content;
        auto *titleLabel = content.findChild<QLabel *>("label_title");
        auto *logo = content.findChild<QLabel *>("label_logo");
        QVERIFY(titleLabel && logo);
        QCOMPARE(titleLabel->text(), title);
        QCOMPARE(!logo->pixmap().isNull(), icon);
        QVERIFY(logo->hasScaledContents());
        // Nothing is ever written into the folder.
        if (!folder)
            QVERIFY(!QDir(customizationDir()).exists());
    }

    void titleBarLayout()
    {
        customWidget content;
        content.resize(1024, 630);
        content.show();
        QVERIFY(QTest::qWaitForWindowExposed(&content));

        auto *titleFrame = content.findChild<QFrame *>("TitleFrame");
        QVERIFY(titleFrame);
        QCOMPARE(titleFrame->geometry(), QRect(0, 0, 1024, 30));
        QCOMPARE(content.titleHeight(), 32);
        QCOMPARE(
            titleFrame->styleSheet(),
            QStringLiteral("QFrame#TitleFrame{background:rgb(70, 70,70);border:0px solid black;}"));

        // Fixed-size logo and buttons, right-aligned buttons with a 5-pixel margin
        // and 10 pixels between them.
        const QStringList fixed = {"label_logo", "toolMinimum", "toolResize", "toolClose"};
        for (const QString &name : fixed) {
            auto *w = content.findChild<QWidget *>(name);
            QVERIFY2(w, qPrintable(name));
            QCOMPARE(w->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
            QCOMPARE(w->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
            QCOMPARE(w->minimumSize(), w->maximumSize());
        }
        QCOMPARE(content.findChild<QWidget *>("label_logo")->size(), QSize(25, 25));
        QCOMPARE(content.findChild<QWidget *>("toolClose")->geometry(), QRect(999, 5, 20, 20));
        QCOMPARE(content.findChild<QWidget *>("toolResize")->geometry(), QRect(969, 5, 20, 20));
        QCOMPARE(content.findChild<QWidget *>("toolMinimum")->geometry(), QRect(939, 5, 20, 20));
        QVERIFY(content.findChild<QWidget *>("label_title")->x() >
                content.findChild<QWidget *>("label_logo")->x());
        QVERIFY(content.findChild<QPushButton *>("toolMinimum")
                    ->styleSheet()
                    .contains(QLatin1String("border-image:url(:/images/minimum_white.png)")));
        QVERIFY(content.findChild<QPushButton *>("toolClose")
                    ->styleSheet()
                    .contains(QLatin1String("border-image:url(:/images/close_white.png)")));
        QVERIFY(!content.findChild<QPushButton *>("toolResize")
                     ->styleSheet()
                     .contains(QLatin1String("border-image")));
        for (const char *name : {"toolMinimum", "toolResize", "toolClose", "label"})
            QCOMPARE(content.findChild<QWidget *>(name)->property("text").toString(), QString());
    }

    void mainContentFillsPageArea()
    {
        customWidget content;
        content.resize(1024, 630);
        content.show();
        QVERIFY(QTest::qWaitForWindowExposed(&content));

        const QList<Widget *> widgets = content.findChildren<Widget *>();
        QCOMPARE(widgets.size(), 1);
        auto *scrollArea = content.findChild<QScrollArea *>("scrollAreaWeb");
        QVERIFY(scrollArea);
        // On the scroll area itself, not inside its scrolled contents.
        QCOMPARE(widgets.first()->parentWidget(), scrollArea);
        QTRY_COMPARE(widgets.first()->geometry(), QRect(0, 0, 1024, 600));
        QVERIFY(widgets.first()->isVisible());

        auto *stack = content.findChild<AnimatedStackedWidget *>("stackedWidget");
        QVERIFY(stack);
        QCOMPARE(stack->count(), 1);
        QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("PageWeb"));
    }

    void buttonsOnlySignal_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("closes");
        QTest::addColumn<int>("resizes");
        QTest::addColumn<int>("minimums");
        QTest::newRow("close") << "toolClose" << 1 << 0 << 0;
        QTest::newRow("resize") << "toolResize" << 0 << 1 << 0;
        QTest::newRow("minimum") << "toolMinimum" << 0 << 0 << 1;
    }
    void buttonsOnlySignal()
    {
        QFETCH(QString, button);
        QFETCH(int, closes);
        QFETCH(int, resizes);
        QFETCH(int, minimums);

        customWidget content;
        content.show();
        QVERIFY(QTest::qWaitForWindowExposed(&content));
        QSignalSpy closeSpy(&content, &customWidget::closeClicked);
        QSignalSpy resizeSpy(&content, &customWidget::resizeClick);
        QSignalSpy minimumSpy(&content, &customWidget::minimumClicked);
        const QRect before = content.geometry();

        QTest::mouseClick(content.findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(closeSpy.count(), closes);
        QCOMPARE(resizeSpy.count(), resizes);
        QCOMPARE(minimumSpy.count(), minimums);
        // The buttons change nothing by themselves.
        QVERIFY(content.isVisible());
        QCOMPARE(content.geometry(), before);
        QCOMPARE(content.windowState(), Qt::WindowNoState);
    }

    void resizeIcon()
    {
        customWidget content;
        auto *toolResize = content.findChild<QPushButton *>("toolResize");
        const QImage maximise = buttonPicture(QStringLiteral(":/images/maximum_white.png"));
        const QImage restore = buttonPicture(QStringLiteral(":/images/normal_white.png"));
        QVERIFY(!maximise.isNull());
        QVERIFY(maximise != restore);

        content.updateResizeIcon(true);
        QCOMPARE(iconPicture(toolResize), restore);
        content.updateResizeIcon(false);
        QCOMPARE(iconPicture(toolResize), maximise);
    }

    void titleBarPictures_data()
    {
        QTest::addColumn<QString>("resource");
        for (const char *name : {"minimum", "maximum", "normal", "close"})
            QTest::newRow(name) << QStringLiteral(":/images/%1_white.png").arg(QLatin1String(name));
    }
    void titleBarPictures()
    {
        // White glyphs on transparency, 32 x 32: every pixel is either clear
        // or white (edges only partly covered).
        QFETCH(QString, resource);
        const QImage image = QImage(resource).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(32, 32));
        int opaque = 0;
        int clear = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 0) {
                    ++clear;
                    continue;
                }
                QCOMPARE(c.rgb(), qRgb(255, 255, 255));
                if (c.alpha() == 255)
                    ++opaque;
            }
        }
        QVERIFY(opaque > 20);
        QVERIFY(clear > 32 * 32 / 2);
    }
};

LAUNCHER_TEST_MAIN(TestCustomWidget)
#include "tst_customwidget.moc"
