#include "chrome/loading.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include "chrome/customization.h"
#include "chrome/loading_ui.h"
#include "chrome/proportionalscaler.h"

quint16 loading::dotCounter = 1;

namespace {
constexpr int pictureWidth = 1024;
constexpr int pictureHeight = 600;
}  // namespace

loading::loading(QWidget *parent)
    : QWidget(parent),
      ui(new Ui::loading),
      resizeTimer(new QTimer(this)),
      dotTimer(new QTimer(this))
{
    ui->setupUi(this);

    // Resizes come in bursts while a window is dragged: the picture is fitted
    // once per burst.
    resizeTimer->setObjectName("resizeTimer");
    resizeTimer->setInterval(1);
    resizeTimer->setSingleShot(true);
    connect(resizeTimer, &QTimer::timeout, this, &loading::timerOutResize);

    dotTimer->setObjectName("dotTimer");
    dotTimer->setInterval(500);
    connect(dotTimer, &QTimer::timeout, this, &loading::timerOut);

    loadPicture();
    setUpScaler();
}

loading::~loading()
{
    delete ui;
}

void loading::loadPicture()
{
    const QPixmap picture(Customization::filePath(Customization::LoadingPicture));
    if (!picture.isNull()) {
        ui->m_icon->setPixmap(picture.scaled(ui->m_icon->size(), Qt::KeepAspectRatioByExpanding,
                                             Qt::SmoothTransformation));
    }
    ui->m_icon->setScaledContents(true);
}

void loading::setUpScaler()
{
    scaler = std::make_unique<ProportionalScaler>(this, width(), height());
    scaler->setTypeMask(ProportionalScaler::ScaleLabels | ProportionalScaler::ScaleButtons |
                        ProportionalScaler::ScaleLineEdits | ProportionalScaler::ScaleComboBoxes);
    scaler->addWidget(ui->m_icon);
    scaler->addWidget(ui->tooltip_text);
    scaler->record();
}

void loading::showEvent(QShowEvent *)
{
    // A failed load stays reported: the page may be shown again (the slide
    // ends after a quick failure, the window is restored from the task bar)
    // and must not go back to animating as if the load were still running.
    if (!loadFailed)
        dotTimer->start();
}

void loading::hideEvent(QHideEvent *)
{
    dotTimer->stop();
}

void loading::resizeEvent(QResizeEvent *)
{
    scaler->rescale();
    if (!resizeTimer->isActive())
        resizeTimer->start();
}

void loading::timerOut()
{
    ui->tooltip_text->setText(tr("Loading") + QString(dotCounter, QLatin1Char('.')));
    // One dot only on the very first tick, then two, three, four, two, ...
    if (dotCounter < 4)
        ++dotCounter;
    else
        dotCounter = 2;
}

void loading::timerOutResize()
{
    // The picture keeps its 1024 : 600 proportion, as large as fits, centred.
    const double f = qMin(width() / double(pictureWidth), height() / double(pictureHeight));
    const int w = static_cast<int>(f * pictureWidth);
    const int h = static_cast<int>(f * pictureHeight);
    ui->m_icon->resize(w, h);
    ui->m_icon->move((width() - w) / 2, (height() - h) / 2);
}

void loading::showLoadFailed()
{
    loadFailed = true;
    dotTimer->stop();
    ui->tooltip_text->setStyleSheet(QStringLiteral("QLabel{color:red}"));
    ui->tooltip_text->setText(tr("Loading failed, please check the network environment."));
}

void loading::restart()
{
    loadFailed = false;
    ui->tooltip_text->setStyleSheet(QStringLiteral("QLabel{color:white}"));
    ui->retranslateUi(this);
    if (isVisible())
        dotTimer->start();
}
