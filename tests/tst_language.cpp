// Language detection and the language the interface shows.
//
// The system locale is read once per process, so every locale is tried in a
// child process: this binary started again with LANG and LC_ALL set, HOME
// pointed at a folder of the test, and the argument "--language-probe". The
// child runs the language steps of start-up, builds the main content widget
// and prints what its widgets show as JSON.
#include <QDir>
#include <QFile>
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

#include "chrome/loading.h"
#include "console/widget.h"
#include "support/cataloguemessages.h"
#include "support/localeenvironment.h"
#include "support/testmain.h"

namespace {

const char probeArgument[] = "--language-probe";

// ---- the child ------------------------------------------------------------

QJsonObject shownTexts(Widget &widget)
{
    QJsonObject texts;
    for (const char *name : {"label_Top", "label_status", "label"})
        texts[name] = widget.findChild<QLabel *>(name)->text();
    for (const char *name : {"btn_search", "btn_connect"})
        texts[name] = widget.findChild<QPushButton *>(name)->text();
    auto *address = widget.findChild<QLineEdit *>(QStringLiteral("lineEdit_ip"));
    texts["placeholder"] = address->placeholderText();
    QJsonArray headers;
    const QAbstractItemModel *model = widget.findChild<QTableView *>("tableView")->model();
    for (int column = 0; column < model->columnCount(); ++column)
        headers.append(model->headerData(column, Qt::Horizontal).toString());
    texts["headers"] = headers;
    texts["loading"] = widget.findChild<loading *>()->findChild<QLabel *>("tooltip_text")->text();

    // What a user sees after typing something that is not an address.
    QTest::keyClicks(address, QStringLiteral("mixer"));
    QTest::mouseClick(widget.findChild<QPushButton *>("btn_connect"), Qt::LeftButton);
    texts["invalid"] = widget.findChild<QLabel *>("label_status_disp")->text();
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

// The texts the child reports; empty when it failed.
QJsonObject runChild(const QString &locale, const QString &home)
{
    QProcess child;
    child.setProcessEnvironment(localeEnvironment(locale, home));
    child.start(QCoreApplication::applicationFilePath(), {QLatin1String(probeArgument)});
    if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
        child.kill();
        qWarning().noquote() << "language probe failed:" << child.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(child.readAllStandardOutput()).object();
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

}  // namespace

class TestLanguage : public QObject
{
    Q_OBJECT
private slots:
    // The system locale decides at every start, whatever the file holds from
    // an earlier run; only English stores a mode of its own.
    void startup_data()
    {
        QTest::addColumn<QByteArray>("before");  // the settings file beforehand
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("mode");  // empty: not written
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QByteArray() << "en_US.UTF-8" << 0 << "1"
                                 << "en";
        QTest::newRow("French") << QByteArray() << "fr_FR.UTF-8" << 0 << ""
                                << "en";
        QTest::newRow("Spanish") << QByteArray() << "es_ES.UTF-8" << 3 << ""
                                 << "sp";
        QTest::newRow("zh_CN") << QByteArray() << "zh_CN.UTF-8" << 1 << ""
                               << "zh";
        QTest::newRow("zh_TW") << QByteArray() << "zh_TW.UTF-8" << 2 << ""
                               << "tc";
        QTest::newRow("zh_HK") << QByteArray() << "zh_HK.UTF-8" << 2 << ""
                               << "tc";
        // The script decides, not the territory.
        QTest::newRow("zh_Hant_CN") << QByteArray() << "zh_Hant_CN.UTF-8" << 2 << ""
                                    << "tc";
        QTest::newRow("code 7 by hand")
            << QByteArray("[Language]\nLanguage_enum=7\nLanguage_mode=5\n") << "fr_FR.UTF-8" << 0
            << "5"
            << "en";
    }
    void startup()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, locale);
        QFETCH(QString, mode);
        QFETCH(QString, language);

        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString path = home.path() + QLatin1String("/Documents/Model Series.ini");
        if (!before.isNull()) {
            QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Documents")));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        }
        const QJsonObject shown = runChild(locale, home.path());
        QVERIFY(!shown.isEmpty());

        QSettings settings(path, QSettings::IniFormat);
        QTEST(settings.value(QStringLiteral("Language/Language_enum")).toInt(), "code");
        QCOMPARE(settings.value(QStringLiteral("Language/Language_mode")).toString(), mode);
        QCOMPARE(settings.contains(QStringLiteral("Language/Language_mode")), !mode.isEmpty());

        const QJsonObject expected = expectedTexts(language);
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QVERIFY2(shown.value(it.key()) == it.value(), qPrintable(it.key()));
    }
};

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], probeArgument) == 0)
        return runProbe(argc, argv);
    return runLauncherTests<TestLanguage>(argc, argv);
}

#include "tst_language.moc"
