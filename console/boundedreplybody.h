#pragma once

#include <QByteArray>
#include <QObject>

class QNetworkReply;

// Collects a network reply's body while it arrives and aborts the reply as
// soon as the body is known to be larger than a bound, so that a device that
// sends far too much, or never stops sending, costs neither memory nor a
// connection that stays open. It lives as a child of the reply it reads.
class BoundedReplyBody : public QObject
{
    Q_OBJECT
public:
    BoundedReplyBody(QNetworkReply *reply, qint64 limit);

    // The reader attached to a reply, or null.
    static BoundedReplyBody *of(QNetworkReply *reply);

    // The whole body once the reply has finished. Empty, with exceeded() true,
    // when the body was larger than the bound.
    QByteArray takeBody();
    bool exceeded() const { return tooLarge; }

private:
    void checkDeclaredLength();
    void collect();
    void refuse();

    QNetworkReply *reply;
    qint64 limit;
    QByteArray body;
    bool tooLarge = false;
};
