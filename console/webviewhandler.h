#pragma once

#include <QObject>

#include "app/logcategories.h"

// Bridge through which the QML web view document reports the result of the
// page it was told to load.
class WebViewHandler : public QObject
{
    Q_OBJECT
public:
    explicit WebViewHandler(QObject *parent = nullptr) : QObject(parent) {}

public slots:
    void onLoadingChanged(bool loadStatus)
    {
        qCDebug(lcConsole) << "webviewhandler.h" << __LINE__ << "WebViewHandler::onLoadingChanged"
                           << QStringLiteral("网页加载完成") << loadStatus;
        emit webLoadEndSig(loadStatus);
    }

signals:
    void webLoadEndSig(bool loadStatus);
};
