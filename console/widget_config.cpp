// Configuration members of Widget: the mixer's language entries copied into
// the launcher's settings file.
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSettings>

#include "app/language.h"
#include "app/logcategories.h"
#include "console/boundedreplybody.h"
#include "console/configlines.h"
#include "console/widget.h"

void Widget::getNginxFile(QString ip)
{
    // A fetch still running for an earlier Connect goes with its manager, so
    // only the latest mixer can write the settings.
    delete configManager;
    configManager = nullptr;
    configManager = new QNetworkAccessManager(this);

    const BoundedRequest request = configFileRequest(ip);
    qCDebug(lcConsole) << "widget" << __LINE__ << "Widget::getNginxFile" << request.request.url();
    QNetworkReply *reply = BoundedReplyBody::get(configManager, request);
    connect(
        reply, &QNetworkReply::finished, reply, [this, reply] { handleConfigReply(reply); },
        Qt::DirectConnection);
}

void Widget::handleConfigReply(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        qCDebug(lcConsole) << "Network request error:" << reply->errorString();
        return;
    }
    BoundedReplyBody *reader = BoundedReplyBody::of(reply);
    const QByteArray body = reader ? reader->takeBody() : QByteArray();
    if (!reader || reader->cutOff()) {
        // Only part of the file was read: keep the settings as they are.
        qCDebug(lcConsole) << "Network request error:"
                           << "configuration file too large or too slow";
        return;
    }

    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    for (const ConfigEntry &entry : languageEntries(body))
        settings.setValue(entry.key, entry.value);
}
