#include "console/downloadprogress.h"

#include <QLocale>

namespace {

// The dialog counts in ints; downloads may be larger than an int can count.
constexpr int steps = 1000;

}  // namespace

DownloadProgress::DownloadProgress(QWebEngineDownloadRequest *request, QWidget *parent)
    : QProgressDialog(parent), download(request)
{
    setWindowTitle(tr("Downloading"));
    setCancelButtonText(tr("Cancel"));
    setAutoClose(false);
    setAutoReset(false);
    setMinimumDuration(showAfterMs);
    // Esc and the dialog's close button cancel, as the button does; the
    // launcher's window closing takes the dialog along, and the launcher's
    // shutdown ends the download without a word.
    connect(this, &QProgressDialog::canceled, request, [this] {
        if (download && (!parentWidget() || parentWidget()->isVisible()))
            download->cancel();
    });
    connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, this,
            &DownloadProgress::update);
    connect(request, &QWebEngineDownloadRequest::totalBytesChanged, this,
            &DownloadProgress::update);
    connect(request, &QWebEngineDownloadRequest::isFinishedChanged, this, &QObject::deleteLater);
    connect(request, &QObject::destroyed, this, &QObject::deleteLater);
    update();
}

void DownloadProgress::update()
{
    if (!download)
        return;
    const QLocale locale;
    const qint64 received = download->receivedBytes();
    const qint64 total = download->totalBytes();
    const QString name = download->downloadFileName();
    if (total > 0) {
        setRange(0, steps);
        setValue(int(qMin(received, total) * steps / total));
        setLabelText(name + QLatin1Char('\n') +
                     tr("%1 of %2")
                         .arg(locale.formattedDataSize(received), locale.formattedDataSize(total)));
    } else {
        // A busy bar: the mixer has not said how much is coming.
        setRange(0, 0);
        setValue(0);
        setLabelText(name + QLatin1Char('\n') + locale.formattedDataSize(received));
    }
}
