#pragma once

#include "project/Document.h"
#include "project/Progress.h"

#include <QString>

// A photograph with its mask file, read and checked but not yet in the document.
struct LoadedProject {
    QImage Photo;
    TMask Mask;
    LayerList Layers;
    SchemeList Schemes;
    Measurements Measures;
    // Why the references beside the project were not taken (a damaged file): shown to
    // the user, the project opens without them.
    QString MeasuresWarning;
};

// Reads photoPath and photoPath + ".mask" into new objects and checks that they
// belong together: the same size, at least the "Originál" layer, every run naming
// an existing layer. Throws IoError or BadFileError; changes nothing else but spare,
// whose memory the photograph takes when it can (PhotoFiles::RecycledPicture). The
// references of photoPath + ".mereni" come along; a file that cannot be taken only
// leaves a warning. Reports to progress as the photograph's rows come; a request to
// stop throws Cancelled.
LoadedProject LoadProject(const QString& photoPath, QImage* spare = nullptr,
                          Progress& progress = NoProgress());

// The mask, layers and schemes kept at a logout for the project of photoPath,
// checked against project's photograph like its mask file; they replace project's.
// So do the references kept with them, when there are such (a file that cannot be
// taken leaves project's references and a warning).
void LoadRecovery(const QString& photoPath, LoadedProject& project);

// Writes a new project's files. The mask is put in place first and the photograph
// last: a project is listed by its photograph, so it is listed only when both are
// whole; a photograph that cannot be written takes the mask back. The photograph is
// written beside its place before the mask goes in: a request to stop (Cancelled)
// while it is written leaves every file as it was.
void WriteProjectFiles(const QString& photoPath, const LoadedProject& project,
                       Progress& progress = NoProgress());
