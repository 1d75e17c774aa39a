// The mixer's configuration: the line rules, and the fetch from a simulated
// mixer into the settings file.
#include "console/config_lines.h"
#include "support/testmain.h"

namespace {

const QString enumKey = QStringLiteral("Language/Language_enum");
const QString modeKey = QStringLiteral("Language/Language_mode");

QStringList describe(const QList<ConfigEntry> &entries)
{
    QStringList out;
    for (const ConfigEntry &entry : entries)
        out << entry.key + QLatin1String(" -> ") + entry.value;
    return out;
}

QString enumTo(const QString &value)
{
    return enumKey + QLatin1String(" -> ") + value;
}

QString modeTo(const QString &value)
{
    return modeKey + QLatin1String(" -> ") + value;
}

}  // namespace

class TestConfig : public QObject
{
    Q_OBJECT
private slots:
    void lines_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("plain") << QByteArray("Language_enum=2\nLanguage_mode=1\n")
                               << QStringList{enumTo("2"), modeTo("1")};
        QTest::newRow("blanks around =") << QByteArray("  Language_enum = 2 \nLanguage_mode =1")
                                         << QStringList{enumTo("2"), modeTo("1")};
        QTest::newRow("CR LF line ends") << QByteArray("Language_enum=2\r\nLanguage_mode=1\r\n")
                                         << QStringList{enumTo("2\r"), modeTo("1\r")};
        QTest::newRow("tabs stay")
            << QByteArray("Language_enum\t=\t3") << QStringList{enumTo("\t3")};
        QTest::newRow("only U+0020 is a blank")
            << QString::fromUtf8("Language_enum=\u30002").toUtf8()
            << QStringList{enumTo(QString::fromUtf8("\u30002"))};
        QTest::newRow("no =, whole line")
            << QByteArray("Language_enum 2") << QStringList{enumTo("Language_enum2")};
        QTest::newRow("nothing after =") << QByteArray("Language_mode=") << QStringList{modeTo("")};
        QTest::newRow("text after the last =")
            << QByteArray("Language_enum==a=b") << QStringList{enumTo("b")};
        QTest::newRow("both keys, mode first")
            << QByteArray("Language_mode=1;Language_enum=3") << QStringList{enumTo("3")};
        QTest::newRow("both keys, enum first")
            << QByteArray("Language_enum=1 Language_mode=0") << QStringList{enumTo("0")};
        QTest::newRow("section header naming a key")
            << QByteArray("[Language_mode]\r\nLanguage_enum=1")
            << QStringList{modeTo("[Language_mode]\r"), enumTo("1")};
        QTest::newRow("comment naming a key")
            << QByteArray("; Language_enum is the panel language = see manual\n")
            << QStringList{enumTo("seemanual")};
        QTest::newRow("case matters")
            << QByteArray("language_enum=2\nLANGUAGE_MODE=1\n") << QStringList{};
        QTest::newRow("other keys")
            << QByteArray("[Language]\nLanguage=2\nVolume=3\n") << QStringList{};
        QTest::newRow("repeated key, in order") << QByteArray("Language_enum=1\nLanguage_enum=3\n")
                                                << QStringList{enumTo("1"), enumTo("3")};
        QTest::newRow("UTF-8 value") << QString::fromUtf8("Language_mode=中文").toUtf8()
                                     << QStringList{modeTo(QString::fromUtf8("中文"))};
        QTest::newRow("blank lines") << QByteArray("\n\r\n \n") << QStringList{};
        QTest::newRow("empty body") << QByteArray() << QStringList{};
    }
    void lines()
    {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, entries);
        QCOMPARE(describe(languageEntries(body)), entries);
    }

    void url_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("url");
        QTest::newRow("plain") << "10.77.0.10"
                               << "http://10.77.0.10/webFile/userConfig/config.ini";
        QTest::newRow("loopback") << "127.0.0.1"
                                  << "http://127.0.0.1/webFile/userConfig/config.ini";
    }
    void url()
    {
        QFETCH(QString, address);
        QFETCH(QString, url);
        const QUrl built = configFileUrl(address);
        QVERIFY(built.isValid());
        QCOMPARE(built.host(), address);
        QCOMPARE(built.toString(), url);
    }
};

LAUNCHER_TEST_MAIN(TestConfig)
#include "tst_config.moc"
