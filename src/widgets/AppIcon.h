#pragma once

#include <QByteArray>
#include <QImage>

// The program's icon, for the desktop and the window: a house half painted in a new
// colour, a roller beside it, on a rounded square of sky and grass. One set of shapes
// on a 64 × 64 grid gives both the scalable SVG of the icon theme and its PNG sizes.
namespace AppIcon {

// The icon drawn at size × size pixels, transparent around the rounded square.
QImage Picture(int size);
// The same shapes as an SVG document.
QByteArray Svg();

} // namespace AppIcon
