// Answer members of Widget: marker datagrams, announcements and descriptions.
#include <QNetworkReply>

#include "console/widget.h"

void Widget::processPendingDatagrams() {}

void Widget::udpReady() {}

void Widget::fetchDescriptions() {}

void Widget::managerFinish(QNetworkReply *reply)
{
    reply->deleteLater();
}

void Widget::parseDescription(QByteArray, QUrl) {}
