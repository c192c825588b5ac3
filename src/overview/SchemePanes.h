#pragma once

#include "project/Document.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

// The comparison of colour schemes side by side: each pane shows the whole picture
// coloured by one scheme, all at one zoom and scrolled alike. A pane's pixels are
// drawn from the photograph at the pane's zoom, a visible area at a time; the
// document does not change.
namespace Panes {

inline constexpr int MinSchemes = 2;
inline constexpr int MaxSchemes = 4;
// The largest zoom, as in the main window.
inline constexpr float MaxZoom = 4.0f;

// The zoom at which the whole photograph fits a pane of that size (at most MaxZoom).
float FitZoom(QSize photo, QSize pane);

// The zooms a pane steps through: the fitted one, then the powers of two above it
// up to MaxZoom. Zooming out never goes below fit.
float ZoomedIn(float zoom, float fit);
float ZoomedOut(float zoom, float fit);

// The picture's size in pane pixels at the zoom.
QSize ContentSize(QSize photo, float zoom);

// The zoom the picture is drawn at before it is shown at zoom: zoom itself when it is
// a power of two, else the next power of two above it (never beyond MaxZoom), so that
// the view's sampling stays exact and the picture is only ever reduced for showing.
float DrawingZoom(float zoom);

// The pixels of the pane area `area` (pane coordinates of the picture at zoom): the
// photograph coloured by layers, drawn by RenderRegion at DrawingZoom(zoom) for that
// area alone and, between powers of two, reduced smoothly to the zoom. Pixels outside
// the picture are background.
QImage Picture(const Document& doc, const LayerList& layers, float zoom, const QRect& area,
               const QColor& background);

// The scroll position that keeps the picture point under anchor (pane coordinates,
// from the pane's top-left corner) in place when the zoom changes from `from` to `to`.
QPoint ScrollAfterZoom(QPoint scroll, QPoint anchor, float from, float to);

} // namespace Panes
