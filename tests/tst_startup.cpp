// The launcher's start-up in a child process under a locale and home folder
// of the row's: the language it detects and shows, and what becomes of the
// settings file, also one that cannot be written (as an unprivileged user:
// root writes anywhere) or was damaged by hand. That file must not be made
// worse: its bytes stay as they were, or start-up rewrote its own keys into
// a valid file that keeps everything else it held.
#include <sys/stat.h>

#include "app/launcher.h"
#include "chrome/basewindow.h"
#include "console/widget.h"
#include "support/childprocess.h"
#include "support/filebytes.h"
#include "support/searchpage.h"
#include "support/testmain.h"

namespace {

const char childArgument[] = "--startup-child";
// The widgets whose texts the child reports, and the property that holds
// each, before the device table's column labels.
const char *const shown[][2] = {{"label_Top", "text"},
                                {"btn_search", "text"},
                                {"tooltip_text", "text"},
                                {"label_status_disp", "text"},
                                {"lineEdit_ip", "placeholderText"},
                                {"label", "text"},
                                {"label_status", "text"}};

// The launcher's own start-up; prints what a user sees, one text a line,
// after typing something that is not an address, and closes the window.
int runChild(char *argv[])
{
    int childArgc = 1;
    return runLauncher(
        childArgc, argv, [](BaseWindow &window) {
            typeAndConnect(&window, "mixer");
            const Widget *content =
                window.findChild<Widget *>();  // the title bar has a "label" too
            for (const auto &[name, property] : shown)
                QTextStream(stdout)
                    << content->findChild<QWidget *>(name)->property(property).toString() << '\n';
            const QAbstractItemModel *table = window.findChild<QTableView *>()->model();
            for (int column = 0; column < table->columnCount(); ++column)
                QTextStream(stdout) << table->headerData(column, Qt::Horizontal).toString() << '\n';
            QTimer::singleShot(0, &window, [&window] {
                QTest::mouseClick(window.findChild<QPushButton *>("toolClose"), Qt::LeftButton);
            });
        });
}

// Those texts in a language ("en", "zh", "tc", "sp"), as the mixers' own
// software words them, one a line.
QString expectedTexts(const QString &language)
{
    static const QMap<QString, QStringList> texts{
        {"en",
         {"Connection", "Search", "Loading...", "Please enter a valid IP address!",
          "Please select an IP address", "Select Mixer from List", "Status：", "Name", "IP",
          "Modle", "Status", "Remark"}},
        {"zh",
         {"连接", "搜索", "加载中", "请输入一个有效的IP地址！", "请选择一个ip地址",
          "从列表中选择混音器", "状态", "设备名称", "IP地址", "模式", "状态", "备注"}},
        {"tc",
         {"網路設定", "搜尋", "加載中", "請輸入有效的IP地址！", "請選擇一個IP地址",
          "從列表中選擇混音器", "狀態", "設備名稱", "IP地址", "模式", "狀態", "備註"}},
        {"sp",
         {"Conexión", "Búscar Canal", "En carga", "¡¡ introduzca una dirección IP válida!",
          "Please Select an IP Direction", "Seleccionar Consola Digital de la lista",
          "Estado:", "Nombre", "IP", "Modo", "Estado", "Notar"}}};
    return texts.value(language).join('\n') + '\n';
}

// Runs this binary's child under `locale` (LC_ALL overrides every other
// locale variable but LANGUAGE, which goes) with HOME
// at `home`; as the user "nobody" when `unprivileged` and this process is
// root. Returns the child's standard output; a null array when it did not
// end well.
QByteArray runInLocale(const QString &locale, const QString &home, bool unprivileged)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("LANGUAGE");
    environment.insert("LANG", locale);
    environment.insert("LC_ALL", locale);
    environment.insert("HOME", home);
    QStringList prefix;
    if (unprivileged && geteuid() == 0)
        prefix = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    const ChildRun run = runThisBinaryAgain({childArgument}, environment, prefix);
    if (run.passed)
        return run.output;
    qWarning().noquote() << "start-up in" << locale << "failed:" << run.errors;
    return {};
}

