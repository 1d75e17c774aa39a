#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>

#include "linelog.h"
#include "mixeridentity.h"
#include "resourceanswer.h"
#include "simoptions.h"

class QHttpServer;

// The HTTP side of one mixer: the console, download and configuration on
// the HTTP port of its address, the description on the description port.
class MixerHttp : public QObject
{
    Q_OBJECT
public:
    // Every request is logged to `requests`, which outlives this object.
    MixerHttp(const MixerIdentity &mixer, const SimOptions &options, LineLog *requests,
              QObject *parent = nullptr);

    // False with a readable reason when a port cannot be listened on.
    bool listen(QString *error);

private:
    ResourceAnswer answerFor(Resource resource) const;
    void addRoute(QHttpServer *server, const QString &path, Resource resource);
    void addPollRoute();
    void logRequest(const QString &path);
    bool listenOn(QHttpServer *server, quint16 port, QString *error);

    MixerIdentity mixer;
    const SimOptions &options;
    LineLog *requests;
    HungRequests *hung;
    QHttpServer *consoleServer;
    QHttpServer *descriptionServer;
};
