#include "datagramrecord.h"

#include "discoverypayloads.h"

bool DatagramRecord::open(const QString &path, QString *error)
{
    if (path.isEmpty())
        return true;
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = QStringLiteral("cannot open --record %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

void DatagramRecord::append(const QHostAddress &destination, const QHostAddress &sender,
                            quint16 senderPort, const QByteArray &payload)
{
    if (!file.isOpen())
        return;
    file.write(recordLine(destination, sender, senderPort, payload) + '\n');
    file.flush();
}
