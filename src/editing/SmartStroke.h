#pragma once

#include <QPoint>
#include <vector>

// A stroke of the smart selection tool in photograph pixels: the pointer's path and
// the brush's half width (the tool's width setting); Include marks what belongs to
// the layer (left button), otherwise what does not (right button). Points may lie
// outside the photograph.
struct SmartStroke {
    std::vector<QPoint> Points;
    int HalfWidth = 1;
    bool Include = true;

    bool operator==(const SmartStroke&) const = default;
};
