#include "project/Errors.h"
#include "project/PhotoFiles.h"
#include "support/TestJpegScans.h"
#include "support/TestPictures.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace TestPictures;

Q_DECLARE_METATYPE(TestPictures::JpegKind)

class TestPhotoFiles : public QObject {
    Q_OBJECT
private slots:
    void jpegKindsBecomeColour_data() {
        QTest::addColumn<JpegKind>("kind");
        QTest::newRow("baseline") << JpegKind::Baseline;
        QTest::newRow("progressive") << JpegKind::Progressive;
        QTest::newRow("greyscale") << JpegKind::Greyscale;
        QTest::newRow("cmyk") << JpegKind::Cmyk;
    }
    void jpegKindsBecomeColour() {
        QFETCH(JpegKind, kind);
        const QImage source = Quadrants(64, 48);
        const QImage picture = PhotoFiles::DecodeJpeg(Jpeg(source, kind), QStringLiteral("x.jpg"));
        QCOMPARE(picture.format(), QImage::Format_BGR888);
        QCOMPARE(picture.size(), QSize(64, 48));
        for (const QPoint at : {QPoint(5, 5), QPoint(58, 5), QPoint(5, 42), QPoint(58, 42)}) {
            QColor expected = source.pixelColor(at);
            if (kind == JpegKind::Greyscale)
                expected =
                    QColor(qGray(expected.rgb()), qGray(expected.rgb()), qGray(expected.rgb()));
            QVERIFY2(Distance(picture.pixelColor(at), expected) <= 6,
                     qPrintable(picture.pixelColor(at).name() + " vs " + expected.name()));
        }
    }

