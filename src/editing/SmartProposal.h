#pragma once

#include "project/Mask.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <span>
#include <vector>

// The region smart selection proposes, at the photograph's full size: for every row
// the runs of proposed pixels, left to right, neither touching nor overlapping. A
// wall of a 50-megapixel photograph takes a few hundred kilobytes.
class SmartProposal {
public:
    struct Run {
        std::int32_t First = 0;
        std::int32_t Last = 0; // inclusive
        bool operator==(const Run&) const = default;
    };

    SmartProposal() = default;
    // An empty proposal for a photograph of this size.
    SmartProposal(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return runs_.empty(); }
    std::span<const Run> Row(int y) const;
    bool Contains(int x, int y) const;
    qint64 PixelCount() const;
    // The smallest rectangle holding every proposed pixel (empty when none is).
    QRect Bounds() const;

    // Rows are added from the top, each once; a run continuing the row's last one
    // joins it.
    void AddRun(int y, int first, int last);

    // The same size and the same pixels.
    bool operator==(const SmartProposal& other) const;

private:
    int width_ = 0;
    int height_ = 0;
    int openRow_ = 0;                     // the row runs are being added to
    std::vector<std::uint32_t> rowStart_; // row y's first run, for rows up to openRow_
    std::vector<Run> runs_;
};

// Writes the proposal into the mask with the layer, as a fill does: pixels of
// locked layers keep theirs, and nothing changes when the layer itself is locked or
// the sizes differ. Returns the rectangle of rows and columns written (empty when
// nothing was).
QRect WriteProposal(TMask& mask, const SmartProposal& proposal, std::uint8_t layer);

// The picture shown while a proposal waits: the view's rectangle viewRect (view is
// the whole view, Format_BGR888) with the proposal over it as the view shows it at a
// zoom, as a picture of viewRect's size (RGB32). So that the proposal stands out on
// any photograph, the rest of the picture is dimmed, the proposed pixels are tinted
// strongly in the hue of tint, lighter where the picture is dark and darker where it
// is light, and their edge is a line of black and white dashes. A view pixel shows the
// photograph pixel (trunc(x / zoom), trunc(y / zoom)).
QImage DrawProposal(const SmartProposal& proposal, const QImage& view, QRect viewRect, float zoom,
                    QColor tint);

// What DrawProposal makes of a view pixel: dimmed outside the proposal, tinted inside.
QRgb DimmedPixel(QRgb pixel);
QRgb TintedPixel(QRgb pixel, QColor tint);
