#include "linelog.h"

bool LineLog::open(const QString &path, const QString &option, QString *error)
{
    if (path.isEmpty())
        return true;
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = QStringLiteral("cannot open %1 %2: %3").arg(option, path, file.errorString());
        return false;
    }
    return true;
}

void LineLog::append(const QByteArray &line)
{
    if (!file.isOpen())
        return;
    file.write(line + '\n');
    file.flush();
}
