#pragma once

#include "project/Colour.h"

#include <QList>
#include <QString>

// One named surface of the photograph with its colours, flags and chosen paint.
struct LayerRecord {
    QString Name;
    QString ReservedText;
    Colour RealColour = Rgb(255, 255, 255);
    Colour MaskColour = Rgb(255, 255, 255);
    Colour ShadeColour = NoColour;
    bool Locked = false;
    bool ShownInMaskMode = true;
    bool HiddenInColourMode = true;
    std::int32_t ShadeId = -1;
    std::int32_t FanDeckId = -1;
    std::int32_t Quantity = 0;
    std::int32_t PaintKindId = -1;
    QString MasterName;
    bool Subordinate = false;

    bool operator==(const LayerRecord&) const = default;
};

using LayerList = QList<LayerRecord>;

inline const QString OriginalLayerName = QStringLiteral("Originál");

// Entry 0 of every document, and the starting point of every new layer.
LayerRecord OriginalLayerTemplate();

// The proposed mask colour of a new layer when n layers exist before it.
Colour AutoMaskColour(int n);

// A fresh layer (its name still empty) when n layers exist before it.
LayerRecord NewLayerTemplate(int n);

// The layer whose look the pixels of layer index take: index itself, or, when it is
// subordinate, the last other layer named as its master (none: index itself). Only
// one link is followed, so links in a circle are harmless, and a layer named after
// its own master never counts as its own master.
int EffectiveLayer(const LayerList& layers, int index);
