#pragma once

#include "project/LayerRecord.h"

// A named copy of the whole layer list.
struct SchemeRecord {
    QString Name;
    LayerList Layers;

    bool operator==(const SchemeRecord&) const = default;
};

using SchemeList = QList<SchemeRecord>;
