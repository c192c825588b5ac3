#pragma once

#include "FacadePictures.h"

#include "editing/SmartPreparation.h"
#include "editing/SmartProposal.h"
#include "editing/SmartStroke.h"

#include <QPoint>
#include <optional>
#include <vector>

// Scripted use of smart selection on a generated facade, as a careful user would:
// a first stroke across the wall, then corrections where the proposal is most wrong.
namespace Facades {

// Intersection over union of the proposal with the wall.
double WallIoU(const Facade& facade, const SmartProposal& proposal);

// The brush's half width for a facade: a four-hundredth of its width, at least 2.
int BrushHalfWidth(const Facade& facade);

// Across the middle of the wall: along the row of the wall's middle three fifths
// whose longest stretch of wall (the brush's width of wall above and below) is the
// longest, twice as long counted when it crosses both light and shadow; the stroke
// covers that stretch but a tenth at either end.
SmartStroke FirstStroke(const Facade& facade);

// The correction at the largest connected area of wrongly proposed or wrongly
// missed pixels (none when it is smaller than a thousandth of the picture): through
// its innermost point, along the longer of its row and its column within it, but a
// fifth at either end; excluding when the area was wrongly proposed.
std::optional<SmartStroke> CorrectionStroke(const Facade& facade, const SmartProposal& proposal);

struct Outcome {
    double FirstIoU = 0;
    double FinalIoU = 0;
    std::vector<SmartStroke> Strokes;
    SmartProposal Final;
};
// The first stroke and up to corrections corrections.
Outcome SelectWall(const Facade& facade, const SmartPreparation& p, int corrections = 2);

// The best intersection over union a fill with tolerance from seed reaches on the
// photograph, over tolerances 5, 10, … 60.
double BestFillIoU(const Facade& facade, QPoint seed);

} // namespace Facades
