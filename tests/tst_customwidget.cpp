#include <QDir>
#include <QFile>
#include <QLabel>

#include "chrome/customwidget.h"
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
        QTest::addColumn<QByteArray>("config");  // null: no folder at all
        QTest::addColumn<QString>("title");
        QTest::newRow("absent") << QByteArray() << "Corvane";
        QTest::newRow("present") << QByteArray("[App]\nname=Studio Desk\n") << "Studio Desk";
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
        const bool folder = !config.isNull();
        if (folder) {
            QVERIFY(QDir().mkpath(customizationDir()));
            QFile ini(customizationDir() + QLatin1String("/config.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write(config) == config.size());
            ini.close();
            QVERIFY(QFile::copy(QFINDTESTDATA("../customization/Tessan.ico"),
                                customizationDir() + QLatin1String("/Tessan.ico")));
        }
        customWidget content;
        QTEST(content.findChild<QLabel *>("label_title")->text(), "title");
        QCOMPARE(!content.findChild<QLabel *>("label_logo")->pixmap().isNull(), folder);
        // The folder is only read, never created.
        QCOMPARE(QDir(customizationDir()).exists(), folder);
    }
};

LAUNCHER_TEST_MAIN(TestCustomWidget)
#include "tst_customwidget.moc"
