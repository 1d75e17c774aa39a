#include "console/widget.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkProxyFactory>
#include <QTimer>
#include <QUdpSocket>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/ipv4.h"
#include "app/logcategories.h"
#include "chrome/animatedstackedwidget.h"
#include "chrome/loading.h"
#include "console/consolewarmup.h"
#include "console/web.h"
#include "console/widget_ui.h"
#include "demo/demo.h"

Widget::Widget(QWidget *parent) : QWidget(parent), ui(new Ui::Widget)
{
    ui->setupUi(this);
    setupTable();
    initDiscovery();
    initWebView();
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
    delete ui;
}

void Widget::initWebView()
{
    ui->stackedWidget->setCurrentWidget(ui->page_search);

    auto *webLayout = new QGridLayout(ui->page_web);
    consoleView = new QWebEngineView();
    connect(consoleView, &QWebEngineView::loadFinished, this, &Widget::loadFinishedSlot);
    webLayout->addWidget(consoleView);
    ui->page_web->setLayout(webLayout);
    // Drawing the web engine's last frame costs more than the rest of a slide
    // frame, and a hidden view draws nothing new.
    AnimatedStackedWidget::setPicturedOncePerSlide(ui->page_web);
    webLayout->setContentsMargins(0, 0, 0, 0);
    // Mixers sit on the local network: never route to them through a proxy.
    QNetworkProxyFactory::setUseSystemConfiguration(false);
    consoleView->setPage(new QWebEnginePage(&webFlieLoad.profile, consoleView));
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
}

void Widget::on_btn_connect_clicked()
{
    const QString text = ui->lineEdit_ip->text();
    if (text.isEmpty())
        return;
    if (!webHost)
        webHost = new web();

    if (text == QLatin1String("demo")) {
        if (!demoPanel)
            demoPanel = new demo();
        demoPanel->show();
        hide();
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
    consoleView->setUrl(
        QUrl(QStringLiteral("http://%1/dist/index.html").arg(address), QUrl::TolerantMode));
    ui->stackedWidget->setCurrentWidgetAnimated(ui->page_load);
}

void Widget::loadFinishedSlot(bool ok)
{
    if (!ok) {
        loadingWidget->showLoadFailed();
        return;
    }
    if (!pageSwitchTimer->isActive())
        pageSwitchTimer->start();
}

void Widget::timerOut()
{
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
