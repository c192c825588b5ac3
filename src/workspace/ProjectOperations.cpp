#include "workspace/ProjectOperations.h"

#include "project/AtomicFile.h"
#include "project/FreeMemory.h"
#include "project/ImportRoom.h"
#include "project/JpegWriter.h"
#include "project/MeasurementFile.h"
#include "project/PhotoFiles.h"
#include "project/Photograph.h"
#include "project/ProjectFiles.h"
#include "project/RecoveryFile.h"
#include "project/RegularFile.h"
#include "project/Thumbnails.h"
#include "render/ColourProfile.h"
#include "render/RenderRegion.h"
#include "workspace/ErrorGuard.h"
#include "workspace/SaveMask.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <utility>

namespace {

const QString CannotOpenText =
    QStringLiteral("Soubor nelze otevřít. Ujistěte se, že existují soubory .bmp a .bmp.mask.");

// Only regular files count: a FIFO of the right name would block the program.
bool CanOpen(const QString& path) {
    return RegularFile::CanOpen(path);
}

// Offers the changes a signal kept when the program last ended. Yes takes them
// into the document as unsaved changes, No keeps the saved version; either way the
// question is answered and the file goes. One that cannot be read is reported and
// left as it is. Returns whether the changes were taken.
bool OfferRecovery(Prompts& prompts, const QString& photoPath, LoadedProject& project) {
    if (!RecoveryFile::Exists(photoPath))
        return false;
    LoadedProject recovered;
    recovered.Photo = project.Photo;
    recovered.Measures = project.Measures; // unless changes of them were kept too
    const bool readable = RunGuarded(prompts, [&] {
        try {
            LoadRecovery(photoPath, recovered);
        } catch (const TintoraError& error) {
            throw TintoraError(
                QStringLiteral("Neuložené změny projektu nelze obnovit.\n%1").arg(error.message()));
        }
    });
    if (!readable)
        return false;
    const auto answer =
        prompts.Message(QStringLiteral("Obnovit neuložené změny?"), QStringLiteral("Dotaz"),
                        Prompts::Icon::Question, Prompts::Yes | Prompts::No);
    RecoveryFile::Remove(photoPath);
    if (answer != Prompts::Yes)
        return false;
    project = std::move(recovered);
    return true;
}

// References beside the project that could not be taken: the project opens without.
void WarnOfMeasures(Prompts& prompts, LoadedProject& project) {
    if (project.MeasuresWarning.isEmpty())
        return;
    prompts.Message(std::exchange(project.MeasuresWarning, QString()), QStringLiteral("Chyba"),
                    Prompts::Icon::Warning, Prompts::Ok);
}

// Puts a loaded photograph and mask into the document and shows them at zoom 1. The
// old photograph's memory goes to the new view when their sizes agree.
void Adopt(Workspace& workspace, const QString& photoPath, LoadedProject&& project) {
    Document& doc = workspace.Doc;
    doc.ProjectPath = photoPath;
    QImage oldPhoto = std::exchange(doc.PhotoBitmap, std::move(project.Photo));
    doc.Mask = std::move(project.Mask);
    doc.Layers = std::move(project.Layers);
    doc.Schemes = std::move(project.Schemes);
    doc.Measures = std::move(project.Measures);
    workspace.ClearHistory();
    workspace.LineAnchorX = -1;
    workspace.Marker.Reset();
    workspace.ZoomFactor = 1.0f;
    workspace.ResizeView(std::move(oldPhoto));
    emit workspace.LayersChanged();
    emit workspace.SchemesChanged();
    emit workspace.ProjectChanged();
    emit workspace.MeasuresChanged();
    workspace.UpdateWholePicture();
    // The old project's mask and history leave their memory free in the heap.
    ReturnFreeMemory();
}

} // namespace

bool OpenProject(Workspace& workspace, Prompts& prompts, ProjectChooser& chooser) {
    if (workspace.Doc.Modified) {
        const auto answer =
            prompts.Message(QStringLiteral("Chcete uložit změny?"), QStringLiteral("Dotaz"),
                            Prompts::Icon::Question, Prompts::Yes | Prompts::No);
        if (answer == Prompts::Yes)
            SaveMask(workspace.Doc, prompts);
    }
    const QString path = chooser.ChooseProject();
    if (path.isEmpty())
        return false;
    return OpenProjectFile(workspace, prompts, path);
}

bool OpenProjectFile(Workspace& workspace, Prompts& prompts, const QString& photoPath) {
    if (!CanOpen(photoPath) || !CanOpen(photoPath + QStringLiteral(".mask"))) {
        prompts.Error(CannotOpenText);
        return false;
    }
    // The new photograph is read while the old one is still shown; its view lends
    // the memory, and is shown again should the reading fail.
    QImage spare = workspace.ReleaseView();
    LoadedProject project;
    const bool loaded = RunGuardedWithProgress(
        prompts, QStringLiteral("Otevírání projektu"), [&](Progress& progress) {
            try {
                project = LoadProject(photoPath, &spare, progress);
            } catch (...) {
                workspace.ShowViewAgain(std::move(spare));
                throw;
            }
        });
    if (!loaded)
        return false;
    WarnOfMeasures(prompts, project);
    const bool recovered = OfferRecovery(prompts, photoPath, project);
    WarnOfMeasures(prompts, project);
    Adopt(workspace, photoPath, std::move(project));
    if (recovered)
        workspace.Doc.Modified = true;
    return true;
}

