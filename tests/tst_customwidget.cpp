// The title bar: the name and logo from the customization folder, and where
// that folder is looked for.

#include "chrome/customization.h"
#include "chrome/customwidget.h"
#include "support/filebytes.h"
#include "support/testmain.h"

class TestCustomWidget : public QObject
{
    Q_OBJECT
    const QString beside = QCoreApplication::applicationDirPath() + "/customization";

private slots:
    // A copy of the sample folder that the build put beside the executable
    // is set aside for the run.
    void initTestCase()
    {
        QVERIFY(!QDir(beside).exists() || QDir().rename(beside, beside + ".aside"));
    }
    void cleanup() { QDir(beside).removeRecursively(); }
    void cleanupTestCase() { QDir().rename(beside + ".aside", beside); }

    void customizationFolder_data()
    {
        QTest::addColumn<QByteArray>("config");  // null: no folder at all
        QTest::addColumn<QString>("title");
        QTest::newRow("absent") << QByteArray() << "Corvane";
        QTest::newRow("name present but empty") << QByteArray("[App]\nname=\n") << "";
        // An unquoted comma makes the INI reader split the value into a list.
        QTest::newRow("comma") << QByteArray("[App]\nname=Corvane, Inc.\n") << "Corvane, Inc.";
        QTest::newRow("comma, quoted")
            << QByteArray("[App]\nname=\"Corvane, Inc.\"\n") << "Corvane, Inc.";
        QTest::newRow("commas, blanks as written, CR LF")
            << QByteArray("[Other]\r\nname=x\r\n[App]\r\nname = A ,  B,C \r\n") << "A ,  B,C";
        QTest::newRow("quoted part, comment, later line wins")
            << QByteArray("[App]\nname=Old\nname=\"Corvane\", Inc. ; brand\n") << "Corvane, Inc.";
    }
    void customizationFolder()
    {
        QFETCH(QByteArray, config);
        if (!config.isNull()) {
            QVERIFY(writeFileBytes(beside + "/config.ini", config));
            QVERIFY(
                QFile::copy(QFINDTESTDATA("../customization/Tessan.ico"), beside + "/Tessan.ico"));
        }
        customWidget content;
        QTEST(content.findChild<QLabel *>("label_title")->text(), "title");
        QCOMPARE(content.findChild<QLabel *>("label_logo")->pixmap().isNull(), config.isNull());
        // The folder is only read, never created.
        QCOMPARE(QDir(beside).exists(), !config.isNull());
    }

    // A folder beside the executable comes first; an installed launcher
    // falls back to the sample folder under ../share/model-series.
    void folderChoice_data()
    {
        QTest::addColumn<bool>("hasBeside");
        QTest::addColumn<bool>("hasInstalled");
        QTest::addColumn<bool>("installedChosen");
        QTest::newRow("neither") << false << false << false;
        QTest::newRow("beside only") << true << false << false;
        QTest::newRow("installed only") << false << true << true;
        QTest::newRow("both") << true << true << false;
    }
    void folderChoice()
    {
        QFETCH(bool, hasBeside);
        QFETCH(bool, hasInstalled);
        QFETCH(bool, installedChosen);
        const QTemporaryDir root;
        const QString bin = root.filePath("bin");
        const QString shared = root.filePath("share/model-series/customization");
        QVERIFY(QDir().mkpath(hasBeside ? bin + "/customization" : bin));
        QVERIFY(!hasInstalled || QDir().mkpath(shared));
        QCOMPARE(Customization::folder(bin), installedChosen ? shared : bin + "/customization");
    }
};

LAUNCHER_TEST_MAIN(TestCustomWidget)
#include "tst_customwidget.moc"
