// What a console page's suggestions are reduced to: the name a download is
// saved under, and where the console's window may be taken.
#include <QtTest>

#include "console/consoleorigin.h"
#include "console/downloadname.h"

class TestConsoleLimits : public QObject
{
    Q_OBJECT
private slots:
    void safeFileName_data()
    {
        QTest::addColumn<QString>("suggested");
        QTest::addColumn<QString>("saved");
        const auto row = [](const char *tag, const QString &suggested, const QString &saved) {
            QTest::newRow(tag) << suggested << saved;
        };
        row("plain", "mixer-scene.bin", "mixer-scene.bin");
        row("climbs out of the folder", "../../../../nonexistent/notes.txt", "notes.txt");
        row("absolute", "/etc/passwd", "passwd");
        row("Windows folders", "..\\..\\Startup\\run.bat", "run.bat");
        row("drive and stream", "C:notes.txt:hidden", "Cnotes.txthidden");
        row("dots only", "..", "download");
        row("folder only", "some/folder/", "download");
        row("empty", "", "download");
        row("control characters", "a\nb\rc\td\x01.txt", "abcd.txt");
        row("right-to-left override", QString::fromUtf8("scene\u202Etxt.exe"), "scenetxt.exe");
        row("blanks and dots at the ends", "  notes.txt. . ", "notes.txt");
        row("device name", "CON", "_CON");
        row("device name, extension, lower case", "com1.txt", "_com1.txt");
        row("device-like name", "CONSOLE.txt", "CONSOLE.txt");
        row("long name keeps its extension", QString(300, 'a') + ".scene",
            QString(75 - 6, 'a') + ".scene");
        row("long name, long extension", "a." + QString(300, 'b'), "a." + QString(75 - 2, 'b'));
        row("Chinese", QString::fromUtf8("场景.bin"), QString::fromUtf8("场景.bin"));
    }
    void safeFileName()
    {
        QFETCH(QString, suggested);
        QTEST(DownloadName::safeFileName(suggested), "saved");
    }

    void unusedName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("free") << "notes.txt" << QStringList{"other.txt"} << "notes.txt";
        QTest::newRow("taken") << "notes.txt" << QStringList{"notes.txt"} << "notes (1).txt";
        QTest::newRow("taken twice")
            << "notes.txt" << QStringList{"notes.txt", "notes (1).txt"} << "notes (2).txt";
        QTest::newRow("no extension") << "notes" << QStringList{"notes"} << "notes (1)";
        QTest::newRow("a name like an argument")
            << "%1%2.txt" << QStringList{"%1%2.txt"} << "%1%2 (1).txt";
    }
    void unusedName()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, taken);
        QTEST(DownloadName::unusedName(name, [&](const QString &n) { return taken.contains(n); }),
              "chosen");
    }

    void unusedNameGivesUp()
    {
        QCOMPARE(DownloadName::unusedName("notes.txt", [](const QString &) { return true; }),
                 QString());
    }

    void isOnMixer_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("onMixer");
        QTest::newRow("the console") << "http://10.0.0.5/dist/index.html" << true;
        QTest::newRow("another path and port") << "http://10.0.0.5:8080/other?x=1" << true;
        QTest::newRow("https") << "https://10.0.0.5/dist/index.html" << true;
        QTest::newRow("another host") << "http://10.0.0.6/dist/index.html" << false;
        QTest::newRow("a host name") << "http://sign-in.example/" << false;
        QTest::newRow("the mixer as user name") << "http://10.0.0.5@10.0.0.6/" << false;
        QTest::newRow("the address as a prefix") << "http://10.0.0.55/" << false;
        QTest::newRow("the address as a subdomain") << "http://10.0.0.5.example/" << false;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("data") << "data:text/html,<h1>Mixer</h1>" << false;
        QTest::newRow("mail") << "mailto:someone@10.0.0.5" << false;
        QTest::newRow("another program's scheme") << "ssh://10.0.0.5/" << false;
        QTest::newRow("blank") << "about:blank" << false;
    }
    void isOnMixer()
    {
        QFETCH(QString, target);
        QTEST(ConsoleOrigin::isOnMixer("10.0.0.5", QUrl(target)), "onMixer");
        // Before any Connect, nothing is the console.
        QVERIFY(!ConsoleOrigin::isOnMixer(QString(), QUrl(target)));
    }
};

QTEST_GUILESS_MAIN(TestConsoleLimits)
#include "tst_consolelimits.moc"
