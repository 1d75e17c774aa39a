#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QUrl>

class QWidget;

// The boxes a console page opens with alert(), confirm() and prompt(). Each
// is modal, so a page that opens one after another would keep the user from
// everything else, the way back included: as browsers do, a box that follows
// the last one closely offers to stop them, and once the user has said so,
// the page's further boxes are answered at once, without being shown, until
// the user loads the console again. The page's text is shown as plain text.
class PageDialogs
{
    Q_DECLARE_TR_FUNCTIONS(PageDialogs)

public:
    enum class Kind { Alert, Confirm, Prompt };

    // A box that opens sooner than this after the last one closed offers to
    // stop them.
    static constexpr int floodIntervalMs = 2000;
    // The most of a page's message a box shows.
    static constexpr int maxMessageLength = 2000;

    // Shows the box over `parent` and waits for the user: true for OK, with
    // the text entered into `result` for a prompt. Answered as cancelled,
    // without a box, once the user has stopped the page's boxes.
    bool ask(QWidget *parent, Kind kind, const QUrl &origin, const QString &message,
             const QString &defaultValue = {}, QString *result = nullptr);

    // The console is loaded again: its boxes are shown again.
    void reset();

private:
    bool offersToStop() const;

    bool stopped = false;
    QElapsedTimer sinceLastClosed;
};
