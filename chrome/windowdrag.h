#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Mouse-driven moving and resizing of a frameless window. Zones are
// 10 x row + column of a 3 x 3 grid over the window, counted from 1 at the
// top-left; the middle of the top row is the title band that moves it.
namespace WindowDrag {

enum Zone {
    NoZone = 0,
    TopLeft = 11,
    Top = 12,
    TopRight = 13,
    Left = 21,
    TitleBand = 22,
    Right = 23,
    BottomLeft = 31,
    Bottom = 32,
    BottomRight = 33,
};

// The window edges that a drag in `zone` moves: none for the title band and
// for anything that is not a zone. The window system's resize and the one
// worked out here both take them from this.
Qt::Edges edges(int zone);

// The geometry after dragging the edge or corner `zone` by `delta`, starting
// from the geometry `start` that the window had at the press. The size stays
// within [minimum, maximum]; at a limit the edge being dragged stops and the
// opposite edge stays where it is, so the window never slides. Zones that do
// not resize give `start` back.
QRect resizedGeometry(const QRect &start, int zone, const QPoint &delta, const QSize &minimum,
                      const QSize &maximum);

}  // namespace WindowDrag
