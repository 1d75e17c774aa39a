// Start-up with a settings file that cannot be written or was damaged by
// hand. The launcher's real start-up runs in a child process on a home folder
// prepared by the test (as an unprivileged user where permissions matter: we
// run as root, and root writes anywhere). Start-up must go on to its window,
// and the file must not be made worse: its bytes stay as they were, or start-up
// rewrote its own keys into a valid file that keeps everything else it held.
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

#include "app/launcher.h"
#include "chrome/basewindow.h"
#include "support/filebytes.h"
#include "support/localeenvironment.h"
#include "support/testmain.h"

namespace {

const char childArgument[] = "--startup-child";
const QString settingsName = QStringLiteral("Documents/Model Series.ini");
// Traditional Chinese: a language that start-up can only show when it has
// read back the code it detected.
const QString childLocale = QStringLiteral("zh_TW.UTF-8");
const QString detectedCode = QStringLiteral("2");
const QString searchInTraditionalChinese = QString::fromUtf8("搜尋");

constexpr uid_t unprivileged = 65534;  // nobody

// ---- the child: the launcher's own start-up, then the user closes it ------

int runChild(char *argv[])
{
    int childArgc = 1;
    return runLauncher(childArgc, argv, [](BaseWindow &window) {
        const auto *search = window.findChild<QPushButton *>(QStringLiteral("btn_search"));
        std::fprintf(stderr, "shown: %s\n", search ? qPrintable(search->text()) : "<no window>");
        std::fflush(stderr);
        QTimer::singleShot(0, &window, [&window] {
            QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("toolClose")),
                              Qt::LeftButton);
        });
    });
}

// ---- the parent -------------------------------------------------------------

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every key of an INI file with its value, as QSettings reads it.
QMap<QString, QVariant> keysOf(const QString &path, QSettings::Status *status)
{
    QSettings settings(path, QSettings::IniFormat);
    QMap<QString, QVariant> keys;
    const QStringList names = settings.allKeys();
    for (const QString &name : names)
        keys.insert(name, settings.value(name));
    *status = settings.status();
    return keys;
}

// A value as the texts it holds: QSettings reads a value with commas as a
// list, and may write such a list back in a form that reads as a list of
// another type, holding the same texts.
QStringList asTexts(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList || value.typeId() == QMetaType::QVariantList)
        return value.toStringList();
    return {value.toString()};
}

QByteArray binaryGarbage()
{
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += char((i * 97 + 13) % 256);
    return bytes;
}

}  // namespace

class TestSettingsFaults : public QObject
{
    Q_OBJECT
private slots:
    void startUp_data()
    {
        // Read-only: folder and file, for an unprivileged user; otherwise
        // start-up may rewrite its own keys.
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QByteArray>("before");  // null: no file

        const QByteArray valid =
            "[Language]\nLanguage_enum=0\nLanguage_mode=1\n\n[Panel]\nkept=yes\n";
        QTest::newRow("folder read-only, no file") << true << QByteArray();
        QTest::newRow("folder and file read-only") << true << valid;
        QTest::newRow("garbage text")
            << false << QByteArray("Wed 12 Nov ]] mixer-notes: {gain: +3dB}\n= = =\n[\n;;\nkept\n");
        QTest::newRow("binary") << false << binaryGarbage();
        QTest::newRow("truncated in a value")
            << false << QByteArray("[Panel]\nkept=yes\n[Language]\nLanguage_mo");
    }
    void startUp()
    {
        QFETCH(bool, readOnly);
        QFETCH(QByteArray, before);

        QTemporaryDir home;
        QVERIFY(home.isValid());
        QDir root(home.path());
        const QString documents = root.filePath(QStringLiteral("Documents"));
        const QString settings = root.filePath(settingsName);
        QVERIFY(root.mkdir(QStringLiteral("Documents")));
        if (!before.isNull())
            QVERIFY(writeBytes(settings, before));
        // Readable by the unprivileged user, writable only by root.
        QVERIFY(::chmod(qPrintable(home.path()), 0755) == 0);
        if (readOnly) {
            QVERIFY(::chmod(qPrintable(documents), 0555) == 0);
            if (!before.isNull())
                QVERIFY(::chmod(qPrintable(settings), 0444) == 0);
        }
        // Whatever the row did, the folder can be removed again afterwards.
        const auto restore = qScopeGuard([&] { ::chmod(qPrintable(documents), 0755); });

        QSettings::Status statusBefore = QSettings::NoError;
        const QMap<QString, QVariant> keysBefore = keysOf(settings, &statusBefore);

        const QString errors = runStartUp(home.path(), readOnly);
        const qsizetype shownAt = errors.indexOf(QLatin1String("shown: "));
        QVERIFY2(shownAt >= 0, qPrintable(errors.right(1500)));
        QCOMPARE(errors.mid(shownAt).section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("shown: ") + searchInTraditionalChinese);

        if (before.isNull()) {
            QVERIFY2(!QFile::exists(settings), "a settings file appeared where none can be");
            return;
        }
        const QByteArray after = fileBytes(settings);
        if (readOnly || after == before) {
            QCOMPARE(after, before);
            return;
        }
        // Rewritten: a valid file that holds the detected code and every
        // other key it held before, unchanged.
        QSettings::Status statusAfter = QSettings::FormatError;
        const QMap<QString, QVariant> keysAfter = keysOf(settings, &statusAfter);
        QCOMPARE(statusAfter, QSettings::NoError);
        QCOMPARE(keysAfter.value(QStringLiteral("Language/Language_enum")).toString(),
                 detectedCode);
        for (auto it = keysBefore.cbegin(); it != keysBefore.cend(); ++it) {
            if (it.key() == QLatin1String("Language/Language_enum"))
                continue;
            QVERIFY2(keysAfter.contains(it.key()), qPrintable(it.key()));
            QCOMPARE(asTexts(keysAfter.value(it.key())), asTexts(it.value()));
        }
    }

private:
    // Runs the launcher's start-up on the given home folder and returns what
    // it wrote to standard error. Fails the test when it does not end well.
    QString runStartUp(const QString &home, bool asUser)
    {
        QProcess child;
        child.setProcessEnvironment(localeEnvironment(childLocale, home));
        const QStringList childArguments{QLatin1String(childArgument)};
        if (asUser && geteuid() == 0) {
            child.start(QStringLiteral("setpriv"),
                        QStringList{"--reuid", QString::number(unprivileged), "--regid",
                                    QString::number(unprivileged), "--clear-groups",
                                    QCoreApplication::applicationFilePath()} +
                            childArguments);
        } else {
            if (asUser)
                qInfo("not root: the launcher runs as this user");
            child.start(QCoreApplication::applicationFilePath(), childArguments);
        }
        const bool ended = child.waitForFinished(60000);
        if (!ended) {
            child.kill();
            child.waitForFinished(5000);
        }
        const QString errors = QString::fromUtf8(child.readAllStandardError());
        if (!ended)
            qWarning().noquote() << "start-up did not end:" << errors;
        else if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            qWarning().noquote() << "start-up failed with" << child.exitCode() << errors;
        return ended && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0
                   ? errors
                   : QString();
    }
};

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], childArgument) == 0)
        return runChild(argv);
    return runLauncherTests<TestSettingsFaults>(argc, argv);
}

#include "tst_settingsfaults.moc"
