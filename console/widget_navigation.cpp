// The Widget members that lead back to the search page (keys, the mouse's
// back button, closing the demo panel) and reload the console.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <utility>

#include "chrome/animatedstackedwidget.h"
#include "chrome/windowplacement.h"
#include "console/consolepage.h"
#include "console/navigationfilter.h"
#include "console/widget.h"
#include "console/widget_ui.h"
#include "demo/demo.h"

void Widget::initNavigation()
{
    auto *filter = new NavigationFilter(this, [this] { return stage; });
    connect(filter, &NavigationFilter::backRequested, this, &Widget::returnToSearch);
    connect(filter, &NavigationFilter::reloadRequested, this, &Widget::reloadConsole);
    qApp->installEventFilter(filter);
    connect(ui->lineEdit_ip, &QLineEdit::returnPressed, this, &Widget::on_btn_connect_clicked);
    // The list takes no focus: the keyboard picks a mixer from the address
    // field.
    for (const auto &[key, step] : {std::pair{Qt::Key_Up, -1}, std::pair{Qt::Key_Down, 1}}) {
        connect(
            new QShortcut(QKeySequence(key), ui->lineEdit_ip, nullptr, nullptr, Qt::WidgetShortcut),
            &QShortcut::activated, this, [this, step = step] { stepThroughDevices(step); });
    }
    // The keyboard starts in the address field and goes on to Connect, then
    // Search; the title bar's buttons come last. Done once this content sits
    // in its window: a window that adopts a child takes its focus away, and
    // the order counts among the window's own controls.
    QTimer::singleShot(0, this, [this] {
        QWidget::setTabOrder(ui->lineEdit_ip, ui->btn_connect);
        QWidget::setTabOrder(ui->btn_connect, ui->btn_search);
        ui->lineEdit_ip->setFocus();
    });
    // The engine lets only a hidden page go: the console shown is let go
    // once the slide back has hidden it. Queued, so that the engine is never
    // torn out of a notification of its own that led here.
    connect(consoleView->page(), &QWebEnginePage::visibleChanged, this, [this](bool visible) {
        if (!visible)
            QTimer::singleShot(0, this, &Widget::discardLeftConsole);
    });
}

void Widget::returnToSearch()
{
    if (stage == PageNavigation::Stage::Search)
        return;
    stage = PageNavigation::Stage::Search;
    pageSwitchTimer->stop();
    consoleLoadTimer->stop();
    consoleView->stop();
    QTimer::singleShot(0, this, &Widget::discardLeftConsole);
    // The address field and the table are left as they were; the field gets
    // the focus for a corrected address and Return.
    ui->stackedWidget->setCurrentWidgetAnimated(ui->page_search);
    ui->lineEdit_ip->setFocus();
}

// A console left behind would go on running its scripts and keep its
// connections to the mixer open, and a mixer serves only a few consoles at
// once; a download it starts would prompt over the search page. Discarded,
// the page ends its renderer and its connections and keeps only its address;
// the next Connect loads the console afresh.
void Widget::discardLeftConsole()
{
    QWebEnginePage *page = consoleView->page();
    if (stage != PageNavigation::Stage::Search || page->isVisible() || consoleView->url().isEmpty())
        return;
    page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
}

void Widget::reloadConsole()
{
    // Bounded as a Connect is: a mixer gone from the network must not leave
    // its old console up as if it still answered.
    reloadRunning = true;
    consoleLoadTimer->start();
    webFlieLoad.startNewConsole();
    consolePage->reloadConsole();
}

// The console shown is lost (its reload failed or did not end in time): the
// loading page with its failure takes its place, and the ways back lead on
// from there.
void Widget::leaveLostConsole()
{
    if (stage != PageNavigation::Stage::Console)
        return;
    pageSwitchTimer->stop();
    stage = PageNavigation::Stage::Loading;
    ui->stackedWidget->setCurrentWidgetAnimated(ui->page_load);
}

void Widget::showDemoPanel()
{
    if (!demoPanel) {
        demoPanel = new demo();
        // Closing the panel brings the search page back as it was.
        connect(demoPanel, &demo::closed, this, &QWidget::show);
    }
    // Over the launcher's window, not wherever the system puts new windows,
    // and inside the free part of the launcher's screen, fitted to it where
    // the panel is larger, as the launcher itself is.
    const QRect frame = demoPanel->frameGeometry();
    const QMargins decoration(demoPanel->x() - frame.x(), demoPanel->y() - frame.y(),
                              frame.right() - demoPanel->geometry().right(),
                              frame.bottom() - demoPanel->geometry().bottom());
    QRect wanted(QPoint(), frame.size());
    wanted.moveCenter(window()->frameGeometry().center());
    const QRect placed =
        WindowPlacement::keptInside(wanted, window()->screen()->availableGeometry(),
                                    demoPanel->minimumSizeHint().grownBy(decoration));
    demoPanel->resize(placed.size().shrunkBy(decoration));
    demoPanel->move(placed.topLeft());
    demoPanel->show();
    hide();
}
