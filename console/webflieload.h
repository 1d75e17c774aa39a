#pragma once

#include <QObject>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

// Owns the off-the-record profile on which the console page runs, and so
// receives every download that the console starts: asks for a folder, then
// reports the end of each accepted download in a message box.
class WebFlieLoad : public QObject
{
    Q_OBJECT

    // Set when the launcher lets go of the profile. Declared before it, so
    // that it is still there while the profile ends the downloads it holds.
    bool closing = false;

public:
    explicit WebFlieLoad(QObject *parent = nullptr);
    ~WebFlieLoad() override;

    // No storage name: cookies, cache and web storage live in memory only.
    QWebEngineProfile profile;

signals:
    void downloadComplete(QString message);

private slots:
    void handleDownloadRequest(QWebEngineDownloadRequest *download);
    void handleDownloadState(QWebEngineDownloadRequest::DownloadState state);
    void handleDownloadInterrupt();
};
