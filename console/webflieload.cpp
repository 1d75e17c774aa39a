#include "console/webflieload.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>

namespace {

// Set on a download once its end has been reported.
const char reportedProperty[] = "downloadReported";

// The user's download folder, or the home folder where there is none (a new
// account, a server image): a prompt started in a folder that does not exist
// opens in its parent with the missing name typed in, and a user who then
// picks a folder and presses Choose would be told it does not exist.
QString promptStartFolder()
{
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return QDir(downloads).exists() ? downloads : QDir::homePath();
}

}  // namespace

WebFlieLoad::WebFlieLoad(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<QWebEngineDownloadRequest *>("QWebEngineDownloadRequest*");
    qRegisterMetaType<QWebEngineDownloadRequest::DownloadState>(
        "QWebEngineDownloadRequest::DownloadState");
    connect(&profile, &QWebEngineProfile::downloadRequested, this,
            &WebFlieLoad::handleDownloadRequest);
}

WebFlieLoad::~WebFlieLoad()
{
    // Downloads still running end with the profile as the launcher closes.
    // That is no failure to report: a message box now would run an event
    // loop in the middle of the teardown, with nobody left to answer it.
    closing = true;
}

void WebFlieLoad::handleDownloadRequest(QWebEngineDownloadRequest *request)
{
    // The prompt runs a nested event loop; should the request go away while
    // it is open (its profile torn down), there is nothing left to decide.
    QPointer<QWebEngineDownloadRequest> download(request);
    const QString folder = QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral("选择下载目录"), promptStartFolder(), QFileDialog::ShowDirsOnly);
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
    connect(download, &QWebEngineDownloadRequest::interruptReasonChanged, this,
            &WebFlieLoad::handleDownloadInterrupt);
}

// A transfer that breaks off (the server closes before the announced length,
// say) is reported only through its interrupt reason: the engine keeps the
// download "in progress", waiting for a resumption that never starts, so no
// final state, and no message, would ever come. Ending it here turns it into
// a cancelled download, which handleDownloadState reports as failed.
void WebFlieLoad::handleDownloadInterrupt()
{
    auto *download = qobject_cast<QWebEngineDownloadRequest *>(sender());
    if (!download || closing)
        return;
    // UserCanceled is the echo of a cancel, ours included.
    const auto reason = download->interruptReason();
    if (reason == QWebEngineDownloadRequest::NoReason ||
        reason == QWebEngineDownloadRequest::UserCanceled)
        return;
    // Cancelling from inside the engine's own notification re-enters it;
    // let the notification finish first.
    if (download->state() == QWebEngineDownloadRequest::DownloadInProgress)
        QMetaObject::invokeMethod(download, &QWebEngineDownloadRequest::cancel,
                                  Qt::QueuedConnection);
}

void WebFlieLoad::handleDownloadState(QWebEngineDownloadRequest::DownloadState state)
{
    auto *download = qobject_cast<QWebEngineDownloadRequest *>(sender());
    if (!download || closing || download->property(reportedProperty).toBool())
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
    // One box per download, whatever order the engine reports in: an
    // interrupted download is also cancelled (see above), and the box's own
    // event loop would deliver that second final state while it is open.
    download->setProperty(reportedProperty, true);
    QMessageBox::information(nullptr, tr("download tooltip"), text, QMessageBox::Ok,
                             QMessageBox::NoButton);
}
