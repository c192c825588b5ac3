#include "project/CmykTiff.h"

#include "project/CmykProfile.h"
#include "project/PhotoFiles.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace PhotoFiles {
namespace {

// The file's bytes as libtiff's source: read in place, never written.
struct Source {
    const QByteArray& bytes;
    toff_t at = 0;
};

tsize_t ReadBytes(thandle_t handle, tdata_t buffer, tsize_t size) {
    auto* source = static_cast<Source*>(handle);
    const auto total = toff_t(source->bytes.size());
    const toff_t from = std::min(source->at, total);
    const toff_t count = std::min(total - from, toff_t(std::max<tsize_t>(size, 0)));
    std::memcpy(buffer, source->bytes.constData() + from, size_t(count));
    source->at = from + count;
    return tsize_t(count);
}
tsize_t WriteNothing(thandle_t, tdata_t, tsize_t) {
    return -1;
}
toff_t SeekTo(thandle_t handle, toff_t offset, int whence) {
    auto* source = static_cast<Source*>(handle);
    const auto total = toff_t(source->bytes.size());
    const toff_t base = whence == SEEK_CUR ? source->at : whence == SEEK_END ? total : 0;
    source->at = base + offset;
    return source->at;
}
int CloseNothing(thandle_t) {
    return 0;
}
toff_t SizeOf(thandle_t handle) {
    return toff_t(static_cast<Source*>(handle)->bytes.size());
}
int MapNothing(thandle_t, tdata_t*, toff_t*) {
    return 0;
}
void UnmapNothing(thandle_t, tdata_t, toff_t) {}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

} // namespace

bool CmykTiffThroughProfile(const QByteArray& file, const QByteArray& profile, QImage* spare,
                            QImage& picture) {
    if (!IsCmykProfile(profile))
        return false;
    Source source{file};
    const std::unique_ptr<TIFF, TiffCloser> tiff(TIFFClientOpen("tiff", "rm", &source, ReadBytes,
                                                                WriteNothing, SeekTo, CloseNothing,
                                                                SizeOf, MapNothing, UnmapNothing));
    if (!tiff)
        return false;
    uint32_t width = 0, height = 0;
    uint16_t photometric = 0, bits = 0, samples = 0, planar = PLANARCONFIG_CONTIG,
             inks = INKSET_CMYK;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_INKSET, &inks);
    if (photometric != PHOTOMETRIC_SEPARATED || bits != 8 || samples < 4 ||
        planar != PLANARCONFIG_CONTIG || inks != INKSET_CMYK || TIFFIsTiled(tiff.get()) ||
        width == 0 || height == 0 || width > 65535 || height > 65535 ||
        qint64(width) * height > MaxPixels)
        return false;
    const tmsize_t line = TIFFScanlineSize(tiff.get());
    if (line < tmsize_t(width) * samples)
        return false;
    std::vector<uchar> row(static_cast<size_t>(line));
    std::vector<uchar> cmyk(size_t(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y) {
        if (TIFFReadScanline(tiff.get(), row.data(), y, 0) < 0)
            return false;
        uchar* to = cmyk.data() + size_t(y) * width * 4;
        for (uint32_t x = 0; x < width; ++x)
            std::memcpy(to + size_t(x) * 4, row.data() + size_t(x) * samples, 4);
    }
    QImage decoded = RecycledPicture(QSize(int(width), int(height)), spare);
    if (decoded.isNull() || !CmykThroughProfile(cmyk.data(), false, profile, decoded))
        return false;
    picture = std::move(decoded);
    return true;
}

} // namespace PhotoFiles
