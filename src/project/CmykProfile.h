#pragma once

#include <QByteArray>
#include <QImage>

// CMYK photographs taken to sRGB through the CMYK profile they carry, with LittleCMS
// and its perceptual intent: the inks of a print shop's separation come out as the
// colours the profile describes, not as a plain inversion.
namespace PhotoFiles {

// Whether profile is an ICC profile of CMYK that LittleCMS can use.
bool IsCmykProfile(const QByteArray& profile);

// Writes the width × height pixels of cmyk (four bytes a pixel, rows one after
// another; inverted as Adobe's JPEG stores them when inverted) into picture
// (Format_BGR888 of that size) through profile. False, with picture untouched, when
// LittleCMS cannot convert through it.
bool CmykThroughProfile(const uchar* cmyk, bool inverted, const QByteArray& profile,
                        QImage& picture);

} // namespace PhotoFiles
