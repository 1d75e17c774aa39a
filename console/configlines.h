#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include "console/boundedrequest.h"

// A mixer's user configuration file is a few kilobytes. Bodies past this bound
// are refused, so a broken or hostile device cannot fill the launcher's memory.
constexpr qint64 maxConfigFileBytes = 256 * 1024;

// Where a mixer serves its user configuration file. The address must already
// be in plain decimal form: QUrl reads zero-led parts as octal.
QUrl configFileUrl(const QString &address);

// The request for a mixer's configuration file: a plain GET of that URL, read
// under the size bound above and the time limit of every mixer request.
BoundedRequest configFileRequest(const QString &address);

// One value copied from a mixer's configuration into the settings file.
struct ConfigEntry
{
    QString key;  // the settings key, "Language/Language_enum" or "Language/Language_mode"
    QString value;
};

// The settings entry that one configuration line feeds, if any. Blanks are
// removed first; the value is the text after the last "=" (the whole line when
// there is none). "Language_enum" is tested before "Language_mode", so a line
// naming both feeds the former only. Carriage returns and tabs are kept.
bool languageEntry(QString line, ConfigEntry *entry);

// Every entry of a configuration body (UTF-8, cut at line feeds), in file
// order: when a key appears twice, the later entry is the one that counts.
QList<ConfigEntry> languageEntries(const QByteArray &body);
