#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "chrome/customization.h"
#include "chrome/customwidget.h"
#include "support/childrow.h"
#include "support/testmain.h"

namespace {

QString customizationDir()
{
    return QCoreApplication::applicationDirPath() + QLatin1String("/customization");
}

// Where a system installation puts the sample folder, seen from its bin/.
QString installedDir()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QLatin1String("/../share/model-series/customization"));
}

}  // namespace

class TestCustomWidget : public QObject
{
    Q_OBJECT
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
    void cleanup()
    {
        QDir(customizationDir()).removeRecursively();
        QDir(installedDir()).removeRecursively();
    }
    void cleanupTestCase()
    {
        if (!savedAside.isEmpty())
            QDir().rename(savedAside, customizationDir());
    }

    void customizationFolder_data()
    {
        QTest::addColumn<QByteArray>("config");  // null: no folder at all
        QTest::addColumn<bool>("installed");     // under ../share instead of beside
        QTest::addColumn<QString>("title");
        QTest::newRow("absent") << QByteArray() << false << "Corvane";
        QTest::newRow("present") << QByteArray("[App]\nname=Studio Desk\n") << false
                                 << "Studio Desk";
        QTest::newRow("name present but empty") << QByteArray("[App]\nname=\n") << false << "";
        QTest::newRow("installed") << QByteArray("[App]\nname=Shared\n") << true << "Shared";
        // An unquoted comma makes the INI reader split the value into a list.
        QTest::newRow("comma") << QByteArray("[App]\nname=Corvane, Inc.\n") << false
                               << "Corvane, Inc.";
        QTest::newRow("comma, quoted")
            << QByteArray("[App]\nname=\"Corvane, Inc.\"\n") << false << "Corvane, Inc.";
        QTest::newRow("commas, blanks as written, CR LF")
            << QByteArray("[Other]\r\nname=x\r\n[App]\r\nname = A ,  B,C \r\n") << false
            << "A ,  B,C";
        QTest::newRow("quoted part, comment, later line wins")
            << QByteArray("[App]\nname=Old\nname=\"Corvane\", Inc. ; brand\n") << false
            << "Corvane, Inc.";
    }
    void customizationFolder()
    {
        QFETCH(QByteArray, config);
        QFETCH(bool, installed);
        const bool folder = !config.isNull();
        const QString dir = installed ? installedDir() : customizationDir();
        if (folder) {
            QVERIFY(QDir().mkpath(dir));
            QFile ini(dir + QLatin1String("/config.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write(config) == config.size());
            ini.close();
            QVERIFY(QFile::copy(QFINDTESTDATA("../customization/Tessan.ico"),
                                dir + QLatin1String("/Tessan.ico")));
        }
        customWidget content;
        QTEST(content.findChild<QLabel *>("label_title")->text(), "title");
        QCOMPARE(!content.findChild<QLabel *>("label_logo")->pixmap().isNull(), folder);
        // The folder is only read, never created.
        QCOMPARE(QDir(customizationDir()).exists(), folder && !installed);
    }

    // A folder beside the executable comes first; an installed launcher
    // falls back to the sample folder under ../share/model-series.
    void folderChoice_data()
    {
        QTest::addColumn<bool>("beside");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("installedChosen");
        QTest::newRow("neither") << false << false << false;
        QTest::newRow("beside only") << true << false << false;
        QTest::newRow("installed only") << false << true << true;
        QTest::newRow("both") << true << true << false;
    }
    void folderChoice()
    {
        QFETCH(bool, beside);
        QFETCH(bool, installed);
        QFETCH(bool, installedChosen);
        const QTemporaryDir root;
        const QString bin = root.path() + QLatin1String("/bin");
        const QString besideDir = bin + QLatin1String("/customization");
        const QString sharedDir = root.path() + QLatin1String("/share/model-series/customization");
        QVERIFY(QDir().mkpath(bin));
        QVERIFY(!beside || QDir().mkpath(besideDir));
        QVERIFY(!installed || QDir().mkpath(sharedDir));
        QCOMPARE(Customization::folder(bin), installedChosen ? sharedDir : besideDir);
    }

    // The buttons show only glyphs; their names serve tool tips and screen
    // readers, the resize button's naming what its next click does.
    void buttonNames_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("maximised");  // -1: left as built
        QTest::addColumn<QString>("name");
        QTest::newRow("minimise") << "toolMinimum" << -1 << "Minimize";
        QTest::newRow("close") << "toolClose" << -1 << "Close";
        QTest::newRow("resize, normal") << "toolResize" << 0 << "Maximize";
        QTest::newRow("resize, maximised") << "toolResize" << 1 << "Restore";
        QTest::newRow("resize, restored") << "toolResize" << 2 << "Maximize";
    }
    void buttonNames()
    {
        QFETCH(QString, button);
        QFETCH(int, maximised);
        customWidget content;
        if (maximised >= 0)
            content.updateResizeIcon(maximised == 1);
        if (maximised == 2)
            content.updateResizeIcon(false);
        const auto *widget = content.findChild<QPushButton *>(button);
        QTEST(widget->toolTip(), "name");
        QTEST(widget->accessibleName(), "name");
    }

    // On a scaled screen the title-bar pictures bring a pixel for every
    // device pixel instead of being enlarged. Runs on a screen of that scale.
    void picturesOnScaledScreens_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("150 %") << 1.5;
        QTest::newRow("200 %") << 2.0;
    }
    void picturesOnScaledScreens()
    {
        QFETCH(qreal, ratio);
        if (!inRowChild()) {
            QProcessEnvironment added;
            added.insert("QT_SCALE_FACTOR", QString::number(ratio));
            QString output;
            QVERIFY2(rowPassesInChild(added, &output), qPrintable(output));
            return;
        }
        QCOMPARE(qApp->devicePixelRatio(), ratio);
        customWidget content;
        for (bool maximised : {false, true}) {
            content.updateResizeIcon(maximised);
            const auto *resize = content.findChild<QPushButton *>("toolResize");
            QCOMPARE(resize->icon().pixmap(resize->iconSize(), ratio).devicePixelRatio(), ratio);
        }
        // The pictures that the other two buttons draw, found the same way.
        for (const char *name : {"minimum", "close"}) {
            const QIcon picture(QStringLiteral(":/images/%1_white.png").arg(QLatin1String(name)));
            QCOMPARE(picture.pixmap(QSize(20, 20), ratio).devicePixelRatio(), ratio);
        }
    }
};

LAUNCHER_TEST_MAIN(TestCustomWidget)
#include "tst_customwidget.moc"
