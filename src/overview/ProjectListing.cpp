#include "overview/ProjectListing.h"

#include "project/MeasurementFile.h"
#include "project/RecoveryFile.h"
#include "project/Thumbnails.h"
#include "render/ZoomMath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ProjectListing {

QStringList ProjectFiles(const QString& folder) {
    QDir dir(folder);
    dir.setFilter(QDir::Files | QDir::NoDotAndDotDot); // hidden files stay out
    dir.setNameFilters({QStringLiteral("*.bmp")});     // QDir matches without regard to case
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

QRect ThumbnailRect(const QRect& row, const QSize& picture) {
    float sx = 1.0f, sy = 1.0f;
    if (picture.width() > 180)
        sx = 180.0f / float(picture.width());
    if (picture.height() > 90)
        sy = 90.0f / float(picture.height());
    const float s = std::min(sx, sy);
    const int left = row.left() + 10;
    const int top = row.top() + 5;
    const int right = left + NearestInt(double(picture.width()) * double(s));
    const int bottom = top + NearestInt(double(picture.height()) * double(s));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QString DisplayName(const QString& fileName) {
    return fileName.left(std::max<qsizetype>(0, fileName.size() - 4));
}

Columns ColumnsFor(int clientWidth) {
    const int h = clientWidth / 2;
    Columns c{};
    c.leftListWidth = h - 10;
    c.leftFrameWidth = h - 8;
    c.leftButtonX = c.leftListWidth / 2 - 62;
    c.rightListX = h + 5;
    c.rightListWidth = h - 10;
    c.rightFrameX = h + 4;
    c.rightFrameWidth = h - 8;
    c.rightButtonX = c.rightListX + c.rightListWidth / 2 - 62;
    return c;
}

bool DeleteProject(const QString& photoPath, QString* reason) {
    // The photograph first: a project is listed by its photograph, so a mask that
    // cannot be removed afterwards never leaves a listed project without its mask.
    // Changes kept at a logout and the references go with the project.
    const QString maskPath = photoPath + QStringLiteral(".mask");
    // The thumbnail first, while the photograph still names it; one removed in vain
    // is made again when the project is next shown.
    Thumbnails::Remove(photoPath);
    for (const QString& path :
         {photoPath, maskPath, RecoveryFile::PathFor(photoPath),
          MeasurementFile::PathFor(photoPath), RecoveryFile::MeasuresPathFor(photoPath)}) {
        QFile file(path);
        if (file.exists() && !file.remove()) {
            if (reason)
                *reason =
                    QStringLiteral("Soubor %1 nelze smazat.").arg(QDir::toNativeSeparators(path));
            return false;
        }
    }
    return true;
}

} // namespace ProjectListing
