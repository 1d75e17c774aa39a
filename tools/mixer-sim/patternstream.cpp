#include "patternstream.h"

#include <QTcpSocket>
#include <limits>

#include "bytepattern.h"

namespace {
// Enough to keep a loopback connection busy, small enough to stay cheap.
constexpr qint64 sendQueueLimit = 256 * 1024;
constexpr qint64 chunkLimit = 256 * 1024;
constexpr int paceTickMs = 10;
}  // namespace

PatternStream::PatternStream(const Shape &shape, QTcpSocket *connection)
    : shape(shape), connection(connection)
{
    clock.start();
    if (connection)
        connect(connection, &QIODevice::bytesWritten, this, &PatternStream::wakeReader);
    if (shape.bytesPerSecond > 0) {
        pacer.setInterval(paceTickMs);
        connect(&pacer, &QTimer::timeout, this, &PatternStream::wakeReader);
        pacer.start();
    }
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 PatternStream::end() const
{
    if (shape.cutAfter >= 0 && (shape.length < 0 || shape.cutAfter < shape.length))
        return shape.cutAfter;
    return shape.length;
}

qint64 PatternStream::paceAllowance() const
{
    if (shape.bytesPerSecond <= 0)
        return std::numeric_limits<qint64>::max();
    // A first burst of one tick's worth, then the rate.
    const qint64 earned = shape.bytesPerSecond * (clock.elapsed() + paceTickMs) / 1000;
    return qMax<qint64>(0, earned - produced);
}

qint64 PatternStream::bytesAvailable() const
{
    if (atEnd())
        return 0;
    // Nothing more once the client has gone (its socket may be deleted
    // already), and nothing while it lags.
    if (!connection || connection->state() != QAbstractSocket::ConnectedState ||
        connection->bytesToWrite() >= sendQueueLimit)
        return 0;
    qint64 available = qMin(chunkLimit, paceAllowance());
    if (end() >= 0)
        available = qMin(available, end() - produced);
    return available;
}

bool PatternStream::atEnd() const
{
    return end() >= 0 && produced >= end();
}

qint64 PatternStream::readData(char *data, qint64 maxSize)
{
    const qint64 count = qMin(maxSize, bytesAvailable());
    if (count <= 0)
        return 0;
    fillPattern(produced, data, count);
    produced += count;
    if (atEnd()) {
        pacer.stop();
        if (shape.cutAfter >= 0 && produced == shape.cutAfter && connection) {
            // The caller queues these bytes on the connection right after this
            // read returns; closing afterwards sends them before the close.
            QTimer::singleShot(0, connection.data(), [c = connection] {
                if (c)
                    c->disconnectFromHost();
            });
        }
    }
    return count;
}

void PatternStream::wakeReader()
{
    // The server's writer of this body may outlive the socket it writes to:
    // a readyRead after the client went away would send it to a deleted one.
    if (!connection) {
        pacer.stop();
        return;
    }
    if (bytesAvailable() > 0)
        emit readyRead();
}
