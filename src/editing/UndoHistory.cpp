#include "editing/UndoHistory.h"

#include <cstring>

namespace {

// Runs packed as unsigned LEB128 numbers: the run count, then per run its layer
// byte, its First as a distance from the previous run's Last + 1 and its Last as a
// distance from its First, both zigzag-coded so that any row, even a malformed one,
// comes back exactly. A run of a sound row takes three or four bytes.
std::uint8_t* PutNumber(std::uint8_t* out, std::uint64_t value) {
    while (value >= 0x80) {
        *out++ = std::uint8_t(value | 0x80);
        value >>= 7;
    }
    *out++ = std::uint8_t(value);
    return out;
}

std::uint8_t* PutSigned(std::uint8_t* out, std::int64_t value) {
    return PutNumber(out, (std::uint64_t(value) << 1) ^ std::uint64_t(value >> 63));
}

std::uint64_t TakeNumber(const std::uint8_t*& p) {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const std::uint8_t byte = *p++;
        value |= std::uint64_t(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return value;
    }
}

std::int64_t TakeSigned(const std::uint8_t*& p) {
    const std::uint64_t value = TakeNumber(p);
    return std::int64_t(value >> 1) ^ -std::int64_t(value & 1);
}

// The most bytes a row can take packed: its count, and per run the layer byte and
// two numbers of up to ten bytes.
size_t PackedBound(const MaskRow& row) {
    return 10 + row.size() * 21;
}

// Packs row at out (room for PackedBound) and returns the end of its bytes.
std::uint8_t* Pack(const MaskRow& row, std::uint8_t* out) {
    out = PutNumber(out, row.size());
    std::int64_t next = 0;
    for (const MaskRun& run : row) {
        *out++ = run.Layer;
        out = PutSigned(out, run.First - next);
        out = PutSigned(out, std::int64_t(run.Last) - run.First);
        next = std::int64_t(run.Last) + 1;
    }
    return out;
}

MaskRow Unpack(const std::uint8_t* p) {
    MaskRow row(size_t(TakeNumber(p)));
    std::int64_t next = 0;
    for (MaskRun& run : row) {
        run.Layer = *p++;
        run.First = std::int32_t(next + TakeSigned(p));
        run.Last = std::int32_t(run.First + TakeSigned(p));
        next = std::int64_t(run.Last) + 1;
    }
    return row;
}

} // namespace

const std::uint8_t* UndoHistory::RowBytes(RowPlace place, size_t& size) const {
    const Node& node = nodes_[size_t(place.node)];
    const std::uint32_t begin = node.offsets[size_t(place.slot)];
    size = node.offsets[size_t(place.slot) + 1] - begin;
    return node.packed.data() + begin;
}

std::vector<UndoHistory::RowPlace> UndoHistory::PlacesFor(int index) const {
    std::vector<RowPlace> places(size_t(nodes_[size_t(index)].rowCount));
    size_t missing = places.size();
    for (int n = index; n >= 0 && missing > 0; --n) {
        const Node& node = nodes_[size_t(n)];
        for (size_t slot = 0; slot < node.rows.size(); ++slot) {
            RowPlace& place = places[size_t(node.rows[slot])];
            if (place.node < 0) {
                place = {n, std::int32_t(slot)};
                --missing;
            }
        }
        if (node.holdsEveryRow)
            break;
    }
    return places;
}

