#include "chrome/windowdrag.h"

#include <QtGlobal>

namespace WindowDrag {

namespace {

QRect draggedEdges(QRect r, int zone, const QPoint &d)
{
    switch (zone) {
        case TopLeft:
            r.setTopLeft(r.topLeft() + d);
            break;
        case Top:
            r.setTop(r.top() + d.y());
            break;
        case TopRight:
            r.setTopRight(r.topRight() + d);
            break;
        case Left:
            r.setLeft(r.left() + d.x());
            break;
        case Right:
            r.setRight(r.right() + d.x());
            break;
        case BottomLeft:
            r.setBottomLeft(r.bottomLeft() + d);
            break;
        case Bottom:
            r.setBottom(r.bottom() + d.y());
            break;
        case BottomRight:
            r.setBottomRight(r.bottomRight() + d);
            break;
        default:
            break;
    }
    return r;
}

// Brings one dimension of r into [low, high]; `nearEdgeMoves` says whether
// the dragged edge is the left/top one, which then gives way instead of the
// right/bottom one.
void clampWidth(QRect &r, int low, int high, bool nearEdgeMoves)
{
    const int width = qBound(low, r.width(), qMax(low, high));
    if (width == r.width())
        return;
    if (nearEdgeMoves)
        r.setLeft(r.right() - width + 1);
    else
        r.setWidth(width);
}

void clampHeight(QRect &r, int low, int high, bool nearEdgeMoves)
{
    const int height = qBound(low, r.height(), qMax(low, high));
    if (height == r.height())
        return;
    if (nearEdgeMoves)
        r.setTop(r.bottom() - height + 1);
    else
        r.setHeight(height);
}

}  // namespace

QRect resizedGeometry(const QRect &start, int zone, const QPoint &delta, const QSize &minimum,
                      const QSize &maximum)
{
    const int row = zone / 10;
    const int column = zone % 10;
    if (zone == TitleBand || row < 1 || row > 3 || column < 1 || column > 3)
        return start;

    QRect r = draggedEdges(start, zone, delta);
    const int minWidth = qMax(1, minimum.width());
    const int minHeight = qMax(1, minimum.height());
    if (column != 2)
        clampWidth(r, minWidth, maximum.width(), column == 1);
    if (row != 2)
        clampHeight(r, minHeight, maximum.height(), row == 1);
    return r;
}

}  // namespace WindowDrag
