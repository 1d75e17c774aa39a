#include "mixerhttp.h"

#include <QHttpServer>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

#include "httpbodies.h"

MixerHttp::MixerHttp(const MixerIdentity &mixer, const SimOptions &options, LineLog *requests,
                     QObject *parent)
    : QObject(parent),
      mixer(mixer),
      options(options),
      requests(requests),
      hung(new HungRequests(this)),
      consoleServer(new QHttpServer(this)),
      descriptionServer(new QHttpServer(this))
{
    addRoute(consoleServer, QStringLiteral("/dist/index.html"), Resource::Console);
    addRoute(consoleServer, QStringLiteral("/dist/download/mixer-scene.bin"), Resource::Download);
    addRoute(consoleServer, QStringLiteral("/webFile/userConfig/config.ini"), Resource::Config);
    addRoute(descriptionServer, QStringLiteral("/rootDesc.xml"), Resource::Description);
    addPollRoute();
}

bool MixerHttp::listen(QString *error)
{
    return listenOn(consoleServer, options.httpPort, error) &&
           listenOn(descriptionServer, options.descPort, error);
}

bool MixerHttp::listenOn(QHttpServer *server, quint16 port, QString *error)
{
    auto *tcp = new QTcpServer(server);
    if (!tcp->listen(mixer.address, port)) {
        *error = QStringLiteral("cannot listen on %1:%2: %3")
                     .arg(mixer.address.toString())
                     .arg(port)
                     .arg(tcp->errorString());
        return false;
    }
    server->bind(tcp);
    return true;
}

void MixerHttp::addRoute(QHttpServer *server, const QString &path, Resource resource)
{
    // Route patterns are regular expressions; the paths are meant literally.
    server->route(QRegularExpression::escape(path), [this, path,
                                                     resource](QHttpServerResponder &&r) {
        logRequest(path);
        // A test sees in the log when a client gave up (or the answer was
        // cut) on a request that never ends.
        connect(
            r.socket(), &QAbstractSocket::disconnected, this,
            [this, path] { logRequest(path + QStringLiteral(" gone")); }, Qt::SingleShotConnection);
        answerFor(resource).respond(std::move(r));
    });
}

void MixerHttp::addPollRoute()
{
    const QString path = QStringLiteral("/dist/poll");
    consoleServer->route(QRegularExpression::escape(path), [this, path](QHttpServerResponder &&r) {
        logRequest(path);
        r.write(QHttpServerResponder::StatusCode::NoContent);
    });
}

void MixerHttp::logRequest(const QString &path)
{
    requests->append(mixer.address.toString().toUtf8() + ' ' + path.toUtf8());
}

ResourceAnswer MixerHttp::answerFor(Resource resource) const
{
    ResourceBody body;
    switch (resource) {
        case Resource::Console:
            body.mimeType = "text/html; charset=utf-8";
            body.fixed = options.consoleBody.value_or(consolePage(mixer, options.consolePollMs));
            break;
        case Resource::Download:
            body.mimeType = "application/octet-stream";
            body.streamed = true;
            body.shape.length = options.downloadSize;
            body.shape.bytesPerSecond = options.downloadRate;
            if (options.breakDownload)
                body.shape.cutAfter = options.downloadSize / 2;
            body.attachmentName = "mixer-scene.bin";
            break;
        case Resource::Config:
            body.mimeType = "text/plain; charset=utf-8";
            body.fixed = options.configBody;
            break;
        case Resource::Description:
            body.mimeType = "text/xml; charset=utf-8";
            body.fixed = options.descriptionBody.value_or(descriptionDocument(mixer));
            break;
    }
    return ResourceAnswer(body, options.faultsFor(resource), hung);
}
