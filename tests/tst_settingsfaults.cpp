// Start-up with a settings file that cannot be written or was damaged by
// hand: the launcher's real start-up runs in a child process on a home folder
// of the row's, as an unprivileged user where permissions matter. Start-up
// must reach its window in the system's language, and the file must not be
// made worse: its bytes stay as they were, or start-up rewrote its own key
// into a valid file that keeps everything else it held.
#include <sys/stat.h>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>

#include "app/launcher.h"
#include "chrome/basewindow.h"
#include "support/filebytes.h"
#include "support/localechild.h"
#include "support/testmain.h"

namespace {

const char childArgument[] = "--startup-child";

// The launcher's own start-up; prints the Search button's text and closes.
int runChild(char *argv[])
{
    int childArgc = 1;
    return runLauncher(childArgc, argv, [](BaseWindow &window) {
        QTextStream(stdout) << window.findChild<QPushButton *>("btn_search")->text();
        QTimer::singleShot(0, &window, [&window] {
            QTest::mouseClick(window.findChild<QPushButton *>("toolClose"), Qt::LeftButton);
        });
    });
}

// Every key of an INI file as the texts it holds (a value with commas reads
// as a list, and may be written back as a list of another type).
QMap<QString, QStringList> keysOf(const QString &path, QSettings::Status *status = nullptr)
{
    QSettings settings(path, QSettings::IniFormat);
    QMap<QString, QStringList> keys;
    for (const QString &name : settings.allKeys())
        keys.insert(name, settings.value(name).toStringList());
    if (status)
        *status = settings.status();
    return keys;
}

}  // namespace

class TestSettingsFaults : public QObject
{
    Q_OBJECT
private slots:
    void startUp_data()
    {
        // Read-only: folder and file, for an unprivileged user.
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QByteArray>("before");  // null: no file
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary += char((i * 97 + 13) % 256);
        QTest::newRow("folder read-only, no file") << true << QByteArray();
        QTest::newRow("folder and file read-only")
            << true << QByteArray("[Language]\nLanguage_enum=0\n[Panel]\nkept=yes\n");
        QTest::newRow("garbage text")
            << false << QByteArray("Wed 12 Nov ]] mixer-notes: {gain: +3dB}\n= = =\n[\n;;\nkept\n");
        QTest::newRow("binary") << false << binary;
    }
    void startUp()
    {
        QFETCH(bool, readOnly);
        QFETCH(QByteArray, before);
        QTemporaryDir home;
        const QString documents = home.filePath("Documents");
        const QString settings = home.filePath("Documents/Model Series.ini");
        QVERIFY(QDir().mkpath(documents));
        QVERIFY(before.isNull() || writeFileBytes(settings, before));
        QVERIFY(::chmod(qPrintable(home.path()), 0755) == 0);
        if (readOnly) {
            QVERIFY(::chmod(qPrintable(documents), 0555) == 0);
            QVERIFY(before.isNull() || ::chmod(qPrintable(settings), 0444) == 0);
        }
        const auto restore = qScopeGuard([&] { ::chmod(qPrintable(documents), 0755); });
        QMap<QString, QStringList> keysBefore = keysOf(settings);

        // Traditional Chinese shows only when start-up uses the code it
        // detected, even where it could not store it.
        const QByteArray shown = runInLocale("zh_TW.UTF-8", home.path(), childArgument, readOnly);
        QCOMPARE(QString::fromUtf8(shown), QString::fromUtf8("搜尋"));

        const QByteArray after = fileBytes(settings);
        if (before.isNull())
            QVERIFY2(!QFile::exists(settings), "a settings file appeared where none can be");
        if (readOnly || after == before) {
            QCOMPARE(after, before);
            return;
        }
        QSettings::Status status = QSettings::FormatError;
        QMap<QString, QStringList> keysAfter = keysOf(settings, &status);
        QCOMPARE(status, QSettings::NoError);
        QCOMPARE(keysAfter.take("Language/Language_enum"), QStringList("2"));
        keysBefore.remove("Language/Language_enum");
        QCOMPARE(keysAfter, keysBefore);
    }
};

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], childArgument) == 0)
        return runChild(argv);
    return runLauncherTests<TestSettingsFaults>(argc, argv);
}

#include "tst_settingsfaults.moc"
