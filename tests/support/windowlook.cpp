#include "support/windowlook.h"

#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QPushButton>

namespace {

QImage resizePicture(const QIcon &icon)
{
    return icon.pixmap(20, 20).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString pictureName(const QPushButton &button)
{
    const QImage shown = resizePicture(button.icon());
    if (shown == resizePicture(QIcon(QStringLiteral(":/images/maximum_white.png"))))
        return QStringLiteral("maximise picture");
    if (shown == resizePicture(QIcon(QStringLiteral(":/images/normal_white.png"))))
        return QStringLiteral("restore picture");
    return QStringLiteral("other picture");
}

}  // namespace

QString windowLook(const QWidget &window)
{
    const QMargins margins = window.layout()->contentsMargins();
    const bool even = margins.left() == margins.top() && margins.top() == margins.right() &&
                      margins.right() == margins.bottom();
    const auto *button = window.findChild<QPushButton *>(QStringLiteral("toolResize"));
    const auto *zone = window.findChild<QLabel *>(QStringLiteral("zoneTop"));
    return QStringLiteral("margin %1, zones %2, %3 button (%4), %5")
        .arg(even ? QString::number(margins.left()) : QStringLiteral("uneven"),
             zone->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"),
             button->toolTip(), button->accessibleName(), pictureName(*button));
}

QString expectedLook(bool maximised)
{
    return maximised
               ? QStringLiteral("margin 0, zones hidden, Restore button (Restore), restore picture")
               : QStringLiteral(
                     "margin 5, zones shown, Maximize button (Maximize), maximise picture");
}
