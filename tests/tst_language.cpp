// Language detection and the language the interface shows.
//
// The system locale is read once per process, so every locale is tried in a
// child process: this binary started again with LANG and LC_ALL set, HOME
// pointed at a folder of the test, and the argument "--language-probe". The
// child runs the language steps of start-up, builds the main content widget
// and prints what its widgets show as JSON.
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTranslator>
#include <cstdio>

#include "app/language.h"
#include "chrome/loading.h"
#include "console/widget.h"
#include "support/cataloguemessages.h"
#include "support/testmain.h"

namespace {

const char probeArgument[] = "--language-probe";

// ---- the child ------------------------------------------------------------

QString labelText(const QWidget &root, const char *name)
{
    const auto *label = root.findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

QString buttonText(const QWidget &root, const char *name)
{
    const auto *button = root.findChild<QPushButton *>(QLatin1String(name));
    return button ? button->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

QJsonObject shownTexts(Widget &widget)
{
    QJsonObject texts;
    texts[QStringLiteral("label_Top")] = labelText(widget, "label_Top");
    texts[QStringLiteral("btn_search")] = buttonText(widget, "btn_search");
    texts[QStringLiteral("btn_connect")] = buttonText(widget, "btn_connect");
    texts[QStringLiteral("label_status")] = labelText(widget, "label_status");
    texts[QStringLiteral("label")] = labelText(widget, "label");

    auto *address = widget.findChild<QLineEdit *>(QStringLiteral("lineEdit_ip"));
    texts[QStringLiteral("placeholder")] = address ? address->placeholderText() : QString();

    QJsonArray headers;
    if (auto *table = widget.findChild<QTableView *>(QStringLiteral("tableView"))) {
        for (int column = 0; column < table->model()->columnCount(); ++column)
            headers.append(table->model()->headerData(column, Qt::Horizontal).toString());
    }
    texts[QStringLiteral("headers")] = headers;

    const auto *page = widget.findChild<loading *>();
    texts[QStringLiteral("loading")] = page ? labelText(*page, "tooltip_text") : QString();

    // What a user sees after typing something that is not an address.
    auto *connectButton = widget.findChild<QPushButton *>(QStringLiteral("btn_connect"));
    if (address && connectButton) {
        QTest::keyClicks(address, QStringLiteral("mixer"));
        QTest::mouseClick(connectButton, Qt::LeftButton);
    }
    texts[QStringLiteral("invalid")] = labelText(widget, "label_status_disp");
    return texts;
}

// The start-up sequence up to the first window, in the launcher's order.
int runProbe(int argc, char *argv[])
{
    prepareProcessForWebAndQuick();
    QApplication app(argc, argv);
    QTranslator translator;
    installInterfaceLanguage(&translator);

    Widget widget;
    widget.show();
    const QByteArray json = QJsonDocument(shownTexts(widget)).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fflush(stdout);
    return 0;
}

// ---- the parent -----------------------------------------------------------

struct ProbeResult
{
    QJsonObject texts;
    QString diagnostics;
};

ProbeResult runChild(const QString &locale, const QString &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : environment.keys()) {
        if (name.startsWith(QLatin1String("LC_")) || name == QLatin1String("LANGUAGE"))
            environment.remove(name);
    }
    environment.insert(QStringLiteral("LANG"), locale);
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));

    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QLatin1String(probeArgument)});
    ProbeResult result;
    if (!child.waitForFinished(120000)) {
        child.kill();
        child.waitForFinished();
        qWarning() << "language probe did not finish";
        return result;
    }
    result.diagnostics = QString::fromUtf8(child.readAllStandardError());
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        qWarning().noquote() << "language probe failed:" << result.diagnostics;
        return result;
    }
    result.texts = QJsonDocument::fromJson(child.readAllStandardOutput()).object();
    return result;
}

QString settingsPath(const QString &home)
{
    return home + QLatin1String("/Documents/Model Series.ini");
}

