#pragma once

#include "project/Progress.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// A photograph's colours taken from its embedded ICC profile into sRGB, the colours
// the program works in, with LittleCMS and its perceptual intent. No profile means
// sRGB already. A profile that cannot be read or does not fit the picture (a CMYK
// profile, say) is left out: the colours stay as stored, and the returned note (for
// the hint bar) says so; empty when all went well. picture is Format_BGR888 and is
// changed in place, whole rows at a time on every processor.
QString ConvertToSrgb(QImage& picture, const QByteArray& profile, bool profileDamaged = false,
                      Progress& progress = NoProgress());
