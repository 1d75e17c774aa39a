#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One datagram as the simulated mixer recorded it on arrival.
struct RecordedDatagram
{
    QString destination;
    QString sender;
    quint16 senderPort = 0;
    QByteArray payload;
};

// The lines that mixer-sim --record FILE has written so far
// ("<destination> <sender>:<port> <payload as hex>"). A line that does not
// have that form makes the whole read fail (an empty list and ok == false).
QList<RecordedDatagram> readDatagramRecord(const QString &path, bool *ok = nullptr);
