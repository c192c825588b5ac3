#include "project/JpegWriter.h"

#include "project/AtomicFile.h"
#include "project/Errors.h"

// jpeglib.h needs the definitions of <cstdio> before it.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <exception>
#include <jpeglib.h>
#include <vector>

// The codec is a C library that reports errors by calling back and never returning:
// every call into it runs under a setjmp of its own, the callbacks longjmp back to it
// with no C++ object of theirs alive, and only then is the failure thrown.
struct JpegWriter::Codec {
    static constexpr size_t BufferSize = 1 << 16;
    static constexpr int RowsAtOnce = 64;

    jpeg_compress_struct compress{};
    jpeg_error_mgr errors{};
    jpeg_destination_mgr destination{};
    std::jmp_buf jump{};
    AtomicFile& file;
    std::vector<JOCTET> buffer = std::vector<JOCTET>(BufferSize);
    std::exception_ptr writeFailure;
    char codecText[JMSG_LENGTH_MAX] = {};
    bool created = false;

    explicit Codec(AtomicFile& target) : file(target) {}
    ~Codec() {
        if (created)
            jpeg_destroy_compress(&compress);
    }
    Codec(const Codec&) = delete;
    Codec& operator=(const Codec&) = delete;

    static Codec& Of(j_common_ptr info) { return *static_cast<Codec*>(info->client_data); }

    static void ErrorExit(j_common_ptr info) {
        Codec& codec = Of(info);
        info->err->format_message(info, codec.codecText);
        std::longjmp(codec.jump, 1);
    }
    // Warnings of the encoder say nothing the user could act on.
    static void OutputMessage(j_common_ptr) {}

    static void InitDestination(j_compress_ptr info) {
        Codec& codec = Of(reinterpret_cast<j_common_ptr>(info));
        info->dest->next_output_byte = codec.buffer.data();
        info->dest->free_in_buffer = codec.buffer.size();
    }
    static boolean EmptyOutputBuffer(j_compress_ptr info) {
        Codec& codec = Of(reinterpret_cast<j_common_ptr>(info));
        if (!codec.Flush(codec.buffer.size()))
            std::longjmp(codec.jump, 1);
        InitDestination(info);
        return TRUE;
    }
    static void TermDestination(j_compress_ptr info) {
        Codec& codec = Of(reinterpret_cast<j_common_ptr>(info));
        if (!codec.Flush(codec.buffer.size() - info->dest->free_in_buffer))
            std::longjmp(codec.jump, 1);
    }

    // Writes the first bytes of the buffer; a failure is kept to be thrown later.
    bool Flush(size_t bytes) {
        try {
            file.Write(reinterpret_cast<const char*>(buffer.data()), qint64(bytes));
            return true;
        } catch (...) {
            writeFailure = std::current_exception();
            return false;
        }
    }

    // Hands the rows to the codec (under the caller's setjmp).
    void WriteScanlines(const QImage& band, int rows) {
        JSAMPROW pointers[RowsAtOnce];
        for (int done = 0; done < rows;) {
            const int count = std::min(rows - done, RowsAtOnce);
            for (int i = 0; i < count; ++i)
                pointers[i] = const_cast<JSAMPROW>(band.constScanLine(done + i));
            for (int written = 0; written < count;)
                written += int(jpeg_write_scanlines(&compress, pointers + written,
                                                    JDIMENSION(count - written)));
            done += count;
        }
    }

    // After a longjmp back from the codec: the picture is given up and the reason thrown.
    [[noreturn]] void Fail() {
        jpeg_abort_compress(&compress);
        if (writeFailure)
            std::rethrow_exception(writeFailure);
        throw IoError(QStringLiteral("Obrázek nelze zakódovat do JPEG.\n%1")
                          .arg(QString::fromLocal8Bit(codecText)));
    }
};

JpegWriter::JpegWriter(AtomicFile& file, int width, int height)
    : codec_(std::make_unique<Codec>(file)) {
    Codec& c = *codec_;
    c.compress.err = jpeg_std_error(&c.errors);
    c.errors.error_exit = &Codec::ErrorExit;
    c.errors.output_message = &Codec::OutputMessage;
    c.compress.client_data = &c;
    if (setjmp(c.jump) != 0) {
        if (!c.created)
            throw IoError(QStringLiteral("Kodek JPEG nelze spustit.\n%1")
                              .arg(QString::fromLocal8Bit(c.codecText)));
        c.Fail();
    }
    jpeg_create_compress(&c.compress);
    c.created = true;
    c.destination.init_destination = &Codec::InitDestination;
    c.destination.empty_output_buffer = &Codec::EmptyOutputBuffer;
    c.destination.term_destination = &Codec::TermDestination;
    c.compress.dest = &c.destination;

    c.compress.image_width = JDIMENSION(width);
    c.compress.image_height = JDIMENSION(height);
    c.compress.input_components = 3;
    c.compress.in_color_space = JCS_EXT_BGR;
    // What TurboJPEG's encoder sets for quality 75 and 4:2:0, in its order.
    jpeg_set_defaults(&c.compress);
    jpeg_set_quality(&c.compress, 75, TRUE);
    c.compress.dct_method = JDCT_FASTEST;
    jpeg_set_colorspace(&c.compress, JCS_YCbCr);
    c.compress.comp_info[0].h_samp_factor = 2;
    c.compress.comp_info[0].v_samp_factor = 2;
    for (int i = 1; i < 3; ++i) {
        c.compress.comp_info[i].h_samp_factor = 1;
        c.compress.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&c.compress, TRUE);
}

JpegWriter::~JpegWriter() = default;

void JpegWriter::WriteRows(const QImage& band, int rows) {
    Q_ASSERT(band.format() == QImage::Format_BGR888);
    Codec& c = *codec_;
    if (setjmp(c.jump) != 0)
        c.Fail();
    c.WriteScanlines(band, rows);
}

void JpegWriter::Finish() {
    Codec& c = *codec_;
    if (setjmp(c.jump) != 0)
        c.Fail();
    jpeg_finish_compress(&c.compress);
}
