#include "console/consolepage.h"

#include <QWebEngineSettings>
#include <QWebEngineView>

#include "app/logcategories.h"
#include "console/consoleorigin.h"

ConsolePage::ConsolePage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
    // By default a link to mailto:, ssh:, smb: and the like that the user
    // clicks is handed to the desktop, which starts whatever program handles
    // it: the console has no business starting programs.
    settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
}

void ConsolePage::openConsole(const QUrl &url)
{
    mixerHost = url.host();
    dialogs.reset();
    setUrl(url);
}

void ConsolePage::reloadConsole()
{
    dialogs.reset();
    triggerAction(QWebEnginePage::Reload);
}

bool ConsolePage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    // Frames inside the console may show what they like, as in any browser;
    // what the window shows as the console is the mixer's.
    if (!isMainFrame || ConsoleOrigin::isOnMixer(mixerHost, url))
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    qCWarning(lcConsole) << "ConsolePage: refused to take the console from" << mixerHost << "to"
                         << url.toDisplayString() << "navigation type" << type;
    return false;
}

QWidget *ConsolePage::dialogParent() const
{
    QWebEngineView *view = QWebEngineView::forPage(this);
    return view ? view->window() : nullptr;
}

void ConsolePage::javaScriptAlert(const QUrl &securityOrigin, const QString &msg)
{
    dialogs.ask(dialogParent(), PageDialogs::Kind::Alert, securityOrigin, msg);
}

bool ConsolePage::javaScriptConfirm(const QUrl &securityOrigin, const QString &msg)
{
    return dialogs.ask(dialogParent(), PageDialogs::Kind::Confirm, securityOrigin, msg);
}

bool ConsolePage::javaScriptPrompt(const QUrl &securityOrigin, const QString &msg,
                                   const QString &defaultValue, QString *result)
{
    return dialogs.ask(dialogParent(), PageDialogs::Kind::Prompt, securityOrigin, msg, defaultValue,
                       result);
}
