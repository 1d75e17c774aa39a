// The mixer's configuration: the line rules, and the fetch from a simulated
// mixer into the settings file.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "app/language.h"
#include "console/config_lines.h"
#include "console/widget.h"
#include "support/mixersim.h"
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

// A settings file as a person might have left it. Any rewrite by QSettings
// changes its bytes (comments and blanks go), so "untouched" can be checked.
const QByteArray handWrittenSettings =
    "; kept by hand\n[Language]\nLanguage_enum = 0\nLanguage_mode = 7\n[Panel]\nkept = yes\n";

// Loopback addresses of our own: the third part comes from the process id so
// that test runs on the same machine do not take each other's addresses.
int loopbackBlock()
{
    return 1 + int(QCoreApplication::applicationPid() % 250);
}

QString loopback(int host)
{
    return QStringLiteral("127.0.%1.%2").arg(loopbackBlock()).arg(host);
}

QString zeroLedLoopback(int host)
{
    return QStringLiteral("127.000.%1.%2")
        .arg(loopbackBlock(), 3, 10, QLatin1Char('0'))
        .arg(host, 3, 10, QLatin1Char('0'));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A configuration body of at least the given size, with the language lines
// at its very end, after comment lines that name no key.
QByteArray paddedConfig(qint64 size, const QByteArray &tail)
{
    QByteArray body;
    const QByteArray filler = "; panel scene memory, channel strip defaults, output routing\r\n";
    while (body.size() + tail.size() < size)
        body += filler;
    return body + tail;
}

// The configuration requests a Widget has running now.
QList<QNetworkReply *> configReplies(const QWidget &widget)
{
    QList<QNetworkReply *> found;
    for (QNetworkReply *reply : widget.findChildren<QNetworkReply *>()) {
        if (reply->url().path() == QLatin1String("/webFile/userConfig/config.ini"))
            found << reply;
    }
    return found;
}

// One simulated mixer serving the configuration file given, on an address.
std::unique_ptr<MixerSim> startMixer(const QString &address, const QString &configFile,
                                     const QStringList &extra = {})
{
    QStringList arguments{QStringLiteral("--address"), address, QStringLiteral("--answer"),
                          QStringLiteral("none")};
    if (!configFile.isEmpty())
        arguments << QStringLiteral("--config-file") << configFile;
    auto mixer = std::make_unique<MixerSim>(arguments + extra);
    if (!mixer->start())
        mixer.reset();
    return mixer;
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

    void init()
    {
        QFile::remove(settingsFilePath());
        QVERIFY(writeFile(settingsFilePath(), handWrittenSettings));
    }

    // One Connect against a simulated mixer: what reaches the settings file.
    void fetch_data()
    {
        QTest::addColumn<QByteArray>("config");   // what the mixer serves as its file
        QTest::addColumn<QStringList>("faults");  // extra simulator options
        QTest::addColumn<bool>("mixerRuns");
        QTest::addColumn<QString>("languageEnum");  // empty: file untouched
        QTest::addColumn<QString>("languageMode");
        QTest::addColumn<QString>("diagnostic");

        const QByteArray realistic =
            "[Language]\r\n; Language_mode is kept by the panel\r\nLanguage_enum = 2\r\n"
            "Language_mode = 1\r\n[Network]\r\nDHCP = 0\r\n";
        QTest::newRow("CR LF file") << realistic << QStringList{} << true << "2\r"
                                    << "1\r"
                                    << "";
        QTest::newRow("LF file") << QByteArray("Language_mode=0\nLanguage_enum=3\n")
                                 << QStringList{} << true << "3"
                                 << "0"
                                 << "";
        QTest::newRow("just below the bound")
            << paddedConfig(maxConfigFileBytes - 64, "Language_enum=1\r\nLanguage_mode=2\r\n")
            << QStringList{} << true << "1\r"
            << "2\r"
            << "";
        QTest::newRow("HTTP 404") << realistic << QStringList{"--status", "config=404"} << true
                                  << ""
                                  << ""
                                  << "Network request error:";
        QTest::newRow("HTTP 500") << realistic << QStringList{"--status", "config=500"} << true
                                  << ""
                                  << ""
                                  << "Network request error:";
        QTest::newRow("unreachable mixer") << realistic << QStringList{} << false << ""
                                           << ""
                                           << "Network request error:";
        QTest::newRow("larger than the bound, keys at the end")
            << paddedConfig(maxConfigFileBytes + 4096, "Language_enum=1\r\nLanguage_mode=2\r\n")
            << QStringList{} << true << ""
            << ""
            << "larger than";
        QTest::newRow("body of 300 MB")
            << realistic << QStringList{"--huge", "config=300000000"} << true << ""
            << ""
            << "larger than";
        QTest::newRow("body that never ends")
            << realistic << QStringList{"--endless", "config"} << true << ""
            << ""
            << "larger than";
        QTest::newRow("empty body") << QByteArray() << QStringList{} << true << ""
                                    << ""
                                    << "";
    }
    void fetch()
    {
        QFETCH(QByteArray, config);
        QFETCH(QStringList, faults);
        QFETCH(bool, mixerRuns);
        QFETCH(QString, languageEnum);
        QFETCH(QString, languageMode);
        QFETCH(QString, diagnostic);

        QTemporaryDir files;
        const QString configFile = files.filePath(QStringLiteral("config.ini"));
        QVERIFY(writeFile(configFile, config));
        const QString address = loopback(10);
        std::unique_ptr<MixerSim> mixer;
        if (mixerRuns) {
            mixer = startMixer(address, configFile, faults);
            QVERIFY(mixer);
        }
        if (!diagnostic.isEmpty())
            QTest::ignoreMessage(QtDebugMsg,
                                 QRegularExpression(QRegularExpression::escape(diagnostic)));

        Widget widget;
        widget.show();
        connectTo(widget, address);
        const QList<QNetworkReply *> replies = configReplies(widget);
        QCOMPARE(replies.size(), 1);
        QPointer<QNetworkReply> reply = replies.first();
        QCOMPARE(reply->url().host(), address);
        // The handler releases the reply once it has dealt with it.
        QTRY_VERIFY_WITH_TIMEOUT(reply.isNull(), 30000);

        if (languageEnum.isEmpty()) {
            QCOMPARE(readFile(settingsFilePath()), handWrittenSettings);
            return;
        }
        QSettings settings(settingsFilePath(), QSettings::IniFormat);
        QCOMPARE(settings.value(enumKey).toString(), languageEnum);
        QCOMPARE(settings.value(modeKey).toString(), languageMode);
        QCOMPARE(settings.value(QStringLiteral("Panel/kept")).toString(), QStringLiteral("yes"));
    }

    // QUrl would read "021" as octal 17: the fetch must go to the address the
    // user meant, not to the mixer that happens to sit at .17.
    void zeroLedAddress()
    {
        QTemporaryDir files;
        const QString meant = files.filePath(QStringLiteral("meant.ini"));
        const QString decoy = files.filePath(QStringLiteral("decoy.ini"));
        QVERIFY(writeFile(meant, "Language_enum=3\nLanguage_mode=1\n"));
        QVERIFY(writeFile(decoy, "Language_enum=9\nLanguage_mode=9\n"));
        auto meantMixer = startMixer(loopback(21), meant);
        auto decoyMixer = startMixer(loopback(17), decoy);
        QVERIFY(meantMixer && decoyMixer);

        Widget widget;
        widget.show();
        connectTo(widget, zeroLedLoopback(21));
        const QList<QNetworkReply *> replies = configReplies(widget);
        QCOMPARE(replies.size(), 1);
        QPointer<QNetworkReply> reply = replies.first();
        QCOMPARE(reply->url().host(), loopback(21));
        QTRY_VERIFY_WITH_TIMEOUT(reply.isNull(), 30000);
        QSettings settings(settingsFilePath(), QSettings::IniFormat);
        QCOMPARE(settings.value(enumKey).toString(), QStringLiteral("3"));
        QCOMPARE(settings.value(modeKey).toString(), QStringLiteral("1"));
    }

    // A second Connect drops the first fetch: only the second mixer's
    // values can reach the file, even when the first mixer answers later.
    void secondConnectWins()
    {
        QTemporaryDir files;
        const QString slowFile = files.filePath(QStringLiteral("slow.ini"));
        const QString fastFile = files.filePath(QStringLiteral("fast.ini"));
        QVERIFY(writeFile(slowFile, "Language_enum=1\nLanguage_mode=1\n"));
        QVERIFY(writeFile(fastFile, "Language_enum=3\nLanguage_mode=0\n"));
        auto slow = startMixer(loopback(31), slowFile, {"--delay", "config=1500"});
        auto fast = startMixer(loopback(32), fastFile);
        QVERIFY(slow && fast);

        Widget widget;
        widget.show();
        const int managers = widget.findChildren<QNetworkAccessManager *>().size();
        connectTo(widget, loopback(31));
        QCOMPARE(configReplies(widget).size(), 1);
        QPointer<QNetworkReply> first = configReplies(widget).first();
        const QUrl slowUrl = first->url();
        connectTo(widget, loopback(32));
        QVERIFY(first.isNull());
        QCOMPARE(configReplies(widget).size(), 1);
        QPointer<QNetworkReply> second = configReplies(widget).first();
        QCOMPARE(second->url().host(), loopback(32));
        // One configuration manager at a time: the first one is gone.
        QCOMPARE(widget.findChildren<QNetworkAccessManager *>().size(), managers + 1);

        // Ask the slow mixer ourselves, after the launcher did: once our
        // answer is in, the launcher's would have been in before it.
        QNetworkAccessManager witness;
        QPointer<QNetworkReply> late = witness.get(QNetworkRequest(slowUrl));
        QSignalSpy lateDone(late.data(), &QNetworkReply::finished);
        QTRY_VERIFY_WITH_TIMEOUT(second.isNull(), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(lateDone.count(), 1, 30000);
        QCOMPARE(late->readAll(), QByteArray("Language_enum=1\nLanguage_mode=1\n"));
        QCoreApplication::processEvents();

        QSettings settings(settingsFilePath(), QSettings::IniFormat);
        QCOMPARE(settings.value(enumKey).toString(), QStringLiteral("3"));
        QCOMPARE(settings.value(modeKey).toString(), QStringLiteral("0"));
    }

    void noFetch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("demo") << "demo";
        QTest::newRow("Demo") << "Demo";
        QTest::newRow("part above 255") << "256.1.1.1";
        QTest::newRow("three parts") << "127.0.0";
        QTest::newRow("leading blank") << " 127.0.0.1";
        QTest::newRow("host name") << "localhost";
    }
    void noFetch()
    {
        QFETCH(QString, text);
        Widget widget;
        widget.show();
        const int managers = widget.findChildren<QNetworkAccessManager *>().size();
        connectTo(widget, text);
        QCOMPARE(configReplies(widget).size(), 0);
        QCOMPARE(widget.findChildren<QNetworkAccessManager *>().size(), managers);
        QCOMPARE(readFile(settingsFilePath()), handWrittenSettings);
    }

private:
    // What a user does: type the address and press Connect.
    static void connectTo(Widget &widget, const QString &text)
    {
        auto *address = widget.findChild<QLineEdit *>(QStringLiteral("lineEdit_ip"));
        auto *button = widget.findChild<QPushButton *>(QStringLiteral("btn_connect"));
        QVERIFY(address && button);
        address->clear();
        QTest::keyClicks(address, text);
        QCOMPARE(address->text(), text);
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

LAUNCHER_TEST_MAIN(TestConfig)
#include "tst_config.moc"
