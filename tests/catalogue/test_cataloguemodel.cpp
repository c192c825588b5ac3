#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "catalogue/PaintKindChange.h"
#include "project/Errors.h"
#include "support/TestCatalogue.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

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

} // namespace

class TestCatalogueModel : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        path = dir.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(path, TestCatalogue::SmallRows()), QString());
    }

    void init() {
        db = std::make_unique<CatalogueDatabase>();
        db->Open(path);
        model = std::make_unique<CatalogueModel>(*db);
        model->LoadFanDecks();
    }
    void cleanup() {
        model.reset();
        db.reset();
    }

    // A quantity typed for one unit is not carried into another: cleared, with the
    // notice; kept when the unit stays or nothing can be compared.
    void quantityAfterAPaintKindChange_data() {
        QTest::addColumn<int>("previousKind");
        QTest::addColumn<int>("chosenKind"); // 1 "Fasádní barva" l, 2 "Silikonová barva" Kg,
                                             // 3 "Email" l
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("notice");
        const QString kg = QStringLiteral("Druh barvy změněn na Silikonová barva (Kg), "
                                          "zkontrolujte množství");
        QTest::newRow("litres to kilograms") << 1 << 2 << "0" << kg;
        QTest::newRow("kilograms to litres")
            << 2 << 3 << "0"
            << QStringLiteral("Druh barvy změněn na Email (l), zkontrolujte množství");
        QTest::newRow("litres to litres") << 1 << 3 << "12" << QString();
        QTest::newRow("the same paint kind") << 2 << 2 << "12" << QString();
        QTest::newRow("no paint kind before") << -1 << 2 << "12" << QString();
        QTest::newRow("a free colour before") << 0 << 2 << "12" << QString();
        QTest::newRow("a paint kind the catalogue lost") << 99 << 2 << "12" << QString();
    }
    void quantityAfterAPaintKindChange() {
        QFETCH(int, previousKind);
        QFETCH(int, chosenKind);
        QFETCH(QString, quantity);
        QFETCH(QString, notice);
        const PaintKindRecord kinds[] = {
            {1, QStringLiteral("Fasádní barva"), QStringLiteral("l")},
            {2, QStringLiteral("Silikonová barva"), QStringLiteral("Kg")},
            {3, QStringLiteral("Email"), QStringLiteral("l")}};
        const QuantityAfterChoice after =
            QuantityForPaintKind(*db, previousKind, kinds[chosenKind - 1], QStringLiteral("12"));
        QCOMPARE(after.quantityText, quantity);
        QCOMPARE(after.notice, notice);
        // Without a catalogue nothing can be compared.
        CatalogueDatabase closed;
        QCOMPARE(
            QuantityForPaintKind(closed, previousKind, kinds[chosenKind - 1], QStringLiteral("12"))
                .quantityText,
            QStringLiteral("12"));
    }

    void fanDecksInTypeAndNameOrder() {
        QCOMPARE(model->FanDeckNames(), (QStringList{"Syntetika", "Exteriér", "Exteriér", "Moje"}));
        QVERIFY(model->FanDecks[0].alkyd);
        QVERIFY(!model->FanDecks[1].alkyd);
        QVERIFY(model->FanDecks[3].own);
        QVERIFY(!model->FanDecks[1].own);
        QCOMPARE(model->SelectedFanDeck, 0);
        QCOMPARE(KindNames(model->PaintKinds), QStringList{"Email"});
        QCOMPARE(model->SelectedPaintKind, 0);
        QCOMPARE(Names(model->Shades), QStringList{"S 001 - 01"});
        QCOMPARE(model->SelectedShade, -1);
        QCOMPARE(model->Mode, ShadeListMode::FanDeckShades);
    }

    void fanDeckInTwoRowsOffersBothPaintKinds() {
        model->ChooseFanDeck(2);
        QCOMPARE(model->SelectedFanDeckIds(), (QList<int>{12, 13}));
        QCOMPARE(KindNames(model->PaintKinds), (QStringList{"Fasádní barva", "Silikonová barva"}));
        QCOMPARE(model->Shades.size(), 3); // the row that the first paint kind carries
        QSignalSpy unit(model.get(), &CatalogueModel::UnitChanged);
        model->ChoosePaintKind(1);
        QCOMPARE(unit.count(), 1);
        QCOMPARE(unit.at(0).at(0).toString(), QStringLiteral("Kg"));
        QCOMPARE(Names(model->Shades), QStringList{"E 101 - 01"});
        QCOMPARE(model->Shades[0].fanDeckId, 13);
        QCOMPARE(model->Shades[0].fanDeckLabel, QStringLiteral("[D] Exteriér"));
    }

    void nullColoursAndRemarks() {
        model->ChooseFanDeck(1);
        model->SortByInsertion();
        QCOMPARE(Names(model->Shades), (QStringList{"E 002 - 01", "E 001 - 02", "E 001 - 01"}));
        const ShadeRecord& redless = model->Shades[2];
        QCOMPARE(redless.red, 300);
        QCOMPARE(redless.green, 50);
        QCOMPARE(redless.blue, 60);
        QVERIFY(!redless.HasColour());
        QCOMPARE(redless.ColourValue(), NoColour);
        QVERIFY(redless.notice.isEmpty());
        QCOMPARE(model->Shades[1].notice, QStringLiteral("Vhodné i do exteriéru"));
        QCOMPARE(model->Shades[0].ColourValue(), Rgb(200, 10, 10));
    }

    void sortOrders() {
        model->ChooseFanDeck(1);
        model->SortByName();
        QCOMPARE(model->Sort, SortOrder::ByName);
        QCOMPARE(Names(model->Shades), (QStringList{"E 001 - 01", "E 001 - 02", "E 002 - 01"}));
        model->SortShadesByColour();
        QCOMPARE(model->Sort, SortOrder::ByColour);
        QCOMPARE(Names(model->Shades), (QStringList{"E 001 - 02", "E 002 - 01", "E 001 - 01"}));
        // Another paint kind keeps the marks; another fan deck resets them.
        model->ChoosePaintKind(1);
        QCOMPARE(model->Sort, SortOrder::ByColour);
        model->ChooseFanDeck(0);
        QCOMPARE(model->Sort, SortOrder::ByInsertion);
    }

    void filters() {
        model->SetTypeFilter(TypeFilter::OnlyAlkyd);
        QCOMPARE(model->FanDeckNames(), QStringList{"Syntetika"});
        model->SetTypeFilter(TypeFilter::OnlyDispersion);
        QCOMPARE(model->FanDeckNames(), (QStringList{"Exteriér", "Exteriér", "Moje"}));
        model->ToggleShowOwn();
        QVERIFY(!model->ShowOwn);
        QCOMPARE(model->FanDeckNames(), (QStringList{"Exteriér", "Exteriér"}));
        model->ReloadAllFanDecks();
        QCOMPARE(model->Types, TypeFilter::Both);
        QVERIFY(model->ShowOwn);
        QCOMPARE(model->FanDecks.size(), 4);
    }

    void searchByName() {
        model->SearchShades(QStringLiteral("001"));
        QCOMPARE(model->Mode, ShadeListMode::FoundShades);
        QCOMPARE(model->Shades.size(), 3);
        QCOMPARE(model->Sort, SortOrder::ByInsertion);
        model->SearchShades(QStringLiteral("O'Neil"));
        QCOMPARE(Names(model->Shades), QStringList{"O'Neil"});
        QCOMPARE(model->Shades[0].red, 300);
        model->SearchShades(QStringLiteral("nic takového"));
        QVERIFY(model->Shades.isEmpty());
        QCOMPARE(model->Shades.size(), 0);
    }

    void searchWhileSortedByColourComesSorted() {
        model->ChooseFanDeck(1);
        model->SortShadesByColour();
        model->SearchShades(QStringLiteral("E "));
        QCOMPARE(model->Sort, SortOrder::ByColour);
        QCOMPARE(Names(model->Shades).first(), QStringLiteral("E 101 - 01")); // black first
    }

    void paintKindNotCarryingTheFanDeckEmptiesTheList() {
        model->ChooseFanDeck(1);
        QVERIFY(!model->Shades.isEmpty());
        model->PaintKinds = {PaintKindRecord{3, QStringLiteral("Email"), QStringLiteral("l")}};
        model->SelectedPaintKind = 0;
        model->SortByName();
        QVERIFY(model->Shades.isEmpty());
    }

    void aLoadCannotBeInterrupted() {
        model->ChooseFanDeck(1);
        int refusedStatements = 0;
        connect(model.get(), &CatalogueModel::ShadeAppended, this, [&] {
            // A click arriving while rows are read: refused, the lists stay whole.
            model->ChooseFanDeck(0);
            model->SearchShades(QStringLiteral("S"));
            model->SortShadesByColour();
            try {
                db->Run(QStringLiteral("SELECT verze_exe FROM verze;"),
                        [](const CatalogueRow&) { return true; });
            } catch (const DatabaseError&) {
                ++refusedStatements;
            }
        });
        model->SortByName();
        QCOMPARE(refusedStatements, 3);
        QCOMPARE(model->SelectedFanDeck, 1);
        QCOMPARE(Names(model->Shades), (QStringList{"E 001 - 01", "E 001 - 02", "E 002 - 01"}));
        QVERIFY(!model->Loading());
    }

    void versionRule_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("0 starts") << 0 << false;
        QTest::newRow("1 ends") << 1 << true;
    }
    void versionRule() {
        QFETCH(int, version);
        QFETCH(bool, rejected);
        QTemporaryDir other;
        const QString file = other.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(file, TestCatalogue::SmallRows(version)), QString());
        CatalogueDatabase database;
        database.Open(file);
        QCOMPARE(database.Version(), version);
        CatalogueModel m(database);
        bool called = false;
        m.VersionRejected = [&called] { called = true; };
        m.LoadFanDecks();
        QCOMPARE(called, rejected);
        QCOMPARE(m.FanDecks.isEmpty(), rejected);
    }

    void missingDatabaseIsAClearError() {
        CatalogueDatabase database;
        try {
            database.Open(dir.filePath(QStringLiteral("chybi.tom")));
            QFAIL("opened");
        } catch (const DatabaseError& error) {
            QVERIFY(error.message().contains(QStringLiteral("chybi.tom")));
            QVERIFY(error.message().contains(QStringLiteral("neexistuje")));
        }
        CatalogueModel m(database);
        m.LoadFanDecks(); // nothing to show, nothing thrown
        QVERIFY(!m.Available());
        QVERIFY(m.FanDecks.isEmpty());
    }

    void brokenFileIsAClearError() {
        QTemporaryDir other;
        const QString file = other.filePath(QStringLiteral("odrex.tom"));
        QFile broken(file);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray(4096, 'x'));
        broken.close();
        CatalogueDatabase database;
        QVERIFY_THROWS_EXCEPTION(DatabaseError, database.Open(file));
    }

private:
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<CatalogueDatabase> db;
    std::unique_ptr<CatalogueModel> model;
};

QTEST_GUILESS_MAIN(TestCatalogueModel)
#include "test_cataloguemodel.moc"
