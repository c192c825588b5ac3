#include "editing/UndoHistory.h"

MaskSnapshot::MaskSnapshot(const TMask& mask, const MaskSnapshot* previous)
    : width_(mask.Width), height_(mask.Height), locked_(mask.Locked) {
    const bool comparable =
        previous && previous->width_ == mask.Width && previous->height_ == mask.Height;
    rows_.reserve(mask.Rows.size());
    for (size_t y = 0; y < mask.Rows.size(); ++y) {
        if (comparable && *previous->rows_[y] == mask.Rows[y]) {
            rows_.push_back(previous->rows_[y]);
            continue;
        }
        rows_.push_back(std::make_shared<const MaskRow>(mask.Rows[y]));
        ownBytes_ += sizeof(MaskRow) + mask.Rows[y].size() * sizeof(MaskRun);
    }
    ownBytes_ += rows_.size() * sizeof(rows_[0]);
}

TMask MaskSnapshot::ToMask() const {
    TMask mask;
    mask.Width = width_;
    mask.Height = height_;
    mask.Locked = locked_;
    mask.Rows.reserve(rows_.size());
    for (const auto& row : rows_)
        mask.Rows.push_back(*row);
    return mask;
}

void UndoHistory::PushUndo(const TMask& mask, Anchor anchor) {
    if (current_ >= 0)
        nodes_.erase(nodes_.begin() + current_ + 1, nodes_.end());
    const MaskSnapshot* previous = nodes_.empty() ? nullptr : &nodes_.back().snapshot;
    nodes_.push_back(Node{MaskSnapshot(mask, previous), anchor});
    current_ = int(nodes_.size()) - 1;
    presentInHistory_ = true;
    redoNext_ = -1;
}

void UndoHistory::Restore(int index, TMask& mask, Anchor& anchor, const LayerList& layers) const {
    const Node& node = nodes_[size_t(index)];
    anchor = node.anchor;
    mask = node.snapshot.ToMask();
    // Locks follow the layers as they are now, not as they were at the snapshot.
    for (int i = 0; i < 256; ++i)
        mask.Locked[i] = i < layers.size() && layers[i].Locked;
}

bool UndoHistory::Undo(TMask& mask, Anchor& anchor, const LayerList& layers) {
    if (current_ < 0)
        return false;
    if (!presentInHistory_) {
        // Keep the edited present so that redo can come back to it.
        PushUndo(mask, anchor);
        current_ -= 1;
    }
    Restore(current_, mask, anchor, layers);
    redoNext_ = current_ + 1 < int(nodes_.size()) ? current_ + 1 : current_;
    if (current_ > 0)
        current_ -= 1;
    return true;
}

bool UndoHistory::Redo(TMask& mask, Anchor& anchor, const LayerList& layers) {
    if (redoNext_ < 0)
        return false;
    current_ = redoNext_;
    redoNext_ = current_ + 1 < int(nodes_.size()) ? current_ + 1 : -1;
    Restore(current_, mask, anchor, layers);
    return true;
}

void UndoHistory::ClearHistory() {
    nodes_.clear();
    current_ = -1;
    redoNext_ = -1;
}

size_t UndoHistory::SnapshotBytes() const {
    size_t bytes = 0;
    for (const Node& node : nodes_)
        bytes += node.snapshot.OwnBytes();
    return bytes;
}
