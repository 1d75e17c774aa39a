// Configuration members of Widget: the mixer's language entries copied into
// the launcher's settings file.
#include <QNetworkReply>

#include "console/widget.h"

void Widget::getNginxFile(QString) {}

void Widget::handleConfigReply(QNetworkReply *reply)
{
    reply->deleteLater();
}
