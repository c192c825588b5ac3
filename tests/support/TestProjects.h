#pragma once

#include "DemoHouse.h"
#include "project/PhotoFiles.h"

#include <QDir>

// Writes a project into appDir/domy: the photograph and a mask file with the given
// layers and schemes. Returns the photograph's path.
inline QString SaveProject(const QString& appDir, const QString& name, const DemoProject& demo,
                           const LayerList& layers, const SchemeList& schemes) {
    QDir(appDir).mkpath(QStringLiteral("domy"));
    const QString photo = QDir(appDir).filePath(QStringLiteral("domy/") + name);
    PhotoFiles::SaveBmp(photo, demo.Photo);
    demo.Mask.SaveToFile(photo + QStringLiteral(".mask"), layers, schemes);
    return photo;
}

// The demo house of the given size, as the generator makes it.
inline QString SaveDemoProject(const QString& appDir, const QString& name, int width, int height) {
    const DemoProject demo = MakeDemoHouse(width, height);
    return SaveProject(appDir, name, demo, demo.Layers, demo.Schemes);
}
