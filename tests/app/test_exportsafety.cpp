#include "DemoHouse.h"
#include "app/ExportCommand.h"
#include "project/MeasurementFile.h"
#include "project/PhotoFiles.h"
#include "project/RecoveryFile.h"
#include "support/ChildProcess.h"
#include "support/PdfText.h"
#include "support/SpecialFiles.h"
#include "support/TestCatalogue.h"
#include "support/TestPictures.h"
#include "workspace/ProjectOperations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run {
    int code;
    QString err;
    bool finished = true;
    QProcess::ExitStatus status = QProcess::NormalExit;
};

// The command run in this process, as if it lay in programDir.
Run Export(const QStringList& arguments, const QString& programDir = QString()) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = RunExportCommand(arguments, outStream, errStream, programDir);
    errStream.flush();
    return {code, err};
}

// The real tintora-export (or a copy of it), with an optional file size limit set in
// the child, or run as another user.
Run ExportProcess(const QStringList& arguments, rlim_t fileSizeLimit = RLIM_INFINITY,
                  const QString& program = QStringLiteral(TINTORA_EXPORT),
                  const ChildProcess::User* user = nullptr) {
    QProcess process;
    if (user) {
        ChildProcess::RunAs(process, *user);
    } else {
        process.setChildProcessModifier([fileSizeLimit] {
            if (fileSizeLimit != RLIM_INFINITY) {
                const rlimit limit{fileSizeLimit, fileSizeLimit};
                setrlimit(RLIMIT_FSIZE, &limit);
            }
        });
    }
    process.start(program, arguments);
    Run run{-1, QString()};
    run.finished = process.waitForFinished(60000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.code = process.exitCode();
    run.status = process.exitStatus();
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestExportSafety : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(catalogueDir.isValid());
        catalogue = catalogueDir.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(catalogue, TestCatalogue::SmallRows(), true), QString());
    }

    void init() {
        dir = std::make_unique<QTemporaryDir>();
        photo = dir->filePath(QStringLiteral("dum.bmp"));
        mask = photo + QStringLiteral(".mask");
        fakeCatalogue = dir->filePath(QStringLiteral("odrex.tom"));
        const DemoProject demo = MakeDemoHouse(240, 160);
        PhotoFiles::SaveBmp(photo, demo.Photo);
        demo.Mask.SaveToFile(mask, demo.Layers, demo.Schemes);
        photoBytes = ReadAll(photo);
        maskBytes = ReadAll(mask);
    }

    // --out naming the photograph replaced it with the rendered picture (at zoom 0.5
    // the project could not be opened again). However the output names one of the
    // project's files, the run is refused and both stay as they were.
    void outputNamingAnInputIsRefused_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("the same path") << "same";
        QTest::newRow("the same path at zoom 0.5") << "zoom";
        QTest::newRow("another spelling") << "spelling";
        QTest::newRow("a link to the photograph") << "link";
        QTest::newRow("a hard link to the photograph") << "hard link";
        QTest::newRow("a link to the mask") << "mask link";
        QTest::newRow("a scheme picture linked to the photograph") << "scheme link";
        QTest::newRow("the proposal over the mask") << "proposal";
        QTest::newRow("the proposal over the catalogue it reads") << "proposal catalogue";
        QTest::newRow("the paint order over a link to the catalogue") << "order catalogue";
    }
    void outputNamingAnInputIsRefused() {
        QFETCH(QString, how);
        QStringList arguments{photo, QStringLiteral("--out"), photo};
        if (how == QLatin1String("zoom")) {
            arguments << QStringLiteral("--zoom") << QStringLiteral("0.5");
        } else if (how == QLatin1String("spelling")) {
            QDir(dir->path()).mkdir(QStringLiteral("sub"));
            arguments[2] = dir->filePath(QStringLiteral("sub/../dum.bmp"));
        } else if (how == QLatin1String("link")) {
            arguments[2] = dir->filePath(QStringLiteral("odkaz.bmp"));
            QVERIFY(QFile::link(photo, arguments[2]));
        } else if (how == QLatin1String("hard link")) {
            arguments[2] = dir->filePath(QStringLiteral("pevny.bmp"));
            QVERIFY(::link(QFile::encodeName(photo).constData(),
                           QFile::encodeName(arguments[2]).constData()) == 0);
        } else if (how == QLatin1String("mask link")) {
            arguments[2] = dir->filePath(QStringLiteral("maska.png"));
            QVERIFY(QFile::link(mask, arguments[2]));
        } else if (how == QLatin1String("scheme link")) {
            const QString folder = dir->filePath(QStringLiteral("schemata"));
            QDir().mkpath(folder);
            QVERIFY(
                QFile::link(photo, QDir(folder).filePath(QStringLiteral("dum-Teplá okrová.jpg"))));
            arguments = QStringList{photo, QStringLiteral("--all-schemes"), folder};
        } else if (how == QLatin1String("proposal")) {
            arguments = QStringList{photo, QStringLiteral("--proposal"), mask};
        } else if (how.endsWith(QLatin1String("catalogue"))) {
            QFile file(fakeCatalogue);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("katalog") == 7);
            file.close();
            const bool order = how.startsWith(QLatin1String("order"));
            const QString target =
                order ? dir->filePath(QStringLiteral("objednavka.pdf")) : fakeCatalogue;
            if (order)
                QVERIFY(QFile::link(fakeCatalogue, target));
            arguments = QStringList{
                photo, order ? QStringLiteral("--order-sheet") : QStringLiteral("--proposal"),
                target, QStringLiteral("--catalogue"), fakeCatalogue};
        }
        const Run run = Export(arguments);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("své vstupní soubory nikdy nepřepisuje")),
                 qPrintable(run.err));
        QCOMPARE(ReadAll(photo), photoBytes);
        QCOMPARE(ReadAll(mask), maskBytes);
        QCOMPARE(LoadProject(photo).Photo.size(), QSize(240, 160));
        if (how.endsWith(QLatin1String("catalogue")))
            QCOMPARE(ReadAll(fakeCatalogue), QByteArray("katalog"));
    }

    // --order-sheet odrex.tom replaced the paint catalogue with a PDF, and the
    // program's own file could be replaced the same way. No output may be a file the
    // run reads or runs from: the project's mask and kept changes, the catalogue given
    // or the program's own with its settings, the programs and their help page;
    // compared as files, so that links and hard links are caught.
    void outputNamingAFileOfTheRunIsRefused_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("kept"); // the file that must stay as it was
        QTest::newRow("order sheet over the mask") << "mask"
                                                   << "dum.bmp.mask";
        QTest::newRow("order sheet over the kept changes") << "recovery"
                                                           << "dum.bmp.mask.obnova";
        QTest::newRow("order sheet over the kept references") << "kept references"
                                                              << "dum.bmp.mereni.obnova";
        QTest::newRow("order sheet over the references") << "references"
                                                         << "dum.bmp.mereni";
        QTest::newRow("picture linked to the kept changes") << "recovery link"
                                                            << "dum.bmp.mask.obnova";
        QTest::newRow("order sheet over the catalogue given") << "catalogue"
                                                              << "katalog.tom";
        QTest::newRow("order sheet hard linked to the catalogue given") << "catalogue hard link"
                                                                        << "katalog.tom";
        QTest::newRow("order sheet over the program's catalogue") << "odrex"
                                                                  << "program/odrex.tom";
        QTest::newRow("order sheet over the catalogue tintora.ini names") << "ini catalogue"
                                                                          << "sdileny.tom";
        QTest::newRow("order sheet over tintora.ini") << "ini"
                                                      << "program/tintora.ini";
        QTest::newRow("order sheet over the help page") << "help"
                                                        << "program/help/help.htm";
        QTest::newRow("order sheet over the program beside it") << "tintora"
                                                                << "program/tintora";
        QTest::newRow("order sheet over the running program") << "running program"
                                                              << "program/tintora-export";
        QTest::newRow("picture linked to the running program") << "running program link"
                                                               << "program/tintora-export";
    }
    void outputNamingAFileOfTheRunIsRefused() {
        QFETCH(QString, how);
        QFETCH(QString, kept);
        const QString program = dir->filePath(QStringLiteral("program"));
        QVERIFY(QDir().mkpath(program + QStringLiteral("/help")));
        const auto inProgram = [&program](const char* name) {
            return QDir(program).filePath(QString::fromUtf8(name));
        };
        QVERIFY(QFile::copy(catalogue, inProgram("odrex.tom")));
        TestPictures::WriteFile(inProgram("help/help.htm"), "<html>Nápověda</html>");
        TestPictures::WriteFile(inProgram("tintora"), "the program");
        const QString recovery = RecoveryFile::PathFor(photo);
        QVERIFY(QFile::copy(mask, recovery));
        const QString given = dir->filePath(QStringLiteral("katalog.tom"));
        QVERIFY(QFile::copy(catalogue, given));
        const QString shared = dir->filePath(QStringLiteral("sdileny.tom"));
        QVERIFY(QFile::copy(catalogue, shared));
        const QString sheet = QStringLiteral("--order-sheet");

        QStringList arguments{photo, sheet, dir->filePath(kept)};
        bool asProcess = false;
        if (how == QLatin1String("recovery link")) {
            arguments = QStringList{photo, QStringLiteral("--out"), dir->filePath("obnova.png")};
            QVERIFY(QFile::link(recovery, arguments[2]));
        } else if (how == QLatin1String("kept references")) {
            TestPictures::WriteFile(RecoveryFile::MeasuresPathFor(photo), "kept references");
        } else if (how == QLatin1String("references")) {
            Measurements references;
            references.References.append(
                {PlaneReference::Kind::Length, {{1, 1}, {101, 1}}, 2.0, 0});
            TestPictures::WriteFile(MeasurementFile::PathFor(photo),
                                    MeasurementFile::Serialize(references, {}));
        } else if (how == QLatin1String("catalogue")) {
            arguments << QStringLiteral("--catalogue") << given;
        } else if (how == QLatin1String("catalogue hard link")) {
            arguments[2] = dir->filePath(QStringLiteral("objednavka.pdf"));
            QVERIFY(::link(QFile::encodeName(given).constData(),
                           QFile::encodeName(arguments[2]).constData()) == 0);
            arguments << QStringLiteral("--catalogue") << given;
        } else if (how == QLatin1String("ini catalogue") || how == QLatin1String("ini")) {
            TestPictures::WriteFile(inProgram("tintora.ini"),
                                    "[catalogue]\ndatabase = ../sdileny.tom\n");
        } else if (how.startsWith(QLatin1String("running program"))) {
            QVERIFY(QFile::copy(QStringLiteral(TINTORA_EXPORT), inProgram("tintora-export")));
            QVERIFY(QFile::setPermissions(inProgram("tintora-export"),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            asProcess = true;
            if (how.endsWith(QLatin1String("link"))) {
                arguments = QStringList{photo, QStringLiteral("--out"), dir->filePath("p.png")};
                QVERIFY(QFile::link(inProgram("tintora-export"), arguments[2]));
            }
        }
        const QByteArray keptBytes = ReadAll(dir->filePath(kept));
        QVERIFY(!keptBytes.isEmpty());
        const Run run = asProcess
                            ? ExportProcess(arguments, RLIM_INFINITY, inProgram("tintora-export"))
                            : Export(arguments, program);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("své vstupní soubory nikdy nepřepisuje")),
                 qPrintable(run.err));
        QCOMPARE(ReadAll(dir->filePath(kept)), keptBytes);
        QCOMPARE(ReadAll(photo), photoBytes);
        QCOMPARE(ReadAll(mask), maskBytes);
    }

    // Two outputs of one run that are one file: the second would replace the first.
    void outputsOfOneRunAreDifferentFiles_data() {
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("link"); // a link made first: its name and target
        QTest::newRow("the same name") << "obr.png"
                                       << "obr.png"
                                       << "";
        QTest::newRow("another spelling") << "obr.png"
                                          << "sub/../obr.png"
                                          << "";
        QTest::newRow("names told apart only by case") << "obr.png"
                                                       << "OBR.png"
                                                       << "";
        QTest::newRow("a link to the other output") << "odkaz.png"
                                                    << "objednavka.pdf"
                                                    << "odkaz.png>objednavka.pdf";
        QTest::newRow("a hard link to the other output") << "pevny.png"
                                                         << "objednavka.pdf"
                                                         << "pevny.png=objednavka.pdf";
    }
    void outputsOfOneRunAreDifferentFiles() {
        QFETCH(QString, out);
        QFETCH(QString, sheet);
        QFETCH(QString, link);
        QDir(dir->path()).mkdir(QStringLiteral("sub"));
        TestPictures::WriteFile(dir->filePath(QStringLiteral("objednavka.pdf")), "stará");
        if (link.contains(QLatin1Char('>'))) {
            const QStringList ends = link.split(QLatin1Char('>'));
            QVERIFY(QFile::link(dir->filePath(ends[1]), dir->filePath(ends[0])));
        } else if (link.contains(QLatin1Char('='))) {
            const QStringList ends = link.split(QLatin1Char('='));
            QVERIFY(::link(QFile::encodeName(dir->filePath(ends[1])).constData(),
                           QFile::encodeName(dir->filePath(ends[0])).constData()) == 0);
        }
        const QStringList before = Entries(dir->path());
        const Run run = Export({photo, QStringLiteral("--out"), dir->filePath(out),
                                QStringLiteral("--order-sheet"), dir->filePath(sheet)});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("je zadán dvakrát")), qPrintable(run.err));
        QCOMPARE(Entries(dir->path()), before);
        QCOMPARE(ReadAll(dir->filePath(QStringLiteral("objednavka.pdf"))), QByteArray("stará"));
    }

    // An output's name may be a link: the file it leads to is written and the link
    // stays. A FIFO, a device or a socket standing at the name was replaced by a file
    // (run as root, --out /dev/null would have replaced the system's device): each is
    // refused in Czech, nothing is written, and it stays what it was.
    void onlyRegularFilesAreReplaced_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason"); // empty: written through the link
        QTest::newRow("picture through a link") << "--out"
                                                << "link" << QString();
        QTest::newRow("proposal through a link") << "--proposal"
                                                 << "link" << QString();
        QTest::newRow("picture into a FIFO") << "--out"
                                             << "fifo"
                                             << "je to roura (FIFO), ne obyčejný soubor";
        QTest::newRow("paint order into a FIFO") << "--order-sheet"
                                                 << "fifo"
                                                 << "je to roura (FIFO), ne obyčejný soubor";
        QTest::newRow("picture onto a device") << "--out"
                                               << "device"
                                               << "je to zařízení, ne obyčejný soubor";
        QTest::newRow("proposal through a link to /dev/null")
            << "--proposal"
            << "device link"
            << "je to zařízení, ne obyčejný soubor";
        QTest::newRow("paint order onto a socket") << "--order-sheet"
                                                   << "socket"
                                                   << "je to socket, ne obyčejný soubor";
        QTest::newRow("picture into a folder") << "--out"
                                               << "folder"
                                               << "je to složka, ne obyčejný soubor";
    }
    void onlyRegularFilesAreReplaced() {
        QFETCH(QString, option);
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString suffix =
            option == QLatin1String("--out") ? QStringLiteral(".png") : QStringLiteral(".pdf");
        const QString target = dir->filePath(QStringLiteral("vystup") + suffix);
        const QString real = dir->filePath(QStringLiteral("jinde/skutecny") + suffix);
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("jinde")));
        const QByteArray native = QFile::encodeName(target);
        if (kind == QLatin1String("link")) {
            TestPictures::WriteFile(real, "stary");
            QVERIFY(QFile::link(real, target));
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(native.constData(), 0600), 0);
        } else if (kind == QLatin1String("device")) {
            // The numbers of /dev/null; only root may make a device.
            if (::mknod(native.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
                QSKIP("A device can be made only by root.");
        } else if (kind == QLatin1String("device link")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), target));
        } else if (kind == QLatin1String("socket")) {
            QVERIFY(BindSocket(target));
        } else {
            QVERIFY(QDir(dir->path()).mkdir(QFileInfo(target).fileName()));
        }
        const mode_t before = KindAt(target);
        const QStringList entries = Entries(dir->path());
        const Run run = Export({photo, option, target, QStringLiteral("--catalogue"), catalogue});
        QCOMPARE(KindAt(target), before);
        QCOMPARE(Entries(dir->path()), entries);
        QCOMPARE(Entries(dir->filePath(QStringLiteral("jinde"))),
                 kind == QLatin1String("link") ? QStringList{QFileInfo(real).fileName()}
                                               : QStringList{});
        if (reason.isEmpty()) {
            QVERIFY2(run.code == 0, qPrintable(run.err));
            const QByteArray written = ReadAll(real);
            QVERIFY(written.startsWith(option == QLatin1String("--out") ? "\x89PNG" : "%PDF"));
            return;
        }
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, QStringLiteral("Soubor %1 nelze uložit: %2.\n").arg(target, reason));
    }

    // Beside a running Tintora the embedded engine refused the export the catalogue (one
    // process at a time), and the paint order came out without a single shade name,
    // reported as success. The run reads a copy of its own of the catalogue and makes
    // the whole paper; the program keeps reading its catalogue, and no copy stays. Where
    // no copy can be made the run is refused in Czech and writes nothing.
    void papersBesideTheRunningProgram_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("besideTheProgram"); // else named with --catalogue
        QTest::addColumn<bool>("roomForACopy");
        QTest::newRow("paint order, the catalogue given") << "--order-sheet" << false << true;
        QTest::newRow("paint order, the program's own catalogue")
            << "--order-sheet" << true << true;
        QTest::newRow("proposal, the program's own catalogue") << "--proposal" << true << true;
        QTest::newRow("paint order, no room for a copy") << "--order-sheet" << false << false;
    }
    void papersBesideTheRunningProgram() {
        QFETCH(QString, option);
        QFETCH(bool, besideTheProgram);
        QFETCH(bool, roomForACopy);
        const QString program = dir->filePath(QStringLiteral("program"));
        const QString temporary = dir->filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(program) && QDir().mkpath(temporary));
        const QString held = QDir(program).filePath(QStringLiteral("odrex.tom"));
        QVERIFY(QFile::copy(catalogue, held));
        const DemoProject demo = MakeDemoHouse(240, 160);
        LayerList layers = demo.Layers;
        const auto paint = [&layers](int layer, int shade, int fanDeck, int kind) {
            layers[layer].ShadeId = shade;
            layers[layer].FanDeckId = fanDeck;
            layers[layer].PaintKindId = kind;
            layers[layer].Quantity = 12;
        };
        paint(1, 6, 30, 1);
        paint(5, 4, 13, 2);
        const QString painted = dir->filePath(QStringLiteral("natreny.bmp"));
        PhotoFiles::SaveBmp(painted, demo.Photo);
        demo.Mask.SaveToFile(painted + QStringLiteral(".mask"), layers, {});

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        // The program's catalogue held open the way the program holds it.
        QProcess running;
        running.setProcessEnvironment(environment);
        running.start(QStringLiteral(CATALOGUE_PROBE), {QStringLiteral("--settings"), program});
        QVERIFY(running.waitForReadyRead(60000));
        QVERIFY(running.readLine().startsWith("ok "));

        const QString paper = dir->filePath(QStringLiteral("papir.pdf"));
        QString command = QStringLiteral(TINTORA_EXPORT);
        QStringList arguments{painted, option, paper};
        if (besideTheProgram) {
            command = QDir(program).filePath(QStringLiteral("tintora-export"));
            QVERIFY(QFile::copy(QStringLiteral(TINTORA_EXPORT), command));
            QVERIFY(QFile::setPermissions(command,
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        } else {
            arguments << QStringLiteral("--catalogue") << held;
        }
        QProcess exporter;
        // Temporary files in a folder of the test's own, to see that none stays.
        const QString runtime = dir->filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(runtime));
        QVERIFY(
            QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        environment.insert(QStringLiteral("TMPDIR"),
                           roomForACopy ? temporary : photo); // a file: no folder in it
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        exporter.setProcessEnvironment(environment);
        exporter.start(command, arguments);
        QVERIFY(exporter.waitForFinished(60000));
        const QString err = QString::fromLocal8Bit(exporter.readAllStandardError());
        QCOMPARE(exporter.exitStatus(), QProcess::NormalExit);
        if (roomForACopy) {
            QVERIFY2(exporter.exitCode() == 0, qPrintable(err));
            QCOMPARE(err, QString());
            const QString text = PdfText(paper);
            for (const char* name : {"Žlutá kuchyň", "E 101 - 01", "Moje", "Silikonová barva"})
                QVERIFY2(text.contains(QString::fromUtf8(name)), qPrintable(text));
            QVERIFY(!text.contains(QStringLiteral("Katalog barev nebyl")));
            QCOMPARE(Entries(temporary), QStringList());
        } else {
            QCOMPARE(exporter.exitCode(), 1);
            QCOMPARE(err, QStringLiteral("Katalog barev %1 má otevřený jiný spuštěný program a "
                                         "jeho kopii nelze vytvořit: dočasnou složku nelze "
                                         "vytvořit.\nNic nebylo zapsáno.\n")
                              .arg(held));
            QVERIFY(!QFile::exists(paper));
        }

        running.write("read\n");
        QVERIFY(running.waitForReadyRead(60000));
        QVERIFY(running.readLine().startsWith("ok "));
        running.closeWriteChannel();
        QVERIFY(running.waitForFinished(60000));
    }

    // Under a file size limit below what the embedded Firebird engine needs for its
    // lock table (1 MB), opening the catalogue ended the command with a bus error.
    // The catalogue is refused in Czech and the order sheet made without its names.
    void fileSizeLimitBelowTheCatalogueEngineNeeds_data() {
        QTest::addColumn<int>("kilobytes");
        QTest::addColumn<bool>("refused");
        QTest::newRow("512 kB") << 512 << true;
        QTest::newRow("1023 kB") << 1023 << true;
        QTest::newRow("1024 kB") << 1024 << false;
    }
    void fileSizeLimitBelowTheCatalogueEngineNeeds() {
        QFETCH(int, kilobytes);
        QFETCH(bool, refused);
        const QString sheet = dir->filePath(QStringLiteral("objednavka.pdf"));
        const Run run = ExportProcess({photo, QStringLiteral("--catalogue"), catalogue,
                                       QStringLiteral("--order-sheet"), sheet},
                                      rlim_t(kilobytes) * 1024);
        QVERIFY(run.finished);
        QCOMPARE(run.status, QProcess::NormalExit);
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QCOMPARE(run.err.contains(QStringLiteral("systém dovoluje jen soubory do %1 kB, databáze "
                                                 "potřebuje soubory o velikosti nejméně 1024 kB")
                                      .arg(kilobytes)),
                 refused);
        QCOMPARE(run.err.contains(QStringLiteral("je bez jmen odstínů")), refused);
        QVERIFY(ReadAll(sheet).startsWith("%PDF"));
    }

    // A run that fails changes no file that stood before it and leaves nothing of
    // its own: not the picture that stood at --out, not the photograph, not the
    // folders it made.
    void failedRunLeavesEverythingAsItWas_data() {
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("schemes");
        QTest::newRow("schemes folder under a file") << "stary.png"
                                                     << "soubor/schemata";
        QTest::newRow("new picture, folder under a file") << "novy.png"
                                                          << "soubor/schemata";
        QTest::newRow("photograph, folder under a file") << "dum.bmp"
                                                         << "soubor/schemata";
        QTest::newRow("out is a folder, schemes in new folders") << "slozka.png"
                                                                 << "a/b/c";
    }
    void failedRunLeavesEverythingAsItWas() {
        QFETCH(QString, out);
        QFETCH(QString, schemes);
        const QString old = dir->filePath(QStringLiteral("stary.png"));
        QFile::copy(photo, old);
        QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray oldBytes = ReadAll(old);
        QFile(dir->filePath(QStringLiteral("soubor"))).open(QIODevice::WriteOnly);
        QDir(dir->path()).mkdir(QStringLiteral("slozka.png"));
        const QStringList before = Entries(dir->path());

        const Run run = Export({photo, QStringLiteral("--out"), dir->filePath(out),
                                QStringLiteral("--all-schemes"), dir->filePath(schemes)});
        QCOMPARE(run.code, 1);
        QVERIFY(!run.err.isEmpty());
        QCOMPARE(Entries(dir->path()), before);
        QCOMPARE(ReadAll(old), oldBytes);
        QCOMPARE(ReadAll(photo), photoBytes);
        QCOMPARE(ReadAll(mask), maskBytes);
        QVERIFY(Entries(dir->filePath(QStringLiteral("slozka.png"))).isEmpty());
    }

    // A FIFO named like a photograph or a mask hung the tool, a mask linked to
    // /dev/zero read until memory ran out: only regular files are read.
    void onlyRegularFilesAreRead_data() {
        QTest::addColumn<QString>("what");
        QTest::newRow("photograph is a FIFO") << "photo fifo";
        QTest::newRow("mask is a FIFO") << "mask fifo";
        QTest::newRow("mask links to /dev/zero") << "zero";
    }
    void onlyRegularFilesAreRead() {
        QFETCH(QString, what);
        const QString odd = dir->filePath(QStringLiteral("divny.bmp"));
        if (what == QLatin1String("photo fifo")) {
            QVERIFY(::mkfifo(QFile::encodeName(odd).constData(), 0600) == 0);
            QVERIFY(QFile::copy(mask, odd + QStringLiteral(".mask")));
        } else {
            QVERIFY(QFile::copy(photo, odd));
            const QByteArray oddMask = QFile::encodeName(odd + QStringLiteral(".mask"));
            if (what == QLatin1String("mask fifo"))
                QVERIFY(::mkfifo(oddMask.constData(), 0600) == 0);
            else
                QVERIFY(::symlink("/dev/zero", oddMask.constData()) == 0);
        }
        const Run run = ExportProcess(
            {odd, QStringLiteral("--out"), dir->filePath(QStringLiteral("vystup.png"))});
        QVERIFY(run.finished);
        QCOMPARE(run.status, QProcess::NormalExit);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("není to obyčejný soubor")), qPrintable(run.err));
        QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("vystup.png"))));
    }

    // A write past the file size limit ended the process with SIGXFSZ; now the
    // write fails and is reported like a full disk, and no part of it stays.
    // A folder the user may not write into is named as such, not as missing (run as
    // "nobody" when the tests run as root, whom permissions do not bind).
    void aFolderTheUserMayNotWriteIsNamed() {
        const ChildProcess::User user = ChildProcess::UnprivilegedUser();
        ChildProcess::OpenForAll(dir->path());
        for (const QString& file : {photo, mask})
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                            QFile::ReadOther);
        const QString folder = dir->filePath(QStringLiteral("jen ke čtení"));
        QVERIFY(QDir().mkdir(folder));
        // Inside it, a folder the user cannot even look into.
        const QString hidden = folder + QStringLiteral("/zavřená");
        QVERIFY(QDir().mkdir(hidden));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner |
                                                  QFile::ReadGroup | QFile::ExeGroup |
                                                  QFile::ReadOther | QFile::ExeOther));
        QVERIFY(
            QFile::setPermissions(hidden, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        if (!user.switched)
            QVERIFY(QFile::setPermissions(hidden, QFileDevice::Permissions()));
        for (const QString& out : {folder + QStringLiteral("/obrázek.jpg"),
                                   hidden + QStringLiteral("/uvnitř/obrázek.jpg")}) {
            const Run run = ExportProcess({photo, QStringLiteral("--out"), out}, RLIM_INFINITY,
                                          QStringLiteral(TINTORA_EXPORT), &user);
            QVERIFY(run.finished);
            QCOMPARE(run.code, 1);
            QVERIFY2(run.err.contains(QStringLiteral("Soubor %1 nelze uložit: do složky nelze "
                                                     "zapisovat.")
                                          .arg(out)),
                     qPrintable(run.err));
        }
        QCOMPARE(Entries(folder), QStringList{QStringLiteral("zavřená")});
        QFile::setPermissions(hidden, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void fileSizeLimitIsAReportedFailure() {
        const QString out = dir->filePath(QStringLiteral("velky.bmp"));
        const QStringList before = Entries(dir->path());
        const Run run = ExportProcess(
            {photo, QStringLiteral("--zoom"), QStringLiteral("2"), QStringLiteral("--out"), out},
            200 * 1024); // the picture takes 461 kB
        QVERIFY(run.finished);
        QCOMPARE(run.status, QProcess::NormalExit);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("soubor by byl větší, než systém dovoluje")),
                 qPrintable(run.err));
        QCOMPARE(Entries(dir->path()), before);
        // Within the limit the same run succeeds.
        QCOMPARE(ExportProcess({photo, QStringLiteral("--out"), out}, 200 * 1024).code, 0);
        QCOMPARE(QImage(out).size(), QSize(240, 160));
    }

private:
    QTemporaryDir catalogueDir;
    QString catalogue;
    std::unique_ptr<QTemporaryDir> dir;
    QString photo, mask;
    QString fakeCatalogue; // a file that only stands where a catalogue would
    QByteArray photoBytes, maskBytes;
};

QTEST_MAIN(TestExportSafety)
#include "test_exportsafety.moc"
