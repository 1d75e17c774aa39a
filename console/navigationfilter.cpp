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
    // Every event of the application passes here, also those sent to objects
    // half way through their destruction (a view hands its focus on as it
    // goes): the receiver is looked at only for a key or button of ours.
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto *key = static_cast<QKeyEvent *>(event);
            const Action action = PageNavigation::forKey(stage(), key->key(), key->modifiers());
            return action != Action::None && keyPress(qobject_cast<QWidget *>(watched), action);
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            const Action action = PageNavigation::forMouseButton(
                stage(), static_cast<QMouseEvent *>(event)->button());
            return action != Action::None &&
                   mouseButton(qobject_cast<QWidget *>(watched), event->type(), action);
        }
        default:
            return false;
    }
}

bool NavigationFilter::keyPress(QWidget *receiver, Action action)
{
    // Keys go to the focus widget, or to the window itself when nothing
    // there has the focus (the loading page holds nothing focusable).
    if (!receiver || receiver->window() != scope->window() || !scope->isVisible())
        return false;
    return announce(action);
}

bool NavigationFilter::mouseButton(QWidget *receiver, QEvent::Type type, Action action)
{
    if (!receiver || !(receiver == scope || scope->isAncestorOf(receiver)))
        return false;
    // Like a browser, the button acts when it is let go; its press is only
    // kept from the page.
    return type != QEvent::MouseButtonRelease || announce(action);
}

bool NavigationFilter::announce(Action action)
{
    if (action == Action::Back)
        emit backRequested();
    else if (action == Action::Reload)
        emit reloadRequested();
    return action != Action::None;
}
