#pragma once

#include <QSize>
#include <cmath>

// Nearest integer, halves to the even neighbour (the default rounding mode).
inline int NearestInt(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// Truncation towards zero, as the view arithmetic takes it.
inline int TruncInt(double value) {
    return static_cast<int>(value);
}

// The view bitmap's size for a photograph at a zoom factor.
inline QSize ViewSizeFor(QSize photo, float zoom) {
    return QSize(NearestInt(photo.width() * double(zoom)),
                 NearestInt(photo.height() * double(zoom)));
}
