// The catalogue shared on a Firebird server: the test starts a server of its own,
// names its catalogues in tintora.ini beside a program folder, and browses them with
// the same code that reads the file beside the program.
#include "CatalogueScript.h"
#include "DemoHouse.h"
#include "app/ExportCommand.h"
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "catalogue/CatalogueWindow.h"
#include "palette/SimilarShadeSearch.h"
#include "project/PhotoFiles.h"
#include "support/PdfText.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"
#include "support/TestFirebirdServer.h"
#include "support/TestWidgets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The server's administrator, and the account a paint shop's counters read with.
const QString AdminPassword = QStringLiteral("spravce-katalogu");
const QString CounterUser = QStringLiteral("PULT");
const QString CounterPassword = QStringLiteral("pult-2024");

// Reading rights for the counters' account, given when the catalogue is built.
QString CounterGrants() {
    QString sql;
    for (const char* table :
         {"verze", "Firma", "Vejir", "Firma_in_vejir", "Odstin", "Odstin_In_Vejir"})
        sql += QStringLiteral("GRANT SELECT ON %1 TO USER %2;\n")
                   .arg(QString::fromLatin1(table), CounterUser);
    return sql + QStringLiteral("COMMIT;\n");
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Names(const ShadeList& shades) {
    QStringList names;
    for (const ShadeRecord& s : shades)
        names << s.name;
    return names;
}

QStringList KindNames(const PaintKindList& kinds) {
    QStringList names;
    for (const PaintKindRecord& k : kinds)
        names << k.name;
    return names;
}

QString Dump(const ShadeRecord& s) {
    return QStringLiteral("%1|%2|%3,%4,%5|%6|%7|%8")
        .arg(s.id)
        .arg(s.name)
        .arg(s.red)
        .arg(s.green)
        .arg(s.blue)
        .arg(s.notice)
        .arg(s.fanDeckId)
        .arg(s.fanDeckLabel);
}

void DumpShades(QStringList& lines, const QString& heading, const CatalogueModel& model) {
    lines << heading;
    for (const ShadeRecord& s : model.Shades)
        lines << Dump(s);
}

// Everything a user can browse: every fan deck under every filter, every paint kind
// of it in the three sort orders, name searches and similar-shade searches.
QStringList BrowseEverything(CatalogueModel& model) {
    QStringList lines;
    for (const TypeFilter filter :
         {TypeFilter::Both, TypeFilter::OnlyAlkyd, TypeFilter::OnlyDispersion}) {
        model.SetTypeFilter(filter);
        lines << QStringLiteral("fan decks: ") + model.FanDeckNames().join(QLatin1Char(';'));
    }
    model.ToggleShowOwn();
    lines << QStringLiteral("without own: ") + model.FanDeckNames().join(QLatin1Char(';'));
    model.ReloadAllFanDecks();
    for (int deck = 0; deck < model.FanDecks.size(); ++deck) {
        model.ChooseFanDeck(deck);
        const FanDeckRecord& record = model.FanDecks[deck];
        lines << QStringLiteral("fan deck %1 %2 %3 %4")
                     .arg(record.id)
                     .arg(record.name)
                     .arg(record.alkyd)
                     .arg(record.own);
        for (int kind = 0; kind < model.PaintKinds.size(); ++kind) {
            model.ChoosePaintKind(kind);
            const PaintKindRecord& k = model.PaintKinds[kind];
            lines << QStringLiteral("paint kind %1 %2 %3").arg(k.id).arg(k.name, k.unit);
            model.SortByInsertion();
            DumpShades(lines, QStringLiteral("by insertion"), model);
            model.SortByName();
            DumpShades(lines, QStringLiteral("by name"), model);
            model.SortShadesByColour();
            DumpShades(lines, QStringLiteral("by colour"), model);
        }
    }
    for (const char* text : {"E", "01 - 0", "Šeřík", "ř", "O'Neil", "%", "nic"}) {
        model.SearchShades(QString::fromUtf8(text));
        DumpShades(lines, QStringLiteral("search ") + QString::fromUtf8(text), model);
    }
    ScriptedPrompts prompts;
    const std::array<std::array<int, 3>, 3> colours{
        {{200, 162, 200}, {120, 80, 50}, {30, 90, 160}}};
    for (const auto& colour : colours) {
        SimilarShades::Search(
            model, prompts, SimilarShades::Variant::FreeColour,
            {QString::number(colour[0]), QString::number(colour[1]), QString::number(colour[2])},
            {QStringLiteral("25"), QStringLiteral("25"), QStringLiteral("25")});
        DumpShades(lines, QStringLiteral("similar to %1").arg(colour[0]), model);
    }
    return lines;
}

// A probe that stays connected and answers lines: the program as another user starts it.
struct Probe {
    QProcess process;

    ~Probe() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(10000);
        }
    }

    QString Line(int timeoutMs = 60000) {
        while (!process.canReadLine()) {
            if (process.state() == QProcess::NotRunning || !process.waitForReadyRead(timeoutMs))
                break;
        }
        if (!process.canReadLine())
            return QStringLiteral("(no answer; the probe wrote: %1%2)")
                .arg(QString::fromUtf8(process.readAll()),
                     QString::fromUtf8(process.readAllStandardError()));
        return QString::fromUtf8(process.readLine()).trimmed();
    }
    QString Ask(const char* command) {
        process.write(command);
        process.write("\n");
        return Line();
    }
};

} // namespace

