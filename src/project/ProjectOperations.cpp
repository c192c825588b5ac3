#include "project/ProjectOperations.h"

#include "app/ErrorGuard.h"
#include "app/Workspace.h"
#include "project/AtomicFile.h"
#include "project/ImportRoom.h"
#include "project/MaskFile.h"
#include "project/PhotoFiles.h"
#include "project/RecoveryFile.h"
#include "project/RegularFile.h"
#include "project/SaveMask.h"
#include "project/Thumbnails.h"
#include "render/RenderRegion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString CannotOpenText =
    QStringLiteral("Soubor nelze otevřít. Ujistěte se, že existují soubory .bmp a .bmp.mask.");

// Only regular files count: a FIFO of the right name would block the program.
bool CanOpen(const QString& path) {
    return RegularFile::CanOpen(path);
}

// The mask, layers and schemes of the recovery file, checked against the project's
// photograph like a mask file.
void ReadRecovery(const QString& photoPath, LoadedProject& project) {
    const QString path = RecoveryFile::PathFor(photoPath);
    MaskFile::Contents contents = MaskFile::Parse(MaskFile::ReadWholeFile(path), path);
    if (contents.Layers.isEmpty())
        throw BadFileError(QStringLiteral("Soubor je špatný"));
    if (contents.Mask.Width != project.Photo.width() ||
        contents.Mask.Height != project.Photo.height())
        throw BadFileError(QStringLiteral("Soubor %1 nepatří k obrázku projektu.")
                               .arg(QDir::toNativeSeparators(path)));
    project.Mask = std::move(contents.Mask);
    project.Layers = std::move(contents.Layers);
    project.Schemes = std::move(contents.Schemes);
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
    const bool readable = RunGuarded(prompts, [&] {
        try {
            ReadRecovery(photoPath, recovered);
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

// Puts a loaded photograph and mask into the document and shows them at zoom 1.
void Adopt(Workspace& workspace, const QString& photoPath, LoadedProject&& project) {
    Document& doc = workspace.Doc;
    doc.ProjectPath = photoPath;
    doc.PhotoBitmap = std::move(project.Photo);
    doc.Mask = std::move(project.Mask);
    doc.Layers = std::move(project.Layers);
    doc.Schemes = std::move(project.Schemes);
    workspace.ClearHistory();
    workspace.LineAnchorX = -1;
    workspace.Marker.Reset();
    workspace.ZoomFactor = 1.0f;
    workspace.ResizeView();
    emit workspace.LayersChanged();
    emit workspace.SchemesChanged();
    emit workspace.ProjectChanged();
    workspace.UpdateWholePicture();
}

// The mask is put in place first and the photograph last: the project list shows
// a project by its photograph, so a project is listed only when both are whole.
void WriteProjectFiles(const QString& photoPath, const LoadedProject& project) {
    const QString maskPath = photoPath + QStringLiteral(".mask");
    AtomicFile mask(maskPath);
    mask.Write(MaskFile::Serialize(project.Mask, project.Layers, project.Schemes));
    mask.Commit();
    try {
        PhotoFiles::SaveBmp(photoPath, project.Photo);
    } catch (...) {
        // Half a project is no project: take the mask back.
        QFile::remove(maskPath);
        throw;
    }
}

} // namespace

LoadedProject LoadProject(const QString& photoPath) {
    LoadedProject project;
    const QString maskPath = photoPath + QStringLiteral(".mask");
    project.Mask = TMask::LoadFromFile(maskPath, project.Layers, project.Schemes);
    if (project.Layers.isEmpty())
        throw BadFileError(QStringLiteral("Soubor je špatný"));
    project.Photo = PhotoFiles::LoadBmp(photoPath);
    if (project.Mask.Width != project.Photo.width() ||
        project.Mask.Height != project.Photo.height())
        throw BadFileError(
            QStringLiteral("Maska %1 (%2 × %3 bodů) nepatří k obrázku velikosti %4 × %5 bodů.")
                .arg(QDir::toNativeSeparators(maskPath))
                .arg(project.Mask.Width)
                .arg(project.Mask.Height)
                .arg(project.Photo.width())
                .arg(project.Photo.height()));
    return project;
}

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
    LoadedProject project;
    if (!RunGuarded(prompts, [&] { project = LoadProject(photoPath); }))
        return false;
    const bool recovered = OfferRecovery(prompts, photoPath, project);
    Adopt(workspace, photoPath, std::move(project));
    if (recovered)
        workspace.Doc.Modified = true;
    return true;
}

bool ImportPhotograph(Workspace& workspace, Prompts& prompts, const QString& folder,
                      const std::function<void()>& onPicked) {
    if (workspace.Doc.Modified) {
        const auto answer = prompts.Message(QStringLiteral("Chcete uložit změny v dokumentu?"),
                                            QStringLiteral("Dotaz"), Prompts::Icon::None,
                                            Prompts::Yes | Prompts::No | Prompts::Cancel);
        if (answer == Prompts::Cancel)
            return false;
        if (answer == Prompts::Yes)
            SaveMask(workspace.Doc, prompts);
    }
    const QString source = prompts.OpenFileName(QStringLiteral("Obrázky (jpg)|*.jpg"));
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
    const bool written = RunGuarded(prompts, [&] {
        RemoveStaleTemporaries(folder);
        const QByteArray jpeg = RegularFile::ReadAll(source, PhotoFiles::MaxJpegBytes);
        // A few hundred bytes may declare gigabytes of pixels: measure first.
        CheckImportRoom(PhotoFiles::JpegSize(jpeg, source), MeasureImportRoom(folder), source,
                        folder);
        project.Photo = PhotoFiles::DecodeJpeg(jpeg, source);
        project.Mask = TMask::CreateBlank(project.Photo.width(), project.Photo.height());
        project.Layers = LayerList{OriginalLayerTemplate()};
        WriteProjectFiles(target, project);
        // A thumbnail of an earlier photograph of this name would outlive it.
        Thumbnails::Refresh(target, project.Photo);
        // Changes kept for an earlier project of this name belong to another picture.
        RecoveryFile::Remove(target);
    });
    if (!written)
        return false;

    const bool modified = workspace.Doc.Modified;
    workspace.NewDocument();
    Adopt(workspace, target, std::move(project));
    workspace.Doc.Modified = modified;
    return true;
}

QImage RenderFullSize(const Document& doc, bool maskEditMode) {
    QImage picture(doc.PhotoBitmap.size(), QImage::Format_BGR888);
    if (picture.isNull())
        throw IoError(QStringLiteral("Pro obrázek v plné velikosti není dost paměti."));
    const RenderInput input{doc.PhotoBitmap, doc.Mask, doc.Layers, 1.0f, maskEditMode};
    RenderRegion(input, picture, 0, 0, picture.width() - 1, picture.height() - 1);
    return picture;
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
    return RunGuarded(prompts, [&] {
        QByteArray jpeg;
        if (workspace.ZoomFactor == 1.0f &&
            workspace.ViewBitmap.size() == workspace.Doc.PhotoBitmap.size()) {
            // The view already has the full size: bring it up to date and encode it
            // without the cursor marker.
            workspace.UpdateWholePicture();
            workspace.Marker.EraseMarker(workspace.ViewBitmap);
            jpeg = PhotoFiles::EncodeJpeg(workspace.ViewBitmap);
            workspace.Marker.DrawMarker(workspace.ViewBitmap);
        } else {
            jpeg = PhotoFiles::EncodeJpeg(RenderFullSize(workspace.Doc, workspace.MaskEditMode));
        }
        MaskFile::WriteWholeFile(path, jpeg);
    });
}
