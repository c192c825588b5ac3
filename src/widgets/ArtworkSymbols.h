#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// Line-art symbols of the button faces, drawn into a square box.
enum class Symbol {
    Folder,
    Disk,
    ImportPhoto,
    MaskBrush,
    Clipboard,
    Help,
    BeforeAfter, // top band
    Undo,
    Redo,
    ZoomIn,
    ZoomOut,
    Pencil,
    Lines,
    FillTolerance, // editing bar
    FillFull,
    PickLayer,
    SmartSelect,
    Scale
};

void DrawSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& ink,
                const QColor& accent);
