#pragma once

#include <QImage>

// Makes a picture factor times smaller in each direction: every pixel of the result
// is the rounded mean of a factor × factor block of the source (the blocks along
// the right and bottom edges may be smaller). Cheap for large reductions, where
// averaging also keeps fine texture from turning into noise. The source is
// Format_BGR888; so is the result. A factor of 1 or less gives a copy.
QImage BoxScaleDown(const QImage& picture, int factor);