// What the first window shows in each language ("en", "zh", "tc", "sp").
QJsonObject expectedTexts(const QString &language)
{
    const auto shown = [&](const char *source) { return expectedText(language, "Widget", source); };
    return QJsonObject{
        {"label_Top", shown("Connection")},
        {"btn_search", shown("Search")},
        {"btn_connect", shown("Connect")},
        {"label_status", shown("Status：")},
        {"label", shown("Select Mixer from List")},
        {"placeholder", shown("Please select an IP address")},
        {"headers",
         QJsonArray{shown("Name"), shown("IP"), shown("Modle"), shown("Status"), shown("Remark")}},
        {"loading", expectedText(language, "loading", "Loading...")},
        {"invalid", shown("Please enter a valid IP address!")},
    };
}

void compareTexts(const QJsonObject &shown, const QJsonObject &expected)
{
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QString key = it.key();
        QCOMPARE(QJsonDocument(QJsonArray{shown.value(key)}).toJson(QJsonDocument::Compact),
                 QJsonDocument(QJsonArray{it.value()}).toJson(QJsonDocument::Compact));
    }
}

}  // namespace

class TestLanguage : public QObject
{
    Q_OBJECT
private slots:
    void startup_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("mode");  // empty: not written
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("diagnostic");
        QTest::newRow("English") << "en_US.UTF-8" << 0 << "1"
                                 << "en"
                                 << "English system";
        QTest::newRow("French") << "fr_FR.UTF-8" << 0 << ""
                                << "en"
                                << "default:English system";
        QTest::newRow("Spanish") << "es_ES.UTF-8" << 3 << ""
                                 << "sp" << QString::fromUtf8("西班牙语");
        QTest::newRow("zh_CN") << "zh_CN.UTF-8" << 1 << ""
                               << "zh" << QString::fromUtf8("当前语言是简体中文");
        QTest::newRow("zh_TW") << "zh_TW.UTF-8" << 2 << ""
                               << "tc" << QString::fromUtf8("当前语言是繁体中文");
        QTest::newRow("zh_HK") << "zh_HK.UTF-8" << 2 << ""
                               << "tc" << QString::fromUtf8("当前语言是繁体中文");
        // The script decides, not the territory.
        QTest::newRow("zh_Hant_CN") << "zh_Hant_CN.UTF-8" << 2 << ""
                                    << "tc"
                                    << "Lang type:  Traditional Han";
        QTest::newRow("zh_Hans_TW") << "zh_Hans_TW.UTF-8" << 1 << ""
                                    << "zh"
                                    << "Lang type:  Simplified Han";
    }
    void startup()
    {
        QFETCH(QString, locale);
        QFETCH(int, code);
        QFETCH(QString, mode);
        QFETCH(QString, language);
        QFETCH(QString, diagnostic);

        QTemporaryDir home;
        QVERIFY(home.isValid());
        const ProbeResult probe = runChild(locale, home.path());
        QVERIFY2(probe.diagnostics.contains(diagnostic), qPrintable(probe.diagnostics));
        QVERIFY(!probe.diagnostics.contains(QLatin1String("setLanguage Failed")));

        QVERIFY(QFile::exists(settingsPath(home.path())));
        QSettings settings(settingsPath(home.path()), QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("Language/Language_enum")).toString(),
                 QString::number(code));
        QCOMPARE(settings.value(QStringLiteral("Language/Language_mode")).toString(), mode);
        QCOMPARE(settings.contains(QStringLiteral("Language/Language_mode")), !mode.isEmpty());
        QCOMPARE(settings.childGroups(), QStringList{QStringLiteral("Language")});

        compareTexts(probe.texts, expectedTexts(language));
    }

    // Whatever the file holds from an earlier run, the system locale decides.
    void restart_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("language");
        QTest::newRow("code 7 by hand")
            << QByteArray("[Language]\nLanguage_enum=7\nLanguage_mode=5\n") << "fr_FR.UTF-8" << 0
            << "5"
            << "en";
        QTest::newRow("code 7 on a Traditional Chinese system")
            << QByteArray("[Language]\nLanguage_enum=7\n") << "zh_TW.UTF-8" << 2 << ""
            << "tc";
        QTest::newRow("value copied from a mixer")
            << QByteArray("[Language]\nLanguage_enum=\"1\\r\"\nLanguage_mode=\"0\\r\"\n")
            << "es_ES.UTF-8" << 3 << "0\r"
            << "sp";
        QTest::newRow("English writes the mode again")
            << QByteArray("[Language]\nLanguage_enum=2\nLanguage_mode=9\n") << "en_US.UTF-8" << 0
            << "1"
            << "en";
    }
    void restart()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, locale);
        QFETCH(int, code);
        QFETCH(QString, mode);
        QFETCH(QString, language);

        QTemporaryDir home;
        QVERIFY(home.isValid());
        QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Documents")));
        QFile file(settingsPath(home.path()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
        file.close();

        const ProbeResult probe = runChild(locale, home.path());
        QVERIFY2(!probe.diagnostics.contains(QLatin1String("setLanguage Failed")),
                 qPrintable(probe.diagnostics));
        QSettings settings(settingsPath(home.path()), QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("Language/Language_enum")).toString(),
                 QString::number(code));
        QCOMPARE(settings.value(QStringLiteral("Language/Language_mode")).toString(), mode);
        compareTexts(probe.texts, expectedTexts(language));
    }

    // setAppLanguage on its own: the stored code picks the catalogue.
    void catalogueChoice_data()
    {
        QTest::addColumn<QVariant>("stored");    // invalid: key absent
        QTest::addColumn<QString>("catalogue");  // empty: none loaded
        QTest::newRow("absent") << QVariant() << ":/Resource/main_widget_en.qm";
        QTest::newRow("0") << QVariant(0) << ":/Resource/main_widget_en.qm";
        QTest::newRow("1") << QVariant(1) << ":/Resource/main_widget_zh.qm";
        QTest::newRow("2") << QVariant(2) << ":/Resource/main_widget_tc.qm";
        QTest::newRow("3") << QVariant(3) << ":/Resource/main_widget_sp.qm";
        QTest::newRow("text 2") << QVariant(QStringLiteral("2")) << ":/Resource/main_widget_tc.qm";
        QTest::newRow("not a number")
            << QVariant(QStringLiteral("abc")) << ":/Resource/main_widget_en.qm";
        QTest::newRow("4") << QVariant(4) << "";
        QTest::newRow("7") << QVariant(7) << "";
        QTest::newRow("-1") << QVariant(-1) << "";
    }
    void catalogueChoice()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, catalogue);
        QFile::remove(settingsFilePath());
        if (stored.isValid()) {
            QSettings settings(settingsFilePath(), QSettings::IniFormat);
            settings.setValue(QStringLiteral("Language/Language_enum"), stored);
        }
        if (catalogue.isEmpty())
            QTest::ignoreMessage(QtDebugMsg,
                                 QRegularExpression("setAppLanguage.*setLanguage Failed"));
        QTranslator translator;
        setAppLanguage(&translator);
        QCOMPARE(translator.filePath(), catalogue);
    }

    void settingsFileFollowsApplicationName()
    {
        const QString home = QDir::homePath();
        QCOMPARE(settingsFilePath(), home + QLatin1String("/Documents/Model Series.ini"));
        QCoreApplication::setApplicationName(QStringLiteral("Other Name"));
        const QString other = settingsFilePath();
        QCoreApplication::setApplicationName(QStringLiteral("Model Series"));
        QCOMPARE(other, home + QLatin1String("/Documents/Other Name.ini"));
    }
};

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], probeArgument) == 0)
        return runProbe(argc, argv);
    return runLauncherTests<TestLanguage>(argc, argv);
}

#include "tst_language.moc"
