#pragma once

#include <QtWidgets>

// What the frameless window shows of its state, in words: the margins
// around its frame, whether the resize zones are there, the names the
// title-bar buttons give tool tips and screen readers (left to right as they
// stand in a shown window), and the picture on the maximise/restore button.
// Compared with `expectedLook`.
inline QString windowLook(const QWidget &window)
{
    QList<const QPushButton *> buttons;
    for (const char *name : {"toolMinimum", "toolResize", "toolClose"})
        buttons << window.findChild<QPushButton *>(name);
    std::stable_sort(buttons.begin(), buttons.end(), [&](const QWidget *a, const QWidget *b) {
        return a->mapTo(&window, QPoint()).x() < b->mapTo(&window, QPoint()).x();
    });
    QStringList names;
    for (const QPushButton *button : buttons)
        names << button->toolTip() + '/' + button->accessibleName();
    const auto picture = [](const QIcon &icon) {
        return icon.pixmap(20, 20).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    const QImage shown = picture(window.findChild<QPushButton *>("toolResize")->icon());
    return QStringLiteral("%1, zones %2, %3, %4 picture")
        .arg(QDebug::toString(window.layout()->contentsMargins()),
             window.findChild<QLabel *>("zoneTop")->isHidden() ? "hidden" : "shown",
             names.join(' '),
             shown == picture(QIcon(":/images/maximum_white.png"))  ? "maximise"
             : shown == picture(QIcon(":/images/normal_white.png")) ? "restore"
                                                                    : "other");
}

inline QString expectedLook(bool maximised)
{
    return maximised ? "QMargins(0, 0, 0, 0), zones hidden, Minimize/Minimize Restore/Restore "
                       "Close/Close, restore picture"
                     : "QMargins(5, 5, 5, 5), zones shown, Minimize/Minimize Maximize/Maximize "
                       "Close/Close, maximise picture";
}
