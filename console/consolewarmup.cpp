#include "console/consolewarmup.h"

#include <QCoreApplication>
#include <QEvent>
#include <QQuickWidget>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

const QEvent::Type afterRepaint = QEvent::Type(QEvent::registerEventType());

}  // namespace

ConsoleWarmUp::ConsoleWarmUp(QWebEngineView *view, QObject *parent) : QObject(parent), view(view)
{
    // Stands in for the render widget the view gets later. That is a Qt
    // Quick widget too, so the window is composed as it will need: through
    // OpenGL, or in software where Qt Quick has no OpenGL to draw with. Hidden
    // and without content, it draws nothing and takes no part in a frame.
    auto *standIn = new QQuickWidget(view);
    standIn->setObjectName(QStringLiteral("renderWidgetStandIn"));
    standIn->hide();
    // Whatever the load's outcome (a load the user went back from ends too),
    // its time as a visible page is over.
    connect(view, &QWebEngineView::loadFinished, this, &ConsoleWarmUp::loadEnded);
}

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
    // renderer and give the view its render widget. An empty script is the
    // cheapest such request and leaves no trace: no load, no address, no
    // history. Nothing is shown: the view stays on its hidden page.
    view->page()->runJavaScript(QString());
}

// The engine takes a page whose view is not shown for a background tab and
// runs its renderer's main thread, where the document is parsed, laid out
// and scripted, at a lower processor priority. The console's load then waits
// for the processor behind the launcher's own slide to the loading page and
// behind whatever else the machine runs. The console is wanted on screen the
// moment it has loaded, so the page counts as visible while it loads; its
// view stays on its hidden page, so nothing is shown sooner. Only a page
// that has begun a load takes the visibility: before it, the engine drops it.
void ConsoleWarmUp::loadStarted()
{
    if (view && !view->isVisible())
        view->page()->setVisible(true);
}

// The page is hidden again as it was before the load: the view takes it over
// when it is shown, and a console the user leaves before it was shown must
// be hidden to be let go (the view, never shown, will not hide it).
void ConsoleWarmUp::loadEnded()
{
    if (view && !view->isVisible())
        view->page()->setVisible(false);
}
