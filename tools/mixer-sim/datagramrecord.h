#pragma once

#include <QFile>
#include <QHostAddress>
#include <QString>

// Appends one line per received datagram to a file, flushed at once so a
// test can read it while the simulator runs.
class DatagramRecord
{
public:
    // An empty path records nothing.
    bool open(const QString &path, QString *error);
    void append(const QHostAddress &destination, const QHostAddress &sender, quint16 senderPort,
                const QByteArray &payload);

private:
    QFile file;
};
