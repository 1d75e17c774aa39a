#include "console/navigationfilter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

using PageNavigation::Action;

NavigationFilter::NavigationFilter(QWidget *scope, std::function<PageNavigation::Stage()> stage)
    : QObject(scope), scope(scope), stage(std::move(stage))
{
}

bool NavigationFilter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
        case QEvent::KeyPress:
            return keyPress(qobject_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            return mouseButton(qobject_cast<QWidget *>(watched), static_cast<QMouseEvent *>(event));
        default:
            return false;
    }
}

bool NavigationFilter::keyPress(QWidget *receiver, const QKeyEvent *event)
{
    // Keys go to the focus widget, or to the window itself when nothing
    // there has the focus (the loading page holds nothing focusable).
    if (!receiver || receiver->window() != scope->window() || !scope->isVisible())
        return false;
    return announce(PageNavigation::forKey(stage(), event->key(), event->modifiers()));
}

bool NavigationFilter::mouseButton(QWidget *receiver, const QMouseEvent *event)
{
    if (!receiver || !(receiver == scope || scope->isAncestorOf(receiver)))
        return false;
    const Action action = PageNavigation::forMouseButton(stage(), event->button());
    if (action == Action::None)
        return false;
    // Like a browser, the button acts when it is let go; its press is only
    // kept from the page.
    return event->type() != QEvent::MouseButtonRelease || announce(action);
}

bool NavigationFilter::announce(Action action)
{
    if (action == Action::Back)
        emit backRequested();
    else if (action == Action::Reload)
        emit reloadRequested();
    return action != Action::None;
}
