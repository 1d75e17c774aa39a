#include "chrome/windowplacement.h"

#include <QtGlobal>
#include <optional>

namespace WindowPlacement {

namespace {

// Moves [start, start + length) as little as possible into [low, low + room).
// A span longer than the room keeps its end there when `keepEnd` is set, its
// start otherwise.
int pushedInto(int start, int length, int low, int room, bool keepEnd)
{
    if (length > room)
        return keepEnd ? low + room - length : low;
    return qBound(low, start, low + room - length);
}

}  // namespace

QRect TitleBar::in(const QRect &window) const
{
    return QRect(window.left() + inset, window.top() + inset, window.width() - 2 * inset, height);
}

QRect keptInside(const QRect &wanted, const QRect &available, const QSize &minimum)
{
    if (available.isEmpty() || available.contains(wanted))
        return wanted;
    QRect fitted(QPoint(), wanted.size().boundedTo(available.size()).expandedTo(minimum));
    fitted.moveCenter(wanted.center());
    fitted.moveLeft(
        pushedInto(fitted.left(), fitted.width(), available.left(), available.width(), true));
    fitted.moveTop(
        pushedInto(fitted.top(), fitted.height(), available.top(), available.height(), false));
    return fitted;
}

QRect initialGeometry(const QRect &available, const QSize &size, const QSize &minimum)
{
    QRect centred(QPoint(), size);
    centred.moveCenter(available.center());
    return keptInside(centred, available, minimum);
}

QPoint reachablePosition(const QPoint &wanted, const QSize &size, const QList<QRect> &areas,
                         const TitleBar &title, int keptWidth)
{
    const QRect bar = title.in(QRect(wanted, size));
    std::optional<QPoint> nearest;
    for (const QRect &area : areas) {
        if (area.isEmpty())
            continue;
        // The bar may hang out on either side as long as `kept` pixels of it
        // stay in the area.
        const int kept = qMin(keptWidth, qMin(bar.width(), area.width()));
        const int left =
            qBound(area.left() + kept - bar.width(), bar.left(), area.right() + 1 - kept);
        const int top = pushedInto(bar.top(), bar.height(), area.top(), area.height(), false);
        const QPoint shift(left - bar.left(), top - bar.top());
        if (shift.isNull())
            return wanted;
        if (!nearest || shift.manhattanLength() < nearest->manhattanLength())
            nearest = shift;
    }
    return wanted + nearest.value_or(QPoint());
}

}  // namespace WindowPlacement
