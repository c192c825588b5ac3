#include "DemoHouse.h"
#include "project/BmpFile.h"
#include "project/BoxReduction.h"
#include "project/Errors.h"
#include "project/PhotoFiles.h"
#include "support/TestBmp.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using TestPictures::WriteFile;

Q_DECLARE_METATYPE(TestBmp::Kind)

namespace {

QImage AsRgb32(const QImage& picture) {
    return picture.convertToFormat(QImage::Format_RGB32);
}

QString LoadError(const QString& path) {
    try {
        PhotoFiles::LoadBmp(path);
    } catch (const IoError& error) {
        return error.message();
    }
    return QString();
}

// A hand-made 8-bit run-length coded file: palette colours and the coded stream.
QByteArray Rle8File(int width, int height, const QList<QRgb>& palette, const QByteArray& stream,
                    int compression = 1) {
    QByteArray out("BM");
    const int dataStart = 14 + 40 + 4 * int(palette.size());
    auto put32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto put16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    put32(quint32(dataStart + stream.size()));
    put32(0);
    put32(quint32(dataStart));
    put32(40);
    put32(quint32(width));
    put32(quint32(height));
    put16(1);
    put16(compression == 2 ? 4 : 8);
    put32(quint32(compression));
    put32(quint32(stream.size()));
    put32(0);
    put32(0);
    put32(quint32(palette.size()));
    put32(0);
    for (const QRgb c : palette) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append('\0');
    }
    return out + stream;
}

const QRgb Grey = qRgb(128, 128, 128), Red = qRgb(200, 0, 0), Blue = qRgb(0, 0, 200);

} // namespace

class TestBmpFile : public QObject {
    Q_OBJECT
private slots:
    void everyKindReadsExactly_data() {
        QTest::addColumn<TestBmp::Kind>("kind");
        for (const TestBmp::Kind& kind : TestBmp::AllKinds())
            QTest::newRow(qPrintable(kind.name)) << kind;
    }
    void everyKindReadsExactly() {
        QFETCH(TestBmp::Kind, kind);
        QTemporaryDir dir;
        // Odd widths put padding at every row's end.
        for (const QSize size : {QSize(37, 11), QSize(1, 1), QSize(8, 3)}) {
            const QImage reference = TestBmp::Reference(kind, size.width(), size.height());
            const QString path = dir.filePath(QStringLiteral("dum.bmp"));
            WriteFile(path, TestBmp::Encode(reference, kind));
            const QImage read = PhotoFiles::LoadBmp(path);
            QCOMPARE(read.format(), QImage::Format_BGR888);
            QCOMPARE(AsRgb32(read), AsRgb32(reference));
        }
    }

    // A thumbnail is read row by row, never the whole picture: for every kind it is
    // exactly the whole picture, read and then shrunk.
    void shrunkWhileReadEqualsReadThenShrunk_data() { everyKindReadsExactly_data(); }
    void shrunkWhileReadEqualsReadThenShrunk() {
        QFETCH(TestBmp::Kind, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dum.bmp"));
        for (const QSize size : {QSize(37, 11), QSize(300, 7), QSize(5, 3)}) {
            WriteFile(path,
                      TestBmp::Encode(TestBmp::Reference(kind, size.width(), size.height()), kind));
            const QImage whole = PhotoFiles::LoadBmp(path);
            QSize declared;
            const QImage shrunk = PhotoFiles::LoadBmpWithin(path, QSize(8, 8), &declared);
            QCOMPARE(declared, size);
            QCOMPARE(shrunk.size(), PhotoFiles::SizeWithin(size, QSize(8, 8)));
            QCOMPARE(shrunk, BoxReduction::Reduce(whole, shrunk.size()));
        }
    }

    void sizesWithin_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("within");
        QTest::newRow("wide") << QSize(1800, 600) << QSize(256, 85);
        QTest::newRow("tall") << QSize(600, 1800) << QSize(85, 256);
        QTest::newRow("24 megapixels") << QSize(6000, 4000) << QSize(256, 171);
        QTest::newRow("small stays") << QSize(120, 80) << QSize(120, 80);
        QTest::newRow("a line keeps a pixel") << QSize(5000, 2) << QSize(256, 1);
    }
    void sizesWithin() {
        QFETCH(QSize, picture);
        QFETCH(QSize, within);
        QCOMPARE(PhotoFiles::SizeWithin(picture, QSize(256, 256)), within);
    }