void UndoHistory::PushUndo(const TMask& mask, Besides besides) {
    if (current_ >= 0 && current_ + 1 < int(nodes_.size())) {
        nodes_.erase(nodes_.begin() + current_ + 1, nodes_.end());
        newest_ = PlacesFor(current_);
    }
    Node node;
    node.besides = std::move(besides);
    node.width = mask.Width;
    node.height = mask.Height;
    node.rowCount = std::int32_t(mask.Rows.size());
    node.locked = mask.Locked;
    node.holdsEveryRow = nodes_.empty() || nodes_.back().width != mask.Width ||
                         nodes_.back().height != mask.Height ||
                         nodes_.back().rowCount != node.rowCount;
    if (node.holdsEveryRow)
        newest_.assign(mask.Rows.size(), RowPlace{});
    // First the rows that changed and their sizes, then the snapshot in memory of
    // exactly its size: a growing buffer would pass through twice that.
    const std::int32_t index = std::int32_t(nodes_.size());
    changed_.clear();
    size_t bytes = 0;
    for (size_t y = 0; y < mask.Rows.size(); ++y) {
        const MaskRow& row = mask.Rows[y];
        if (scratch_.size() < PackedBound(row))
            scratch_.resize(PackedBound(row));
        const size_t packed = size_t(Pack(row, scratch_.data()) - scratch_.data());
        if (!node.holdsEveryRow) {
            size_t size = 0;
            const std::uint8_t* before = RowBytes(newest_[y], size);
            if (size == packed && std::memcmp(before, scratch_.data(), size) == 0)
                continue;
        }
        changed_.push_back(std::int32_t(y));
        bytes += packed;
    }
    node.rows.assign(changed_.begin(), changed_.end());
    node.offsets.reserve(changed_.size() + 1);
    node.packed.resize(bytes);
    std::uint8_t* out = node.packed.data();
    for (size_t slot = 0; slot < changed_.size(); ++slot) {
        const std::int32_t y = changed_[slot];
        newest_[size_t(y)] = {index, std::int32_t(slot)};
        node.offsets.push_back(std::uint32_t(out - node.packed.data()));
        out = Pack(mask.Rows[size_t(y)], out);
    }
    node.offsets.push_back(std::uint32_t(out - node.packed.data()));
    nodes_.push_back(std::move(node));
    current_ = index;
    presentInHistory_ = true;
    redoNext_ = -1;
}

void UndoHistory::Restore(int index, TMask& mask, Besides& besides, const LayerList& layers) const {
    const Node& node = nodes_[size_t(index)];
    besides = node.besides;
    TMask restored;
    restored.Width = node.width;
    restored.Height = node.height;
    restored.Rows.reserve(size_t(node.rowCount));
    for (const RowPlace place : PlacesFor(index)) {
        size_t size = 0;
        restored.Rows.push_back(Unpack(RowBytes(place, size)));
    }
    // Locks follow the layers as they are now, not as they were at the snapshot.
    for (int i = 0; i < 256; ++i)
        restored.Locked[i] = i < layers.size() && layers[i].Locked;
    mask = std::move(restored);
}

bool UndoHistory::Undo(TMask& mask, Besides& besides, const LayerList& layers) {
    if (current_ < 0)
        return false;
    if (!presentInHistory_) {
        // Keep the edited present so that redo can come back to it.
        PushUndo(mask, besides);
        current_ -= 1;
    }
    Restore(current_, mask, besides, layers);
    redoNext_ = current_ + 1 < int(nodes_.size()) ? current_ + 1 : current_;
    if (current_ > 0)
        current_ -= 1;
    return true;
}

bool UndoHistory::Redo(TMask& mask, Besides& besides, const LayerList& layers) {
    if (redoNext_ < 0)
        return false;
    current_ = redoNext_;
    redoNext_ = current_ + 1 < int(nodes_.size()) ? current_ + 1 : -1;
    Restore(current_, mask, besides, layers);
    return true;
}

void UndoHistory::ClearHistory() {
    nodes_.clear();
    newest_.clear();
    newest_.shrink_to_fit();
    current_ = -1;
    redoNext_ = -1;
}

size_t UndoHistory::SnapshotBytes() const {
    size_t bytes = newest_.capacity() * sizeof(RowPlace);
    for (const Node& node : nodes_)
        bytes += sizeof(Node) + node.rows.capacity() * sizeof(std::int32_t) +
                 node.offsets.capacity() * sizeof(std::uint32_t) + node.packed.capacity();
    return bytes;
}
