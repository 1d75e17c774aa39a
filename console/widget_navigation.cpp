// The Widget members that lead back to the search page (keys, the mouse's
// back button, closing the demo panel) and reload the console.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWebEngineView>

#include "chrome/animatedstackedwidget.h"
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
}

void Widget::returnToSearch()
{
    if (stage == PageNavigation::Stage::Search)
        return;
    stage = PageNavigation::Stage::Search;
    pageSwitchTimer->stop();
    consoleLoadTimer->stop();
    consoleView->stop();
    // The address field and the table are left as they were; the field gets
    // the focus for a corrected address and Return.
    ui->stackedWidget->setCurrentWidgetAnimated(ui->page_search);
    ui->lineEdit_ip->setFocus();
}

void Widget::reloadConsole()
{
    consoleView->reload();
}

void Widget::showDemoPanel()
{
    if (!demoPanel) {
        demoPanel = new demo();
        // Closing the panel brings the search page back as it was.
        connect(demoPanel, &demo::closed, this, &QWidget::show);
    }
    // Over the launcher's window, not wherever the system puts new windows.
    QRect frame = demoPanel->frameGeometry();
    frame.moveCenter(window()->frameGeometry().center());
    demoPanel->move(frame.topLeft());
    demoPanel->show();
    hide();
}
