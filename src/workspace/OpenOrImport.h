#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Prompts;
class Workspace;

// A file handed to the program from outside: dropped on the main window, named on its
// command line, or offered by a file manager's "Otevřít v programu". A project's
// photograph (*.bmp) or mask (*.bmp.mask) opens that project; any other file is
// imported as a photograph into housesFolder, its kind told by its content. The same
// questions as the buttons: unsaved changes first, then a name already taken.
bool OpenOrImport(Workspace& workspace, Prompts& prompts, const QString& housesFolder,
                  const QString& path, const std::function<void()>& onPicked = {},
                  QString* note = nullptr);

// Whether path names a project rather than a photograph, by its name.
bool IsProjectFile(const QString& path);

// The file taken of several handed over at once: the first. note says how many
// others were left, for the hint bar; empty for a single file.
QString FirstOf(const QStringList& paths, QString* note);
