#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <map>
#include <vector>

// Shrinks a picture that arrives one row at a time: every result pixel is the
// rounded mean of its block of the source. The blocks split the source as evenly
// as whole pixels allow (block i of n covers i * size / n up to (i + 1) * size / n).
// Only a row's worth of sums and the result are ever held, never the whole source,
// so a large photograph can be reduced while its file is read or its picture made.
// Rows may come in any order; each must come once. A band of result rows is
// written into the result as soon as all its source rows came: rows in order (or
// in reverse order) keep the sums of one band only.
class BoxReduction {
public:
    // result is at least 1 × 1 and no larger than source in either direction.
    BoxReduction(QSize source, QSize result);

    // Adds source row y (0 at the top): width × 3 bytes, blue, green, red.
    void AddRow(int y, const std::uint8_t* bgr);

    // The reduced picture (Format_BGR888, null when there was no memory for it); a
    // block none of whose rows came is black, one with some of its rows missing
    // is the mean of those that came.
    QImage Result();

    // The whole of an in-memory Format_BGR888 picture reduced to size.
    static QImage Reduce(const QImage& picture, QSize size);

private:
    void FlushBand();
    // Band's sums, made on first use: width × 3 per result row.
    std::vector<std::uint64_t>& SumsOf(int band);
    void WriteBand(int band, const std::vector<std::uint64_t>& sums);

    QSize source_, result_;
    QImage picture_;
    std::vector<int> columnStart_; // result column i covers [columnStart_[i], columnStart_[i+1])
    std::vector<int> bandOfRow_;   // source row -> result row
    std::vector<std::uint32_t> columnSums_; // the current band, per source byte
    int currentBand_ = -1;
    int rowsInCurrentBand_ = 0;
    std::map<int, std::vector<std::uint64_t>> partial_; // bands with rows still to come
    std::vector<std::uint32_t> rowsOfBand_;
};
