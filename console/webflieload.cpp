#include "console/webflieload.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>

WebFlieLoad::WebFlieLoad(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<QWebEngineDownloadRequest *>("QWebEngineDownloadRequest*");
    qRegisterMetaType<QWebEngineDownloadRequest::DownloadState>(
        "QWebEngineDownloadRequest::DownloadState");
    connect(&profile, &QWebEngineProfile::downloadRequested, this,
            &WebFlieLoad::handleDownloadRequest);
}

void WebFlieLoad::handleDownloadRequest(QWebEngineDownloadRequest *request)
{
    // The prompt runs a nested event loop; should the request go away while
    // it is open (its profile torn down), there is nothing left to decide.
    QPointer<QWebEngineDownloadRequest> download(request);
    const QString start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    const QString folder = QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral("选择下载目录"), start, QFileDialog::ShowDirsOnly);
    if (!download)
        return;
    if (folder.isEmpty()) {
        download->cancel();
        return;
    }
    download->setDownloadDirectory(folder);
    download->accept();
    connect(download, &QWebEngineDownloadRequest::stateChanged, this,
            &WebFlieLoad::handleDownloadState);
}

void WebFlieLoad::handleDownloadState(QWebEngineDownloadRequest::DownloadState state)
{
    auto *download = qobject_cast<QWebEngineDownloadRequest *>(sender());
    if (!download)
        return;

    QString text;
    switch (state) {
        case QWebEngineDownloadRequest::DownloadCompleted:
            text = tr("%1%2").arg(QStringLiteral("下载成功，地址为:\n"),
                                  download->downloadDirectory());
            break;
        case QWebEngineDownloadRequest::DownloadCancelled:
        case QWebEngineDownloadRequest::DownloadInterrupted:
            text = tr("%1").arg(QStringLiteral("下载失败"));
            break;
        default:
            return;
    }
    QMessageBox::information(nullptr, tr("download tooltip"), text, QMessageBox::Ok,
                             QMessageBox::NoButton);
}
