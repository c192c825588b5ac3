#pragma once

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <opencv2/core.hpp>

// What smart selection computes once per photograph: a reduced copy of about half a
// megapixel (each of its cells the mean of Scale × Scale photograph pixels), the
// copy cut into small regions that follow its edges (a marker watershed), and per
// region its colour, its surroundings' colour and its grain, with the regions'
// neighbourhoods. A stroke then only chooses regions and decides the boundary on
// the photograph itself.
struct SmartPreparation {
    int PhotoWidth = 0;
    int PhotoHeight = 0;
    int Scale = 1;       // photograph pixels per cell, in each direction
    int CellColumns = 0; // the reduced copy's size; the photograph's last partial
    int CellRows = 0;    // cells belong to the last whole ones
    cv::Mat Cells;       // the reduced copy, BGR
    cv::Mat RegionOf;    // CV_32S: the region of every cell

    struct Region {
        float Cells = 0;    // how many cells it holds
        float Lab[3] = {};  // mean CIELAB colour (L 0..100)
        float Near[3] = {}; // mean colour of its cells' surroundings (7 × 7 cells)
        float Grain = 0;    // mean local deviation of L (3 × 3 cells)
    };
    struct Border {
        int A = 0, B = 0;   // the two regions, A < B
        float Length = 0;   // cell sides they share
        float Contrast = 0; // mean colour difference across those sides
        float Step = 0;     // the difference of the two regions' colours
        float NearStep = 0; // and of their surroundings' colours
    };
    std::vector<Region> Regions;
    std::vector<Border> Borders;
    // The borders of region r are BorderIndex[BorderStart[r] .. BorderStart[r + 1]).
    std::vector<int> BorderStart;
    std::vector<int> BorderIndex;

    int RegionCount() const { return int(Regions.size()); }
    // The cell of photograph pixel (x, y), which lies in the photograph.
    int CellX(int x) const { return std::min(x / Scale, CellColumns - 1); }
    int CellY(int y) const { return std::min(y / Scale, CellRows - 1); }
};

// Prepares smart selection for a photograph (Format_BGR888). cancelled is asked
// now and then; when it answers true the work stops and null comes back. The
// photograph (a shared copy) is let go as soon as the reduced copy is made, so that
// its memory can serve the next photograph. A photograph without pixels gives null.
std::shared_ptr<const SmartPreparation>
PrepareSmartSelection(QImage photo, const std::function<bool()>& cancelled = {});

// The scale for a photograph: whole photograph pixels per cell for about half a
// megapixel of cells, never more than either side.
int SmartScaleFor(int width, int height);
