#include "resourceanswer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace {
using Status = QHttpServerResponder::StatusCode;

const QByteArray contentType = QByteArrayLiteral("Content-Type");
const QByteArray contentLength = QByteArrayLiteral("Content-Length");
const QByteArray contentDisposition = QByteArrayLiteral("Content-Disposition");
}  // namespace

void HungRequests::park(QHttpServerResponder &&responder)
{
    QTcpSocket *socket = responder.socket();
    parked.emplace_back(socket, std::make_unique<QHttpServerResponder>(std::move(responder)));
    // Forget the answer object once its connection is gone.
    connect(socket, &QObject::destroyed, this, [this, socket] {
        for (auto it = parked.begin(); it != parked.end(); ++it) {
            if (it->first == socket) {
                parked.erase(it);
                return;
            }
        }
    });
}

void ResourceAnswer::respond(QHttpServerResponder &&responder) const
{
    if (faults.delayMs <= 0) {
        if (faults.hang)
            hung->park(std::move(responder));
        else
            respondNow(responder);
        return;
    }
    auto held = std::make_shared<QHttpServerResponder>(std::move(responder));
    QPointer<QTcpSocket> socket = held->socket();
    const ResourceAnswer self = *this;
    QTimer::singleShot(faults.delayMs, hung, [self, held, socket]() mutable {
        // The client may have given up while we waited.
        if (!socket || socket->state() != QAbstractSocket::ConnectedState)
            return;
        ResourceAnswer undelayed = self;
        undelayed.faults.delayMs = 0;
        undelayed.respond(std::move(*held));
    });
}

void ResourceAnswer::respondNow(QHttpServerResponder &responder) const
{
    if (faults.status != 0) {
        const QByteArray text = "mixer-sim: status " + QByteArray::number(faults.status) + "\n";
        responder.write(text, "text/plain", Status(faults.status));
    } else if (faults.endless) {
        writeStream(responder, PatternStream::Shape{-1, -1, 0}, body.mimeType);
    } else if (faults.hugeBytes >= 0) {
        writeStream(responder, PatternStream::Shape{faults.hugeBytes, -1, 0}, body.mimeType);
    } else if (body.streamed) {
        writeStream(responder, body.shape, body.mimeType);
    } else if (body.attachmentName.isEmpty()) {
        responder.write(body.fixed, body.mimeType);
    } else {
        responder.write(body.fixed, {{contentType, body.mimeType},
                                     {contentDisposition,
                                      "attachment; filename=\"" + body.attachmentName + "\""}});
    }
}

void ResourceAnswer::writeStream(QHttpServerResponder &responder, const PatternStream::Shape &shape,
                                 const QByteArray &mimeType) const
{
    QTcpSocket *socket = responder.socket();
    auto *stream = new PatternStream(shape, socket);
    const bool cutAtOnce = stream->atEnd() && shape.cutAfter >= 0;
    const QByteArray length = QByteArray::number(shape.length);
    const QByteArray disposition = "attachment; filename=\"" + body.attachmentName + "\"";
    // The header list is a fixed initializer list, hence one call per shape.
    if (shape.length < 0 && body.attachmentName.isEmpty())
        responder.write(stream, {{contentType, mimeType}});
    else if (shape.length < 0)
        responder.write(stream, {{contentType, mimeType}, {contentDisposition, disposition}});
    else if (body.attachmentName.isEmpty())
        responder.write(stream, {{contentType, mimeType}, {contentLength, length}});
    else
        responder.write(
            stream,
            {{contentType, mimeType}, {contentLength, length}, {contentDisposition, disposition}});
    if (cutAtOnce)
        socket->disconnectFromHost();
}
