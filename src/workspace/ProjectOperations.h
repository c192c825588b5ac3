#pragma once

#include "project/Document.h"
#include "project/ProjectFiles.h"

#include <QString>
#include <functional>

class Prompts;
class Workspace;

// The window that offers the saved projects: the chosen photograph's full path,
// or empty when the user chose nothing.
class ProjectChooser {
public:
    virtual ~ProjectChooser() = default;
    virtual QString ChooseProject() = 0;
};

// Opens a project chosen in the project list. All or nothing: on any failure the
// user is told and the open document stays as it was. Returns whether it opened.
bool OpenProject(Workspace& workspace, Prompts& prompts, ProjectChooser& chooser);
// Opens the project of a photograph path (the steps after the list). When a signal
// kept unsaved changes of this project, asks "Obnovit neuložené změny?": Yes opens
// them as unsaved changes, No the saved version; the kept file is removed then.
bool OpenProjectFile(Workspace& workspace, Prompts& prompts, const QString& photoPath);

// Makes a new project in folder from a photograph (JPEG, PNG, WebP, TIFF, HEIC, HEIF
// or AVIF, told by its content) the user picks, or from picked when it is given (a
// photograph dropped on the window, or named on the command line): the photograph in
// sRGB as a 24-bit BMP and a blank mask beside it, then opens it. onPicked runs as
// soon as a picture was picked (the project list closes then). Never leaves half a
// project: a picture too large for the disk or the memory is refused before decoding,
// a damaged one is refused, the mask is written before the photograph, and stopping
// it on the progress bar leaves the files and the document as they were. A note for
// the hint bar (a colour profile left out) goes to note.
bool ImportPhotograph(Workspace& workspace, Prompts& prompts, const QString& folder,
                      const std::function<void()>& onPicked = {}, const QString& picked = {},
                      QString* note = nullptr);

// Writes the recoloured picture at full size (as shown: mask colours in mask mode)
// as a JPEG file the user names. An existing file is replaced only once complete;
// stopping it on the progress bar leaves it as it was.
bool ExportPicture(Workspace& workspace, Prompts& prompts);
