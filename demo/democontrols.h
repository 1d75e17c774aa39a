#pragma once

#include <QString>
#include <Qt>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;

// Factories for the controls of the demo panel. Each control carries its own
// style sheet, so the panel keeps its mixer look whatever the application
// style is.
namespace DemoControls {

QString sliderStyle(Qt::Orientation orientation);
QString meterStyle();

QSlider *makeSlider(const QString &name, Qt::Orientation orientation, int maximum, int value);
QSlider *makeFader(const QString &name);
QProgressBar *makeMeter(const QString &name, int value);
QPushButton *makeButton(const QString &name);
QLabel *makeLabel(const QString &name, int pointSize);
QFrame *makeSection(const QString &name);

}  // namespace DemoControls
