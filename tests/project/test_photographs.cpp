#include "app/SignalHandling.h"
#include "project/PhotoFiles.h"
#include "project/PhotoMetadata.h"
#include "project/Photograph.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPhotographs.h"
#include "support/TestPictures.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Workspace.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <lcms2.h>
#include <zlib.h>

#include <sys/resource.h>
#include <unistd.h>

using namespace TestPhotographs;
using namespace TestPictures;

namespace {

using Colours = QList<QColor>; // top left, top right, bottom left, bottom right

// A picture of four flat quadrants of any format, each colour given with 16 bits
// a channel and its opacity.
QImage FourQuadrants(QImage::Format format, const QList<QRgba64>& colours, int w = 64, int h = 48) {
    QImage picture(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixelColor(
                x, y, QColor::fromRgba64(colours[(y >= h / 2 ? 2 : 0) + (x >= w / 2 ? 1 : 0)]));
    return picture;
}

QRgba64 Rgb16(quint16 r, quint16 g, quint16 b, quint16 a = 65535) {
    return QRgba64::fromRgba64(r, g, b, a);
}
QRgba64 Rgb8(int r, int g, int b, int a = 255) {
    return QRgba64::fromRgba(uchar(r), uchar(g), uchar(b), uchar(a));
}

QList<QPoint> Centres(QSize size) {
    const int w = size.width(), h = size.height();
    return {QPoint(w / 4, h / 4), QPoint(3 * w / 4, h / 4), QPoint(w / 4, 3 * h / 4),
            QPoint(3 * w / 4, 3 * h / 4)};
}

// Lets the process map only so many bytes more (ulimit -v) for as long as it lives.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(qint64 moreBytes) {
        QFile statm(QStringLiteral("/proc/self/statm"));
        const qint64 mapped =
            statm.open(QIODevice::ReadOnly)
                ? statm.readLine().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE)
                : 0;
        getrlimit(RLIMIT_AS, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = rlim_t(mapped + moreBytes);
        setrlimit(RLIMIT_AS, &limit);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved_); }

private:
    rlimit saved_{};
};

// Sets the process's file size limit for as long as it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        IgnoreFileSizeSignal();
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// The picture of the flat quadrants the tests use most.
const Colours Plain = {QColor(220, 0, 0), QColor(0, 200, 0), QColor(0, 0, 220),
                       QColor(255, 255, 255)};
QImage PlainQuadrants() {
    return FourQuadrants(QImage::Format_RGB888,
                         {Rgb8(220, 0, 0), Rgb8(0, 200, 0), Rgb8(0, 0, 220), Rgb8(255, 255, 255)});
}

// A project folder with an earlier project open in the workspace.
struct Fixture {
    QTemporaryDir dir;
    QString domy = dir.filePath(QStringLiteral("domy"));
    Workspace ws;
    ScriptedPrompts prompts;
    QString note;
    QImage earlierPhoto;

    Fixture() {
        QDir().mkpath(domy);
        Import(QStringLiteral("Dřívější.jpg"), Jpeg(Quadrants(30, 20)));
        earlierPhoto = ws.Doc.PhotoBitmap;
        prompts.asked.clear();
        prompts.reported.clear();
        prompts.progressTexts.clear();
    }

    bool Import(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        WriteFile(path, bytes);
        prompts.fileNames.enqueue(path);
        note.clear();
        return ImportPhotograph(ws, prompts, domy, {}, {}, &note);
    }

    QString InDomy(const QString& name) const { return QDir(domy).filePath(name); }

    void CheckEarlierProjectStays() const {
        QCOMPARE(ws.Doc.ProjectPath, QDir(domy).filePath(QStringLiteral("Dřívější.bmp")));
        QCOMPARE(ws.Doc.PhotoBitmap, earlierPhoto);
        QCOMPARE(Entries(domy), (QStringList{QStringLiteral("Dřívější.bmp"),
                                             QStringLiteral("Dřívější.bmp.mask")}));
    }
};

void CheckColours(const QImage& picture, const Colours& expected, int tolerance) {
    const QList<QPoint> at = Centres(picture.size());
    for (int i = 0; i < 4; ++i) {
        const QColor got = picture.pixelColor(at[i]);
        QVERIFY2(Distance(got, expected[i]) <= tolerance,
                 qPrintable(QStringLiteral("quadrant %1: %2 instead of %3")
                                .arg(i)
                                .arg(got.name(), expected[i].name())));
    }
}

// A Lab profile: readable, but not one for a picture of red, green and blue.
QByteArray LabProfile() {
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(lab, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(lab, bytes.data(), &size);
    cmsCloseProfile(lab);
    return bytes;
}

} // namespace

