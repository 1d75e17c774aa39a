#pragma once

#include <QByteArray>
#include <QHttpServerResponder>
#include <QObject>
#include <memory>

#include "patternstream.h"
#include "simoptions.h"

class QTcpSocket;

// What a resource answers when nothing goes wrong.
struct ResourceBody
{
    QByteArray mimeType;
    QByteArray fixed;            // used unless streamed
    bool streamed = false;       // generate the body from the byte pattern
    PatternStream::Shape shape;  // the generated body
    QByteArray attachmentName;   // non-empty: offered as a file to save
};

// Requests that are taken and never answered. The answer object is held
// until the client gives up, so the connection stays open all that time.
class HungRequests : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    void park(QHttpServerResponder &&responder);

private:
    std::vector<std::pair<QTcpSocket *, std::unique_ptr<QHttpServerResponder>>> parked;
};

// Answers one request, applying the resource's faults.
class ResourceAnswer
{
public:
    ResourceAnswer(ResourceBody body, ResourceFaults faults, HungRequests *hung)
        : body(std::move(body)), faults(faults), hung(hung)
    {
    }

    void respond(QHttpServerResponder &&responder) const;

private:
    void respondNow(QHttpServerResponder &responder) const;
    void writeStream(QHttpServerResponder &responder, const PatternStream::Shape &shape,
                     const QByteArray &mimeType) const;

    ResourceBody body;
    ResourceFaults faults;
    HungRequests *hung;
};