class TestCatalogueServer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(programs.isValid());
        QVERIFY(localDir.isValid());
        // The small catalogue read-only, as the demo catalogue is shipped, and with
        // reading rights for the counters; the palette's catalogue as a user's own,
        // writable one; the demo catalogue built as the build stages it.
        small = server.DataFile(QStringLiteral("odrex.tom"));
        palette = server.DataFile(QStringLiteral("paleta.tom"));
        demo = server.DataFile(QStringLiteral("demo.tom"));
        localDemo = localDir.filePath(QStringLiteral("odrex.tom"));
        QVERIFY(QDir().mkpath(server.DataFolder()));
        QCOMPARE(TestCatalogue::Build(small, TestCatalogue::SmallRows() + CounterGrants(), true),
                 QString());
        QCOMPARE(TestCatalogue::Build(palette, TestCatalogue::PaletteRows()), QString());
        QFile schema(QStringLiteral(TINTORA_CATALOGUE_SCHEMA));
        QVERIFY(schema.open(QIODevice::ReadOnly));
        QCOMPARE(CatalogueScript::BuildDatabase(localDemo, QString::fromUtf8(schema.readAll()),
                                                CatalogueScript::DemoRows(), true),
                 QString());
        QVERIFY(QFile::copy(localDemo, demo));
        for (const QString& file : {small, palette, demo})
            before[file] = ReadAll(file);

        const QString failure = server.Start();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    void cleanupTestCase() { server.Stop(); }

    void init() { QVERIFY2(server.Running(), qPrintable(server.Log())); }

    // tintora.ini beside the program names the server's catalogue; the same
    // statements read it through the same driver.
    void theSettingsNameTheServersCatalogue() {
        const QString appDir = Program(QStringLiteral("nastaveni"), server.DatabaseName(small),
                                       CounterUser, CounterPassword);
        const CatalogueLocation location = CatalogueSettings::Read(appDir);
        QVERIFY(location.OnServer());
        QCOMPARE(location.host, QStringLiteral("127.0.0.1"));
        QCOMPARE(location.port, QString::number(server.Port()));
        QCOMPARE(location.path, small);
        QCOMPARE(location.user, CounterUser);
        CatalogueDatabase database;
        database.Open(location);
        QVERIFY(database.IsOpen());
        QCOMPARE(database.Version(), 0);
        QCOMPARE(database.Location().ConnectionName(), server.DatabaseName(small));
    }

    void fanDecksInTypeAndNameOrder() {
        auto [database, model] = OpenSmall();
        QCOMPARE(model->FanDeckNames(), (QStringList{"Syntetika", "Exteriér", "Exteriér", "Moje"}));
        QVERIFY(model->FanDecks[0].alkyd);
        QVERIFY(model->FanDecks[3].own);
        QCOMPARE(KindNames(model->PaintKinds), QStringList{"Email"});
        QCOMPARE(Names(model->Shades), QStringList{"S 001 - 01"});
        QCOMPARE(model->SelectedShade, -1);
    }

    void fanDeckInTwoRowsOffersBothPaintKinds() {
        auto [database, model] = OpenSmall();
        model->ChooseFanDeck(2);
        QCOMPARE(model->SelectedFanDeckIds(), (QList<int>{12, 13}));
        QCOMPARE(KindNames(model->PaintKinds), (QStringList{"Fasádní barva", "Silikonová barva"}));
        QCOMPARE(model->Shades.size(), 3);
        model->ChoosePaintKind(1);
        QCOMPARE(Names(model->Shades), QStringList{"E 101 - 01"});
        QCOMPARE(model->Shades[0].fanDeckId, 13);
        QCOMPARE(model->Shades[0].fanDeckLabel, QStringLiteral("[D] Exteriér"));
    }

    void nullColoursAndRemarks() {
        auto [database, model] = OpenSmall();
        model->ChooseFanDeck(1);
        model->SortByInsertion();
        QCOMPARE(Names(model->Shades), (QStringList{"E 002 - 01", "E 001 - 02", "E 001 - 01"}));
        const ShadeRecord& redless = model->Shades[2];
        QCOMPARE(redless.red, 300);
        QCOMPARE(redless.green, 50);
        QCOMPARE(redless.blue, 60);
        QVERIFY(!redless.HasColour());
        QCOMPARE(model->Shades[1].notice, QStringLiteral("Vhodné i do exteriéru"));
        QCOMPARE(model->Shades[0].ColourValue(), Rgb(200, 10, 10));
    }

    void sortOrdersAndFilters() {
        auto [database, model] = OpenSmall();
        model->ChooseFanDeck(1);
        model->SortByName();
        QCOMPARE(Names(model->Shades), (QStringList{"E 001 - 01", "E 001 - 02", "E 002 - 01"}));
        model->SortShadesByColour();
        QCOMPARE(Names(model->Shades), (QStringList{"E 001 - 02", "E 002 - 01", "E 001 - 01"}));
        model->SetTypeFilter(TypeFilter::OnlyAlkyd);
        QCOMPARE(model->FanDeckNames(), QStringList{"Syntetika"});
        model->SetTypeFilter(TypeFilter::OnlyDispersion);
        model->ToggleShowOwn();
        QCOMPARE(model->FanDeckNames(), (QStringList{"Exteriér", "Exteriér"}));
        model->ReloadAllFanDecks();
        QCOMPARE(model->FanDecks.size(), 4);
    }

    // Czech letters and an apostrophe travel to the server and back unchanged.
    void searchByName_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("digits") << QStringLiteral("E 001")
                                << QStringList{"E 001 - 02", "E 001 - 01"};
        QTest::newRow("Czech letters") << QStringLiteral("Žlutá") << QStringList{"Žlutá kuchyň"};
        QTest::newRow("apostrophe") << QStringLiteral("O'Neil") << QStringList{"O'Neil"};
        QTest::newRow("nothing") << QStringLiteral("nic takového") << QStringList{};
    }
    void searchByName() {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        auto [database, model] = OpenSmall();
        model->SearchShades(text);
        QCOMPARE(model->Mode, ShadeListMode::FoundShades);
        QStringList names = Names(model->Shades);
        names.sort();
        found.sort();
        QCOMPARE(names, found);
    }

    // The box 125, 25, 211 +- 30 on the server: both corners and the centre, which
    // stands in two fan decks; the shades one step outside are not found.
    void similarShades() {
        const QString appDir = Program(QStringLiteral("paleta"), server.DatabaseName(palette),
                                       QStringLiteral("SYSDBA"), AdminPassword);
        CatalogueDatabase database;
        database.Open(CatalogueSettings::Read(appDir));
        CatalogueModel model(database);
        model.LoadFanDecks();
        model.ChooseFanDeck(int(model.FanDeckNames().indexOf(QStringLiteral("Hrany"))));
        model.SelectedShade = int(Names(model.Shades).indexOf(QStringLiteral("H střed")));
        QVERIFY(model.SelectedShade >= 0);
        ScriptedPrompts prompts;
        using namespace SimilarShades;
        QCOMPARE(Search(model, prompts, Variant::ToleranceBox,
                        {QStringLiteral("125"), QStringLiteral("25"), QStringLiteral("211")},
                        {QStringLiteral("30"), QStringLiteral("30"), QStringLiteral("30")}),
                 Outcome::Finished);
        QVERIFY(prompts.asked.isEmpty());
        QStringList names = Names(model.Shades);
        names.sort();
        QCOMPARE(names, (QStringList{"H dolní roh", "H horní roh", "H střed", "H střed"}));
        QCOMPARE(model.Shades[model.SelectedShade].id, 208);
        QCOMPARE(model.Shades[model.SelectedShade].fanDeckId, 41);
    }

    // The read-only demo catalogue browsed whole through the server gives what the
    // same file gives opened beside the program: every list, every record, every order.
    void theDemoCatalogueReadsAsTheFileDoes() {
        CatalogueDatabase local;
        local.Open(localDemo);
        CatalogueModel localModel(local);
        localModel.LoadFanDecks();
        const QStringList expected = BrowseEverything(localModel);

        const QString appDir = Program(QStringLiteral("demo"), server.DatabaseName(demo),
                                       QStringLiteral("SYSDBA"), AdminPassword);
        CatalogueDatabase shared;
        shared.Open(CatalogueSettings::Read(appDir));
        CatalogueModel sharedModel(shared);
        sharedModel.LoadFanDecks();
        const QStringList found = BrowseEverything(sharedModel);
        QVERIFY(expected.size() > 5000);
        QVERIFY(expected.contains(QStringLiteral("search Šeřík")));
        QVERIFY(found.filter(QStringLiteral("Šeřík u vrat")).size() >= 4);
        QCOMPARE(found, expected);
    }

    // The catalogue window of a program whose tintora.ini names the server.
    void theWindowShowsTheSharedCatalogue() {
        const QString appDir = Program(QStringLiteral("okno"), server.DatabaseName(small),
                                       CounterUser, CounterPassword);
        ScriptedPrompts prompts;
        CatalogueWindow window(appDir, prompts);
        QVERIFY2(prompts.asked.isEmpty(), qPrintable(prompts.Texts().join('\n')));
        QVERIFY(window.Database.Location().OnServer());
        QCOMPARE(Rows(window.fanDeckList),
                 (QStringList{"Syntetika", "Exteriér", "Exteriér", "Moje"}));
        window.searchEdit->setText(QStringLiteral("Žlutá"));
        QTest::keyClick(window.searchEdit, Qt::Key_Return);
        QCOMPARE(Rows(window.shadeList), QStringList{"Žlutá kuchyň"});
        QVERIFY(prompts.asked.isEmpty());
    }

    // tintora-export --order-sheet without --catalogue reads the catalogue that the
    // program's tintora.ini names.
    void theOrderSheetFollowsTheSettings() {
        const QString appDir = Program(QStringLiteral("export"), server.DatabaseName(small),
                                       CounterUser, CounterPassword);
        const QString photo = QDir(appDir).filePath(QStringLiteral("Dům.bmp"));
        DemoProject house = MakeDemoHouse(120, 80);
        house.Layers[1].ShadeId = 6;
        house.Layers[1].FanDeckId = 30;
        house.Layers[1].PaintKindId = 1;
        house.Layers[1].Quantity = 48;
        PhotoFiles::SaveBmp(photo, house.Photo);
        house.Mask.SaveToFile(photo + QStringLiteral(".mask"), house.Layers, house.Schemes);
        const QString pdf = QDir(appDir).filePath(QStringLiteral("objednávka.pdf"));
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        QCOMPARE(RunExportCommand({photo, QStringLiteral("--order-sheet"), pdf}, outStream,
                                  errStream, appDir),
                 0);
        errStream.flush();
        QCOMPARE(err, QString());
        const QString text = PdfText(pdf);
        for (const char* line :
             {"Odstin: Žlutá kuchyň", "Vějíř: Moje", "Druh barvy: Fasádní barva", "Množství: 48 l"})
            QVERIFY2(text.contains(QString::fromUtf8(line)), line);
    }

    // Two programs read the shared catalogue at once, each with its own connection:
    // neither meets a lock, and each keeps reading while the other is connected.
    void twoProgramsReadAtOnce() {
        const QString appDir = Program(QStringLiteral("dva"), server.DatabaseName(small),
                                       CounterUser, CounterPassword);
        // Four fan decks; 1 + 3 + 3 + 2 shades of their first paint kinds; four found by "E".
        const QString expected = QStringLiteral("ok 4 9 4");
        Probe first, second;
        for (Probe* probe : {&first, &second}) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
            probe->process.setProcessEnvironment(environment);
        }
        first.process.start(QStringLiteral(CATALOGUE_PROBE),
                            {QStringLiteral("--settings"), appDir});
        QCOMPARE(first.Line(), expected);
        second.process.start(QStringLiteral(CATALOGUE_PROBE),
                             {QStringLiteral("--settings"), appDir});
        QCOMPARE(second.Line(), expected);
        QCOMPARE(first.Ask("attachments"), QStringLiteral("attachments 2"));
        QCOMPARE(second.Ask("attachments"), QStringLiteral("attachments 2"));
        for (int round = 0; round < 3; ++round) {
            QCOMPARE(first.Ask("read"), expected);
            QCOMPARE(second.Ask("read"), expected);
        }
        for (Probe* probe : {&first, &second}) {
            probe->process.closeWriteChannel();
            QVERIFY(probe->process.waitForFinished(60000));
            QCOMPARE(probe->process.exitCode(), 0);
            QCOMPARE(QString::fromUtf8(probe->process.readAllStandardOutput()).trimmed(),
                     QString());
        }
    }

    // A catalogue the server does not give is reported once, in Czech with the
    // server's own words, and the window stays empty as with a missing file.
    void anUnusableServerIsReportedOnce_data() {
        QTest::addColumn<QString>("database"); // PORT stands for the test server's port
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QString>("serverSays");
        QTest::newRow("nothing listens")
            << QStringLiteral("127.0.0.1/CLOSED:/srv/odrex.tom") << QStringLiteral("SYSDBA")
            << AdminPassword
            << QStringLiteral("Katalog barev /srv/odrex.tom na serveru 127.0.0.1/CLOSED nelze "
                              "otevřít.")
            << QStringLiteral("Unable to complete network request");
        QTest::newRow("wrong password")
            << QStringLiteral("127.0.0.1/PORT:SMALL") << CounterUser << QStringLiteral("spatne")
            << QStringLiteral("Katalog barev SMALL na serveru 127.0.0.1/PORT nelze otevřít.")
            << QStringLiteral("user name and password are not defined");
        QTest::newRow("no such database")
            << QStringLiteral("127.0.0.1/PORT:DATA/chybi.tom") << QStringLiteral("SYSDBA")
            << AdminPassword
            << QStringLiteral("Katalog barev DATA/chybi.tom na serveru 127.0.0.1/PORT nelze "
                              "otevřít.")
            << QStringLiteral("chybi.tom");
    }
    void anUnusableServerIsReportedOnce() {
        QFETCH(QString, database);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, firstLine);
        QFETCH(QString, serverSays);
        QTcpServer closed; // a port that nothing listens on once this is closed
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        const QString closedPort = QString::number(closed.serverPort());
        closed.close();
        for (QString* text : {&database, &firstLine}) {
            text->replace(QStringLiteral("CLOSED"), closedPort);
            text->replace(QStringLiteral("PORT"), QString::number(server.Port()));
            text->replace(QStringLiteral("SMALL"), small);
            text->replace(QStringLiteral("DATA"), server.DataFolder());
        }
        const QString appDir =
            Program(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-'), database, user,
                    password);
        ScriptedPrompts prompts;
        CatalogueWindow window(appDir, prompts);
        QCOMPARE(prompts.asked.size(), 1);
        const QStringList lines = prompts.asked[0].text.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), firstLine);
        QVERIFY2(lines.value(1).contains(serverSays, Qt::CaseInsensitive),
                 qPrintable(prompts.asked[0].text));
        QVERIFY(!window.Database.IsOpen());
        QCOMPARE(window.fanDeckList->count(), 0);
        // Nothing more is asked of the user: the program goes on without the catalogue.
        window.searchEdit->setText(QStringLiteral("E"));
        QTest::keyClick(window.searchEdit, Qt::Key_Return);
        window.onFanDeckListClicked();
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(window.shadeList->count(), 0);
    }

    // A user the catalogue gives no reading rights may connect, but its first
    // statement is refused: the server's words again, once.
    void anAccountWithoutReadingRightsIsReportedOnce() {
        const QString appDir = Program(QStringLiteral("bez-prav"), server.DatabaseName(palette),
                                       CounterUser, CounterPassword);
        ScriptedPrompts prompts;
        CatalogueWindow window(appDir, prompts);
        QCOMPARE(prompts.asked.size(), 1);
        const QStringList lines = prompts.asked[0].text.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Dotaz do katalogu barev se nezdařil."));
        QVERIFY2(lines.value(1).contains(QStringLiteral("no permission"), Qt::CaseInsensitive),
                 qPrintable(prompts.asked[0].text));
        QCOMPARE(window.fanDeckList->count(), 0);
    }

    // Reading never writes: with the server ended, every catalogue file is as it was
    // built, byte for byte (the long read transaction included).
    void theCataloguesAreNeverWritten() {
        server.Stop();
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (it.key() == palette)
                continue; // a writable database: the server may note its use in the header
            QVERIFY2(ReadAll(it.key()) == it.value(), qPrintable(it.key()));
        }
    }

