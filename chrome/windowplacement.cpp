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

QRect initialGeometry(const QSize &screen, const QRect &available, const QSize &size,
                      const QSize &minimum, const TitleBar &title)
{
    const QRect centred(screen.width() / 2 - size.width() / 2,
                        screen.height() / 2 - size.height() / 2, size.width(), size.height());
    if (available.isEmpty() || available.contains(title.in(centred)))
        return centred;

    QRect fitted(QPoint(), size.boundedTo(available.size()).expandedTo(minimum));
    fitted.moveCenter(centred.center());
    fitted.moveLeft(
        pushedInto(fitted.left(), fitted.width(), available.left(), available.width(), true));
    fitted.moveTop(
        pushedInto(fitted.top(), fitted.height(), available.top(), available.height(), false));
    return fitted;
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
