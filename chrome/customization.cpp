#include "chrome/customization.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace Customization {

QString folder(const QString &appDir)
{
    const QString beside = appDir + QLatin1String("/customization");
    const QString installed =
        QDir::cleanPath(appDir + QLatin1String("/../share/model-series/customization"));
    if (!QFileInfo(beside).isDir() && QFileInfo(installed).isDir())
        return installed;
    return beside;
}

namespace {

const char *const nameSection = "App";
const char *const nameKey = "name";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The text after "=" on the last line that sets `key` in `section`: later
// lines win, as they do for QSettings.
QByteArray rawValue(const QByteArray &iniText, QByteArrayView section, QByteArrayView key)
{
    QByteArray value;
    QByteArrayView current;
    for (QByteArrayView line : iniText.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[') && line.contains(']')) {
            current = line.sliced(1, line.indexOf(']') - 1).trimmed();
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (current == section && equals > 0 && line.first(equals).trimmed() == key)
            value = line.sliced(equals + 1).toByteArray();
    }
    return value;
}

// The separators between the parts of an INI list value as they stand in
// the raw text: each unquoted comma with the blanks around it. Quotes and
// backslash escapes hide commas; an unquoted ";" starts a comment.
QList<QByteArray> listSeparators(QByteArrayView raw)
{
    QList<QByteArray> separators;
    bool quoted = false;
    bool partQuoted = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\\') {
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            partQuoted = true;
        } else if (!quoted && c == ';') {
            break;
        } else if (!quoted && c == ',') {
            // Blanks before the comma were cut from an unquoted part only.
            qsizetype start = i;
            while (!partQuoted && start > 0 && isBlank(raw[start - 1]))
                --start;
            qsizetype end = i + 1;
            while (end < raw.size() && isBlank(raw[end]))
                ++end;
            separators << raw.sliced(start, end - start).toByteArray();
            partQuoted = false;
            i = end - 1;
        }
    }
    return separators;
}

// QSettings reads an unquoted value that holds a comma as a list of its
// parts, and a list has no text: the parts are joined again with the commas
// and blanks that the file has between them.
QString joinAsWritten(const QStringList &parts, const QByteArray &iniText)
{
    const QList<QByteArray> separators = listSeparators(rawValue(iniText, nameSection, nameKey));
    if (separators.size() != parts.size() - 1)
        return parts.join(QStringLiteral(", "));
    QString text = parts.first();
    for (qsizetype i = 0; i < separators.size(); ++i)
        text += QString::fromUtf8(separators[i]) + parts[i + 1];
    return text;
}

}  // namespace

QString filePath(File file)
{
    static const char *const names[] = {"/config.ini", "/Tessan.ico", "/Nav.png"};
    return folder(QCoreApplication::applicationDirPath()) + QLatin1String(names[file]);
}

QString displayName()
{
    const QString path = filePath(ConfigFile);
    const QSettings config(path, QSettings::IniFormat);
    const QVariant name = config.value(QStringLiteral("App/name"), QStringLiteral("Corvane"));
    if (name.typeId() != QMetaType::QStringList)
        return name.toString();
    QFile file(path);
    return joinAsWritten(name.toStringList(),
                         file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
}

}  // namespace Customization
