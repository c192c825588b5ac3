#pragma once

#include "project/Mask.h"

#include <memory>
#include <vector>

// A mask as the history keeps it. Rows equal to the same row of the previous
// snapshot are shared with it, so a pencil dab costs the rows it touched, not a
// copy of the whole mask; restoring gives back an independent TMask.
class MaskSnapshot {
public:
    MaskSnapshot(const TMask& mask, const MaskSnapshot* previous);
    TMask ToMask() const;
    // Bytes this snapshot holds of its own (rows shared with others not counted).
    size_t OwnBytes() const { return ownBytes_; }

private:
    std::int32_t width_;
    std::int32_t height_;
    std::array<bool, 256> locked_;
    std::vector<std::shared_ptr<const MaskRow>> rows_;
    size_t ownBytes_ = 0;
};

// The undo history: snapshots of the whole mask, each taken just before an edit,
// with the line tool's anchor at that moment.
class UndoHistory {
public:
    struct Anchor {
        int x = -1;
        int y = -1;
    };

    // Takes a snapshot of the present mask before an edit; what could be redone is lost.
    void PushUndo(const TMask& mask, Anchor anchor);
    // The tools call this right after they changed the mask.
    void MarkPresentChanged() { presentInHistory_ = false; }

    // Step back: the mask and anchor to show, or false when there is nothing.
    // The present mask and anchor are needed to keep an edited state redoable.
    bool Undo(TMask& mask, Anchor& anchor, const LayerList& layers);
    bool Redo(TMask& mask, Anchor& anchor, const LayerList& layers);
    void ClearHistory();

    bool PresentInHistory() const { return presentInHistory_; }
    int NodeCount() const { return int(nodes_.size()); }
    int CurrentIndex() const { return current_; }
    int RedoIndex() const { return redoNext_; }
    size_t SnapshotBytes() const;

private:
    struct Node {
        MaskSnapshot snapshot;
        Anchor anchor;
    };

    void Restore(int index, TMask& mask, Anchor& anchor, const LayerList& layers) const;

    std::vector<Node> nodes_; // oldest first; node i's neighbours are i - 1 and i + 1
    int current_ = -1;        // the node the next undo restores, or the newest after an edit
    int redoNext_ = -1;       // the node the next redo restores
    bool presentInHistory_ = false;
};
