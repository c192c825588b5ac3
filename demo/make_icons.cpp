// Writes the program's icon for the hicolor icon theme: FOLDER/scalable/apps/ID.svg
// and FOLDER/NxN/apps/ID.png for the usual sizes.
#include "widgets/AppIcon.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "Použití: make-icons SLOŽKA ID\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString id = QString::fromLocal8Bit(argv[2]);
    const QString scalable = folder.filePath(QStringLiteral("scalable/apps"));
    QDir().mkpath(scalable);
    QFile svg(scalable + QLatin1Char('/') + id + QStringLiteral(".svg"));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(AppIcon::Svg()) < 0)
        return 1;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString apps = folder.filePath(QStringLiteral("%1x%1/apps").arg(size));
        QDir().mkpath(apps);
        if (!AppIcon::Picture(size).save(apps + QLatin1Char('/') + id + QStringLiteral(".png")))
            return 1;
    }
    return 0;
}
