#include "console/boundedreplybody.h"

#include <QNetworkReply>
#include <utility>

#include "app/logcategories.h"

namespace {

// Keeps what the network layer buffers ahead of us small, whatever the bound.
constexpr qint64 readChunkBytes = 64 * 1024;

}  // namespace

BoundedReplyBody::BoundedReplyBody(QNetworkReply *reply, qint64 limit)
    : QObject(reply), reply(reply), limit(limit)
{
    reply->setReadBufferSize(qMin(limit + 1, readChunkBytes));
    connect(reply, &QNetworkReply::metaDataChanged, this, &BoundedReplyBody::checkDeclaredLength);
    connect(reply, &QNetworkReply::readyRead, this, &BoundedReplyBody::collect);
}

BoundedReplyBody *BoundedReplyBody::of(QNetworkReply *reply)
{
    return reply->findChild<BoundedReplyBody *>(QString(), Qt::FindDirectChildrenOnly);
}

QByteArray BoundedReplyBody::takeBody()
{
    if (!tooLarge)
        body += reply->readAll();
    if (body.size() > limit)
        tooLarge = true;
    if (tooLarge)
        body.clear();
    return std::exchange(body, QByteArray());
}

void BoundedReplyBody::checkDeclaredLength()
{
    const QVariant declared = reply->header(QNetworkRequest::ContentLengthHeader);
    if (declared.isValid() && declared.toLongLong() > limit)
        refuse();
}

void BoundedReplyBody::collect()
{
    if (tooLarge)
        return;
    // Never ask for more than is there: read() sizes its buffer by the request.
    body += reply->read(qMin(reply->bytesAvailable(), limit + 1 - body.size()));
    if (body.size() > limit)
        refuse();
}

void BoundedReplyBody::refuse()
{
    if (tooLarge)
        return;
    tooLarge = true;
    body.clear();
    qCDebug(lcConsole) << "reply body larger than" << limit << "bytes, aborted:" << reply->url();
    // abort() finishes the reply at once; its finished handlers see the error.
    if (reply->isRunning())
        reply->abort();
}
