#pragma once

#include "project/Colour.h"

class Workspace;

// A colour picked freely in the palette's colour dialog goes into a layer: its shade
// colour, with the shade, fan-deck and paint-kind references 0 (a colour that is no
// catalogue shade) and its quantity kept. The document counts as changed, since the
// mask file stores the colour, and the whole picture is rebuilt. Row 0 ("Originál")
// and rows outside the layers change nothing. Returns whether a layer took it.
bool ApplyFreeColour(Workspace& workspace, int row, Colour colour);
