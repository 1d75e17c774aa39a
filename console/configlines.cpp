#include "console/configlines.h"

#include <QStringList>

namespace {

const QString enumKey = QStringLiteral("Language/Language_enum");
const QString modeKey = QStringLiteral("Language/Language_mode");

QString valueAfterLastEquals(const QString &line)
{
    // lastIndexOf gives -1 without "=", and -1 + 1 keeps the whole line.
    return line.mid(line.lastIndexOf(QLatin1Char('=')) + 1);
}

}  // namespace

QUrl configFileUrl(const QString &address)
{
    return QUrl(QStringLiteral("http://%1/webFile/userConfig/config.ini").arg(address),
                QUrl::TolerantMode);
}

BoundedRequest configFileRequest(const QString &address)
{
    return {QNetworkRequest(configFileUrl(address)), {maxConfigFileBytes, mixerReplyTimeoutMs}};
}

bool languageEntry(QString line, ConfigEntry *entry)
{
    line.remove(QLatin1Char(' '));
    if (line.contains(QLatin1String("Language_enum")))
        entry->key = enumKey;
    else if (line.contains(QLatin1String("Language_mode")))
        entry->key = modeKey;
    else
        return false;
    entry->value = valueAfterLastEquals(line);
    return true;
}

QList<ConfigEntry> languageEntries(const QByteArray &body)
{
    QList<ConfigEntry> entries;
    const QStringList lines = QString::fromUtf8(body).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        ConfigEntry entry;
        if (languageEntry(line, &entry))
            entries.append(entry);
    }
    return entries;
}
