#pragma once

#include "project/LayerRecord.h"
#include "project/Mask.h"
#include "project/Measurements.h"
#include "project/SchemeRecord.h"

#include <QImage>
#include <QString>

// The one open project: photograph, mask, layers, schemes and the unsaved flag.
struct Document {
    QString ProjectPath; // full path of the photograph; empty when none is open
    QImage PhotoBitmap;  // Format_BGR888, never changed after loading
    TMask Mask = TMask::CreateBlank(1, 1);
    LayerList Layers{OriginalLayerTemplate()};
    SchemeList Schemes;
    Measurements Measures; // kept beside the mask file, in NAME.bmp.mereni
    bool Modified = false;

    bool HasProject() const { return !ProjectPath.isEmpty(); }
    QString MaskPath() const { return ProjectPath + QStringLiteral(".mask"); }
};
