#include "project/ProjectFiles.h"

#include "project/AtomicFile.h"
#include "project/Errors.h"
#include "project/MaskFile.h"
#include "project/MeasurementFile.h"
#include "project/MessageText.h"
#include "project/PhotoFiles.h"
#include "project/RecoveryFile.h"
#include "project/RegularFile.h"

#include <QFile>

namespace {

[[noreturn]] void NoLayers(const QString& maskPath) {
    throw BadFileError(QStringLiteral("Soubor je špatný: maska %1 nemá žádnou vrstvu.")
                           .arg(MessageText::Path(maskPath)));
}

// Takes the mask file's contents into project when they belong to its photograph.
void Take(MaskFile::Contents&& contents, const QString& maskPath, LoadedProject& project) {
    if (contents.Layers.isEmpty())
        NoLayers(maskPath);
    if (contents.Mask.Width != project.Photo.width() ||
        contents.Mask.Height != project.Photo.height())
        throw BadFileError(
            QStringLiteral("Maska %1 (%2 × %3 bodů) nepatří k obrázku velikosti %4 × %5 bodů.")
                .arg(MessageText::Path(maskPath), QString::number(contents.Mask.Width),
                     QString::number(contents.Mask.Height), QString::number(project.Photo.width()),
                     QString::number(project.Photo.height())));
    project.Mask = std::move(contents.Mask);
    project.Layers = std::move(contents.Layers);
    project.Schemes = std::move(contents.Schemes);
}

// The references of path for project's photograph; a file that cannot be taken
// leaves them as they were and says why.
void TakeMeasures(const QString& path, LoadedProject& project) {
    try {
        project.Measures = MeasurementFile::Load(path, project.Photo.size());
    } catch (const TintoraError& error) {
        project.MeasuresWarning = MeasurementFile::RefusedMessage(error);
    }
}

} // namespace

LoadedProject LoadProject(const QString& photoPath, QImage* spare, Progress& progress) {
    const QString maskPath = photoPath + QStringLiteral(".mask");
    MaskFile::Contents contents = MaskFile::Load(maskPath);
    // before the photograph is read at all
    if (contents.Layers.isEmpty())
        NoLayers(maskPath);
    LoadedProject project;
    project.Photo = PhotoFiles::LoadBmp(photoPath, spare, progress);
    Take(std::move(contents), maskPath, project);
    TakeMeasures(MeasurementFile::PathFor(photoPath), project);
    return project;
}

void LoadRecovery(const QString& photoPath, LoadedProject& project) {
    const QString path = RecoveryFile::PathFor(photoPath);
    Take(MaskFile::Load(path), path, project);
    const QString measures = RecoveryFile::MeasuresPathFor(photoPath);
    if (RegularFile::CanOpen(measures))
        TakeMeasures(measures, project);
}

void WriteProjectFiles(const QString& photoPath, const LoadedProject& project, Progress& progress) {
    const QString maskPath = photoPath + QStringLiteral(".mask");
    AtomicFile photo(photoPath);
    PhotoFiles::WriteBmp(photo, project.Photo, progress);
    AtomicFile mask(maskPath);
    mask.Write(MaskFile::Serialize(project.Mask, project.Layers, project.Schemes));
    ReportOrStop(progress, 1.0); // the last moment to stop with nothing changed
    mask.Commit();
    try {
        photo.Commit();
    } catch (...) {
        // Half a project is no project: take the mask back.
        QFile::remove(maskPath);
        throw;
    }
}