private:
    // A program folder whose tintora.ini names the catalogue, written as an
    // administrator would write it.
    QString Program(const QString& name, const QString& database, const QString& user,
                    const QString& password) {
        const QString appDir = programs.filePath(name);
        QDir().mkpath(appDir);
        QFile ini(QDir(appDir).filePath(QStringLiteral("tintora.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            return appDir;
        ini.write(QStringLiteral("; the shop's shared paint catalogue\n"
                                 "[catalogue]\n"
                                 "database = %1\n"
                                 "user = %2\n"
                                 "password = %3\n")
                      .arg(database, user, password)
                      .toUtf8());
        return appDir;
    }

    std::pair<std::unique_ptr<CatalogueDatabase>, std::unique_ptr<CatalogueModel>> OpenSmall() {
        const QString appDir = Program(QStringLiteral("maly"), server.DatabaseName(small),
                                       CounterUser, CounterPassword);
        auto database = std::make_unique<CatalogueDatabase>();
        database->Open(CatalogueSettings::Read(appDir));
        auto model = std::make_unique<CatalogueModel>(*database);
        model->LoadFanDecks();
        return {std::move(database), std::move(model)};
    }

    TestFirebirdServer server{
        {{QStringLiteral("SYSDBA"), AdminPassword}, {CounterUser, CounterPassword}}};
    QTemporaryDir programs;
    QTemporaryDir localDir;
    QString small;
    QString palette;
    QString demo;
    QString localDemo;
    QMap<QString, QByteArray> before;
};

QTEST_MAIN(TestCatalogueServer)
#include "test_catalogueserver.moc"
