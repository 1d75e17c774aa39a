#include "console/widget.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkProxyFactory>
#include <QTimer>
#include <QUdpSocket>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <utility>

#include "app/ipv4.h"
#include "app/logcategories.h"
#include "chrome/animatedstackedwidget.h"
#include "chrome/loading.h"
#include "console/consolepage.h"
#include "console/consolewarmup.h"
#include "console/plaintooltip.h"
#include "console/web.h"
#include "console/widget_ui.h"
#include "demo/demo.h"

Widget::Widget(QWidget *parent) : QWidget(parent), ui(new Ui::Widget)
{
    ui->setupUi(this);
    setupTable();
    initDiscovery();
    initWebView();
    initNavigation();
}

Widget::~Widget()
{
    // The console page runs on webFlieLoad's profile, which must outlive it:
    // release the view (and its page) before the members go.
    delete consoleView;
    consoleView = nullptr;
    delete demoPanel;
    delete webHost;
    delete searchTimer;
    delete multicastSocket;
    delete broadcastSocket;
    delete pageSwitchTimer;
    delete consoleLoadTimer;
    delete ui;
}

void Widget::initWebView()
{
    ui->stackedWidget->setCurrentWidget(ui->page_search);

    auto *webLayout = new QGridLayout(ui->page_web);
    consoleView = new QWebEngineView();
    consoleView->setAccessibleName(tr("Mixer console"));
    connect(consoleView, &QWebEngineView::loadFinished, this, &Widget::loadFinishedSlot);
    webLayout->addWidget(consoleView);
    ui->page_web->setLayout(webLayout);
    // Drawing the web engine's last frame costs more than the rest of a slide
    // frame, and a hidden view draws nothing new.
    AnimatedStackedWidget::setPicturedOncePerSlide(ui->page_web);
    webLayout->setContentsMargins(0, 0, 0, 0);
    // Mixers sit on the local network: never route to them through a proxy.
    QNetworkProxyFactory::setUseSystemConfiguration(false);
    consolePage = new ConsolePage(&webFlieLoad.profile, consoleView);
    consoleView->setPage(consolePage);
    new PlainToolTip(consoleView);
    connect(consoleView->page(), &QWebEnginePage::renderProcessTerminated, this,
            &Widget::consoleRendererGone);
    consoleWarmUp = new ConsoleWarmUp(consoleView, this);

    loadingWidget = new loading();
    auto *loadLayout = new QGridLayout(ui->page_load);
    loadLayout->addWidget(loadingWidget);
    loadLayout->setContentsMargins(0, 0, 0, 0);

    pageSwitchTimer = new QTimer();
    pageSwitchTimer->setSingleShot(true);
    pageSwitchTimer->setInterval(500);
    // A coarse timer may fire up to 5 % early or late: the switch is timed
    // to match the slide, and a late one only delays the console.
    pageSwitchTimer->setTimerType(Qt::PreciseTimer);
    connect(pageSwitchTimer, &QTimer::timeout, this, &Widget::timerOut);

    consoleLoadTimer = new QTimer();
    consoleLoadTimer->setSingleShot(true);
    consoleLoadTimer->setInterval(consoleLoadTimeoutMs);
    connect(consoleLoadTimer, &QTimer::timeout, this, &Widget::consoleLoadTimedOut);
}

void Widget::on_btn_connect_clicked()
{
    const QString text = ui->lineEdit_ip->text();
    if (text.isEmpty())
        return;
    if (!webHost)
        webHost = new web();

    if (text == QLatin1String("demo")) {
        showDemoPanel();
        return;
    }
    if (!isValidIPv4(text)) {
        ui->label_status_disp->setText(tr("Please enter a valid IP address!"));
        return;
    }

    // Zero-led parts would be read as octal (or as a host name) by QUrl:
    // every URL is built from the plain decimal form of the address.
    const QString address = canonicalIPv4(text);
    getNginxFile(address);
    stage = PageNavigation::Stage::Loading;
    // The user may have come back from an earlier load: its failure text
    // has nothing to say about this one.
    loadingWidget->restart();
    webFlieLoad.startNewConsole();
    consolePage->openConsole(
        QUrl(QStringLiteral("http://%1/dist/index.html").arg(address), QUrl::TolerantMode));
    consoleWarmUp->loadStarted();
    consoleLoadTimer->start();
    ui->stackedWidget->setCurrentWidgetAnimated(ui->page_load);
}

void Widget::loadFinishedSlot(bool ok)
{
    consoleLoadTimer->stop();
    const bool reloaded = std::exchange(reloadRunning, false);
    // A load the user went back from reports its end later: the search page
    // stays as it is.
    if (stage == PageNavigation::Stage::Search)
        return;
    if (!ok) {
        loadingWidget->showLoadFailed();
        if (reloaded)
            leaveLostConsole();
        return;
    }
    if (!pageSwitchTimer->isActive())
        pageSwitchTimer->start();
}

void Widget::consoleLoadTimedOut()
{
    qCDebug(lcConsole) << "widget" << __LINE__ << "Widget: console page not loaded after"
                       << consoleLoadTimeoutMs << "ms, stopped";
    loadingWidget->showLoadFailed();
    consoleView->stop();
    leaveLostConsole();
}

// The console's renderer can die at any time: its own script crashes it, its
// memory runs out (a page that never ends), or the system ends it. The web
// view then stays blank; show the loading page's failure instead.
void Widget::consoleRendererGone(QWebEnginePage::RenderProcessTerminationStatus status)
{
    // Left behind on the search page, a console that dies has nothing to show.
    if (status == QWebEnginePage::NormalTerminationStatus || consoleView->url().isEmpty() ||
        stage == PageNavigation::Stage::Search)
        return;
    qCDebug(lcConsole) << "widget" << __LINE__ << "Widget: console renderer ended, status"
                       << status;
    consoleLoadTimer->stop();
    pageSwitchTimer->stop();
    loadingWidget->showLoadFailed();
    stage = PageNavigation::Stage::Loading;
    ui->stackedWidget->setCurrentWidgetAnimated(ui->page_load);
}

void Widget::timerOut()
{
    stage = PageNavigation::Stage::Console;
    ui->stackedWidget->setCurrentWidgetAnimated(ui->page_web);
    qCCritical(lcConsole) << "widget" << __LINE__ << QStringLiteral("切换页面");
}

void Widget::on_lineEdit_ip_textEdited(const QString &)
{
    consoleWarmUp->warm();
    if (deviceModel.rowCount() > 0)
        deviceModel.removeRows(0, deviceModel.rowCount());
}

void Widget::on_lineEdit_ip_editingFinished()
{
    qCDebug(lcConsole) << "widget" << __LINE__ << "Widget::on_lineEdit_ip_editingFinished";
}