class TestPhotographImport : public QObject {
    Q_OBJECT
private slots:
    // Each kind, depth and transparency to the 24-bit colours of the rule: a
    // channel v of M + 1 levels at opacity a is 255 (v a + M (M − a)) / M², rounded.
    void everyKindImportsToItsPixels_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Colours>("expected");
        QTest::addColumn<int>("tolerance");
        const QImage plain = PlainQuadrants();
        // 32768 · 255 / 65535 = 127.502, 128 / 257 = 0.498, 65280 / 257 = 254.007.
        const QImage deep = FourQuadrants(
            QImage::Format_RGBX64, {Rgb16(0x8000, 0x0080, 0xFF00), Rgb16(0, 0xFFFF, 0x7F7F),
                                    Rgb16(0x0101, 0x0202, 0x0303), Rgb16(0xFFFF, 0xFFFF, 0xFFFF)});
        const Colours deepColours = {QColor(128, 0, 254), QColor(0, 255, 127), QColor(1, 2, 3),
                                     QColor(255, 255, 255)};
        // Over white: (255, 0, 0) at 128 → (255, 127, 127); anything at 0 → white;
        // (200, 100, 0) at 64 → ((12800 + 48705) / 255, (6400 + 48705) / 255, 191).
        const QImage clear =
            FourQuadrants(QImage::Format_ARGB32, {Rgb8(255, 0, 0, 128), Rgb8(0, 0, 255, 0),
                                                  Rgb8(10, 20, 30), Rgb8(200, 100, 0, 64)});
        const Colours clearColours = {QColor(255, 127, 127), QColor(255, 255, 255),
                                      QColor(10, 20, 30), QColor(241, 216, 191)};
        // 16-bit opacity 0x8000 over white: 255 (65535 · 32768 + 65535 · 32767) / 65535² = 255
        // for a full channel, 255 · 32767 / 65535 = 127.498 for an empty one.
        const QImage deepClear = FourQuadrants(
            QImage::Format_RGBA64, {Rgb16(0xFFFF, 0, 0, 0x8000), Rgb16(0, 0, 0, 0),
                                    Rgb16(0x0A0A, 0x1414, 0x1E1E), Rgb16(0, 0, 0xFFFF, 0xFFFF)});
        const Colours deepClearColours = {QColor(255, 127, 127), QColor(255, 255, 255),
                                          QColor(10, 20, 30), QColor(0, 0, 255)};
        const QImage grey =
            FourQuadrants(QImage::Format_Grayscale8, {Rgb8(0, 0, 0), Rgb8(77, 77, 77),
                                                      Rgb8(200, 200, 200), Rgb8(255, 255, 255)});
        const Colours greyColours = {QColor(0, 0, 0), QColor(77, 77, 77), QColor(200, 200, 200),
                                     QColor(255, 255, 255)};
        const QImage deepGrey =
            FourQuadrants(QImage::Format_Grayscale16,
                          {Rgb16(0x8000, 0x8000, 0x8000), Rgb16(0x4D4D, 0x4D4D, 0x4D4D),
                           Rgb16(0x0080, 0x0080, 0x0080), Rgb16(0xFFFF, 0xFFFF, 0xFFFF)});
        const Colours deepGreyColours = {QColor(128, 128, 128), QColor(77, 77, 77), QColor(0, 0, 0),
                                         QColor(255, 255, 255)};

