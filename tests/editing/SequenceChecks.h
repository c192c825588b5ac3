#pragma once

#include "editing/PlainModel.h"
#include "project/Mask.h"

#include <QImage>
#include <QString>

// What the sequence test compares between the program and the plain model after
// each step; each check returns what differs, or an empty text.
namespace SequenceChecks {

QString ColourText(Colour c);

// Layers and schemes as a mask file gives them back: the display flags are not
// stored and read as false.
LayerList AsRead(LayerList layers);
SchemeList AsRead(SchemeList schemes);

QString CompareLayers(const LayerList& program, const LayerList& model, const QString& what);
QString CompareSchemes(const SchemeList& program, const SchemeList& model);
// The runs of every row lie in order, touch, cover the row exactly once and name
// existing layers; their pixels are the model's.
QString CompareMask(const TMask& program, const Plain::PixelMask& model, int layerCount);
QString CompareImages(const QImage& program, const QImage& model);

} // namespace SequenceChecks
