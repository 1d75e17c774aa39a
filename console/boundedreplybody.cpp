#include "console/boundedreplybody.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <utility>

#include "app/logcategories.h"

namespace {

// Keeps what the network layer buffers ahead of us small, whatever the bound.
constexpr qint64 readChunkBytes = 64 * 1024;

}  // namespace

BoundedReplyBody::BoundedReplyBody(QNetworkReply *reply, ReplyLimits limits)
    : QObject(reply), reply(reply), limits(limits)
{
    reply->setReadBufferSize(qMin(limits.maxBodyBytes + 1, readChunkBytes));
    connect(reply, &QNetworkReply::metaDataChanged, this, &BoundedReplyBody::checkDeclaredLength);
    connect(reply, &QNetworkReply::readyRead, this, &BoundedReplyBody::collect);
    connect(reply, &QNetworkReply::finished, &deadline, &QTimer::stop);
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, &BoundedReplyBody::expire);
    deadline.start(limits.timeoutMs);
}

QNetworkReply *BoundedReplyBody::get(QNetworkAccessManager *manager, const BoundedRequest &request)
{
    QNetworkReply *reply = manager->get(request.request);
    new BoundedReplyBody(reply, request.limits);
    return reply;
}

BoundedReplyBody *BoundedReplyBody::of(QNetworkReply *reply)
{
    return reply->findChild<BoundedReplyBody *>(QString(), Qt::FindDirectChildrenOnly);
}

QByteArray BoundedReplyBody::takeBody()
{
    if (!cutOff())
        body += reply->readAll();
    if (body.size() > limits.maxBodyBytes)
        tooLarge = true;
    if (cutOff())
        body.clear();
    return std::exchange(body, QByteArray());
}

void BoundedReplyBody::checkDeclaredLength()
{
    const QVariant declared = reply->header(QNetworkRequest::ContentLengthHeader);
    if (declared.isValid() && declared.toLongLong() > limits.maxBodyBytes)
        refuse();
}

void BoundedReplyBody::collect()
{
    if (cutOff())
        return;
    // Never ask for more than is there: read() sizes its buffer by the request.
    body += reply->read(qMin(reply->bytesAvailable(), limits.maxBodyBytes + 1 - body.size()));
    if (body.size() > limits.maxBodyBytes)
        refuse();
}

void BoundedReplyBody::refuse()
{
    if (cutOff())
        return;
    tooLarge = true;
    body.clear();
    qCDebug(lcConsole) << "reply body larger than" << limits.maxBodyBytes
                       << "bytes, aborted:" << reply->url();
    // abort() finishes the reply at once; its finished handlers see the error.
    if (reply->isRunning())
        reply->abort();
}

void BoundedReplyBody::expire()
{
    if (cutOff() || !reply->isRunning())
        return;
    tooSlow = true;
    body.clear();
    qCDebug(lcConsole) << "reply not finished after" << limits.timeoutMs
                       << "ms, aborted:" << reply->url();
    reply->abort();
}