    // The header alone gives the size; damaged pixels are refused only when read.
    void sizeFromTheHeaderAlone() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("paleta.bmp"));
        QByteArray bytes = Rle8File(4, 1, {Grey, Red}, QByteArray("\x00\x01\x05\x01", 4), 0);
        qToLittleEndian<quint16>(8, bytes.data() + 28);
        WriteFile(path, bytes);
        QCOMPARE(PhotoFiles::BmpSize(path), QSize(4, 1));
        QVERIFY_THROWS_EXCEPTION(IoError, PhotoFiles::LoadBmpWithin(path, QSize(256, 256)));
        WriteFile(path, "BM not a picture");
        QVERIFY_THROWS_EXCEPTION(IoError, PhotoFiles::BmpSize(path));
    }

    // Some writers leave out the padding after the last row: every pixel is there.
    void lastRowWithoutPaddingIsWhole() {
        const TestBmp::Kind kind{QStringLiteral("24"), 40, 24};
        const QImage reference = TestBmp::Reference(kind, 37, 5);
        QByteArray bytes = TestBmp::Encode(reference, kind);
        bytes.chop(1); // 37 × 3 = 111 bytes of pixels, one of padding
        QCOMPARE(AsRgb32(BmpFile::DecodeBytes(bytes, QStringLiteral("x.bmp"))), AsRgb32(reference));
    }

    // The demo house's photograph without its last byte: before, it opened as if
    // whole, its last pixels taken from whatever memory held.
    void demoPhotographCutShortIsRefused() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dum.bmp"));
        PhotoFiles::SaveBmp(path, MakeDemoHouse(240, 160).Photo);
        QFile file(path);
        QVERIFY(file.resize(file.size() - 1));
        QCOMPARE(LoadError(path), QStringLiteral("Obrázek %1 je poškozený: soubor je kratší, než "
                                                 "udává jeho hlavička.")
                                      .arg(QDir::toNativeSeparators(path)));
    }

    // Every kind, cut short or pointing past its end, is refused as damaged.
    void incompletePixelDataIsRefused_data() {
        QTest::addColumn<TestBmp::Kind>("kind");
        QTest::addColumn<QString>("damage");
        for (const TestBmp::Kind& kind : TestBmp::AllKinds()) {
            for (const char* damage : {"last byte", "half", "pixels gone", "offset past end",
                                       "offset at end", "last row"}) {
                // A coded stream read from a later byte is another stream, not a shorter one.
                const bool rle = kind.compression == 1 || kind.compression == 2;
                if (rle && QByteArray(damage) == "last row")
                    continue;
                QTest::addRow("%s, %s", qPrintable(kind.name), damage) << kind << damage;
            }
        }
    }
    void incompletePixelDataIsRefused() {
        QFETCH(TestBmp::Kind, kind);
        QFETCH(QString, damage);
        const bool rle = kind.compression == 1 || kind.compression == 2;
        QByteArray bytes = TestBmp::Encode(TestBmp::Reference(kind, 37, 11), kind);
        const qint64 start = TestBmp::DataStart(bytes);
        if (damage == QLatin1String("last byte")) {
            // A coded stream may lose its end marks and a last row its padding and
            // still be whole: cut into the last row's pixels.
            const qint64 padding = (37 * kind.bits + 31) / 32 * 4 - (37 * kind.bits + 7) / 8;
            bytes.chop(rle ? 5 : 1 + padding);
        } else if (damage == QLatin1String("half")) {
            bytes.truncate(qsizetype(start + (bytes.size() - start) / 2));
        } else if (damage == QLatin1String("pixels gone")) {
            bytes.truncate(qsizetype(start));
        } else if (damage == QLatin1String("offset past end")) {
            qToLittleEndian<quint32>(quint32(bytes.size() + 1000), bytes.data() + 10);
        } else if (damage == QLatin1String("offset at end")) {
            qToLittleEndian<quint32>(quint32(bytes.size()), bytes.data() + 10);
        } else {
            // The pixel data begins one row later than it does: the last row is missing.
            const qint64 row = (37 * kind.bits + 31) / 32 * 4;
            qToLittleEndian<quint32>(quint32(start + row), bytes.data() + 10);
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zly.bmp"));
        WriteFile(path, bytes);
        const QString message = LoadError(path);
        QVERIFY2(
            message.startsWith(
                QStringLiteral("Obrázek %1 je poškozený: ").arg(QDir::toNativeSeparators(path))),
            qPrintable(message));
        QVERIFY_THROWS_EXCEPTION(IoError, BmpFile::DecodeBytes(bytes, path));
    }

    // Pixels that a coded stream leaves out (an early end of line, a jump, an early
    // end of the picture) take palette colour 0; runs past a row's end are cut off.
    void rleGapsTakeColourZero_data() {
        QTest::addColumn<int>("compression");
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QList<QRgb>>("expected"); // top row first
        const QList<QRgb> palette{Grey, Red, Blue};
        // Rows bottom first: two red then end of line; a run of six blue on four
        // pixels; the end of the picture before the top row.
        QTest::newRow("8 bits") << 1 << QByteArray("\x02\x01\x00\x00\x06\x02\x00\x00\x00\x01", 10)
                                << QList<QRgb>{Grey, Grey, Grey, Grey, Blue, Blue,
                                               Blue, Blue, Red,  Red,  Grey, Grey};
        // A jump from (1, 0) by (2, 1), then one red and the end.
        QTest::newRow("8 bits jump")
            << 1 << QByteArray("\x01\x02\x00\x02\x02\x01\x01\x01\x00\x01", 10)
            << QList<QRgb>{Grey, Grey, Grey, Grey, Grey, Grey, Grey, Red, Blue, Grey, Grey, Grey};
        // 4 bits: red and blue alternating over three pixels, then the end.
        QTest::newRow("4 bits") << 2 << QByteArray("\x03\x12\x00\x01", 4)
                                << QList<QRgb>{Grey, Grey, Grey, Grey, Grey, Grey,
                                               Grey, Grey, Red,  Blue, Red,  Grey};
    }
    void rleGapsTakeColourZero() {
        QFETCH(int, compression);
        QFETCH(QByteArray, stream);
        QFETCH(QList<QRgb>, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rle.bmp"));
        WriteFile(path, Rle8File(4, 3, {Grey, Red, Blue}, stream, compression));
        const QImage read = PhotoFiles::LoadBmp(path);
        QCOMPARE(read.size(), QSize(4, 3));
        QList<QRgb> pixels;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                pixels << read.pixel(x, y);
        QCOMPARE(pixels, expected);
    }

    // A coded stream that stops before the picture is covered, without an end mark:
    // in a run, in the bytes of an absolute run, or inside a jump ("00 02 dx dy" cut
    // short, where a decoder without the length check read past the stream).
    void rleStreamEndingEarlyIsRefused_data() {
        QTest::addColumn<int>("compression");
        QTest::addColumn<int>("height");
        QTest::addColumn<QByteArray>("stream");
        QTest::newRow("after a line") << 1 << 3 << QByteArray("\x04\x01\x00\x00\x02\x01", 6);
        QTest::newRow("absolute run without its bytes")
            << 1 << 1 << QByteArray("\x00\x04\x01\x01", 4);
        QTest::newRow("jump without its offsets") << 1 << 2 << QByteArray("\x04\x01\x00\x02", 4);
        QTest::newRow("jump with one offset") << 1 << 2 << QByteArray("\x04\x01\x00\x02\x01", 5);
        QTest::newRow("jump alone") << 1 << 2 << QByteArray("\x00\x02", 2);
        QTest::newRow("4 bits, jump without its offsets")
            << 2 << 2 << QByteArray("\x04\x11\x00\x02", 4);
        QTest::newRow("4 bits, jump with one offset")
            << 2 << 2 << QByteArray("\x04\x11\x00\x02\x00", 5);
    }
    void rleStreamEndingEarlyIsRefused() {
        QFETCH(int, compression);
        QFETCH(int, height);
        QFETCH(QByteArray, stream);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rle.bmp"));
        const QByteArray bytes = Rle8File(4, height, {Grey, Red}, stream, compression);
        WriteFile(path, bytes);
        QVERIFY(LoadError(path).contains(QStringLiteral("končí předčasně")));
        QVERIFY_THROWS_EXCEPTION(IoError, BmpFile::DecodeBytes(bytes, path));
        QVERIFY_THROWS_EXCEPTION(IoError, PhotoFiles::LoadBmpWithin(path, QSize(2, 2)));
    }

    // The same rows, whole, with the end marks left out after the last row.
    void rleStreamWithoutEndMarksAfterTheLastRow() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rle.bmp"));
        WriteFile(path, Rle8File(4, 2, {Grey, Red}, QByteArray("\x04\x01\x00\x00\x04\x01", 6)));
        QCOMPARE(PhotoFiles::LoadBmp(path).pixel(3, 0), Red);
    }

    void colourOutsideThePaletteIsRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray plain = Rle8File(4, 1, {Grey, Red}, QByteArray("\x00\x01\x05\x01", 4), 0);
        qToLittleEndian<quint16>(8, plain.data() + 28);
        QTest::newRow("uncoded") << plain;
        QTest::newRow("coded") << Rle8File(4, 1, {Grey, Red}, QByteArray("\x04\x07\x00\x01", 4));
    }
    void colourOutsideThePaletteIsRefused() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("paleta.bmp"));
        WriteFile(path, bytes);
        QVERIFY(LoadError(path).contains(QStringLiteral("v paletě chybí")));
    }

    // A palette declared with 256 entries whose pixels begin after four of them.
    void paletteEndsWherePixelsBegin() {
        QByteArray bytes =
            Rle8File(4, 1, {Grey, Red, Blue, Grey}, QByteArray("\x00\x01\x02\x03", 4), 0);
        qToLittleEndian<quint32>(0, bytes.data() + 46); // colours used: all 256
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("paleta.bmp"));
        WriteFile(path, bytes);
        const QImage read = PhotoFiles::LoadBmp(path);
        QCOMPARE(read.pixel(1, 0), Red);
        QCOMPARE(read.pixel(2, 0), Blue);
    }

    void unsupportedKindsAreRefused_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("value");
        QTest::newRow("2 bits") << 28 << 2 << 2;
        QTest::newRow("24 bits coded") << 30 << 4 << 1;
        QTest::newRow("embedded JPEG") << 30 << 4 << 4;
        QTest::newRow("header of 20 bytes") << 14 << 4 << 20;
        QTest::newRow("width 0") << 18 << 4 << 0;
        QTest::newRow("width 70000") << 18 << 4 << 70000;
    }
    void unsupportedKindsAreRefused() {
        QFETCH(int, offset);
        QFETCH(int, size);
        QFETCH(int, value);
        const TestBmp::Kind kind{QStringLiteral("24"), 40, 24};
        QByteArray bytes = TestBmp::Encode(TestBmp::Reference(kind, 4, 4), kind);
        if (size == 2)
            qToLittleEndian<quint16>(quint16(value), bytes.data() + offset);
        else
            qToLittleEndian<quint32>(quint32(value), bytes.data() + offset);
        QVERIFY_THROWS_EXCEPTION(IoError, BmpFile::DecodeBytes(bytes, QStringLiteral("x.bmp")));
        try {
            BmpFile::DecodeBytes(bytes, QStringLiteral("x.bmp"));
        } catch (const IoError& error) {
            QVERIFY(
                error.message().startsWith(QStringLiteral("Soubor x.bmp není platný obrázek: ")));
        }
    }

    // The same files loaded by two processes, the allocator filling new memory with
    // 0x00 in one and with 0xFF in the other: every picture is the same in both, or
    // refused in both. A loader that left a pixel unwritten shows it here, where
    // neither the sanitizers nor a fuzzer see it.
    void loadingNeverShowsFreshMemory() {
        QTemporaryDir dir;
        QStringList files;
        QStringList mustRefuse;
        int n = 0;
        const auto add = [&](const QByteArray& bytes, bool damaged) {
            const QString path = dir.filePath(QStringLiteral("%1.bmp").arg(n++));
            WriteFile(path, bytes);
            files << path;
            if (damaged)
                mustRefuse << path;
        };
        for (const TestBmp::Kind& kind : TestBmp::AllKinds()) {
            const QByteArray whole = TestBmp::Encode(TestBmp::Reference(kind, 37, 11), kind);
            const qint64 start = TestBmp::DataStart(whole);
            add(whole, false);
            add(whole.left(whole.size() - 5), true);
            add(whole.left(qsizetype(start + (whole.size() - start) / 3)), true);
            QByteArray past = whole;
            qToLittleEndian<quint32>(quint32(whole.size() + 64), past.data() + 10);
            add(past, true);
            // Every byte cut in turn from the end of a small file.
            const QByteArray small = TestBmp::Encode(TestBmp::Reference(kind, 5, 2), kind);
            for (qsizetype cut = 1; cut < small.size(); cut += 7)
                add(small.left(small.size() - cut), false);
        }
        add(Rle8File(4, 3, {Grey, Red}, QByteArray("\x02\x01\x00\x02\x01\x01\x01\x01\x00\x01", 10)),
            false);
        QByteArray house;
        {
            const QString path = dir.filePath(QStringLiteral("dum.bmp"));
            PhotoFiles::SaveBmp(path, MakeDemoHouse(120, 80).Photo);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            house = file.readAll();
        }
        add(house, false);
        add(house.left(house.size() - 1), true);

        const QStringList zeros = Probe(files, 0x00);
        const QStringList ones = Probe(files, 0xFF);
        QCOMPARE(zeros.size(), files.size());
        for (qsizetype i = 0; i < files.size(); ++i) {
            QVERIFY2(zeros[i] == ones[i],
                     qPrintable(QStringLiteral("%1: %2 / %3").arg(files[i], zeros[i], ones[i])));
            if (mustRefuse.contains(files[i]))
                QVERIFY2(zeros[i] == QLatin1String("refused"), qPrintable(files[i]));
        }
        QVERIFY(zeros[files.indexOf(mustRefuse.last()) - 1].startsWith(QLatin1String("ok 120 80")));
    }

    // The check above sees unwritten memory at all: a picture never written differs.
    void freshMemoryFillsReachPictures() {
        QCOMPARE(Probe({QStringLiteral("--unfilled")}, 0x00).size(), 1);
        QVERIFY(Probe({QStringLiteral("--unfilled")}, 0x00) !=
                Probe({QStringLiteral("--unfilled")}, 0xFF));
    }

private:
    static QStringList Probe(const QStringList& arguments, int fill) {
        QProcess probe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // AddressSanitizer's allocator and glibc's each fill new memory as told.
        environment.insert(
            QStringLiteral("ASAN_OPTIONS"),
            QStringLiteral("detect_leaks=0:malloc_fill_byte=%1:max_malloc_fill_size=2147483647")
                .arg(fill));
        // glibc fills with the complement of its setting, and 0 turns it off.
        environment.insert(QStringLiteral("MALLOC_PERTURB_"),
                           QString::number(fill == 0xFF ? 1 : fill ^ 0xFF));
        probe.setProcessEnvironment(environment);
        probe.start(QStringLiteral(BMP_PROBE), arguments);
        if (!probe.waitForFinished(120000) || probe.exitCode() != 0)
            return {QStringLiteral("probe failed: ") +
                    QString::fromLocal8Bit(probe.readAllStandardError())};
        return QString::fromLatin1(probe.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

QTEST_GUILESS_MAIN(TestBmpFile)
#include "test_bmpfile.moc"
