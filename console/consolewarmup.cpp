#include "console/consolewarmup.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

const QEvent::Type afterRepaint = QEvent::Type(QEvent::registerEventType());

}  // namespace

ConsoleWarmUp::ConsoleWarmUp(QWebEngineView *view, QObject *parent) : QObject(parent), view(view) {}

void ConsoleWarmUp::warm()
{
    if (requested)
        return;
    requested = true;
    // Two hops: by the first, the user's action has been handled and its
    // repaint asked for. Repaints wait in the queue at low priority; an event
    // posted at that priority then comes after them, so the key or click is
    // seen on screen before the engine's set-up takes the thread.
    QTimer::singleShot(0, this, [this] {
        QCoreApplication::postEvent(this, new QEvent(afterRepaint), Qt::LowEventPriority);
    });
}

void ConsoleWarmUp::customEvent(QEvent *event)
{
    if (event->type() == afterRepaint)
        setUpPage();
}

void ConsoleWarmUp::setUpPage()
{
    // A Connect that came first has set the page up already.
    if (!view || !view->url().isEmpty())
        return;
    // Any request to the page makes the engine build its contents, start the
    // renderer and give the view its render widget (the window's switch to
    // OpenGL composition follows on the next pass). An empty script is the
    // cheapest such request and leaves no trace: no load, no address, no
    // history. Nothing is shown: the view stays on its hidden page.
    view->page()->runJavaScript(QString());
}