// Every key of an INI file but the language's, as the texts it holds (a
// value with commas reads as a list, and may be written back as a list of
// another type).
QMap<QString, QStringList> otherKeys(const QString &path)
{
    QSettings settings(path, QSettings::IniFormat);
    QMap<QString, QStringList> keys;
    for (const QString &name : settings.allKeys())
        if (!name.startsWith("Language/"))
            keys.insert(name, settings.value(name).toStringList());
    return keys;
}

}  // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    // The system locale decides at every start, whatever the file holds from
    // an earlier run; only English stores a mode of its own.
    void startUp_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("before");  // null: no file
        QTest::addColumn<bool>("readOnly");      // folder and file
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("mode");  // empty: not written
        const auto row = [](const char *tag, const char *locale, const QByteArray &before,
                            bool readOnly, const char *language, int code, const char *mode) {
            QTest::newRow(tag) << locale << before << readOnly << language << code << mode;
        };
        const QByteArray code7 =
            "[Language]\nLanguage_enum=7\nLanguage_mode=5\n[Panel]\nkept=yes\n";
        row("English", "en_US.UTF-8", {}, false, "en", 0, "1");
        row("French over code 7", "fr_FR.UTF-8", code7, false, "en", 0, "5");
        row("Spanish", "es_ES.UTF-8", {}, false, "sp", 3, "");
        row("zh_CN", "zh_CN.UTF-8", {}, false, "zh", 1, "");
        row("zh_TW", "zh_TW.UTF-8", {}, false, "tc", 2, "");
        // The script decides, not the territory.
        row("zh_Hant_CN", "zh_Hant_CN.UTF-8", {}, false, "tc", 2, "");
        // The language shows even where start-up could not store its code.
        row("folder read-only, no file", "zh_TW.UTF-8", {}, true, "tc", 0, "");
        row("folder and file read-only", "zh_TW.UTF-8", code7, true, "tc", 0, "");
        row("garbage text", "zh_TW.UTF-8",
            "Wed 12 Nov ]] mixer-notes: {gain: +3dB}\n= = =\n[\n;;\nkept\n", false, "tc", 2, "");
    }
    void startUp()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, before);
        QFETCH(bool, readOnly);
        QFETCH(QString, language);
        QFETCH(QString, mode);
        QTemporaryDir home;
        const QString documents = home.filePath("Documents");
        const QString path = documents + "/Model Series.ini";
        QVERIFY(QDir().mkpath(documents) && (before.isNull() || writeFileBytes(path, before)));
        QVERIFY(::chmod(qPrintable(home.path()), 0755) == 0);
        if (readOnly)
            QVERIFY(::chmod(qPrintable(documents), 0555) == 0);
        if (readOnly && !before.isNull())
            QVERIFY(::chmod(qPrintable(path), 0444) == 0);
        const auto restore = qScopeGuard([&] { ::chmod(qPrintable(documents), 0755); });
        const QMap<QString, QStringList> keptBefore = otherKeys(path);

        const QByteArray shown = runInLocale(locale, home.path(), readOnly);
        QCOMPARE(QString::fromUtf8(shown), expectedTexts(language));
        const QByteArray after = fileBytes(path);
        if (readOnly || (after == before && !before.isNull())) {
            QVERIFY2(!before.isNull() || !QFile::exists(path), "a file appeared where none can be");
            QCOMPARE(after, before);
            return;
        }
        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(settings.status(), QSettings::NoError);
        QTEST(settings.value("Language/Language_enum").toInt(), "code");
        QCOMPARE(settings.value("Language/Language_mode").toString(), mode);
        QCOMPARE(settings.contains("Language/Language_mode"), !mode.isEmpty());
        QCOMPARE(otherKeys(path), keptBefore);
    }
};

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], childArgument) == 0)
        return runChild(argv);
    return runLauncherTests<TestStartup>(argc, argv);
}

#include "tst_startup.moc"
