#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <QWebEngineDownloadRequest>

// The progress of one accepted download, shown once it has run longer than a
// moment: what has arrived, of how much where the total is known, and a
// Cancel that ends the download. Closes itself when the download ends.
class DownloadProgress : public QProgressDialog
{
    Q_OBJECT

public:
    // Downloads that end sooner show nothing of themselves but their box.
    static constexpr int showAfterMs = 500;

    DownloadProgress(QWebEngineDownloadRequest *download, QWidget *parent);

private:
    void update();

    QPointer<QWebEngineDownloadRequest> download;
};
