#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include "console/boundedrequest.h"

class QNetworkAccessManager;
class QNetworkReply;

// Collects a network reply's body while it arrives and aborts the reply as
// soon as the body is known to be larger than a bound, or once the reply has
// run longer than its time limit, so that a device that sends far too much,
// never stops sending or never answers costs neither memory nor a connection
// that stays open. It lives as a child of the reply it reads.
class BoundedReplyBody : public QObject
{
    Q_OBJECT
public:
    BoundedReplyBody(QNetworkReply *reply, ReplyLimits limits);

    // Sends a GET for the request and puts a reader on its reply.
    static QNetworkReply *get(QNetworkAccessManager *manager, const BoundedRequest &request);

    // The reader attached to a reply, or null.
    static BoundedReplyBody *of(QNetworkReply *reply);

    // The whole body once the reply has finished. Empty, with cutOff() true,
    // when the body was larger than the bound or the time ran out first.
    QByteArray takeBody();
    bool cutOff() const { return tooLarge || tooSlow; }

private:
    void checkDeclaredLength();
    void collect();
    void refuse();
    void expire();

    QNetworkReply *reply;
    ReplyLimits limits;
    QTimer deadline;
    QByteArray body;
    bool tooLarge = false;
    bool tooSlow = false;
};
