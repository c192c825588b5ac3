#pragma once

#include "render/RenderRegion.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>

class QPainter;

// The main window's comparison of the original photograph with the recoloured
// picture: left of a vertical divider the photograph at the view's zoom, right of it
// the view as it is. It reads the document and the view and changes neither; the
// divider is a view column (the first one that shows the view).
class BeforeAfter {
public:
    // View columns either side of the divider that its line covers, and the grip
    // that the pointer takes hold of.
    static constexpr int LineHalfWidth = 2;
    static constexpr int GripHalfWidth = 9;
    static constexpr int GripHalfHeight = 22;

    int Divider() const { return divider_; }

    // Puts the divider at view column x, kept within the view. Returns the view area
    // to draw again: the columns between the old and the new place with the line's
    // width, the view's whole height, and the grip (centred on view row gripY) at
    // both places; empty when the divider stayed.
    QRegion MoveDivider(int x, QSize viewSize, int gripY);

    // The view area that the divider's line and grip cover at column x.
    static QRegion DividerArea(int x, QSize viewSize, int gripY);

    // Draws the view area `area` (a region: a drag step's or a paint event's) with the
    // painter's coordinates those of the view:
    // the photograph left of the divider (sampled as the view samples it at
    // picture.ZoomFactor), view's pixels right of it, then the line, and the grip
    // centred on view row gripY. picture gives the photograph, its mask and the zoom;
    // its layers are not used.
    void Paint(QPainter& painter, const QRegion& area, const RenderInput& picture,
               const QImage& view, int gripY) const;

    // The photograph's pixels of a view area at the zoom, as the view's copy of the
    // photograph holds them before any layer is drawn (Format_BGR888; pixels that
    // the view does not cover are black).
    static QImage PhotographAt(const RenderInput& picture, const QRect& area);

private:
    void PaintPixels(QPainter& painter, const QRect& area, const RenderInput& picture,
                     const QImage& view) const;
    void PaintDivider(QPainter& painter, const QRegion& area, QSize viewSize, int gripY) const;

    int divider_ = 0;
};
