// Writes the demo project into a project folder, "Rodinný dům.bmp" with its mask,
// unless it is there already.
#include "DemoHouse.h"

#include "project/Errors.h"
#include "project/PhotoFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Použití: make-demo-project SLOŽKA\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const QString photo = QDir(folder).filePath(QStringLiteral("Rodinný dům.bmp"));
    // A demo the user has worked on stays as it is.
    if (QFile::exists(photo) && QFile::exists(photo + QStringLiteral(".mask")))
        return 0;
    try {
        const DemoProject project = MakeDemoHouse();
        PhotoFiles::SaveBmp(photo, project.Photo);
        project.Mask.SaveToFile(photo + QStringLiteral(".mask"), project.Layers, project.Schemes);
    } catch (const TintoraError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
