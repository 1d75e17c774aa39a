#include "console/webflieload.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>
#include <QWebEngineView>

#include "app/logcategories.h"
#include "console/downloadname.h"
#include "console/downloadprogress.h"

namespace {

// Set on a download once its end has been reported.
const char reportedProperty[] = "downloadReported";

// The engine writes a download under its name with this behind it until the
// download is complete.
const QString partialSuffix = QStringLiteral(".download");

QString targetPath(const QWebEngineDownloadRequest *download)
{
    return QDir(download->downloadDirectory()).filePath(download->downloadFileName());
}

// The user's download folder, or the home folder where there is none (a new
// account, a server image): a prompt started in a folder that does not exist
// opens in its parent with the missing name typed in, and a user who then
// picks a folder and presses Choose would be told it does not exist.
QString promptStartFolder()
{
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return QDir(downloads).exists() ? downloads : QDir::homePath();
}

// The launcher's window, over which a download's progress is shown.
QWidget *windowOf(const QWebEngineDownloadRequest *download)
{
    QWebEngineView *view = QWebEngineView::forPage(download->page());
    return view ? view->window() : nullptr;
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
    // What they wrote so far is of no use to anyone.
    closing = true;
    for (const QString &path : std::as_const(pathsInUse))
        QFile::remove(path + partialSuffix);
}

void WebFlieLoad::startNewConsole()
{
    cancelledPromptsInARow = 0;
}

bool WebFlieLoad::refusesWithoutPrompt() const
{
    // One prompt at a time: the prompt runs an event loop of its own, in
    // which the page's further requests arrive.
    return prompting || cancelledPromptsInARow >= cancelledPromptsToRefuse;
}

// The page's suggestion reduced to a plain name, and one that names nothing
// in the folder yet: neither a file the user has, nor what a download under
// way writes to.
QString WebFlieLoad::freeFileName(const QString &folder, const QString &suggested) const
{
    const QDir dir(folder);
    return DownloadName::unusedName(
        DownloadName::safeFileName(suggested), [&](const QString &name) {
            const QString path = dir.filePath(name);
            return pathsInUse.contains(path) || QFileInfo::exists(path) ||
                   QFileInfo::exists(path + partialSuffix);
        });
}

// A download that ends without success leaves nothing of itself behind.
void WebFlieLoad::release(QWebEngineDownloadRequest *download, bool failed)
{
    const QString path = targetPath(download);
    if (!pathsInUse.remove(path))
        return;
    if (failed && QFile::exists(path + partialSuffix) && !QFile::remove(path + partialSuffix))
        qCWarning(lcConsole) << "WebFlieLoad: cannot remove the partial download" << path;
}

void WebFlieLoad::handleDownloadRequest(QWebEngineDownloadRequest *request)
{
    if (refusesWithoutPrompt()) {
        qCDebug(lcConsole) << "WebFlieLoad: download refused without a prompt"
                           << request->url().toDisplayString();
        request->cancel();
        return;
    }
    // The prompt runs a nested event loop; should the request go away while
    // it is open (its profile torn down), there is nothing left to decide.
    QPointer<QWebEngineDownloadRequest> download(request);
    prompting = true;
    const QString folder = QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral("选择下载目录"), promptStartFolder(), QFileDialog::ShowDirsOnly);
    prompting = false;
    if (!download)
        return;
    const QString suggested = download->suggestedFileName().isEmpty()
                                  ? download->downloadFileName()
                                  : download->suggestedFileName();
    const QString name = folder.isEmpty() ? QString() : freeFileName(folder, suggested);
    if (name.isEmpty()) {
        cancelledPromptsInARow += folder.isEmpty();
        download->cancel();
        return;
    }
    cancelledPromptsInARow = 0;
    download->setDownloadDirectory(folder);
    download->setDownloadFileName(name);
    pathsInUse.insert(targetPath(download));
    download->accept();
    connect(download, &QWebEngineDownloadRequest::stateChanged, this,
            &WebFlieLoad::handleDownloadState);
    connect(download, &QWebEngineDownloadRequest::interruptReasonChanged, this,
            &WebFlieLoad::handleDownloadInterrupt);
    new DownloadProgress(download, windowOf(download));
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
    if (download->isFinished())
        release(download, state != QWebEngineDownloadRequest::DownloadCompleted);

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
