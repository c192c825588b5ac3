#include "overview/CustomerPdf.h"

#include "workspace/ErrorGuard.h"

#include <QDir>
#include <QFileInfo>

bool SaveCustomerPdf(const Document& doc, Prompts& prompts, const QString& nameEnding,
                     const QString& work,
                     const std::function<void(const QString& path, Progress& progress)>& write) {
    if (!doc.HasProject()) {
        prompts.Error(QStringLiteral("Není co ukládat"));
        return false;
    }
    const QFileInfo project(doc.ProjectPath);
    const QString path = prompts.SaveFileName(
        QStringLiteral("pdf"),
        QStringLiteral("Dokumenty PDF (*.pdf)|*.pdf|Všechny soubory (*.*)|*.*"),
        project.dir().filePath(project.completeBaseName() + nameEnding), Prompts::FileUse::Order);
    if (path.isEmpty())
        return false;
    return RunGuardedWithProgress(prompts, work,
                                  [&](Progress& progress) { write(path, progress); });
}
