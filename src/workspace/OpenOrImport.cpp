#include "workspace/OpenOrImport.h"

#include "workspace/ProjectOperations.h"
#include "workspace/Prompts.h"
#include "workspace/SaveMask.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString MaskSuffix = QStringLiteral(".mask");

} // namespace

bool IsProjectFile(const QString& path) {
    return path.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".bmp.mask"), Qt::CaseInsensitive);
}

bool OpenOrImport(Workspace& workspace, Prompts& prompts, const QString& housesFolder,
                  const QString& path, const std::function<void()>& onPicked, QString* note) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!IsProjectFile(absolute))
        return ImportPhotograph(workspace, prompts, housesFolder, onPicked, absolute, note);
    // The questions of the open button, then the project without the project list.
    if (workspace.Doc.Modified) {
        const auto answer =
            prompts.Message(QStringLiteral("Chcete uložit změny?"), QStringLiteral("Dotaz"),
                            Prompts::Icon::Question, Prompts::Yes | Prompts::No);
        if (answer == Prompts::Yes)
            SaveMask(workspace.Doc, prompts);
    }
    if (onPicked)
        onPicked();
    const QString photo = absolute.endsWith(MaskSuffix, Qt::CaseInsensitive)
                              ? absolute.chopped(MaskSuffix.size())
                              : absolute;
    return OpenProjectFile(workspace, prompts, photo);
}

QString FirstOf(const QStringList& paths, QString* note) {
    if (note)
        note->clear();
    if (paths.isEmpty())
        return {};
    if (note && paths.size() > 1)
        *note =
            QStringLiteral("Otevírá se jen první ze souborů (%1), ostatní (%2) zůstaly stranou.")
                .arg(QFileInfo(paths.first()).fileName())
                .arg(paths.size() - 1);
    return paths.first();
}
