#pragma once

#include "project/LayerRecord.h"
#include "project/SchemeRecord.h"

#include <array>
#include <cstdint>
#include <vector>

// Pixels First..Last (inclusive) of one row belong to layer Layer.
struct MaskRun {
    std::uint8_t Layer = 0;
    std::int32_t First = 0;
    std::int32_t Last = 0;

    bool operator==(const MaskRun&) const = default;
};

using MaskRow = std::vector<MaskRun>;

// The run-coded mask: for every pixel of the photograph the index of its layer.
// Rows read from a file are kept exactly as stored, even when malformed (gaps,
// overlaps, First > Last, runs past Width); every operation stays inside its arrays.
class TMask {
public:
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<MaskRow> Rows;
    std::array<bool, 256> Locked{};

    static TMask CreateBlank(int width, int height);
    static TMask CopyOf(const TMask& other) { return other; }

    // Reads a mask file; on success replaces layers and schemes. Throws IoError or
    // BadFileError and then leaves layers and schemes untouched.
    static TMask LoadFromFile(const QString& path, LayerList& layers, SchemeList& schemes);
    // Writes the whole file and replaces an existing one only once complete.
    void SaveToFile(const QString& path, const LayerList& layers, const SchemeList& schemes) const;

    // The layer of the first run covering x in row y, or 0 when none does.
    std::uint8_t LayerAt(int x, int y) const;
    // Assigns pixels x1..x2 of row y to layer, leaving pixels of locked layers alone.
    void PaintSpan(int y, int x1, int x2, std::uint8_t layer);
    void SetLocked(int index, bool flag);

    // Replaces row y by maximal runs of the given per-pixel layers (Width entries).
    void SetRowFromPixels(int y, const std::uint8_t* pixels);

    // Expands row y into one layer index per pixel (the first covering run wins,
    // uncovered pixels are 0). out must hold Width entries.
    void ExpandRow(int y, std::uint8_t* out) const;

    bool operator==(const TMask&) const = default;
};
