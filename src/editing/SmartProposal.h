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

// The proposal as the view shows it at a zoom, for the view rectangle viewRect: a
// picture of viewRect's size (ARGB32 premultiplied, transparent elsewhere) with the
// proposed pixels in fill and their edge as a line of black and white dashes, which
// shows on any photograph. A view pixel shows the photograph pixel
// (trunc(x / zoom), trunc(y / zoom)).
QImage DrawProposal(const SmartProposal& proposal, QRect viewRect, float zoom, QColor fill);
