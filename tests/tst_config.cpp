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
#include "console/configlines.h"
#include "console/widget.h"
#include "support/filebytes.h"
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

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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
        QTest::newRow("no =, whole line")
            << QByteArray("Language_enum 2") << QStringList{enumTo("Language_enum2")};
        QTest::newRow("text after the last =")
            << QByteArray("Language_enum==a=b") << QStringList{enumTo("b")};
        QTest::newRow("both keys, mode first")
            << QByteArray("Language_mode=1;Language_enum=3") << QStringList{enumTo("3")};
        QTest::newRow("section header naming a key")
            << QByteArray("[Language_mode]\r\nLanguage_enum=1")
            << QStringList{modeTo("[Language_mode]\r"), enumTo("1")};
        QTest::newRow("comment naming a key")
            << QByteArray("; Language_enum is the panel language = see manual\n")
            << QStringList{enumTo("seemanual")};
        QTest::newRow("blank lines") << QByteArray("\n\r\n \n") << QStringList{};
        QTest::newRow("empty body") << QByteArray() << QStringList{};
    }
    void lines()
    {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, entries);
        QCOMPARE(describe(languageEntries(body)), entries);
    }

    // A plain GET, under a bound of 256 KiB and a limit of a few seconds.
    void request()
    {
        const BoundedRequest sent = configFileRequest(QStringLiteral("192.168.1.8"));
        QCOMPARE(sent.request.url(),
                 QUrl(QStringLiteral("http://192.168.1.8/webFile/userConfig/config.ini")));
        QCOMPARE(sent.request.rawHeaderList(), QList<QByteArray>{});
        QCOMPARE(sent.limits.maxBodyBytes, 256 * 1024);
        QVERIFY(sent.limits.timeoutMs >= 1000 && sent.limits.timeoutMs <= 10000);
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
        QTest::addColumn<bool>("zeroLed");        // typed as 127.000.x.010
        QTest::addColumn<QStringList>("stored");  // empty: file untouched
        QTest::addColumn<QString>("diagnostic");

        const QByteArray realistic =
            "[Language]\r\n; Language_mode is kept by the panel\r\nLanguage_enum = 2\r\n"
            "Language_mode = 1\r\n[Network]\r\nDHCP = 0\r\n";
        QTest::newRow("CR LF file")
            << realistic << QStringList{} << true << false << QStringList{"2\r", "1\r"} << "";
        // QUrl would read "010" as octal 8: the fetch must reach the mixer
        // the user meant, not the decoy that sits at .8.
        QTest::newRow("zero-led address")
            << realistic << QStringList{} << true << true << QStringList{"2\r", "1\r"} << "";
        QTest::newRow("HTTP 404") << realistic << QStringList{"--status", "config=404"} << true
                                  << false << QStringList{} << "Network request error:";
        QTest::newRow("unreachable mixer") << realistic << QStringList{} << false << false
                                           << QStringList{} << "Network request error:";
        QTest::newRow("empty body")
            << QByteArray() << QStringList{} << true << false << QStringList{} << "";
    }
    void fetch()
    {
        QFETCH(QByteArray, config);
        QFETCH(QStringList, faults);
        QFETCH(bool, mixerRuns);
        QFETCH(bool, zeroLed);
        QFETCH(QStringList, stored);
        QFETCH(QString, diagnostic);

        QTemporaryDir files;
        const QString configFile = files.filePath(QStringLiteral("config.ini"));
        const QString decoyFile = files.filePath(QStringLiteral("decoy.ini"));
        QVERIFY(writeFile(configFile, config));
        QVERIFY(writeFile(decoyFile, "Language_enum=9\nLanguage_mode=9\n"));
        std::unique_ptr<MixerSim> mixer, decoy;
        if (mixerRuns) {
            mixer = startMixer(loopback(10), configFile, faults);
            QVERIFY(mixer);
        }
        if (zeroLed) {
            decoy = startMixer(loopback(8), decoyFile);
            QVERIFY(decoy);
        }
        if (!diagnostic.isEmpty())
            QTest::ignoreMessage(QtDebugMsg,
                                 QRegularExpression(QRegularExpression::escape(diagnostic)));

        Widget widget;
        widget.show();
        connectTo(widget, zeroLed ? zeroLedLoopback(10) : loopback(10));
        QPointer<QNetworkReply> reply = onlyFetch(widget, loopback(10));
        QVERIFY(reply);
        // The handler releases the reply once it has dealt with it.
        QTRY_VERIFY_WITH_TIMEOUT(reply.isNull(), 30000);

        if (stored.isEmpty()) {
            QCOMPARE(fileBytes(settingsFilePath()), handWrittenSettings);
            return;
        }
        QCOMPARE(storedLanguage(), stored);
        QSettings settings(settingsFilePath(), QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("Panel/kept")).toString(), QStringLiteral("yes"));
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
        QPointer<QNetworkReply> first = onlyFetch(widget, loopback(31));
        QVERIFY(first);
        const QUrl slowUrl = first->url();
        connectTo(widget, loopback(32));
        QVERIFY(first.isNull());
        QPointer<QNetworkReply> second = onlyFetch(widget, loopback(32));
        QVERIFY(second);
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
        QCOMPARE(storedLanguage(), (QStringList{"3", "0"}));
    }

    void noFetch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("demo") << "demo";
        QTest::newRow("part above 255") << "256.1.1.1";
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
        QCOMPARE(fileBytes(settingsFilePath()), handWrittenSettings);
    }

private:
    // The one configuration request running, if it goes to `host`.
    static QNetworkReply *onlyFetch(const Widget &widget, const QString &host)
    {
        const QList<QNetworkReply *> replies = configReplies(widget);
        return replies.size() == 1 && replies.first()->url().host() == host ? replies.first()
                                                                            : nullptr;
    }
    static QStringList storedLanguage()
    {
        QSettings settings(settingsFilePath(), QSettings::IniFormat);
        return {settings.value(enumKey).toString(), settings.value(modeKey).toString()};
    }

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
