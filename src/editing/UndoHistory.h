#pragma once

#include "project/Mask.h"
#include "project/Measurements.h"

#include <array>
#include <cstdint>
#include <vector>

// The undo history: snapshots of the whole mask, each taken just before an edit,
// with what is restored beside it: the line tool's anchor and the references marked
// on the photograph at that moment.
//
// A snapshot keeps only the rows that differ from the snapshot before it (the first
// keeps them all), each packed into a few bytes a run; a snapshot is restored by
// taking every row from the newest snapshot up to it that holds one. So a pencil
// dab costs the rows it touched, and a fill over a 50-megapixel photograph the rows
// it changed at about a quarter of their size in the mask.
class UndoHistory {
public:
    struct Besides {
        int x = -1; // the line tool's anchor
        int y = -1;
        Measurements measures;
    };

    // Takes a snapshot of the present mask before an edit; what could be redone is lost.
    void PushUndo(const TMask& mask, Besides besides);
    // The tools call this right after they changed the mask.
    void MarkPresentChanged() { presentInHistory_ = false; }

    // Step back: the mask and what is beside it to show, or false when there is
    // nothing. The present ones are needed to keep an edited state redoable.
    bool Undo(TMask& mask, Besides& besides, const LayerList& layers);
    bool Redo(TMask& mask, Besides& besides, const LayerList& layers);
    void ClearHistory();

    bool PresentInHistory() const { return presentInHistory_; }
    int NodeCount() const { return int(nodes_.size()); }
    int CurrentIndex() const { return current_; }
    int RedoIndex() const { return redoNext_; }
    // The bytes the snapshots hold.
    size_t SnapshotBytes() const;

private:
    struct Node {
        Besides besides;
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::int32_t rowCount = 0; // the mask's rows, whatever its Height says
        std::array<bool, 256> locked{};
        bool holdsEveryRow = false;
        std::vector<std::int32_t> rows;     // the rows it holds, ascending
        std::vector<std::uint32_t> offsets; // where each begins in packed, and the end
        std::vector<std::uint8_t> packed;
    };
    // Where the newest version of a row lies: a node and its place in that node.
    struct RowPlace {
        std::int32_t node = -1;
        std::int32_t slot = -1;
    };

    const std::uint8_t* RowBytes(RowPlace place, size_t& size) const;
    // The newest place of every row, for the snapshot of index: from it back to the
    // nearest snapshot that holds every row.
    std::vector<RowPlace> PlacesFor(int index) const;
    void Restore(int index, TMask& mask, Besides& besides, const LayerList& layers) const;

    std::vector<Node> nodes_;           // oldest first; node i's neighbours are i - 1 and i + 1
    std::vector<RowPlace> newest_;      // every row's place in the snapshot of the newest node
    std::vector<std::uint8_t> scratch_; // one row packed
    std::vector<std::int32_t> changed_; // the rows a new snapshot holds
    int current_ = -1;  // the node the next undo restores, or the newest after an edit
    int redoNext_ = -1; // the node the next redo restores
    bool presentInHistory_ = false;
};
