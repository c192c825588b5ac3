#pragma once

#include "project/Colour.h"

#include <QList>
#include <QString>

// A colour component read as NULL: the shade has no colour.
inline constexpr int NoComponent = 300;

struct FanDeckRecord {
    int id = 0;
    QString name;
    bool alkyd = false;
    bool own = false;

    bool operator==(const FanDeckRecord&) const = default;
};

struct PaintKindRecord {
    int id = 0;
    QString name;
    QString unit;

    bool operator==(const PaintKindRecord&) const = default;
};

struct ShadeRecord {
    int id = 0;
    QString name;
    int red = NoComponent;
    int green = NoComponent;
    int blue = NoComponent;
    QString notice;
    int fanDeckId = 0;
    QString fanDeckLabel; // "[A] name" or "[D] name"

    bool HasColour() const { return red != NoComponent; }
    // The colour value a layer takes: -1 for a shade without colour.
    Colour ColourValue() const {
        return HasColour() ? Colour(red + green * 256 + blue * 65536) : NoColour;
    }
    bool operator==(const ShadeRecord&) const = default;
};

using FanDeckList = QList<FanDeckRecord>;
using PaintKindList = QList<PaintKindRecord>;
using ShadeList = QList<ShadeRecord>;