        QTest::newRow("jpeg") << Jpeg(Quadrants(64, 48)) << Plain << 6;
        QTest::newRow("png") << Png(plain) << Plain << 0;
        QTest::newRow("png 16 bits") << QtWritten(deep, "png") << deepColours << 0;
        QTest::newRow("png grey") << QtWritten(grey, "png") << greyColours << 0;
        QTest::newRow("png grey 16 bits") << QtWritten(deepGrey, "png") << deepGreyColours << 0;
        QTest::newRow("png transparent") << QtWritten(clear, "png") << clearColours << 0;
        QTest::newRow("png transparent 16 bits")
            << QtWritten(deepClear, "png") << deepClearColours << 0;
        QTest::newRow("webp") << WebP(plain) << Plain << 0;
        QTest::newRow("webp transparent") << QtWritten(clear, "webp") << clearColours << 0;
        QTest::newRow("tiff") << Tiff(plain) << Plain << 0;
        QTest::newRow("tiff 16 bits") << QtWritten(deep, "tiff") << deepColours << 0;
        QTest::newRow("tiff grey") << QtWritten(grey, "tiff") << greyColours << 0;
        QTest::newRow("tiff transparent") << QtWritten(clear, "tiff") << clearColours << 0;
        QTest::newRow("heic") << Heif(plain) << Plain << 8;
        QTest::newRow("heic transparent")
            << Heif(clear, HeifCoding::Hevc, {}, true) << clearColours << 8;
        QTest::newRow("avif") << Heif(plain, HeifCoding::Av1) << Plain << 8;
        QTest::newRow("heic 10 bits") << DeepHeif(deep, 10) << deepColours << 8;
        QTest::newRow("heic 12 bits") << DeepHeif(deep, 12) << deepColours << 8;
        QTest::newRow("avif 12 bits") << DeepHeif(deep, 12, HeifCoding::Av1) << deepColours << 8;
    }
    void everyKindImportsToItsPixels() {
        QFETCH(QByteArray, file);
        QFETCH(Colours, expected);
        QFETCH(int, tolerance);
        QVERIFY(!file.isEmpty());
        Fixture f;
        // The name says nothing: the kind is told by the content.
        QVERIFY2(f.Import(QStringLiteral("Fotka.foto"), file),
                 qPrintable(f.prompts.Texts().join('\n')));
        QVERIFY(f.prompts.asked.isEmpty());
        QVERIFY(f.note.isEmpty());
        const QString bmp = QDir(f.domy).filePath(QStringLiteral("Fotka.bmp"));
        QCOMPARE(f.ws.Doc.ProjectPath, bmp);
        QCOMPARE(f.ws.Doc.PhotoBitmap.size(), QSize(64, 48));
        QCOMPARE(f.ws.Doc.PhotoBitmap.format(), QImage::Format_BGR888);
        // The project's photograph on disk is the 24-bit BMP of the same pixels.
        const QImage saved = PhotoFiles::LoadBmp(bmp);
        QCOMPARE(saved, f.ws.Doc.PhotoBitmap);
        CheckColours(saved, expected, tolerance);
    }

    // The EXIF orientation of each container turns the picture upright (the JPEG's
    // is checked against Qt's own reader in test_photofiles); a TIFF is not turned
    // twice by its reader.
    void orientationOfEveryKind_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("orientation");
        for (const char* kind : {"jpeg", "png", "webp", "tiff"})
            for (const int orientation : {1, 3, 6, 8})
                QTest::addRow("%s %d", kind, orientation)
                    << QString::fromLatin1(kind) << orientation;
    }
    void orientationOfEveryKind() {
        QFETCH(QString, kind);
        QFETCH(int, orientation);
        const QImage plain = PlainQuadrants();
        const QByteArray file = kind == QLatin1String("jpeg")
                                    ? WithOrientation(Jpeg(Quadrants(64, 48)), orientation)
                                : kind == QLatin1String("png")  ? Png(plain, orientation)
                                : kind == QLatin1String("webp") ? WebP(plain, orientation)
                                                                : Tiff(plain, orientation);
        QCOMPARE(PhotoFiles::ReadMetadata(PhotoFiles::KindOf(file), file).Orientation, orientation);
        Fixture f;
        QVERIFY(f.Import(QStringLiteral("Otočená.x"), file));
        const QImage upright =
            PhotoFiles::Oriented(plain.convertToFormat(QImage::Format_BGR888), orientation);
        QCOMPARE(f.ws.Doc.PhotoBitmap.size(), upright.size());
        Colours expected;
        for (const QPoint at : Centres(upright.size()))
            expected << upright.pixelColor(at);
        CheckColours(f.ws.Doc.PhotoBitmap, expected, kind == QLatin1String("jpeg") ? 6 : 0);
    }

    // A phone's Display P3 photograph: each colour becomes what LittleCMS makes of it
    // in sRGB. Pure P3 red lies outside sRGB and is taken to sRGB's red; the others
    // move visibly, so a profile left out would show.
    void displayP3BecomesSrgb_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("tolerance");
        const QByteArray p3 = DisplayP3Profile();
        const QImage picture =
            FourQuadrants(QImage::Format_RGB888, {Rgb8(255, 0, 0), Rgb8(200, 100, 50),
                                                  Rgb8(30, 160, 90), Rgb8(128, 128, 128)});
        QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
        QTest::newRow("jpeg") << JpegWithProfile(Jpeg(bgr), p3) << 3;
        QTest::newRow("jpeg, profile in three segments")
            << JpegWithProfile(Jpeg(bgr), p3, int(p3.size() / 3 + 1)) << 3;
        QTest::newRow("png") << Png(picture, 0, Compressed(p3)) << 1;
        QTest::newRow("webp") << WebP(picture, 0, p3) << 1;
        QTest::newRow("tiff") << Tiff(picture, 0, p3) << 1;
        QTest::newRow("heic") << Heif(picture, HeifCoding::Hevc, p3) << 8;
    }
    void displayP3BecomesSrgb() {
        QFETCH(QByteArray, file);
        QFETCH(int, tolerance);
        const Colours p3 = {QColor(255, 0, 0), QColor(200, 100, 50), QColor(30, 160, 90),
                            QColor(128, 128, 128)};
        Colours expected;
        for (const QColor& colour : p3)
            expected << DisplayP3InSrgb(colour);
        QCOMPARE(expected[0], QColor(255, 0, 0));
        QVERIFY(Distance(expected[1], p3[1]) >= 8 && Distance(expected[2], p3[2]) >= 8);
        Fixture f;
        QVERIFY(f.Import(QStringLiteral("Telefon.x"), file));
        QVERIFY(f.prompts.asked.isEmpty());
        QCOMPARE(f.note, QString());
        CheckColours(f.ws.Doc.PhotoBitmap, expected, tolerance);
    }

    // Every kind of profile LittleCMS reads: matrix and curves (Display P3), a table
    // (the same colours measured), grey, and sRGB itself, which changes nothing.
    void profilesOfEveryKind_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("bare"); // the same picture without its profile
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<Colours>("stored");
        QTest::addColumn<int>("tolerance");
        const Colours colours = {QColor(255, 0, 0), QColor(200, 100, 50), QColor(30, 160, 90),
                                 QColor(128, 128, 128)};
        QList<QRgba64> rgba;
        for (const QColor& c : colours)
            rgba << Rgb8(c.red(), c.green(), c.blue());
        const QImage picture = FourQuadrants(QImage::Format_RGB888, rgba);
        const QByteArray tabled = TabledDisplayP3Profile();
        QTest::newRow("table") << Png(picture, 0, Compressed(tabled)) << Png(picture) << tabled
                               << colours << 2;
        // Wide gamuts mix in negative light; primaries almost in a line mix in so much
        // that the conversion goes through LittleCMS's transform pixel by pixel.
        const QByteArray adobe = GammaRgbProfile({0.64, 0.33, 0.21, 0.71, 0.15, 0.06}, 2.2);
        QTest::newRow("Adobe RGB")
            << Png(picture, 0, Compressed(adobe)) << Png(picture) << adobe << colours << 1;
        const QByteArray wide =
            GammaRgbProfile({0.7347, 0.2653, 0.1596, 0.8404, 0.0366, 0.0001}, 1.8);
        QTest::newRow("wide gamut")
            << Png(picture, 0, Compressed(wide)) << Png(picture) << wide << colours << 1;
        const QByteArray inLine = GammaRgbProfile({0.64, 0.33, 0.30, 0.60, 0.46, 0.47}, 2.2);
        QTest::newRow("primaries almost in a line")
            << Png(picture, 0, Compressed(inLine)) << Png(picture) << inLine << colours << 1;
        const QByteArray srgb = SrgbProfile();
        QTest::newRow("sRGB") << Tiff(picture, 0, srgb) << Tiff(picture) << srgb << colours << 0;
        const Colours greys = {QColor(0, 0, 0), QColor(60, 60, 60), QColor(128, 128, 128),
                               QColor(250, 250, 250)};
        QList<QRgba64> greyRgba;
        for (const QColor& c : greys)
            greyRgba << Rgb8(c.red(), c.red(), c.red());
        const QImage grey = FourQuadrants(QImage::Format_RGB888, greyRgba);
        const QByteArray linear = LinearGreyProfile();
        QTest::newRow("grey") << Tiff(grey, 0, linear) << Tiff(grey) << linear << greys << 1;
    }
    void profilesOfEveryKind() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, bare);
        QFETCH(QByteArray, profile);
        QFETCH(Colours, stored);
        QFETCH(int, tolerance);
        Colours expected;
        for (const QColor& colour : stored)
            expected << InSrgb(profile, colour);
        Fixture f;
        QVERIFY(f.Import(QStringLiteral("Profil.x"), file));
        QCOMPARE(f.note, QString());
        CheckColours(f.ws.Doc.PhotoBitmap, expected, tolerance);
        // sRGB's own profile changes not a single pixel; the others change the picture.
        QVERIFY(f.Import(QStringLiteral("Holá.x"), bare));
        const QImage withProfile = PhotoFiles::LoadBmp(f.InDomy(QStringLiteral("Profil.bmp")));
        // (A profile saved twice may differ in its date: the row tells which is sRGB's.)
        const bool srgb = QTest::currentDataTag() == QLatin1String("sRGB");
        QCOMPARE(withProfile == f.ws.Doc.PhotoBitmap, srgb);
    }

    // A profile that cannot be used never refuses the photograph: its colours are
    // taken as stored, and the note for the hint bar says why.
    void unusableProfileIsLeftOut_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("note");
        QTest::addColumn<int>("tolerance");
        const QImage plain = PlainQuadrants();
        const QByteArray garbage = QByteArray("not a colour profile at all ").repeated(20);
        const QString damaged = QStringLiteral("poškozený");
        const QString unfit = QStringLiteral("neodpovídá");
        const QByteArray jpeg = Jpeg(Quadrants(64, 48));
        QTest::newRow("jpeg") << JpegWithProfile(jpeg, garbage) << damaged << 6;
        QByteArray missingPart = JpegWithProfile(jpeg, DisplayP3Profile(), 200);
        const qsizetype second =
            missingPart.indexOf("ICC_PROFILE", missingPart.indexOf("ICC_PROFILE") + 1);
        missingPart.remove(second - 4, 4 + 14 + 200); // the second of the segments
        QTest::newRow("jpeg, a segment missing") << missingPart << damaged << 6;
        QTest::newRow("png, no zlib stream") << Png(plain, 0, garbage) << damaged << 0;
        QTest::newRow("png") << Png(plain, 0, Compressed(garbage)) << damaged << 0;
        QTest::newRow("webp") << WebP(plain, 0, garbage) << damaged << 0;
        QTest::newRow("tiff") << Tiff(plain, 0, garbage) << damaged << 0;
        QTest::newRow("heic") << Heif(plain, HeifCoding::Hevc, garbage) << damaged << 8;
        QTest::newRow("png, a Lab profile")
            << Png(plain, 0, Compressed(LabProfile())) << unfit << 0;
        // Profiles LittleCMS reads that would leave one colour: black or white.
        QTest::newRow("png, an all-zero matrix")
            << Png(plain, 0, Compressed(MatrixProfile({}, 2.2))) << damaged << 0;
        QTest::newRow("png, a negative matrix")
            << Png(plain, 0,
                   Compressed(MatrixProfile({-0.4361, -0.2225, -0.0139, -0.3851, -0.7169, -0.0971,
                                             -0.1431, -0.0606, -0.7141},
                                            2.2)))
            << damaged << 0;
        QTest::newRow("png, gamma 0")
            << Png(plain, 0, Compressed(GammaRgbProfile({0.64, 0.33, 0.30, 0.60, 0.15, 0.06}, 0.0)))
            << damaged << 0;
        QTest::newRow("tiff, a flat tone curve")
            << Tiff(plain, 0, FlatCurveProfile(30000)) << damaged << 0;
    }
    void unusableProfileIsLeftOut() {
        QFETCH(QByteArray, file);
        QFETCH(QString, note);
        QFETCH(int, tolerance);
        Fixture f;
        QVERIFY(f.Import(QStringLiteral("Profil.x"), file));
        QVERIFY(f.prompts.asked.isEmpty());
        QVERIFY2(f.note.contains(note), qPrintable(f.note));
        CheckColours(f.ws.Doc.PhotoBitmap, Plain, tolerance);
    }

    // A CMYK photograph from a print shop carries the profile of its inks: its colours
    // are what that profile says (here cyan and yellow swapped against the plain
    // inversion, so red and blue trade places), with no note.
    void cmykThroughItsOwnProfile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("tolerance");
        const QByteArray profile = CmykProfileWithRedAndBlueSwapped();
        QTest::newRow("jpeg") << JpegWithProfile(Jpeg(Quadrants(64, 48), JpegKind::Cmyk), profile)
                              << 8;
        // The inks of the plain picture, without black: each channel's ink is 255 − light.
        const QImage plain = PlainQuadrants();
        QByteArray inks;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x) {
                const QColor c = plain.pixelColor(x, y);
                inks += char(255 - c.red());
                inks += char(255 - c.green());
                inks += char(255 - c.blue());
                inks += '\0';
            }
        QTest::newRow("tiff") << RawTiff(plain.size(), 5, 4, 8, 1, inks, profile) << 3;
    }
    void cmykThroughItsOwnProfile() {
        QFETCH(QByteArray, file);
        QFETCH(int, tolerance);
        Fixture f;
        QVERIFY(f.Import(QStringLiteral("Tiskárna.x"), file));
        QCOMPARE(f.note, QString());
        const Colours swapped = {QColor(0, 0, 220), QColor(0, 200, 0), QColor(220, 0, 0),
                                 QColor(255, 255, 255)};
        CheckColours(f.ws.Doc.PhotoBitmap, swapped, tolerance);
    }

    // Whole files of kinds the readers lack are not called damaged, and a file that
    // ends before a JPEG's frame header is not a picture of 0 × 0 points.
    void refusalNamesItsCause_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("cause");
        const QByteArray jpeg = Jpeg(Quadrants(64, 48));
        QTest::newRow("jpeg cut before its frame header")
            << jpeg.left(jpeg.indexOf("\xFF\xC0"))
            << QStringLiteral("je neúplný: chybí v něm záhlaví snímku s velikostí obrázku");
        QTest::newRow("jpeg of tables only")
            << jpeg.left(jpeg.indexOf("\xFF\xC0")) + QByteArray("\xFF\xD9")
            << QStringLiteral("je neúplný: chybí v něm záhlaví snímku s velikostí obrázku");
        QTest::newRow("heic of 10 bits, mirrored")
            << DeepHeif(PlainQuadrants(), 10, HeifCoding::Hevc, 2)
            << QStringLiteral("program neumí přečíst: používá vlastnost formátu HEIF");
        QTest::newRow("tiff, CMYK of 16 bits")
            << RawTiff(QSize(4, 2), 5, 4, 16, 1, QByteArray(4 * 2 * 8, '\x40'))
            << QStringLiteral("program neumí přečíst: je to TIFF, který má barvy CMYK po 16 "
                              "bitech");
        QTest::newRow("tiff, floating point of 64 bits")
            << RawTiff(QSize(4, 2), 2, 3, 64, 3, QByteArray(4 * 2 * 24, '\0'))
            << QStringLiteral("program neumí přečíst: je to TIFF, který má barvy zapsané čísly s "
                              "plovoucí čárkou (64 bitů)");
    }
    void refusalNamesItsCause() {
        QFETCH(QByteArray, file);
        QFETCH(QString, cause);
        QVERIFY(!file.isEmpty());
        Fixture f;
        QVERIFY(!f.Import(QStringLiteral("Fotka.x"), file));
        QCOMPARE(f.prompts.asked.size(), 1);
        const QString text = f.prompts.asked[0].text;
        QVERIFY2(text.contains(cause) && text.contains(QStringLiteral("Fotka.x")) &&
                     !text.contains(QStringLiteral("poškozen")),
                 qPrintable(text));
        f.CheckEarlierProjectStays();
    }

    // A file cut short (a copy that stopped, a download that broke) is refused with a
    // Czech message; the project open before stays, and nothing is written.
    void truncatedFileIsRefused_data() {
        QTest::addColumn<QByteArray>("file");
        const QImage noise = Noise(96, 64).convertToFormat(QImage::Format_RGB888);
        QTest::newRow("jpeg") << Jpeg(Noise(96, 64), JpegKind::Baseline, 95);
        QTest::newRow("png") << Png(noise);
        QTest::newRow("webp") << WebP(noise);
        QTest::newRow("tiff") << Tiff(noise);
        QTest::newRow("tiff by Qt") << QtWritten(noise, "tiff");
        QTest::newRow("heic") << Heif(noise);
        QTest::newRow("avif") << Heif(noise, HeifCoding::Av1);
    }
    void truncatedFileIsRefused() {
        QFETCH(QByteArray, file);
        Fixture f;
        QVERIFY(!f.Import(QStringLiteral("Useknutá.x"), file.left(file.size() * 3 / 5)));
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        const QString text = f.prompts.asked[0].text;
        QVERIFY2(text.contains(QStringLiteral("poškozený")) ||
                     text.contains(QStringLiteral("není platný obrázek")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Useknutá.x")));
        f.CheckEarlierProjectStays();
    }

    // Only the content counts: a PNG named .jpg imports as PNG, text named .jpg is
    // refused with a message that names the kinds read.
    void kindIsToldByContent() {
        Fixture f;
        QCOMPARE(PhotoFiles::KindOf(Png(PlainQuadrants())), PhotoFiles::PhotoKind::Png);
        QCOMPARE(PhotoFiles::KindOf(QByteArray("RIFF\0\0\0\0WAVEfmt ", 16)),
                 PhotoFiles::PhotoKind::Unknown);
        QVERIFY(!f.Import(QStringLiteral("Dopis.jpg"), QByteArray("Milý pane, ").repeated(50)));
        QCOMPARE(f.prompts.asked.size(), 1);
        QVERIFY2(f.prompts.asked[0].text.contains(QStringLiteral("není fotografie, kterou "
                                                                 "program umí přečíst")),
                 qPrintable(f.prompts.asked[0].text));
        f.CheckEarlierProjectStays();
        QVERIFY(f.Import(QStringLiteral("Dum.jpg"), Png(PlainQuadrants())));
        CheckColours(f.ws.Doc.PhotoBitmap, Plain, 0);
    }

    // The least that tells each kind: its magic bytes and nothing after them.
    void shortestHeads_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<int>("kind");
        using PhotoFiles::PhotoKind;
        QTest::newRow("jpeg") << QByteArray("\xFF\xD8\xFF", 3) << int(PhotoKind::Jpeg);
        QTest::newRow("jpeg cut") << QByteArray("\xFF\xD8", 2) << int(PhotoKind::Unknown);
        QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1A\n", 8) << int(PhotoKind::Png);
        QTest::newRow("webp") << QByteArray("RIFF\0\0\0\0WEBP", 12) << int(PhotoKind::WebP);
        QTest::newRow("webp cut") << QByteArray("RIFF\0\0\0\0WEB", 11) << int(PhotoKind::Unknown);
        QTest::newRow("tiff") << QByteArray("II*\0", 4) << int(PhotoKind::Tiff);
        QTest::newRow("big-endian tiff") << QByteArray("MM\0*", 4) << int(PhotoKind::Tiff);
        QTest::newRow("bigtiff") << QByteArray("II+\0", 4) << int(PhotoKind::Tiff);
        QTest::newRow("heic") << QByteArray("\0\0\0\x10"
                                            "ftypheic\0\0\0\0",
                                            16)
                              << int(PhotoKind::Heif);
        QTest::newRow("mp4 video") << QByteArray("\0\0\0\x10"
                                                 "ftypisom\0\0\0\0",
                                                 16)
                                   << int(PhotoKind::Unknown);
        QTest::newRow("bmp") << QByteArray("BM\0\0\0\0", 6) << int(PhotoKind::Unknown);
    }
    void shortestHeads() {
        QFETCH(QByteArray, head);
        QFETCH(int, kind);
        QCOMPARE(int(PhotoFiles::KindOf(head)), kind);
    }

    // A header that declares a huge picture is refused before a pixel is decoded,
    // whatever the kind: beyond what the program takes at all, or beyond the room the
    // import has (here the file size limit of the process: the photograph would take
    // 150 MB).
    void declaredSizeIsMeasuredFirst_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("refusal");
        for (const QSize size : {QSize(60000, 60000), QSize(10000, 5000)}) {
            const QString refusal =
                size.width() == 60000
                    ? QStringLiteral("má nepřípustnou velikost 60000 × 60000 bodů")
                    : QStringLiteral("(10000 × 5000 bodů) nelze importovat: soubor by byl větší");
            QByteArray png = Png(PlainQuadrants());
            qToBigEndian<quint32>(quint32(size.width()), png.data() + 16); // IHDR
            qToBigEndian<quint32>(quint32(size.height()), png.data() + 20);
            const quint32 crc =
                quint32(crc32(0, reinterpret_cast<const Bytef*>(png.constData() + 12), 17));
            qToBigEndian<quint32>(crc, png.data() + 29);
            QTest::addRow("png %d", size.width()) << png << size << refusal;
            QByteArray tiff = Tiff(PlainQuadrants());
            const qsizetype ifd = qFromLittleEndian<quint32>(tiff.constData() + 4);
            qToLittleEndian<quint32>(quint32(size.width()), tiff.data() + ifd + 2 + 8);
            qToLittleEndian<quint32>(quint32(size.height()), tiff.data() + ifd + 2 + 12 + 8);
            QTest::addRow("tiff %d", size.width()) << tiff << size << refusal;
        }
    }
    void declaredSizeIsMeasuredFirst() {
        QFETCH(QByteArray, file);
        QFETCH(QSize, size);
        QFETCH(QString, refusal);
        Fixture f;
        bool imported = true;
        {
            const FileSizeLimit limit(100 << 20);
            imported = f.Import(QStringLiteral("Obrovská.x"), file);
        }
        QVERIFY(!imported);
        QCOMPARE(f.prompts.asked.size(), 1);
        QVERIFY2(f.prompts.asked[0].text.contains(refusal), qPrintable(f.prompts.asked[0].text));
        f.CheckEarlierProjectStays();
        if (size.width() < 60000)
            QCOMPARE(PhotoFiles::ReadPhotoHeader(file, QStringLiteral("x")).Size, size);
    }

    // libheif's encoder wraps a 64 × 48 picture in a grid of one 64 × 64 tile; a grid
    // that says it is larger than the picture the file declares would be decoded at
    // the grid's size, far beyond the room measured. It is refused before that.
    void heifGridLargerThanDeclaredIsRefused_data() {
        QTest::addColumn<QSize>("grid");
        QTest::newRow("24000 × 16000") << QSize(24000, 16000);
        QTest::newRow("32767 × 32767") << QSize(32767, 32767);
        QTest::newRow("65 × 48") << QSize(65, 48);
    }
    void heifGridLargerThanDeclaredIsRefused() {
        QFETCH(QSize, grid);
        const QByteArray heic = Heif(PlainQuadrants());
        // The grid's description in the item data box: version, flags, rows − 1,
        // columns − 1, then the output width and height in 16 bits each.
        const qsizetype data = heic.indexOf("idat") + 4;
        QVERIFY(data > 4 && heic.contains("grid"));
        QCOMPARE(heic.mid(data, 8), QByteArray("\0\0\0\0\0\x40\0\x30", 8));
        QByteArray file = heic;
        qToBigEndian<quint16>(quint16(grid.width()), file.data() + data + 4);
        qToBigEndian<quint16>(quint16(grid.height()), file.data() + data + 6);
        QCOMPARE(PhotoFiles::ReadPhotoHeader(file, QStringLiteral("x")).Size, QSize(64, 48));
        Fixture f;
        bool imported = true;
        {
            // Far less than the grid's picture would take: it must never be allocated.
            const AddressSpaceLimit limit(256 << 20);
            imported = f.Import(QStringLiteral("Mřížka.heic"), file);
        }
        QVERIFY(!imported);
        QCOMPARE(f.prompts.asked.size(), 1);
        const QString text = f.prompts.asked[0].text;
        QVERIFY2(text.contains(QStringLiteral("Mřížka.heic")) &&
                     text.contains(QStringLiteral("jinou velikost, než soubor uvádí (64 × 48 "
                                                  "bodů)")),
                 qPrintable(text));
        f.CheckEarlierProjectStays();
    }

    // Pictures smaller than the codec's blocks are decoded from tiles padded to them.
    void smallHeifImports_data() {
        QTest::addColumn<QByteArray>("file");
        const QImage small = FourQuadrants(
            QImage::Format_RGB888,
            {Rgb8(220, 0, 0), Rgb8(0, 200, 0), Rgb8(0, 0, 220), Rgb8(255, 255, 255)}, 20, 10);
        QTest::newRow("heic") << Heif(small);
        QTest::newRow("avif") << Heif(small, HeifCoding::Av1);
    }
    void smallHeifImports() {
        QFETCH(QByteArray, file);
        Fixture f;
        QVERIFY2(f.Import(QStringLiteral("Malá.x"), file),
                 qPrintable(f.prompts.Texts().join('\n')));
        QCOMPARE(f.ws.Doc.PhotoBitmap.size(), QSize(20, 10));
        CheckColours(f.ws.Doc.PhotoBitmap, Plain, 10);
    }

    // "Zrušit" pressed at any point of an import: no file stays, not even a temporary
    // one, the project open before stays as it was, and nothing is reported. The
    // next import goes through.
    void stoppingAnImportChangesNothing_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<double>("stopAt");
        const QImage picture = Noise(640, 480);
        const QByteArray jpeg =
            JpegWithProfile(Jpeg(picture, JpegKind::Baseline, 90), DisplayP3Profile());
        const QByteArray png = Png(picture.convertToFormat(QImage::Format_RGB888), 6);
        for (const double stopAt : {0.0, 0.3, 0.65, 0.8, 0.94}) {
            QTest::addRow("jpeg at %.2f", stopAt) << jpeg << stopAt;
            QTest::addRow("png at %.2f", stopAt) << png << stopAt;
        }
        QTest::addRow("heic at 0.5") << Heif(picture) << 0.5;
    }
    void stoppingAnImportChangesNothing() {
        QFETCH(QByteArray, file);
        QFETCH(double, stopAt);
        Fixture f;
        f.prompts.stopAt = stopAt;
        QVERIFY(!f.Import(QStringLiteral("Zrušená.x"), file));
        QVERIFY(f.prompts.asked.isEmpty());
        QCOMPARE(f.prompts.progressTexts, QStringList{QStringLiteral("Import fotografie")});
        QVERIFY(!f.prompts.reported.isEmpty() && f.prompts.reported.last() >= stopAt);
        f.CheckEarlierProjectStays();
        f.prompts.stopAt = 2.0;
        QVERIFY(f.Import(QStringLiteral("Zrušená.x"), file));
        QCOMPARE(f.ws.Doc.ProjectPath, QDir(f.domy).filePath(QStringLiteral("Zrušená.bmp")));
    }

    // The bar rises from the start to the end of the work and never falls back.
    void progressRisesToTheEnd() {
        Fixture f;
        QVERIFY(f.Import(QStringLiteral("Celá.x"), Heif(Noise(256, 128))));
        const QList<double>& reported = f.prompts.reported;
        QVERIFY(reported.size() >= 5);
        QVERIFY(reported.first() <= 0.05);
        QVERIFY(reported.last() >= 0.95 && reported.last() <= 1.0);
        for (qsizetype i = 1; i < reported.size(); ++i)
            QVERIFY2(
                reported[i] >= reported[i - 1],
                qPrintable(QStringLiteral("%1 after %2").arg(reported[i]).arg(reported[i - 1])));
    }
};

QTEST_GUILESS_MAIN(TestPhotographImport)
#include "test_photographs.moc"
