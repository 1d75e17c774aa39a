#pragma once

#include <QElapsedTimer>
#include <QIODevice>
#include <QPointer>
#include <QTimer>

class QTcpSocket;

// A body generated on demand from the byte pattern, so that a download of
// any size, a huge body or an endless one costs no memory. It produces only
// while the connection's send queue is short (a client that stops reading
// stops the production), can be paced to a byte rate, and can close the
// connection after a given byte to play a broken transfer.
class PatternStream : public QIODevice
{
    Q_OBJECT
public:
    struct Shape
    {
        qint64 length = -1;         // < 0: endless
        qint64 cutAfter = -1;       // >= 0: close the connection after that many bytes
        qint64 bytesPerSecond = 0;  // 0: as fast as the connection takes it
    };

    PatternStream(const Shape &shape, QTcpSocket *connection);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool atEnd() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    qint64 end() const;
    qint64 paceAllowance() const;
    void wakeReader();

    Shape shape;
    QPointer<QTcpSocket> connection;
    qint64 produced = 0;
    QElapsedTimer clock;
    QTimer pacer;
};
