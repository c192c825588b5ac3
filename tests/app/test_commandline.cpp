#include "app/CommandLine.h"
#include "project/PhotoFiles.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPhotographs.h"
#include "support/TestPictures.h"
#include "workspace/OpenOrImport.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace TestPictures;

Q_DECLARE_METATYPE(CommandLine::Action)

namespace {

// A folder of houses with one project, and photographs beside it.
struct Fixture {
    QTemporaryDir dir;
    QString domy = dir.filePath(QStringLiteral("domy"));
    Workspace ws;
    ScriptedPrompts prompts;

    Fixture() {
        QDir().mkpath(domy);
        const QString photo = Path(QStringLiteral("domy/Vila.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(40, 30));
        TMask::CreateBlank(40, 30).SaveToFile(photo + QStringLiteral(".mask"),
                                              {OriginalLayerTemplate()}, {});
        WriteFile(Path(QStringLiteral("Chata.heic")),
                  TestPhotographs::Heif(Quadrants(64, 48).convertToFormat(QImage::Format_RGB888)));
        WriteFile(Path(QStringLiteral("Vila.jpg")), Jpeg(Quadrants(64, 48)));
        PhotoFiles::SaveBmp(Path(QStringLiteral("Samotná.bmp")), Quadrants(8, 8));
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
};

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void arguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("noted");
        QTest::newRow("nothing") << QStringList{} << CommandLine::Start << QString() << false;
        QTest::newRow("a photograph")
            << QStringList{"dum.jpg"} << CommandLine::Start << "dum.jpg" << false;
        QTest::newRow("two files: the first")
            << QStringList{"dum.jpg", "chata.png"} << CommandLine::Start << "dum.jpg" << true;
        QTest::newRow("--help") << QStringList{"--help"} << CommandLine::Help << QString() << false;
        QTest::newRow("-h after a file")
            << QStringList{"dum.jpg", "-h"} << CommandLine::Help << QString() << false;
        QTest::newRow("--version")
            << QStringList{"--version"} << CommandLine::Version << QString() << false;
        QTest::newRow("unknown option")
            << QStringList{"--barva"} << CommandLine::Refuse << QString() << false;
        QTest::newRow("a file named like an option, after --")
            << QStringList{"--", "-dum.jpg"} << CommandLine::Start << "-dum.jpg" << false;
        QTest::newRow("a lone dash is a file")
            << QStringList{"-"} << CommandLine::Start << "-" << false;
    }
    void arguments() {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Action, action);
        QFETCH(QString, path);
        QFETCH(bool, noted);
        const CommandLine line = ParseCommandLine(arguments);
        QCOMPARE(line.action, action);
        QCOMPARE(line.path, path);
        QCOMPARE(!line.note.isEmpty(), noted);
        if (action == CommandLine::Refuse)
            QVERIFY(line.error.contains(QStringLiteral("Neznámý přepínač --barva")));
        if (noted)
            QCOMPARE(line.note, QStringLiteral("Otevírá se jen první ze souborů (dum.jpg), "
                                               "ostatní (1) zůstaly stranou."));
    }

    void helpAndVersion() {
        QVERIFY(CommandLineHelp().startsWith(QStringLiteral("Použití: tintora [SOUBOR]\n")));
        QVERIFY(CommandLineHelp().contains(QStringLiteral("--version")));
        QCOMPARE(VersionText(), QStringLiteral("Tintora 1.2\n"));
    }

    // A project's photograph or mask opens the project; a photograph of any kind is
    // imported; the questions are those of the buttons.
    void fileHandedOver_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QString>("opened"); // the project open afterwards; empty: none
        const QString vila = QStringLiteral("domy/Vila.bmp");
        const QString save = QStringLiteral("Chcete uložit změny?");
        const QString saveImport = QStringLiteral("Chcete uložit změny v dokumentu?");
        QTest::newRow("project photograph") << vila << false << QStringList{} << vila;
        QTest::newRow("project mask")
            << QStringLiteral("domy/Vila.bmp.mask") << false << QStringList{} << vila;
        QTest::newRow("project, unsaved changes") << vila << true << QStringList{save} << vila;
        QTest::newRow("heic photograph") << QStringLiteral("Chata.heic") << false << QStringList{}
                                         << QStringLiteral("domy/Chata.bmp");
        QTest::newRow("photograph, unsaved changes")
            << QStringLiteral("Chata.heic") << true << QStringList{saveImport}
            << QStringLiteral("domy/Chata.bmp");
        QTest::newRow("photograph of a name taken")
            << QStringLiteral("Vila.jpg") << false
            << QStringList{QStringLiteral("Obrázek daného jména již v databázi existuje.")}
            << QString();
        QTest::newRow("a BMP that is no project")
            << QStringLiteral("Samotná.bmp") << false
            << QStringList{QStringLiteral(
                   "Soubor nelze otevřít. Ujistěte se, že existují soubory .bmp a .bmp.mask.")}
            << QString();
    }
    void fileHandedOver() {
        QFETCH(QString, name);
        QFETCH(bool, modified);
        QFETCH(QStringList, asked);
        QFETCH(QString, opened);
        Fixture f;
        f.ws.Doc.Modified = modified;
        f.prompts.answers.enqueue(Prompts::No); // do not save
        const bool done = OpenOrImport(f.ws, f.prompts, f.domy, f.Path(name));
        QCOMPARE(f.prompts.Texts(), asked);
        QCOMPARE(done, !opened.isEmpty());
        QCOMPARE(f.ws.Doc.ProjectPath, opened.isEmpty() ? QString() : f.Path(opened));
        QVERIFY(f.prompts.fileNames.isEmpty() && f.prompts.fileFilters.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
