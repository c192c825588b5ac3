#include "render/BoxScale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

QImage BoxScaleDown(const QImage& picture, int factor) {
    if (factor <= 1 || picture.isNull())
        return picture.copy();
    const int width = picture.width();
    const int height = picture.height();
    const int outWidth = (width + factor - 1) / factor;
    const int outHeight = (height + factor - 1) / factor;
    QImage result(outWidth, outHeight, QImage::Format_BGR888);
    std::vector<std::uint32_t> sums(size_t(outWidth) * 3);
    for (int oy = 0; oy < outHeight; ++oy) {
        std::fill(sums.begin(), sums.end(), 0u);
        const int y0 = oy * factor;
        const int rows = std::min(factor, height - y0);
        for (int y = y0; y < y0 + rows; ++y) {
            const std::uint8_t* in = picture.constScanLine(y);
            std::uint32_t* sum = sums.data();
            int x = 0;
            // Whole blocks first, then the narrower one at the right edge.
            for (; x + factor <= width; x += factor, sum += 3) {
                std::uint32_t b = 0, g = 0, r = 0;
                for (int i = 0; i < factor; ++i, in += 3) {
                    b += in[0];
                    g += in[1];
                    r += in[2];
                }
                sum[0] += b;
                sum[1] += g;
                sum[2] += r;
            }
            for (; x < width; ++x, in += 3) {
                sum[0] += in[0];
                sum[1] += in[1];
                sum[2] += in[2];
            }
        }
        std::uint8_t* out = result.scanLine(oy);
        for (int ox = 0; ox < outWidth; ++ox) {
            const std::uint32_t columns = std::uint32_t(std::min(factor, width - ox * factor));
            const std::uint32_t count = columns * std::uint32_t(rows);
            for (int c = 0; c < 3; ++c)
                out[ox * 3 + c] = std::uint8_t((sums[size_t(ox) * 3 + c] + count / 2) / count);
        }
    }
    return result;
}