    // An upright phone picture stored sideways comes in upright; Qt's own reader,
    // which applies EXIF orientations too, is the judge.
    void exifOrientationTurnsThePicture_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("littleEndian");
        for (int o = 1; o <= 8; ++o)
            QTest::addRow("%d", o) << o << (o % 2 == 0);
    }
    void exifOrientationTurnsThePicture() {
        QFETCH(int, orientation);
        QFETCH(bool, littleEndian);
        const QByteArray jpeg = WithOrientation(Jpeg(Quadrants(64, 32)), orientation, littleEndian);
        QCOMPARE(PhotoFiles::ExifOrientation(jpeg), orientation);
        QBuffer buffer;
        buffer.setData(jpeg);
        QImageReader reader(&buffer, "jpeg");
        reader.setAutoTransform(true);
        const QImage expected = reader.read();
        QVERIFY(!expected.isNull());
        const QImage picture = PhotoFiles::DecodeJpeg(jpeg, QStringLiteral("x.jpg"));
        QCOMPARE(picture.size(), expected.size());
        const int w = picture.width() - 1, h = picture.height() - 1;
        for (const QPoint at :
             {QPoint(2, 2), QPoint(w - 2, 2), QPoint(2, h - 2), QPoint(w - 2, h - 2)})
            QVERIFY(Distance(picture.pixelColor(at), expected.pixelColor(at)) <= 6);
    }

    void orientationOfOddData() {
        QCOMPARE(PhotoFiles::ExifOrientation(QByteArray()), 1);
        QCOMPARE(PhotoFiles::ExifOrientation(QByteArray("\xFF\xD8\xFF\xE1\xFF\xFF", 6)), 1);
        QByteArray jpeg = WithOrientation(Jpeg(Quadrants(16, 16)), 6);
        jpeg[jpeg.indexOf("Exif") + 6 + 4] = char(0x7F); // IFD offset far outside
        QCOMPARE(PhotoFiles::ExifOrientation(jpeg), 1);
        QCOMPARE(PhotoFiles::ExifOrientation(WithOrientation(Jpeg(Quadrants(16, 16)), 9)), 1);
    }

    void undecodableJpegIsAnError() {
        QVERIFY_THROWS_EXCEPTION(
            IoError, PhotoFiles::DecodeJpeg(QByteArray("not a jpeg"), QStringLiteral("x.jpg")));
        QVERIFY_THROWS_EXCEPTION(IoError,
                                 PhotoFiles::DecodeJpeg(QByteArray(), QStringLiteral("x.jpg")));
        QTemporaryDir dir;
        QVERIFY_THROWS_EXCEPTION(IoError,
                                 PhotoFiles::LoadJpeg(dir.filePath(QStringLiteral("chybi.jpg"))));
    }

    // A photograph cut short (the first kilobyte of a large file, or most of it)
    // is refused with a message: the decoder would fill the rest with grey.
    void truncatedJpegIsRefused_data() {
        QTest::addColumn<JpegKind>("kind");
        QTest::addColumn<double>("kept");
        for (const auto& [name, kind] :
             {std::pair{"baseline", JpegKind::Baseline},
              std::pair{"progressive", JpegKind::Progressive},
              std::pair{"greyscale", JpegKind::Greyscale}, std::pair{"cmyk", JpegKind::Cmyk}}) {
            QTest::addRow("%s, first kilobyte", name) << kind << 0.0;
            QTest::addRow("%s, 90 %%", name) << kind << 0.9;
        }
    }
    void truncatedJpegIsRefused() {
        QFETCH(JpegKind, kind);
        QFETCH(double, kept);
        const QByteArray whole = Jpeg(Noise(400, 300), kind, 95);
        QVERIFY(whole.size() > 20000);
        const QByteArray cut = whole.left(kept == 0.0 ? 1000 : qsizetype(whole.size() * kept));
        QVERIFY_THROWS_EXCEPTION(IoError, PhotoFiles::DecodeJpeg(cut, QStringLiteral("dum.jpg")));
        try {
            PhotoFiles::DecodeJpeg(cut, QStringLiteral("dum.jpg"));
        } catch (const IoError& error) {
            const QStringList lines = error.message().split(QLatin1Char('\n'));
            QCOMPARE(lines.size(), 2);
            QCOMPARE(lines[0], QStringLiteral("Obrázek dum.jpg je poškozený nebo neúplný."));
            QVERIFY2(lines[1].contains(QLatin1String("Premature end")), qPrintable(lines[1]));
        }
        // The whole file still decodes.
        QCOMPARE(PhotoFiles::DecodeJpeg(whole, QStringLiteral("dum.jpg")).size(), QSize(400, 300));
    }

    // Stray bytes between two segments say nothing about the pixels: the picture is
    // the same as without them.
    void strayBytesBeforeAMarkerAreHarmless() {
        const QByteArray whole = Jpeg(Quadrants(64, 48));
        QByteArray stray = whole;
        const qsizetype scan = stray.indexOf("\xFF\xDA");
        QVERIFY(scan > 0);
        stray.insert(scan, QByteArray("\x00\x00\x00", 3));
        const QImage expected = PhotoFiles::DecodeJpeg(whole, QStringLiteral("x.jpg"));
        QCOMPARE(PhotoFiles::DecodeJpeg(stray, QStringLiteral("x.jpg")), expected);
    }

    // Bytes left over in the picture's data (before the end of the picture, or before
    // a later scan) mean the decoder lost its way: a file whose only warning was
    // "extraneous bytes before marker 0xd9" was taken, and one flipped byte of such a
    // file changed most of its pixels. Only stray bytes in the header are harmless,
    // and the data after them is held to every warning.
    void leftOverBytesInThePictureDataAreRefused_data() {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<QString>("warning");
        const QByteArray baseline = Jpeg(Noise(64, 48), JpegKind::Baseline, 90);
        QByteArray beforeEnd = baseline;
        beforeEnd.insert(beforeEnd.lastIndexOf("\xFF\xD9"), QByteArray("\x12\x34\x56", 3));
        QTest::newRow("before the end of the picture")
            << beforeEnd << "extraneous bytes before marker 0xd9";
        const QByteArray progressive = Jpeg(Noise(64, 48), JpegKind::Progressive, 90);
        QByteArray beforeScan = progressive;
        const qsizetype second = beforeScan.indexOf("\xFF\xDA", beforeScan.indexOf("\xFF\xDA") + 2);
        QVERIFY(second > 0);
        beforeScan.insert(second, QByteArray("\x12\x34", 2));
        QTest::newRow("before a later scan") << beforeScan << "extraneous bytes before marker";
        // Stray bytes in the header let the decoder go on, but not past damaged data.
        QByteArray both = baseline;
        both.insert(both.indexOf("\xFF\xDA"), QByteArray("\x00\x00\x00", 3));
        both.insert(both.lastIndexOf("\xFF\xD9"), QByteArray("\x12\x34\x56", 3));
        QTest::newRow("stray bytes in the header and left over at the end")
            << both << "extraneous bytes before marker 0xd9";
        QByteArray cut = baseline;
        cut.insert(cut.indexOf("\xFF\xDA"), QByteArray("\x00\x00\x00", 3));
        cut = cut.left(cut.size() * 9 / 10);
        QTest::newRow("stray bytes in the header, data cut short") << cut << "Premature end";
    }
    void leftOverBytesInThePictureDataAreRefused() {
        QFETCH(QByteArray, jpeg);
        QFETCH(QString, warning);
        try {
            PhotoFiles::DecodeJpeg(jpeg, QStringLiteral("dum.jpg"));
            QFAIL("decoded");
        } catch (const IoError& error) {
            QVERIFY2(error.message().startsWith(
                         QStringLiteral("Obrázek dum.jpg je poškozený nebo neúplný.\n")),
                     qPrintable(error.message()));
            QVERIFY2(error.message().contains(warning), qPrintable(error.message()));
        }
    }

    // A progressive file of more than 500 scans (one of 10,000 took 45 s) is refused;
    // the same kind of file with fewer scans decodes.
    void tooManyScansAreRefused() {
        const QImage picture = Noise(64, 64).convertToFormat(QImage::Format_Grayscale8);
        const QByteArray fewer = ProgressiveJpegWithScans(picture, 5); // 379 scans
        QCOMPARE(PhotoFiles::DecodeJpeg(fewer, QStringLiteral("x.jpg")).size(), QSize(64, 64));
        const QByteArray many = ProgressiveJpegWithScans(picture, 8); // 568 scans
        try {
            PhotoFiles::DecodeJpeg(many, QStringLiteral("x.jpg"));
            QFAIL("decoded");
        } catch (const IoError& error) {
            QVERIFY2(error.message().startsWith(
                         QStringLiteral("Soubor x.jpg není platný obrázek JPEG.\n")),
                     qPrintable(error.message()));
            QVERIFY(error.message().contains(QLatin1String("500 scans")));
        }
    }

    void jpegSizeIsReadWithoutDecoding() {
        QCOMPARE(PhotoFiles::JpegSize(Jpeg(Quadrants(64, 48)), QStringLiteral("x.jpg")),
                 QSize(64, 48));
        // Only the header is there.
        const QByteArray header = Jpeg(Noise(300, 200)).left(700);
        QCOMPARE(PhotoFiles::JpegSize(header, QStringLiteral("x.jpg")), QSize(300, 200));
        QVERIFY_THROWS_EXCEPTION(IoError, PhotoFiles::JpegSize("nothing", QStringLiteral("x.jpg")));
    }

    void bmpRoundTripIsExact() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dum.bmp"));
        QImage picture(37, 11, QImage::Format_BGR888);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 37; ++x)
                picture.setPixelColor(x, y, QColor(x * 7, y * 23, (x * y) % 256));
        PhotoFiles::SaveBmp(path, picture);
        QCOMPARE(QFileInfo(path).size(), 54 + 112 * 11); // 37 × 3 = 111, padded to 112
        const QImage read = PhotoFiles::LoadBmp(path);
        QCOMPARE(read.format(), QImage::Format_BGR888);
        QCOMPARE(read, picture);
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() == 1);
    }

    void otherBitDepthsBecome24Bits_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("8-bit palette") << int(QImage::Format_Indexed8);
        QTest::newRow("32-bit") << int(QImage::Format_RGB32);
        QTest::newRow("1-bit") << int(QImage::Format_Mono);
    }
    void otherBitDepthsBecome24Bits() {
        QFETCH(int, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("jiny.bmp"));
        const QImage source = Quadrants(20, 10).convertToFormat(QImage::Format(format));
        QVERIFY(source.save(path, "BMP"));
        const QImage read = PhotoFiles::LoadBmp(path);
        QCOMPARE(read.format(), QImage::Format_BGR888);
        QCOMPARE(read.size(), QSize(20, 10));
        QCOMPARE(read.convertToFormat(QImage::Format_RGB32),
                 source.convertToFormat(QImage::Format_RGB32));
    }

    void brokenBmpsAreRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray header(54, '\0');
        header[0] = 'B';
        header[1] = 'M';
        qToLittleEndian<qint32>(40, header.data() + 14);
        qToLittleEndian<qint32>(60000, header.data() + 18); // 60000 × 60000 claimed
        qToLittleEndian<qint32>(60000, header.data() + 22);
        qToLittleEndian<quint16>(1, header.data() + 26);
        qToLittleEndian<quint16>(24, header.data() + 28);
        QTest::newRow("huge claim") << header;
        QByteArray small = header;
        qToLittleEndian<qint32>(100, small.data() + 18);
        qToLittleEndian<qint32>(100, small.data() + 22);
        QTest::newRow("pixels missing") << small + QByteArray(100, '\x40');
        QTest::newRow("not a bmp")
            << QByteArray("GIF89a and more bytes than a header needs........................");
        QTest::newRow("empty") << QByteArray();
    }
    void brokenBmpsAreRefused() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("spatny.bmp"));
        WriteFile(path, bytes);
        QVERIFY_THROWS_EXCEPTION(IoError, PhotoFiles::LoadBmp(path));
    }

    void failedBmpSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        QVERIFY_THROWS_EXCEPTION(
            IoError,
            PhotoFiles::SaveBmp(dir.filePath(QStringLiteral("chybi/x.bmp")), Quadrants(4, 4)));
    }

    void encodeUsesTheCodecDefaults() {
        const QByteArray jpeg = PhotoFiles::EncodeJpeg(Quadrants(32, 32));
        QVERIFY(jpeg.startsWith("\xFF\xD8"));
        const QImage back = PhotoFiles::DecodeJpeg(jpeg, QStringLiteral("x.jpg"));
        QCOMPARE(back.size(), QSize(32, 32));
        QVERIFY(Distance(back.pixelColor(3, 3), QColor(220, 0, 0)) < 30);
    }
};

QTEST_GUILESS_MAIN(TestPhotoFiles)
#include "test_photofiles.moc"
