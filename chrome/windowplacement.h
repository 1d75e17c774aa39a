#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where the frameless window may lie on the screens. Its title bar is the only
// handle that moves it and holds the close button, so every placement keeps
// that bar where the mouse can reach it.
namespace WindowPlacement {

// The title bar's place inside a window: `inset` pixels in from the window's
// left, top and right edges, `height` pixels tall.
struct TitleBar
{
    int inset = 0;
    int height = 0;

    QRect in(const QRect &window) const;
};

// `wanted` where it lies inside `available`; otherwise made to fit the area,
// though never below `minimum`, and pushed into it as little as it takes. If
// it still cannot fit, its top and its right end (where the title bar holds
// the close button) stay inside.
QRect keptInside(const QRect &wanted, const QRect &available, const QSize &minimum);

// The window's first geometry: `size` centred on the screen's `available`
// area, wherever that lies among the screens, and kept inside it.
QRect initialGeometry(const QRect &available, const QSize &size, const QSize &minimum);

// Where a window of `size` dragged to `wanted` may go: unchanged while its
// title bar lies, over its full height and at least `keptWidth` pixels of its
// width, inside one of the `areas`; otherwise the nearest position where it
// does. Without areas the window goes where it is wanted.
QPoint reachablePosition(const QPoint &wanted, const QSize &size, const QList<QRect> &areas,
                         const TitleBar &title, int keptWidth = 100);

}  // namespace WindowPlacement
