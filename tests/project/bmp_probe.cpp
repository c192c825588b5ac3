// Loads BMP files the way the program does and prints, per file, either
// "ok WIDTH HEIGHT HASH" (a hash of every pixel) or "refused". Tests run it with
// the allocator filling new memory in different ways: a loader that leaves any
// pixel to whatever memory held prints different hashes.
//
// bmp_probe FILE...        the files, one line each
// bmp_probe --unfilled     a picture whose pixels were never written (the check
//                          that the fills reach the pictures at all)
#include "project/Errors.h"
#include "project/PhotoFiles.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QImage>
#include <cstdio>

namespace {

QByteArray HashOf(const QImage& picture) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < picture.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(picture.constScanLine(y)),
                                    picture.bytesPerLine()));
    return hash.result().toHex();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments == QStringList{QStringLiteral("--unfilled")}) {
        const QImage picture(64, 32, QImage::Format_BGR888);
        std::printf("%s\n", HashOf(picture).constData());
        return 0;
    }
    for (const QString& path : arguments) {
        try {
            const QImage picture = PhotoFiles::LoadBmp(path);
            std::printf("ok %d %d %s\n", picture.width(), picture.height(),
                        HashOf(picture).constData());
        } catch (const TintoraError&) {
            std::printf("refused\n");
        }
    }
    return 0;
}
