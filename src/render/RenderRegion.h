#pragma once

#include "project/Document.h"
#include "project/Progress.h"

#include <QImage>

#include <functional>

// What the picture is made of at one moment.
struct RenderInput {
    const QImage& Photo; // Format_BGR888
    const TMask& Mask;
    const LayerList& Layers;
    float ZoomFactor = 1.0f;
    bool MaskEditMode = false;
};

// Rebuilds the view pixels of photograph pixels x1..x2, y1..y2 (inclusive, clamped
// into the picture): the photograph at the zoom, then every layer's runs in its mask
// colour (mask mode, when shown) or recoloured with its shade. view is Format_BGR888
// at the zoomed size. Never reads or writes outside the photograph, the mask rows or
// the view, whatever the rows hold or however the sizes differ.
void RenderRegion(const RenderInput& input, QImage& view, int x1, int y1, int x2, int y2);

// Draws the part of the view that begins at view pixel origin and has part's size
// (Format_BGR888), as RenderRegion draws those pixels of a whole view of the
// photograph at the zoom: the pixels of a window onto a view too large to hold, such
// as a pane's visible area. Pixels of the part outside the view are left as they were.
void RenderViewArea(const RenderInput& input, QImage& part, QPoint origin);

// The recoloured picture at zoom 1 (mask colours in mask mode), without a view.
// Throws IoError when there is not memory for it.
QImage RenderFullSize(const Document& doc, bool maskEditMode);

// How many rows a band of RenderFullSizeInBands holds (the last may hold fewer): one
// row of 16 × 16 blocks of a JPEG with halved colour resolution.
inline constexpr int RenderBandRows = 16;

// Receives one band of the full-size picture: firstRow is the picture row of the
// band's top row, rows how many of its rows belong to the picture.
using BandSink = std::function<void(int firstRow, const QImage& band, int rows)>;

// The same picture as RenderFullSize, handed to sink a band of rows at a time from
// the top, so that a picture written to a file or reduced never lies in memory whole:
// only two bands (the photograph's width, RenderBandRows rows) are ever held. sink runs
// on the calling thread while another thread draws the next band; what sink throws
// ends the drawing and comes out of this call. Each band taken is reported to
// progress; a request to stop ends the drawing with Cancelled. Throws IoError when
// there is not memory for the bands.
void RenderFullSizeInBands(const Document& doc, bool maskEditMode, const BandSink& sink,
                           Progress& progress = NoProgress());
// The same of a photograph, mask and layers given apart (a scheme's layers on the
// document's photograph); the input's zoom is not used.
void RenderFullSizeInBands(const RenderInput& picture, const BandSink& sink,
                           Progress& progress = NoProgress());
