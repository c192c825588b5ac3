#pragma once

#include "project/Errors.h"

#include <QList>
#include <QPointF>
#include <QSize>
#include <QString>

#include <array>

// Points on the photograph are in pixels: pixel (i, j) is the unit square centred on
// (i, j), so a photograph of W × H pixels spans -0.5 .. W - 0.5 and -0.5 .. H - 0.5.

// A projective map of the photograph onto a plane in metres, (x, y) → (X, Y):
// X = (m0 x + m1 y + m2) / w, Y = (m3 x + m4 y + m5) / w, w = m6 x + m7 y + m8,
// scaled so that w > 0 on the whole photograph (the plane's vanishing line, w = 0,
// lies outside it).
struct Homography {
    std::array<double, 9> m{1, 0, 0, 0, 1, 0, 0, 0, 1};

    double W(double x, double y) const { return m[6] * x + m[7] * y + m[8]; }
    QPointF Map(QPointF p) const;
};

// What the user marked on one plane of the photograph: four corners of a rectangle
// on it, in order round the rectangle, with its real width (corner 1 to 2) and height
// (corner 2 to 3); or, on a plane seen head-on, two ends of a line and its length.
struct PlaneReference {
    enum class Kind { Rectangle, Length };
    Kind kind = Kind::Rectangle;
    QList<QPointF> points; // four corners, or two ends
    double width = 0;      // metres: the rectangle's width, or the line's length
    double height = 0;     // metres: the rectangle's height; 0 for a line

    int PointCount() const { return kind == Kind::Rectangle ? 4 : 2; }
    bool operator==(const PlaneReference&) const = default;
};

// A reference that cannot give a plane; the message says why, in Czech.
class ReferenceError : public TintoraError {
public:
    using TintoraError::TintoraError;
};

// The most a length may be: no facade or room is a kilometre long.
inline constexpr double MaxMetres = 1000.0;
// The most one pixel of the photograph may span along a reference's side: a house
// photographed at more than this is a few pixels across, and its areas are noise.
inline constexpr double MaxMetresPerPixel = 5.0;

// A length as the user types it ("1,25", "1.25", "2 m"); ReferenceError when it is no
// number, not above zero or too large.
double ParseMetres(const QString& text);

// The plane of a reference on a photograph of the given size: a rectangle through
// OpenCV's perspective transform, a line as a uniform scale. ReferenceError when a
// mark lies outside the photograph, a length is not above zero or too large, a side
// spans more than MaxMetresPerPixel a pixel, three corners lie
// on a line (or two marks on one point), the sides cross or a corner lies inside the
// others, or the plane is seen so nearly edge-on that its vanishing line crosses or
// touches the photograph, where areas would become infinite or negative.
Homography PlaneOf(const PlaneReference& reference, QSize photo);

// The area in square metres of the photograph's rectangle x0..x1 × y0..y1 (x0 ≤ x1,
// y0 ≤ y1) on the plane: the integral of the map's Jacobian determinant
// |det H| / w³ over it, which for a projective map is exactly the area of the
// quadrilateral its four corners go to.
double AreaOf(const Homography& plane, double x0, double y0, double x1, double y1);
