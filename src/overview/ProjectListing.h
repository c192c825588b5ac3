#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

// What the project list shows and how it lays itself out, apart from its window.
namespace ProjectListing {

// The photographs of a project folder: plain, visible files whose names end in
// ".bmp" (any case), sorted by name without regard to case. A missing folder is empty.
QStringList ProjectFiles(const QString& folder);

// Where the thumbnail of a picture goes in a row: 10 px in, 5 px down, shrunk to
// fit 180 × 90 (never enlarged), corners taken to the nearest integer.
QRect ThumbnailRect(const QRect& row, const QSize& picture);

// The name shown for a row: the file name without its last four characters.
QString DisplayName(const QString& fileName);

// Positions that follow the window's client width.
struct Columns {
    int leftListWidth;
    int leftFrameWidth;
    int leftButtonX;
    int rightListX;
    int rightListWidth;
    int rightFrameX;
    int rightFrameWidth;
    int rightButtonX;
};
Columns ColumnsFor(int clientWidth);

// Removes a project's photograph, mask file, references and kept changes; false with
// a Czech reason on failure.
bool DeleteProject(const QString& photoPath, QString* reason);

} // namespace ProjectListing
