#pragma once

#include <QtWidgets>

// The colour that `widget`, its children included, shows at `at` (in its own
// logical pixels).
inline QColor colourAt(QWidget *widget, QPoint at)
{
    const QImage picture = widget->grab().toImage();
    return picture.pixelColor((QPointF(at) * picture.devicePixelRatio()).toPoint());
}
