#pragma once

#include <QByteArray>
#include <QImage>

// A valid progressive greyscale JPEG of 1 + 63 × (refinements + 1) scans: a DC
// scan, then every AC coefficient alone, first at the given bit position and then
// refined bit by bit. Written with libjpeg's own scan scripts.
QByteArray ProgressiveJpegWithScans(const QImage& picture, int refinements);
