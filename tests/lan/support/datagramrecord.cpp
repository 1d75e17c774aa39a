#include "lan/support/datagramrecord.h"

#include <QFile>

namespace {

bool parseLine(const QByteArray &line, RecordedDatagram *datagram)
{
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3)
        return false;
    const qsizetype colon = parts.at(1).lastIndexOf(':');
    if (colon < 0)
        return false;
    bool portOk = false;
    datagram->destination = QString::fromLatin1(parts.at(0));
    datagram->sender = QString::fromLatin1(parts.at(1).left(colon));
    datagram->senderPort = parts.at(1).mid(colon + 1).toUShort(&portOk);
    datagram->payload = QByteArray::fromHex(parts.at(2));
    return portOk && datagram->payload.toHex() == parts.at(2).toLower();
}

}  // namespace

QList<RecordedDatagram> readDatagramRecord(const QString &path, bool *ok)
{
    QList<RecordedDatagram> datagrams;
    if (ok)
        *ok = true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return datagrams;  // nothing recorded yet
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        // The last line may still be in the middle of being written.
        if (line.isEmpty() || &line == &lines.last())
            continue;
        RecordedDatagram datagram;
        if (!parseLine(line.trimmed(), &datagram)) {
            if (ok)
                *ok = false;
            return {};
        }
        datagrams.append(datagram);
    }
    return datagrams;
}
