#include "console/downloadname.h"

#include <QRegularExpression>

namespace DownloadName {

namespace {

bool isRefusedCharacter(QChar c)
{
    // Separators of either system, what Windows refuses in a name, and
    // anything that is no visible character: controls, and the format
    // characters (bidirectional overrides) that make "txt.exe" read "exe.txt".
    static const QString windowsRefuses = QStringLiteral("<>:\"/\\|?*");
    switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_NotAssigned:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            return windowsRefuses.contains(c);
    }
}

// Windows opens a device for these names, whatever extension follows.
bool isReservedDeviceName(const QString &name)
{
    static const QRegularExpression reserved(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9]|LPT[0-9])$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed();
    return reserved.match(stem).hasMatch();
}

// The last `maxLength` characters would lose the stem; keep the stem's start
// and the extension where that is short.
QString shortened(const QString &name)
{
    if (name.size() <= maxLength)
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype extension = dot > 0 ? name.size() - dot : 0;
    if (extension == 0 || extension > maxLength / 4)
        return name.left(maxLength);
    QString stem = name.left(maxLength - extension);
    // A surrogate pair cut in two would leave half a character.
    if (stem.back().isHighSurrogate())
        stem.chop(1);
    return stem + name.right(extension);
}

// Blanks at either end and dots at the end are dropped by Windows, and a
// name that is only dots names a folder.
QString trimmed(QString name)
{
    name = name.trimmed();
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name.trimmed();
}

}  // namespace

QString fallbackName()
{
    return QStringLiteral("download");
}

QString safeFileName(const QString &suggested)
{
    const qsizetype lastSeparator =
        qMax(suggested.lastIndexOf(QLatin1Char('/')), suggested.lastIndexOf(QLatin1Char('\\')));
    QString name;
    for (const QChar c : QStringView(suggested).mid(lastSeparator + 1))
        if (!isRefusedCharacter(c))
            name += c;
    name = trimmed(shortened(trimmed(name)));
    if (name.isEmpty())
        return fallbackName();
    if (isReservedDeviceName(name))
        name.prepend(QLatin1Char('_'));
    return name;
}

QString unusedName(const QString &name, const std::function<bool(const QString &)> &taken)
{
    if (!taken(name))
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int n = 1; n <= 1000; ++n) {
        const QString candidate =
            QStringLiteral("%1 (%2)%3").arg(stem, QString::number(n), extension);
        if (!taken(candidate))
            return candidate;
    }
    return {};
}

}  // namespace DownloadName
