#pragma once

#include <QByteArray>
#include <QImage>

namespace PhotoFiles {

// An 8-bit CMYK TIFF in strips (as print shops and image editors save them) read with
// libtiff and taken to sRGB through profile, a CMYK profile (CmykThroughProfile).
// False, with nothing decoded, for a TIFF of any other layout, a profile LittleCMS
// cannot use or data libtiff cannot read: Qt's reader then takes the file as before.
// The picture is Format_BGR888 in spare's memory when it can (RecycledPicture).
bool CmykTiffThroughProfile(const QByteArray& file, const QByteArray& profile, QImage* spare,
                            QImage& picture);

} // namespace PhotoFiles
