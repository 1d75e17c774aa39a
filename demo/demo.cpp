#include "demo/demo.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTimerEvent>

#include "demo/demo_ui.h"

namespace {

constexpr int meterInterval = 120;

}  // namespace

demo::demo(QWidget *parent) : QWidget(parent), ui(new Ui::demo)
{
    ui->setupUi(this);
    // A window of its own: it carries the application's name, not the
    // form's working title.
    setWindowTitle(QCoreApplication::applicationName());
    meterTimerId = -1;
    ui->tabWidget->setCurrentWidget(ui->Mixer);
    channelButtons = ui->channelSelects;
    meters = ui->levels;
    for (QPushButton *button : std::as_const(channelButtons))
        connect(button, &QAbstractButton::clicked, this, &demo::btnClicked);
}

demo::~demo()
{
    delete ui;
}

void demo::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}

void demo::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A show can arrive while the panel already counts as shown (a window
    // system restoring it, for one); never let a second timer pile up.
    stopMeterTimer();
    meterTimerId = startTimer(meterInterval, Qt::CoarseTimer);
}

void demo::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    stopMeterTimer();
}

void demo::timerEvent(QTimerEvent *event)
{
    // No device stands behind the panel: the bank meters just show noise.
    if (meterTimerId == -1 || event->timerId() != meterTimerId)
        return;
    for (QProgressBar *meter : std::as_const(meters))
        meter->setValue(int(QRandomGenerator::global()->bounded(100)));
}

void demo::btnClicked()
{
    // Selecting a channel has nothing to select on a panel without a mixer.
}

void demo::stopMeterTimer()
{
    // Killing an id that is not running only earns a warning.
    if (meterTimerId != -1)
        killTimer(meterTimerId);
    meterTimerId = -1;
}
