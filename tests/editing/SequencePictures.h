#pragma once

#include "editing/PlainModel.h"

#include <QImage>
#include <QString>
#include <vector>

// The pictures the editing sequences work on, drawn in code as photographs of houses
// look to the fill: flat regions (sky, walls, roofs, windows) with grain, joints and
// specks of other colours, in sizes whose rows span one to five blocks of the fill's
// qualifying map.
namespace SequencePictures {

// A saved project to start from: photograph, mask, layers and schemes.
struct Project {
    QString FileName; // *.bmp in the projects' folder
    Plain::Document Doc;
};

std::vector<Project> SavedProjects();

// Photographs that are imported as new projects (written as JPEG files).
std::vector<QImage> ImportedPhotographs();

// The names the sequences give layers and schemes: a small pool, so that renames,
// links by name and schemes meet each other often.
const QStringList& LayerNames();
const QStringList& SchemeNames();

} // namespace SequencePictures
