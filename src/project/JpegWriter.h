#pragma once

#include <QImage>

#include <memory>

class AtomicFile;

// Encodes a picture that arrives a band of rows at a time into a JPEG file, with the
// codec's defaults (quality 75, colour at half resolution, 4:2:0): the same bytes as
// PhotoFiles::EncodeJpeg of the whole picture, without the whole picture ever lying
// in memory, decoded or encoded. Failures throw IoError: the codec's own text under
// a Czech line, or the file's write error as AtomicFile reports it.
class JpegWriter {
public:
    // Begins a picture of width × height pixels written into file, which the caller
    // commits after Finish.
    JpegWriter(AtomicFile& file, int width, int height);
    ~JpegWriter();
    JpegWriter(const JpegWriter&) = delete;
    JpegWriter& operator=(const JpegWriter&) = delete;

    // Appends the first rows of band (Format_BGR888, the picture's width), the next
    // rows of the picture from the top.
    void WriteRows(const QImage& band, int rows);
    // Ends the picture after its last row.
    void Finish();

private:
    struct Codec;
    std::unique_ptr<Codec> codec_;
};
