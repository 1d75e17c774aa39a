#pragma once

#include <QWebEnginePage>

#include "console/pagedialogs.h"

// The page that shows a mixer's console. The console is whatever answers on
// the address the user typed or picked, a stranger's page as much as the
// mixer's own, and the window shows no address bar: the page gets what a
// careful browser gives a page and no more. Its top-level document stays on
// the mixer's host, links to schemes that other programs handle go nowhere,
// and its boxes can be stopped.
class ConsolePage : public QWebEnginePage
{
    Q_OBJECT
public:
    ConsolePage(QWebEngineProfile *profile, QObject *parent);

    // The user's Connect: the console of the mixer at `url`'s host.
    void openConsole(const QUrl &url);
    // The user's reload of the console shown.
    void reloadConsole();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg,
                          const QString &defaultValue, QString *result) override;

private:
    QWidget *dialogParent() const;

    QString mixerHost;
    PageDialogs dialogs;
};
