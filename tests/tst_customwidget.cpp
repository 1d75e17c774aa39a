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

}  // namespace

class TestCustomWidget : public QObject
{
    Q_OBJECT
private:
    QString savedAside;

private slots:
    void initTestCase()
    {
        // The folder lives beside the executable; a copy that happens to be
        // there is put aside for the run.
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
        QTest::newRow("other keys, broken icon")
            << true << QByteArray("[App]\nvendor=x\n") << false << "Corvane";
    }
    void customizationFolder()
    {
        QFETCH(bool, folder);
        QFETCH(QByteArray, config);
        QFETCH(bool, icon);
        QFETCH(QString, title);

        if (folder) {
            QVERIFY(QDir().mkpath(customizationDir()));
            QFile ini(customizationDir() + QLatin1String("/config.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write(config);
            ini.close();
            const QString iconPath = customizationDir() + QLatin1String("/Tessan.ico");
            if (icon) {
                QVERIFY(QFile::copy(QFINDTESTDATA("../customization/Tessan.ico"), iconPath));
            } else {
                QFile broken(iconPath);
                QVERIFY(broken.open(QIODevice::WriteOnly));
                broken.write("not an icon");
            }
        }
        customWidget content;
        auto *logo = content.findChild<QLabel *>("label_logo");
        QCOMPARE(content.findChild<QLabel *>("label_title")->text(), title);
        QCOMPARE(!logo->pixmap().isNull(), icon);
        QVERIFY(logo->hasScaledContents());
        QCOMPARE(QDir(customizationDir()).exists(), folder);
    }

    void layout()
    {
        customWidget content;
        content.resize(1024, 630);
        content.show();
        QVERIFY(QTest::qWaitForWindowExposed(&content));

        auto *titleFrame = content.findChild<QFrame *>("TitleFrame");
        QCOMPARE(titleFrame->geometry(), QRect(0, 0, 1024, 30));
        QCOMPARE(content.titleHeight(), 32);
        QVERIFY(titleFrame->styleSheet().contains(QLatin1String("rgb(70, 70,70)")));
        QCOMPARE(content.findChild<QWidget *>("label_logo")->size(), QSize(25, 25));
        // Buttons at the right end: 5 pixels in, 10 apart, no text.
        const QList<std::pair<const char *, int>> buttons = {
            {"toolMinimum", 939}, {"toolResize", 969}, {"toolClose", 999}};
        for (const auto &[name, x] : buttons) {
            auto *button = content.findChild<QPushButton *>(name);
            QCOMPARE(button->geometry(), QRect(x, 5, 20, 20));
            QCOMPARE(button->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
            QVERIFY(button->text().isEmpty());
        }

        // The one main content widget fills the page area, laid out on the
        // scroll area itself.
        const QList<Widget *> widgets = content.findChildren<Widget *>();
        QCOMPARE(widgets.size(), 1);
        QCOMPARE(widgets.first()->parentWidget(),
                 content.findChild<QScrollArea *>("scrollAreaWeb"));
        QTRY_COMPARE(widgets.first()->geometry(), QRect(0, 0, 1024, 600));
        auto *stack = content.findChild<AnimatedStackedWidget *>("stackedWidget");
        QCOMPARE(stack->count(), 1);
        QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("PageWeb"));
    }

    void buttonsOnlySignal_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<int>>("counts");  // close, resize, minimum
        QTest::newRow("close") << "toolClose" << QList<int>{1, 0, 0};
        QTest::newRow("resize") << "toolResize" << QList<int>{0, 1, 0};
        QTest::newRow("minimum") << "toolMinimum" << QList<int>{0, 0, 1};
    }
    void buttonsOnlySignal()
    {
        QFETCH(QString, button);
        QFETCH(QList<int>, counts);

        customWidget content;
        content.show();
        QVERIFY(QTest::qWaitForWindowExposed(&content));
        QSignalSpy closes(&content, &customWidget::closeClicked);
        QSignalSpy resizes(&content, &customWidget::resizeClick);
        QSignalSpy minimums(&content, &customWidget::minimumClicked);
        const QRect before = content.geometry();

        QTest::mouseClick(content.findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(QList<int>({int(closes.count()), int(resizes.count()), int(minimums.count())}),
                 counts);
        QVERIFY(content.isVisible());
        QCOMPARE(content.geometry(), before);
        QCOMPARE(content.windowState(), Qt::WindowNoState);
    }
};

LAUNCHER_TEST_MAIN(TestCustomWidget)
#include "tst_customwidget.moc"
