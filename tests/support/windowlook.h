#pragma once

#include <QtWidgets>

// What the frameless window shows of its state, in words: the margin around
// its frame, whether the resize zones are there, and the name and picture of
// the title bar's maximise/restore button. Compared with `expectedLook`.
inline QString windowLook(const QWidget &window)
{
    const QMargins margins = window.layout()->contentsMargins();
    const auto *button = window.findChild<QPushButton *>("toolResize");
    const auto picture = [](const QIcon &icon) {
        return icon.pixmap(20, 20).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    const QString shown =
        picture(button->icon()) == picture(QIcon(":/images/maximum_white.png"))  ? "maximise"
        : picture(button->icon()) == picture(QIcon(":/images/normal_white.png")) ? "restore"
                                                                                 : "other";
    return QStringLiteral("margins %1 %2 %3 %4, zones %5, %6 button (%7), %8 picture")
        .arg(margins.left())
        .arg(margins.top())
        .arg(margins.right())
        .arg(margins.bottom())
        .arg(window.findChild<QLabel *>("zoneTop")->isHidden() ? "hidden" : "shown",
             button->toolTip(), button->accessibleName(), shown);
}

inline QString expectedLook(bool maximised)
{
    return maximised ? "margins 0 0 0 0, zones hidden, Restore button (Restore), restore picture"
                     : "margins 5 5 5 5, zones shown, Maximize button (Maximize), maximise picture";
}
