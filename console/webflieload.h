#pragma once

#include <QObject>
#include <QSet>
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

    // A console page may start downloads by script, as many as it likes:
    // once the user has cancelled this many folder prompts of one console in
    // a row, its further downloads are refused without a prompt.
    static constexpr int cancelledPromptsToRefuse = 2;

    // The user has loaded a console again (a Connect, a reload): its
    // downloads are asked about again.
    void startNewConsole();

signals:
    void downloadComplete(QString message);

private slots:
    void handleDownloadRequest(QWebEngineDownloadRequest *download);
    void handleDownloadState(QWebEngineDownloadRequest::DownloadState state);
    void handleDownloadInterrupt();

private:
    bool refusesWithoutPrompt() const;
    QString freeFileName(const QString &folder, const QString &suggested) const;
    void release(QWebEngineDownloadRequest *download, bool failed);

    bool prompting = false;
    int cancelledPromptsInARow = 0;
    // Where the downloads under way are written, so that two of them never
    // take the same name.
    QSet<QString> pathsInUse;
};
