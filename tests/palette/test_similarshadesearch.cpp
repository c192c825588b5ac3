// The similar-shade search: its number parsing, the colour box's bounds, the
// statement, and searches on a real catalogue with both buttons' variants.
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "palette/SimilarShadeSearch.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace SimilarShades;

namespace {

using Texts = std::array<QString, 3>;

Texts Reference(int r, int g, int b) {
    return {QString::number(r), QString::number(g), QString::number(b)};
}

Texts Tolerance(const QString& all) {
    return {all, all, all};
}

QStringList Names(const ShadeList& shades) {
    QStringList names;
    for (const ShadeRecord& s : shades)
        names << s.name;
    return names;
}

int RowOf(const CatalogueModel& model, const QString& name, int fanDeckId) {
    for (int i = 0; i < model.Shades.size(); ++i) {
        if (model.Shades[i].name == name && model.Shades[i].fanDeckId == fanDeckId)
            return i;
    }
    return -1;
}

int FanDeckRow(const CatalogueModel& model, const QString& name) {
    return int(model.FanDeckNames().indexOf(name));
}

} // namespace

Q_DECLARE_METATYPE(Texts)

class TestSimilarShadeSearch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        path = dir.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(path, TestCatalogue::PaletteRows()), QString());
    }

    void init() {
        db = std::make_unique<CatalogueDatabase>();
        db->Open(path);
        model = std::make_unique<CatalogueModel>(*db);
        model->LoadFanDecks();
        prompts = std::make_unique<ScriptedPrompts>();
    }
    void cleanup() {
        model.reset();
        db.reset();
    }

    void wholeNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("preset") << "30" << true << 30;
        QTest::newRow("blanks around") << " 30  " << true << 30;
        QTest::newRow("tab before") << "\t7" << true << 7;
        QTest::newRow("plus sign") << "+5" << true << 5;
        QTest::newRow("negative") << "-5" << true << -5;
        QTest::newRow("zero") << "0" << true << 0;
        QTest::newRow("leading zeros") << "007" << true << 7;
        QTest::newRow("largest") << "2147483647" << true << std::numeric_limits<int>::max();
        QTest::newRow("smallest") << "-2147483648" << true << std::numeric_limits<int>::min();
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("blanks only") << "   " << false << 0;
        QTest::newRow("blank inside") << "3 0" << false << 0;
        QTest::newRow("decimal comma") << "1,5" << false << 0;
        QTest::newRow("decimal point") << "1.5" << false << 0;
        QTest::newRow("sign alone") << "-" << false << 0;
        QTest::newRow("two signs") << "+-3" << false << 0;
        QTest::newRow("past 32 bits") << "2147483648" << false << 0;
        QTest::newRow("hexadecimal") << "0x10" << false << 0;
        QTest::newRow("digit then letter") << "12a" << false << 0;
        QTest::newRow("other digits") << QString::fromUtf8("１２") << false << 0;
    }
    void wholeNumbers() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const std::optional<int> parsed = ParseWholeNumber(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void bounds_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::newRow("red 125 +- 30") << 125 << 30 << 94 << 156;
        QTest::newRow("green 25 +- 30: from 0") << 25 << 30 << -1 << 56;
        QTest::newRow("blue 211 +- 30") << 211 << 30 << 180 << 242;
        QTest::newRow("240 +- 30: up to 255") << 240 << 30 << 209 << 256;
        QTest::newRow("10 +- 30: from 0") << 10 << 30 << -1 << 41;
        QTest::newRow("30 +- 30: v - t is 0") << 30 << 30 << -1 << 61;
        QTest::newRow("31 +- 30") << 31 << 30 << 0 << 62;
        QTest::newRow("225 +- 30: v + t + 1 is 256") << 225 << 30 << 194 << 256;
        QTest::newRow("tolerance 0: the value only") << 100 << 0 << 99 << 101;
        QTest::newRow("tolerance -5: an empty box") << 100 << -5 << 104 << 96;
        QTest::newRow("huge tolerance") << 255 << std::numeric_limits<int>::max() << -1 << 256;
        QTest::newRow("huge negative tolerance: held, still empty")
            << 0 << std::numeric_limits<int>::min() << std::numeric_limits<int>::max()
            << std::numeric_limits<int>::min() + 1;
    }
    void bounds() {
        QFETCH(int, value);
        QFETCH(int, tolerance);
        QFETCH(int, low);
        QFETCH(int, high);
        QCOMPARE(BoundsOf(value, tolerance), (ChannelBounds{low, high}));
    }

    void statementOfTheWorkedExample() {
        const SearchBounds bounds = BoundsOf({125, 25, 211}, {30, 30, 30});
        QCOMPARE(bounds, (SearchBounds{{94, 156}, {-1, 56}, {180, 242}}));
        QCOMPARE(Statement(bounds),
                 QStringLiteral(
                     "SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, odstin_B, "
                     "odstin_notice, vejir_id, vejir_typ, vejir_jmeno FROM Odstin, Vejir, "
                     "Odstin_In_Vejir WHERE 94<odstin_R AND odstin_R<156 AND -1<odstin_G AND "
                     "odstin_G<56 AND 180<odstin_B AND odstin_B<242 AND vejir_id=OIV_vejir_id "
                     "AND odstin_id=OIV_odstin_id;"));
    }

    // Each channel's bounds come from its own reference value and tolerance.
    void eachChannelHasItsOwnTolerance_data() {
        QTest::addColumn<QList<int>>("reference");
        QTest::addColumn<QList<int>>("tolerance");
        QTest::addColumn<QList<int>>("bounds"); // low and high of red, green, blue
        QTest::newRow("10, 20, 30") << QList<int>{125, 25, 211} << QList<int>{10, 20, 30}
                                    << QList<int>{114, 136, 4, 46, 180, 242};
        QTest::newRow("0, 35, 20") << QList<int>{125, 25, 211} << QList<int>{0, 35, 20}
                                   << QList<int>{124, 126, -1, 61, 190, 232};
        QTest::newRow("the edges, 1, 2, 3") << QList<int>{0, 128, 255} << QList<int>{1, 2, 3}
                                            << QList<int>{-1, 2, 125, 131, 251, 256};
    }
    void eachChannelHasItsOwnTolerance() {
        QFETCH(QList<int>, reference);
        QFETCH(QList<int>, tolerance);
        QFETCH(QList<int>, bounds);
        const SearchBounds b = BoundsOf({reference[0], reference[1], reference[2]},
                                        {tolerance[0], tolerance[1], tolerance[2]});
        QCOMPARE(
            (QList<int>{b.red.low, b.red.high, b.green.low, b.green.high, b.blue.low, b.blue.high}),
            bounds);
    }

    // Around 125, 25, 211 red exactly, green within 35, blue within 20: the centre in
    // both its fan decks and the shade 31 greener and 11 less blue; not the shades one
    // step off in red, nor the bluer and less blue ones (31 away).
    void searchWithATolerancePerChannel() {
        Search(*model, *prompts, Variant::FreeColour, Reference(125, 25, 211),
               {QStringLiteral("0"), QStringLiteral("35"), QStringLiteral("20")});
        QStringList names = Names(model->Shades);
        names.sort();
        QCOMPARE(names, (QStringList{"H střed", "H střed", "H zelená nad"}));
        QVERIFY(prompts->asked.isEmpty());
    }

    // The box 125, 25, 211 +- 30 holds both corner shades and the centre, which
    // stands in two fan decks and is listed once for each; the shades one step
    // outside on any channel and the one without colour are not found.
    void findsTheBoxWithItsEdgesIncluded() {
        SelectShade(QStringLiteral("Hrany"), QStringLiteral("H střed"));
        QSignalSpy changed(model.get(), &CatalogueModel::ShadesChanged);
        QSignalSpy appended(model.get(), &CatalogueModel::ShadeAppended);
        QCOMPARE(Search(*model, *prompts, Variant::ToleranceBox, Reference(125, 25, 211),
                        Tolerance(QStringLiteral("30"))),
                 Outcome::Finished);
        QVERIFY(prompts->asked.isEmpty());
        QStringList names = Names(model->Shades);
        names.sort();
        QCOMPARE(names, (QStringList{"H dolní roh", "H horní roh", "H střed", "H střed"}));
        QCOMPARE(model->Mode, ShadeListMode::FoundShades);
        // All rows read in one go: one refill, no row shown on its own.
        QCOMPARE(changed.count(), 1);
        QCOMPARE(appended.count(), 0);
        QVERIFY(!model->Loading());

        const int hrany = RowOf(*model, QStringLiteral("H střed"), 41);
        const int syntetika = RowOf(*model, QStringLiteral("H střed"), 42);
        QVERIFY(hrany >= 0 && syntetika >= 0);
        QCOMPARE(model->Shades[hrany].fanDeckLabel, QStringLiteral("[D] Hrany"));
        QCOMPARE(model->Shades[syntetika].fanDeckLabel, QStringLiteral("[A] Syntetika"));
        // The shade selected before is selected again, in its own fan deck.
        QCOMPARE(model->SelectedShade, hrany);
        const ShadeRecord& corner = model->Shades[RowOf(*model, QStringLiteral("H dolní roh"), 41)];
        QCOMPARE(corner.id, 201);
        QCOMPARE(corner.red, 95);
        QCOMPARE(corner.green, 0);
        QCOMPARE(corner.blue, 181);
        QCOMPARE(corner.notice, QString());
    }

    void theRememberedShadeKeepsItsFanDeck() {
        SelectShade(QStringLiteral("Syntetika"), QStringLiteral("H střed"));
        Search(*model, *prompts, Variant::ToleranceBox, Reference(125, 25, 211),
               Tolerance(QStringLiteral("30")));
        QVERIFY(model->SelectedShade >= 0);
        QCOMPARE(model->Shades[model->SelectedShade].id, 208);
        QCOMPARE(model->Shades[model->SelectedShade].fanDeckId, 42);
    }

    void withoutTheRememberedShadeTheFirstIsSelected() {
        SelectShade(QStringLiteral("Hrany"), QStringLiteral("H bílá"));
        Search(*model, *prompts, Variant::ToleranceBox, Reference(125, 25, 211),
               Tolerance(QStringLiteral("30")));
        QCOMPARE(model->Shades.size(), 4);
        QCOMPARE(model->SelectedShade, 0);
    }

    void theEdgesOfTheColourRange_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("240 +- 30 reaches 255") << 240 << QStringList{"H bílá"};
        QTest::newRow("10 +- 30 reaches 0") << 10 << QStringList{"H černá"};
    }
    void theEdgesOfTheColourRange() {
        QFETCH(int, value);
        QFETCH(QStringList, found);
        Search(*model, *prompts, Variant::FreeColour, Reference(value, value, value),
               Tolerance(QStringLiteral("30")));
        QCOMPARE(Names(model->Shades), found);
        QVERIFY(prompts->asked.isEmpty());
    }

    void toleranceZeroFindsTheExactValue() {
        Search(*model, *prompts, Variant::FreeColour, Reference(125, 25, 211),
               Tolerance(QStringLiteral("0")));
        QCOMPARE(Names(model->Shades), (QStringList{"H střed", "H střed"}));
        // One channel at 0, the others wide: only red 125 qualifies.
        Search(*model, *prompts, Variant::FreeColour, Reference(125, 25, 211),
               {QStringLiteral("0"), QStringLiteral("255"), QStringLiteral("255")});
        QStringList names = Names(model->Shades);
        names.sort();
        QCOMPARE(names,
                 (QStringList{"H modrá nad", "H modrá pod", "H střed", "H střed", "H zelená nad"}));
    }

    // A negative tolerance makes an empty box: the tolerance box's button says
    // nothing, the free colour's button says that nothing was found.
    void nothingFound_data() {
        QTest::addColumn<int>("variant");
        QTest::addColumn<bool>("message");
        QTest::newRow("tolerance box") << int(Variant::ToleranceBox) << false;
        QTest::newRow("free colour") << int(Variant::FreeColour) << true;
    }
    void nothingFound() {
        QFETCH(int, variant);
        QFETCH(bool, message);
        SelectShade(QStringLiteral("Paleta"), QStringLiteral("P 02"));
        QCOMPARE(Search(*model, *prompts, Variant(variant), Reference(100, 100, 100),
                        Tolerance(QStringLiteral("-5"))),
                 Outcome::Finished);
        QVERIFY(model->Shades.isEmpty());
        QCOMPARE(model->SelectedShade, -1);
        QCOMPARE(model->Mode, ShadeListMode::FoundShades);
        if (message) {
            QCOMPARE(prompts->asked.size(), 1);
            CheckNothingFoundMessage(prompts->asked[0]);
        } else {
            QVERIFY(prompts->asked.isEmpty());
        }
    }

    // After a search that found nothing the tolerance box's button has no shade to
    // start from: it says so and does not search; the free colour's button searches.
    void theToleranceBoxNeedsASelectedShade() {
        SelectShade(QStringLiteral("Paleta"), QStringLiteral("P 02"));
        Search(*model, *prompts, Variant::ToleranceBox, Reference(125, 25, 211),
               Tolerance(QStringLiteral("-5")));
        QVERIFY(model->Shades.isEmpty());
        QSignalSpy changed(model.get(), &CatalogueModel::ShadesChanged);
        QCOMPARE(Search(*model, *prompts, Variant::ToleranceBox, Reference(125, 25, 211),
                        Tolerance(QStringLiteral("30"))),
                 Outcome::Finished);
        QCOMPARE(prompts->asked.size(), 1);
        CheckNothingFoundMessage(prompts->asked[0]);
        QCOMPARE(changed.count(), 0); // no search
        QVERIFY(model->Shades.isEmpty());

        prompts->asked.clear();
        Search(*model, *prompts, Variant::FreeColour, Reference(125, 25, 211),
               Tolerance(QStringLiteral("30")));
        QVERIFY(prompts->asked.isEmpty());
        QCOMPARE(model->Shades.size(), 4);
        QCOMPARE(model->SelectedShade, 0); // nothing remembered: the first
    }

    void aToleranceThatIsNoWholeNumberChangesNothing_data() {
        QTest::addColumn<Texts>("tolerance");
        QTest::newRow("letters") << Texts{"30", "abc", "30"};
        QTest::newRow("empty") << Texts{"30", "30", ""};
        QTest::newRow("decimal") << Texts{"1,5", "30", "30"};
    }
    void aToleranceThatIsNoWholeNumberChangesNothing() {
        QFETCH(Texts, tolerance);
        SelectShade(QStringLiteral("Paleta"), QStringLiteral("P 02"));
        const ShadeList before = model->Shades;
        const int selected = model->SelectedShade;
        QSignalSpy changed(model.get(), &CatalogueModel::ShadesChanged);
        for (Variant variant : {Variant::ToleranceBox, Variant::FreeColour}) {
            prompts->asked.clear();
            QCOMPARE(Search(*model, *prompts, variant, Reference(14, 102, 74), tolerance),
                     Outcome::Stopped);
            QCOMPARE(prompts->asked.size(), 1);
            QCOMPARE(prompts->asked[0].caption, QStringLiteral("Chyba při vkládání parametru"));
            QCOMPARE(prompts->asked[0].text,
                     QStringLiteral("Vkládaná hodnota musí být celé číslo."));
            QCOMPARE(prompts->asked[0].icon, Prompts::Icon::Error);
            QCOMPARE(prompts->asked[0].buttons, Prompts::Buttons(Prompts::Ok));
        }
        QCOMPARE(changed.count(), 0);
        QCOMPARE(model->Shades, before);
        QCOMPARE(model->SelectedShade, selected);
        QCOMPARE(model->Mode, ShadeListMode::FanDeckShades);
    }

    // A shade without colour leaves the value labels empty: there is nothing to
    // search around, and the user is told so.
    void anEmptyReferenceSearchesNothing() {
        SelectShade(QStringLiteral("Paleta"), QStringLiteral("P 07"));
        const ShadeList before = model->Shades;
        QSignalSpy changed(model.get(), &CatalogueModel::ShadesChanged);
        for (Variant variant : {Variant::ToleranceBox, Variant::FreeColour}) {
            prompts->asked.clear();
            QCOMPARE(Search(*model, *prompts, variant, Texts{}, Tolerance(QStringLiteral("30"))),
                     Outcome::Stopped);
            QCOMPARE(prompts->asked.size(), 1);
            QCOMPARE(prompts->asked[0].caption, NoReferenceTitle);
            QCOMPARE(prompts->asked[0].text, NoReferenceText);
            QCOMPARE(prompts->asked[0].icon, Prompts::Icon::Error);
        }
        QCOMPARE(changed.count(), 0);
        QCOMPARE(model->Shades, before);
    }

    // Searching again from the results keeps the same shade selected.
    void searchesInARow() {
        SelectShade(QStringLiteral("Syntetika"), QStringLiteral("H střed"));
        for (int round = 0; round < 3; ++round) {
            Search(*model, *prompts, Variant::ToleranceBox, Reference(125, 25, 211),
                   Tolerance(QStringLiteral(" 30 ")));
            QCOMPARE(model->Shades.size(), 4);
            QCOMPARE(model->Shades[model->SelectedShade].fanDeckId, 42);
        }
        // A fan deck chosen afterwards brings its own shades back, unselected.
        model->ChooseFanDeck(FanDeckRow(*model, QStringLiteral("Paleta")));
        QCOMPARE(model->Mode, ShadeListMode::FanDeckShades);
        QCOMPARE(model->Shades.size(), 35);
        QVERIFY(prompts->asked.isEmpty());
    }

private:
    void SelectShade(const QString& fanDeck, const QString& shade) {
        model->ChooseFanDeck(FanDeckRow(*model, fanDeck));
        model->SelectedShade = int(model->ShadeNames().indexOf(shade));
        QVERIFY(model->SelectedShade >= 0);
    }

    static void CheckNothingFoundMessage(const ScriptedPrompts::Asked& asked) {
        QCOMPARE(asked.caption, QStringLiteral("Výsledek vyhledávání"));
        QVERIFY(asked.text.startsWith(
            QStringLiteral("V databázi nebyl nalezen žádný podobný odstín.")));
        QVERIFY(asked.text.endsWith(
            QStringLiteral("Zkuste zvětšit toleranci pro vyhledávání podobného odstínu.")));
        QCOMPARE(asked.icon, Prompts::Icon::Error);
        QCOMPARE(asked.buttons, Prompts::Buttons(Prompts::Ok));
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<CatalogueDatabase> db;
    std::unique_ptr<CatalogueModel> model;
    std::unique_ptr<ScriptedPrompts> prompts;
};

QTEST_MAIN(TestSimilarShadeSearch)
#include "test_similarshadesearch.moc"
