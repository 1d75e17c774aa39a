#include "demo/democontrols.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>

#include "chrome/palette.h"

namespace DemoControls {

namespace {

const char *const grey = "rgb(97, 97, 97)";
const char *const handle = "rgb(193, 204, 208)";

}  // namespace

QString sliderStyle(Qt::Orientation orientation)
{
    // A vertical slider grows upwards, so its filled part is the add-page
    // below the handle; a horizontal one grows to the right, so it is the
    // sub-page left of the handle.
    if (orientation == Qt::Vertical) {
        return QStringLiteral(
                   "QSlider::groove:vertical{background:%2;width:6px;border-radius:3px;}"
                   "QSlider::add-page:vertical{background:%1;width:6px;border-radius:3px;}"
                   "QSlider::sub-page:vertical{background:%2;width:6px;border-radius:3px;}"
                   "QSlider::handle:vertical{background:%3;height:20px;margin:0 -9px;"
                   "border-radius:3px;}")
            .arg(Palette::demoLevel, QLatin1String(grey), QLatin1String(handle));
    }
    return QStringLiteral(
               "QSlider::groove:horizontal{background:%2;height:4px;border-radius:2px;}"
               "QSlider::sub-page:horizontal{background:%1;height:4px;border-radius:2px;}"
               "QSlider::add-page:horizontal{background:%2;height:4px;border-radius:2px;}"
               "QSlider::handle:horizontal{background:%3;width:10px;margin:-5px 0;"
               "border-radius:3px;}")
        .arg(Palette::demoLevel, QLatin1String(grey), QLatin1String(handle));
}

QString meterStyle()
{
    return QStringLiteral(
               "QProgressBar{background-color:%2;border:none;color:white;"
               "text-align:center;font-size:8pt;}"
               "QProgressBar::chunk{background-color:%1;}")
        .arg(Palette::demoLevel, Palette::demoEdge);
}

QSlider *makeSlider(const QString &name, Qt::Orientation orientation, int maximum, int value)
{
    auto *slider = new QSlider(orientation);
    slider->setObjectName(name);
    slider->setRange(0, maximum);
    slider->setValue(value);
    slider->setStyleSheet(sliderStyle(orientation));
    // Rows of sends share the height of their page evenly.
    if (orientation == Qt::Horizontal)
        slider->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return slider;
}

QSlider *makeFader(const QString &name)
{
    QSlider *fader = makeSlider(name, Qt::Vertical, 1000, 500);
    fader->setTickPosition(QSlider::TicksRight);
    fader->setTickInterval(50);
    fader->setPageStep(50);
    return fader;
}

QProgressBar *makeMeter(const QString &name, int value)
{
    auto *meter = new QProgressBar();
    meter->setObjectName(name);
    meter->setOrientation(Qt::Vertical);
    meter->setRange(0, 100);
    meter->setValue(value);
    meter->setFormat(QStringLiteral("%p"));
    meter->setFixedWidth(18);
    meter->setStyleSheet(meterStyle());
    return meter;
}

QPushButton *makeButton(const QString &name)
{
    auto *button = new QPushButton();
    button->setObjectName(name);
    button->setMinimumHeight(24);
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(Palette::demoControl(QLatin1String("QPushButton")) +
                          QStringLiteral("QPushButton:pressed{background-color:%1;color:%2;}")
                              .arg(Palette::demoLevel, Palette::demoFace));
    return button;
}

QLabel *makeLabel(const QString &name, int pointSize)
{
    auto *label = new QLabel();
    label->setObjectName(name);
    label->setStyleSheet(
        QStringLiteral("color:white;background:transparent;font-size:%1pt;").arg(pointSize));
    return label;
}

QFrame *makeSection(const QString &name)
{
    auto *section = new QFrame();
    section->setObjectName(name);
    section->setStyleSheet(
        QStringLiteral("QFrame#%1{background-color:rgba(41, 44, 49, 170);border-radius:6px;}")
            .arg(name));
    return section;
}

}  // namespace DemoControls
