#include "project/BoxReduction.h"

#include <algorithm>

BoxReduction::BoxReduction(QSize source, QSize result)
    : source_(source), result_(result.boundedTo(source).expandedTo(QSize(1, 1))) {
    const int w = source_.width(), h = source_.height();
    const int rw = result_.width(), rh = result_.height();
    columnStart_.resize(size_t(rw) + 1);
    for (int i = 0; i <= rw; ++i)
        columnStart_[size_t(i)] = int(qint64(i) * w / rw);
    bandOfRow_.resize(size_t(h));
    for (int band = 0; band < rh; ++band) {
        const int first = int(qint64(band) * h / rh), end = int(qint64(band + 1) * h / rh);
        std::fill(bandOfRow_.begin() + first, bandOfRow_.begin() + end, band);
    }
    columnSums_.assign(size_t(w) * 3, 0);
    rowsOfBand_.assign(size_t(rh), 0);
    picture_ = QImage(result_, QImage::Format_BGR888);
    picture_.fill(Qt::black);
}

std::vector<std::uint64_t>& BoxReduction::SumsOf(int band) {
    std::vector<std::uint64_t>& sums = partial_[band];
    if (sums.empty())
        sums.assign(size_t(result_.width()) * 3, 0);
    return sums;
}

void BoxReduction::WriteBand(int band, const std::vector<std::uint64_t>& sums) {
    if (picture_.isNull())
        return;
    std::uint8_t* out = picture_.scanLine(band);
    for (int column = 0; column < result_.width(); ++column) {
        const std::uint64_t count =
            std::uint64_t(columnStart_[size_t(column) + 1] - columnStart_[size_t(column)]) *
            rowsOfBand_[size_t(band)];
        for (int c = 0; c < 3; ++c) {
            const size_t i = size_t(column) * 3 + size_t(c);
            out[i] = count == 0 ? 0 : std::uint8_t((sums[i] + count / 2) / count);
        }
    }
}

void BoxReduction::AddRow(int y, const std::uint8_t* bgr) {
    if (y < 0 || y >= source_.height())
        return;
    const int band = bandOfRow_[size_t(y)];
    if (band != currentBand_) {
        FlushBand();
        currentBand_ = band;
    }
    // Down the band first, byte by byte: a plain loop the compiler vectorises.
    std::uint32_t* sums = columnSums_.data();
    const size_t bytes = columnSums_.size();
    for (size_t i = 0; i < bytes; ++i)
        sums[i] += bgr[i];
    ++rowsInCurrentBand_;
}

void BoxReduction::FlushBand() {
    if (currentBand_ < 0 || rowsInCurrentBand_ == 0)
        return;
    // Then across: each result column takes its run of source columns.
    std::vector<std::uint64_t>& sums = SumsOf(currentBand_);
    std::uint64_t* out = sums.data();
    const std::uint32_t* in = columnSums_.data();
    for (int column = 0; column < result_.width(); ++column, out += 3) {
        std::uint64_t b = 0, g = 0, r = 0;
        for (int x = columnStart_[size_t(column)]; x < columnStart_[size_t(column) + 1]; ++x) {
            b += in[3 * size_t(x)];
            g += in[3 * size_t(x) + 1];
            r += in[3 * size_t(x) + 2];
        }
        out[0] += b;
        out[1] += g;
        out[2] += r;
    }
    const int band = currentBand_;
    rowsOfBand_[size_t(band)] += std::uint32_t(rowsInCurrentBand_);
    std::fill(columnSums_.begin(), columnSums_.end(), 0u);
    rowsInCurrentBand_ = 0;
    currentBand_ = -1;
    // A band whose rows all came is final: into the picture, and its sums go.
    const qint64 h = source_.height(), rh = result_.height();
    const qint64 rowsInBand = (band + 1) * h / rh - band * h / rh;
    if (rowsOfBand_[size_t(band)] == rowsInBand) {
        WriteBand(band, sums);
        partial_.erase(band);
    }
}

QImage BoxReduction::Result() {
    FlushBand();
    for (const auto& [band, sums] : partial_)
        WriteBand(band, sums);
    return picture_;
}

QImage BoxReduction::Reduce(const QImage& picture, QSize size) {
    Q_ASSERT(picture.format() == QImage::Format_BGR888);
    BoxReduction reduction(picture.size(), size);
    for (int y = 0; y < picture.height(); ++y)
        reduction.AddRow(y, picture.constScanLine(y));
    return reduction.Result();
}
