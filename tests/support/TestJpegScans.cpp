#include "support/TestJpegScans.h"

#include <cstdio>
#include <jpeglib.h>
#include <vector>

QByteArray ProgressiveJpegWithScans(const QImage& picture, int refinements) {
    jpeg_compress_struct compress{};
    jpeg_error_mgr errors{};
    compress.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compress);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compress, &buffer, &size);
    compress.image_width = JDIMENSION(picture.width());
    compress.image_height = JDIMENSION(picture.height());
    compress.input_components = 1;
    compress.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, 90, TRUE);

    std::vector<jpeg_scan_info> scans;
    scans.push_back({1, {0}, 0, 0, 0, 0});
    for (int k = 1; k < 64; ++k) {
        scans.push_back({1, {0}, k, k, 0, refinements});
        for (int bit = refinements; bit > 0; --bit)
            scans.push_back({1, {0}, k, k, bit, bit - 1});
    }
    compress.scan_info = scans.data();
    compress.num_scans = int(scans.size());

    jpeg_start_compress(&compress, TRUE);
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    while (compress.next_scanline < compress.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(grey.constScanLine(int(compress.next_scanline)));
        jpeg_write_scanlines(&compress, &row, 1);
    }
    jpeg_finish_compress(&compress);
    jpeg_destroy_compress(&compress);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}