bool ImportPhotograph(Workspace& workspace, Prompts& prompts, const QString& folder,
                      const std::function<void()>& onPicked, const QString& picked, QString* note) {
    if (workspace.Doc.Modified) {
        const auto answer = prompts.Message(QStringLiteral("Chcete uložit změny v dokumentu?"),
                                            QStringLiteral("Dotaz"), Prompts::Icon::None,
                                            Prompts::Yes | Prompts::No | Prompts::Cancel);
        if (answer == Prompts::Cancel)
            return false;
        if (answer == Prompts::Yes)
            SaveMask(workspace.Doc, prompts);
    }
    const QString source = picked.isEmpty()
                               ? prompts.OpenFileName(PhotoFiles::AllPhotographsFilter() +
                                                      QStringLiteral("|Obrázky (jpg)|*.jpg"))
                               : picked;
    if (source.isEmpty())
        return false;
    if (onPicked)
        onPicked();

    const QString target =
        QDir(folder).filePath(QFileInfo(source).completeBaseName() + QStringLiteral(".bmp"));
    if (CanOpen(target)) {
        prompts.Error(QStringLiteral("Obrázek daného jména již v databázi existuje."));
        return false;
    }
    LoadedProject project;
    QString profileNote;
    const auto import = [&](Progress& progress) {
        RemoveStaleTemporaries(folder);
        QByteArray file = RegularFile::ReadAll(source, PhotoFiles::MaxPhotoBytes);
        ReportOrStop(progress, 0.02);
        // A few hundred bytes may declare gigabytes of pixels: measure first.
        const PhotoFiles::PhotoHeader header = PhotoFiles::ReadPhotoHeader(file, source);
        CheckImportRoom(header.Size, MeasureImportRoom(folder), source, folder,
                        header.WorkBytesPerPixel);
        // The open project's view lends its memory to the decoded picture and is
        // shown again should the import fail.
        QImage spare = workspace.ReleaseView();
        try {
            ProgressPart decoding(progress, 0.02, 0.6);
            PhotoFiles::Photograph photograph =
                PhotoFiles::DecodePhotograph(file, source, &spare, decoding);
            file = QByteArray();
            ProgressPart colouring(progress, 0.6, 0.7);
            profileNote = ConvertToSrgb(photograph.Picture, photograph.Profile,
                                        photograph.ProfileDamaged, colouring);
            project.Photo = std::move(photograph.Picture);
            project.Mask = TMask::CreateBlank(project.Photo.width(), project.Photo.height());
            project.Layers = LayerList{OriginalLayerTemplate()};
            ProgressPart writing(progress, 0.7, 0.95);
            WriteProjectFiles(target, project, writing);
            // A thumbnail of an earlier photograph of this name would outlive it.
            Thumbnails::Refresh(target, project.Photo);
            // Changes and references kept for an earlier project of this name belong
            // to another picture.
            RecoveryFile::Remove(target);
            QFile::remove(MeasurementFile::PathFor(target));
        } catch (...) {
            project = LoadedProject();
            workspace.ShowViewAgain(std::move(spare));
            throw;
        }
    };
    if (!RunGuardedWithProgress(prompts, QStringLiteral("Import fotografie"), import))
        return false;

    const bool modified = workspace.Doc.Modified;
    workspace.NewDocument();
    Adopt(workspace, target, std::move(project));
    workspace.Doc.Modified = modified;
    if (note)
        *note = profileNote;
    return true;
}

bool ExportPicture(Workspace& workspace, Prompts& prompts) {
    if (!workspace.Doc.HasProject()) {
        prompts.Error(QStringLiteral("Není co ukládat"));
        return false;
    }
    const QString path =
        prompts.SaveFileName(QStringLiteral("jpg"),
                             QStringLiteral("Obrázky JPG (*.jpg)|*.jpg|Všechny soubory (*.*)|*.*"));
    if (path.isEmpty())
        return false;
    // The picture as shown (mask colours in mask mode) at full size, whatever the
    // zoom; the view and its marker stay as they are. It is made and encoded a band
    // of rows at a time, so that no second full-size picture is ever held.
    return RunGuardedWithProgress(
        prompts, QStringLiteral("Ukládání obrázku"), [&](Progress& progress) {
            const Document& doc = workspace.Doc;
            AtomicFile file(path);
            JpegWriter jpeg(file, doc.PhotoBitmap.width(), doc.PhotoBitmap.height());
            RenderFullSizeInBands(
                doc, workspace.MaskEditMode,
                [&jpeg](int, const QImage& band, int rows) { jpeg.WriteRows(band, rows); },
                progress);
            jpeg.Finish();
            file.Commit();
        });
}
