// The customization folder: the name and logo in the title bar, the
// window's icon, the loading page's picture, and where that folder is
// looked for.

#include "chrome/basewindow.h"
#include "chrome/customization.h"
#include "chrome/loading.h"
#include "support/filebytes.h"
#include "support/testmain.h"

class TestCustomWidget : public QObject
{
    Q_OBJECT
    const QString beside = QCoreApplication::applicationDirPath() + "/customization";

    // A picture of one colour in the folder, in the format its name asks for.
    bool savePicture(const QString &name, QRgb colour) const
    {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(colour);
        return picture.save(beside + name);
    }
    // The colour in the middle of a picture; 0 for no picture.
    static QRgb shownColour(const QImage &shown)
    {
        return shown.isNull() ? 0 : shown.pixel(shown.rect().center());
    }

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
        const QRgb logo = qRgb(200, 40, 40), picture = qRgb(40, 200, 40);
        const bool folder = !config.isNull();
        QVERIFY(!folder || (writeFileBytes(beside + "/config.ini", config) &&
                            savePicture("/Tessan.ico", logo) && savePicture("/Nav.png", picture)));
        BaseWindow window;
        loading page;
        QTEST(window.findChild<QLabel *>("label_title")->text(), "title");
        QCOMPARE(shownColour(window.findChild<QLabel *>("label_logo")->pixmap().toImage()),
                 folder ? logo : 0);
        QCOMPARE(shownColour(window.windowIcon().pixmap(8, 8).toImage()), folder ? logo : 0);
        QCOMPARE(shownColour(page.findChild<QLabel *>("m_icon")->pixmap().toImage()),
                 folder ? picture : 0);
        // The folder is only read, never created.
        QCOMPARE(QDir(beside).exists(), folder);
    }

    // A folder beside the executable comes first; an installed launcher
    // falls back to the sample folder under ../share/model-series.
    void folderChoice()
    {
        const QTemporaryDir root;
        const QString bin = root.filePath("bin"), beside = bin + "/customization";
        const QString shared = root.filePath("share/model-series/customization");
        QVERIFY(QDir().mkpath(bin));
        QCOMPARE(Customization::folder(bin), beside);  // neither: no folder, every default
        QVERIFY(QDir().mkpath(shared));
        QCOMPARE(Customization::folder(bin), shared);
        QVERIFY(QDir().mkpath(beside));
        QCOMPARE(Customization::folder(bin), beside);
    }
};

LAUNCHER_TEST_MAIN(TestCustomWidget)
#include "tst_customwidget.moc"
