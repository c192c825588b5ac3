#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <vector>

// Shrinks a picture that arrives one row at a time: every result pixel is the
// rounded mean of its block of the source. The blocks split the source as evenly
// as whole pixels allow (block i of n covers i * size / n up to (i + 1) * size / n).
// Only a row and the block sums are ever held, never the whole source, so a large
// photograph can be reduced while its file is read. Rows may come in any order;
// each must come once.
class BoxReduction {
public:
    // result is at least 1 × 1 and no larger than source in either direction.
    BoxReduction(QSize source, QSize result);

    // Adds source row y (0 at the top): width × 3 bytes, blue, green, red.
    void AddRow(int y, const std::uint8_t* bgr);

    // The reduced picture (Format_BGR888); a block none of whose rows came is black.
    QImage Result();

    // The whole of an in-memory Format_BGR888 picture reduced to size.
    static QImage Reduce(const QImage& picture, QSize size);

private:
    void FlushBand();

    QSize source_, result_;
    std::vector<int> columnStart_; // result column i covers [columnStart_[i], columnStart_[i+1])
    std::vector<int> bandOfRow_;   // source row -> result row
    std::vector<std::uint32_t> columnSums_; // the current band, per source byte
    int currentBand_ = -1;
    int rowsInCurrentBand_ = 0;
    std::vector<std::uint64_t> sums_; // per result pixel and channel
    std::vector<std::uint32_t> rowsOfBand_;
};
