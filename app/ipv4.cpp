#include "app/ipv4.h"

#include <QRegularExpression>
#include <QStringList>

bool isValidIPv4(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(([01]?\\d{1,2}|2[0-4]\\d|25[0-5])\\.){3}([01]?\\d{1,2}|2[0-4]\\d|25[0-5])$"));
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() && match.capturedLength(0) == text.length();
}

QString canonicalIPv4(const QString &text)
{
    if (!isValidIPv4(text))
        return QString();
    QStringList parts = text.split(QLatin1Char('.'));
    for (QString &part : parts)
        part = QString::number(part.toUInt());
    return parts.join(QLatin1Char('.'));
}
