#pragma once

#include <QLatin1String>
#include <QString>

// The colours that more than one part of the window paints with, and the
// style sheet fragments built from them. Style sheets compose their text
// from these so that one colour is changed in one place.
namespace Palette {

// The window's dark grey: the title-bar frame, the search page, the device
// table and the address field.
inline constexpr QLatin1String windowGrey("rgb(50, 50, 50)");
// Behind the console and loading pages and the search page's panels.
inline constexpr QLatin1String panelGrey("rgb(90, 90, 90)");

// The demo panel's mixer look: control faces, their edges and the level
// colour that fills faders, sends and meters.
inline constexpr QLatin1String demoFace("rgb(41, 44, 49)");
inline constexpr QLatin1String demoEdge("rgb(116, 116, 116)");
inline constexpr QLatin1String demoLevel("rgb(69, 255, 247)");

// The style of a demo push button or combo box: `selector` styled with the
// panel's face and edge.
inline QString demoControl(QLatin1String selector)
{
    return QStringLiteral(
               "%1{color:white;background-color:%2;"
               "border:1px solid %3;border-radius:4px;padding:2px 6px;}")
        .arg(selector, demoFace, demoEdge);
}

}  // namespace Palette
