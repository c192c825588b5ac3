#pragma once

#include <QImage>
#include <cstdint>

// Generated photographs of house facades that know their true surfaces, for
// measuring smart selection: plaster of fine grain, brick with mortar joints or
// wooden boards, with a light gradient and usually a hard cast shadow across; windows
// with frames, glass reflections and sills; a roof (a gable or a flat eave), sky,
// often a drainpipe, a door, a plinth, grass, sometimes a neighbouring house, a
// hedge or a tree in front of part of the wall. Sizes are relative to the picture,
// so one seed gives the same facade at every size.
namespace Facades {

enum Surface : std::uint8_t {
    Sky = 1,
    Roof,
    Wall,
    Frame,
    Glass,
    Pipe,
    Plinth,
    Ground,
    Plant,
    Door,
    Neighbour,
    Sill
};

enum class WallKind { Plaster, Brick, Boards };

struct Facade {
    QImage Photo;    // Format_BGR888, as read back from a JPEG of quality 75
    QImage Surfaces; // Format_Grayscale8: the Surface of every pixel
    QImage Shadow;   // Format_Grayscale8: 255 where the cast shadow falls
    WallKind Kind = WallKind::Plaster;
};

// The facade of a seed at a size (each at least 64 pixels), as drawn.
Facade DrawFacade(std::uint32_t seed, int width, int height);
// The same saved as a JPEG of quality 75 and read back, so that the photograph has
// the compression's artefacts.
Facade MakeFacade(std::uint32_t seed, int width, int height);

} // namespace Facades
