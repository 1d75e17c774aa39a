// Language detection at start-up, and the language the interface then shows.
// Each row runs the language steps of start-up in a child process under its
// own locale and home folder; the child prints what its widgets show.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTranslator>

#include "console/widget.h"
#include "support/filebytes.h"
#include "support/localechild.h"
#include "support/testmain.h"

namespace {

const char probeArgument[] = "--language-probe";
// The texts the child reports, as context and source text.
const char *const shownSources[][2] = {{"Widget", "Connection"},
                                       {"Widget", "Search"},
                                       {"Widget", "Modle"},
                                       {"loading", "Loading..."},
                                       {"Widget", "Please enter a valid IP address!"}};

// The start-up's language steps, then what a user sees, one text a line.
int runProbe(int argc, char *argv[])
{
    prepareProcessForWebAndQuick();
    QApplication app(argc, argv);
    QTranslator translator;
    installInterfaceLanguage(&translator);
    Widget widget;
    widget.show();
    QTest::keyClicks(widget.findChild<QLineEdit *>("lineEdit_ip"), "mixer");
    QTest::mouseClick(widget.findChild<QPushButton *>("btn_connect"), Qt::LeftButton);
    const QStringList shown{
        widget.findChild<QLabel *>("label_Top")->text(),
        widget.findChild<QPushButton *>("btn_search")->text(),
        widget.findChild<QTableView *>()->model()->headerData(2, Qt::Horizontal).toString(),
        widget.findChild<QLabel *>("tooltip_text")->text(),
        widget.findChild<QLabel *>("label_status_disp")->text()};
    QTextStream(stdout) << shown.join(QLatin1Char('\n'));
    return 0;
}

// The same texts as the catalogue of a language ("en", "zh", "tc", "sp") gives them.
QStringList expectedTexts(const QString &language)
{
    QTranslator catalogue;
    if (!catalogue.load(":/Resource/main_widget_" + language + ".qm"))
        return {};
    QStringList texts;
    for (const auto &[context, source] : shownSources) {
        const QString translated = catalogue.translate(context, source);
        texts << (translated.isEmpty() ? QString::fromUtf8(source) : translated);
    }
    return texts;
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
        QTest::newRow("French over code 7")
            << QByteArray("[Language]\nLanguage_enum=7\nLanguage_mode=5\n") << "fr_FR.UTF-8" << 0
            << "5"
            << "en";
        QTest::newRow("Spanish") << QByteArray() << "es_ES.UTF-8" << 3 << ""
                                 << "sp";
        QTest::newRow("zh_CN") << QByteArray() << "zh_CN.UTF-8" << 1 << ""
                               << "zh";
        QTest::newRow("zh_TW") << QByteArray() << "zh_TW.UTF-8" << 2 << ""
                               << "tc";
        // The script decides, not the territory.
        QTest::newRow("zh_Hant_CN") << QByteArray() << "zh_Hant_CN.UTF-8" << 2 << ""
                                    << "tc";
    }
    void startup()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, locale);
        QFETCH(QString, mode);
        QFETCH(QString, language);
        QTemporaryDir home;
        const QString path = home.filePath("Documents/Model Series.ini");
        QVERIFY(before.isNull() || writeFileBytes(path, before));
        const QString shown = QString::fromUtf8(runInLocale(locale, home.path(), probeArgument));
        QCOMPARE(shown.split(QLatin1Char('\n')), expectedTexts(language));

        QSettings settings(path, QSettings::IniFormat);
        QTEST(settings.value("Language/Language_enum").toInt(), "code");
        QCOMPARE(settings.value("Language/Language_mode").toString(), mode);
        QCOMPARE(settings.contains("Language/Language_mode"), !mode.isEmpty());
    }
};

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], probeArgument) == 0)
        return runProbe(argc, argv);
    return runLauncherTests<TestLanguage>(argc, argv);
}

#include "tst_language.moc"
