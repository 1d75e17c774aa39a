#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

#include "console/pagenavigation.h"

class QWidget;

// Watches the input of the window that holds `scope` (installed on the
// application, it sees key presses whichever widget has the focus, the
// console's web view included) and announces the back and reload gestures
// of PageNavigation for the stage that `stage` reports. Input that makes a
// gesture goes no further, so a console page never acts on it as well.
class NavigationFilter : public QObject
{
    Q_OBJECT
public:
    NavigationFilter(QWidget *scope, std::function<PageNavigation::Stage()> stage);

signals:
    void backRequested();
    void reloadRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool keyPress(QWidget *receiver, PageNavigation::Action action);
    bool mouseButton(QWidget *receiver, QEvent::Type type, PageNavigation::Action action);
    bool announce(PageNavigation::Action action);

    QWidget *scope;
    std::function<PageNavigation::Stage()> stage;
};
