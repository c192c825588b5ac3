#pragma once

#include "project/Mask.h"

#include <QByteArray>
#include <QString>

// The mask file: header, run-coded rows, layer blocks, scheme blocks; little-endian,
// no padding. These work on bytes so that the reader can be tested and fuzzed
// without files; TMask::LoadFromFile and TMask::SaveToFile wrap them.
namespace MaskFile {

inline constexpr int LayerBlockSize = 132;
inline constexpr int MaxLayerCount = 255;
// The most a mask file can sensibly hold: the rows of a 65535 × 65535 mask at the
// most runs a row can have, the layers, and 65535 schemes of 255 layers each.
inline constexpr qint64 MaxFileBytes = 4 + qint64(65535) * (2 + qint64(65535) * 5) + 4 +
                                       MaxLayerCount * LayerBlockSize + 4 +
                                       qint64(65535) * (36 + MaxLayerCount * LayerBlockSize);

struct Contents {
    TMask Mask;
    LayerList Layers;
    SchemeList Schemes;
};

// Throws IoError for a file that ends early or holds a negative count, and
// BadFileError ("Soubor je špatný: " and the file's name and fault) for more than 255
// layers or a run whose layer does not exist. fileName only names the file in messages.
Contents Parse(const QByteArray& bytes, const QString& fileName);

QByteArray Serialize(const TMask& mask, const LayerList& layers, const SchemeList& schemes);

// Reads a regular file whole (never a FIFO or a device, never more than a mask
// file can hold); throws IoError.
// Reads and parses the mask file at path (a regular file, at most MaxFileBytes).
Contents Load(const QString& path);

} // namespace MaskFile
