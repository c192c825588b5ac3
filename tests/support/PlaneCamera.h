#pragma once

#include <QPointF>
#include <QPolygonF>
#include <QTransform>

#include <cmath>

// A photograph of a plane taken by a pinhole camera turned by yaw about the plane's
// vertical axis and pitched about its horizontal one: the map of plane points (metres,
// x to the right, y down, the origin at centre) to photograph pixels. Built with
// QTransform, apart from the program's own perspective code.
struct PlaneCamera {
    double yawDegrees = 0;
    double pitchDegrees = 0;
    double focal = 1000;  // pixels
    double distance = 10; // metres from the camera to the plane's centre
    QPointF principal{600, 400};

    QTransform PlaneToPhoto() const {
        const double pi = std::acos(-1.0);
        const double a = yawDegrees * pi / 180, b = pitchDegrees * pi / 180;
        // R = Ry(a) · Rx(b); only its first two columns act on points of the plane.
        const double r11 = std::cos(a), r12 = std::sin(a) * std::sin(b);
        const double r21 = 0, r22 = std::cos(b);
        const double r31 = -std::sin(a), r32 = std::cos(a) * std::sin(b);
        const double f = focal, cx = principal.x(), cy = principal.y();
        // K · [r1 r2 t] with t = (0, 0, distance); QTransform is written transposed.
        const double h[3][3] = {{f * r11 + cx * r31, f * r12 + cx * r32, cx * distance},
                                {f * r21 + cy * r31, f * r22 + cy * r32, cy * distance},
                                {r31, r32, distance}};
        return QTransform(h[0][0], h[1][0], h[2][0], h[0][1], h[1][1], h[2][1], h[0][2], h[1][2],
                          h[2][2]);
    }

    QTransform PhotoToPlane() const { return PlaneToPhoto().inverted(); }
};

// The area of a simple polygon (shoelace).
inline double PolygonArea(const QPolygonF& polygon) {
    double twice = 0;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF& a = polygon[i];
        const QPointF& b = polygon[(i + 1) % polygon.size()];
        twice += a.x() * b.y() - b.x() * a.y();
    }
    return std::abs(twice) / 2;
}
