#include "chrome/windowdrag.h"

#include <QtGlobal>

namespace WindowDrag {

namespace {

QRect draggedEdges(QRect r, Qt::Edges moved, const QPoint &d)
{
    if (moved & Qt::LeftEdge)
        r.setLeft(r.left() + d.x());
    if (moved & Qt::RightEdge)
        r.setRight(r.right() + d.x());
    if (moved & Qt::TopEdge)
        r.setTop(r.top() + d.y());
    if (moved & Qt::BottomEdge)
        r.setBottom(r.bottom() + d.y());
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

Qt::Edges edges(int zone)
{
    const int row = zone / 10;
    const int column = zone % 10;
    if (row < 1 || row > 3 || column < 1 || column > 3)
        return {};
    Qt::Edges moved;
    if (row == 1)
        moved |= Qt::TopEdge;
    if (row == 3)
        moved |= Qt::BottomEdge;
    if (column == 1)
        moved |= Qt::LeftEdge;
    if (column == 3)
        moved |= Qt::RightEdge;
    return moved;
}

QRect resizedGeometry(const QRect &start, int zone, const QPoint &delta, const QSize &minimum,
                      const QSize &maximum)
{
    const Qt::Edges moved = edges(zone);
    if (!moved)
        return start;

    QRect r = draggedEdges(start, moved, delta);
    const int minWidth = qMax(1, minimum.width());
    const int minHeight = qMax(1, minimum.height());
    if (moved & (Qt::LeftEdge | Qt::RightEdge))
        clampWidth(r, minWidth, maximum.width(), moved.testFlag(Qt::LeftEdge));
    if (moved & (Qt::TopEdge | Qt::BottomEdge))
        clampHeight(r, minHeight, maximum.height(), moved.testFlag(Qt::TopEdge));
    return r;
}

}  // namespace WindowDrag
