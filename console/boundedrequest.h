#pragma once

#include <QNetworkRequest>
#include <QtGlobal>

// What reading one reply may cost. Mixers answer on the local network within
// milliseconds and with a few kilobytes; a peer that sends far more, or keeps
// the connection open without finishing, is broken or hostile.
struct ReplyLimits
{
    qint64 maxBodyBytes = 0;
    // From the request's start to its end, however the bytes trickle in.
    int timeoutMs = 0;
};

// How long any request to a mixer may take, from start to the last byte.
constexpr int mixerReplyTimeoutMs = 5000;

// A request together with the limits its reply is read under.
struct BoundedRequest
{
    QNetworkRequest request;
    ReplyLimits limits;
};
