#include "catalogue/CatalogueStatements.h"

#include <QTest>

using namespace Statements;

class TestStatements : public QObject {
    Q_OBJECT
private slots:
    void everyStatementToTheCharacter_data() {
        QTest::addColumn<QString>("built");
        QTest::addColumn<QString>("expected");
        const QString cond = IdCondition({12, 13});
        QTest::newRow("version") << VersionStatement() << "SELECT verze_exe FROM verze;";
        QTest::newRow("fan decks, no filter")
            << FanDecksStatement(QString())
            << "SELECT vejir_jmeno, vejir_id, vejir_typ, vejir_vlastni "
               "FROM Vejir   ORDER BY vejir_typ, vejir_jmeno;";
        QTest::newRow("fan decks, filtered")
            << FanDecksStatement(FanDeckFilter(true, false, true))
            << "SELECT vejir_jmeno, vejir_id, vejir_typ, vejir_vlastni FROM Vejir   WHERE "
               "vejir_typ = 'a'  ORDER BY vejir_typ, vejir_jmeno;";
        QTest::newRow("fan deck name")
            << FanDeckNameStatement(7) << "SELECT vejir_jmeno FROM Vejir WHERE vejir_id='7';";
        QTest::newRow("all fan deck names")
            << AllFanDeckNamesStatement()
            << "SELECT DISTINCT(vejir_jmeno), vejir_typ, vejir_vlastni FROM Vejir "
               "ORDER BY vejir_typ, vejir_jmeno;";
        QTest::newRow("fan deck ids, alkyd")
            << FanDeckIdsStatement(true, QStringLiteral("Exteriér"))
            << "SELECT vejir_id FROM vejir WHERE vejir_typ='a' AND vejir_jmeno='Exteriér';";
        QTest::newRow("fan deck ids, dispersion")
            << FanDeckIdsStatement(false, QStringLiteral("X"))
            << "SELECT vejir_id FROM vejir WHERE vejir_typ='d' AND vejir_jmeno='X';";
        QTest::newRow("paint kinds of fan decks")
            << PaintKindsOfFanDecksStatement(cond)
            << "SELECT DISTINCT(firma_jmeno), firma_jednotka, firma_id, firma_typ "
               "FROM firma, firma_in_vejir, vejir WHERE  FIV_firma_id=firma_id AND "
               "( FIV_vejir_id='12'  OR  FIV_vejir_id='13' ) ;";
        QTest::newRow("paint kinds of a fan deck")
            << PaintKindsOfFanDeckStatement(5)
            << "SELECT DISTINCT(firma_jmeno), firma_jednotka, firma_id, firma_typ FROM firma, "
               "firma_in_vejir, vejir WHERE  FIV_firma_id=firma_id AND FIV_vejir_id='5' ;";
        QTest::newRow("fan deck of a paint kind")
            << FanDeckOfPaintKindStatement(3, cond)
            << "SELECT FIV_vejir_id FROM Firma_in_vejir WHERE  FIV_firma_id='3' "
               "AND  ( FIV_vejir_id='12'  OR  FIV_vejir_id='13' ) ;";
        const QString shades =
            "SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, "
            "odstin_B, odstin_notice, vejir_id, vejir_jmeno, vejir_typ FROM Odstin, "
            "Odstin_in_vejir, Vejir WHERE  OIV_vejir_id='12' AND vejir_id='12' AND  "
            "OIV_odstin_id=Odstin_id AND OIV_firma_id='3' %1;";
        QTest::newRow("shades of a fan deck, unordered")
            << ShadesOfFanDeckStatement(12, 3, Order::Unordered) << shades.arg(QString());
        QTest::newRow("shades of a fan deck, by name")
            << ShadesOfFanDeckStatement(12, 3, Order::ByName)
            << shades.arg(" ORDER BY odstin_jmeno ");
        QTest::newRow("shades of a fan deck, by insertion")
            << ShadesOfFanDeckStatement(12, 3, Order::ByInsertion)
            << shades.arg(" ORDER BY odstin_id ");
        QTest::newRow("shades by name")
            << ShadesByNameStatement(QStringLiteral("E"))
            << "SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, "
               "odstin_B, odstin_notice, vejir_id, vejir_typ, vejir_jmeno FROM "
               "Odstin, Vejir, Odstin_In_Vejir WHERE  odstin_jmeno LIKE '%E%'  "
               "AND vejir_id=OIV_vejir_id AND odstin_id=OIV_odstin_id;";
        QTest::newRow("shades in a colour box")
            << ShadesInColourBoxStatement(10, 30, 40, 60, 70, 90)
            << "SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, "
               "odstin_B, odstin_notice, vejir_id, vejir_typ, vejir_jmeno FROM "
               "Odstin, Vejir, Odstin_In_Vejir WHERE 10<odstin_R AND odstin_R<30 "
               "AND 40<odstin_G AND odstin_G<60 AND 70<odstin_B AND odstin_B<90 "
               "AND vejir_id=OIV_vejir_id AND odstin_id=OIV_odstin_id;";
        QTest::newRow("shades in a colour box, negative bound")
            << ShadesInColourBoxStatement(-5, 20, 0, 1, 250, 260)
            << "SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, odstin_B, "
               "odstin_notice, vejir_id, vejir_typ, vejir_jmeno FROM Odstin, Vejir, "
               "Odstin_In_Vejir WHERE -5<odstin_R AND odstin_R<20 AND 0<odstin_G AND odstin_G<1 "
               "AND 250<odstin_B AND odstin_B<260 AND vejir_id=OIV_vejir_id AND "
               "odstin_id=OIV_odstin_id;";
        QTest::newRow("overview shade")
            << ShadeStatement(42)
            << "SELECT odstin_jmeno, odstin_R, odstin_G, odstin_B FROM Odstin "
               "WHERE odstin_id = 42;";
        QTest::newRow("overview fan deck")
            << FanDeckStatement(9)
            << "SELECT vejir_jmeno, vejir_typ FROM Vejir WHERE vejir_id = 9;";
        QTest::newRow("overview paint kind")
            << PaintKindStatement(4)
            << "SELECT firma_jmeno, firma_jednotka, firma_typ FROM Firma WHERE firma_id = 4;";
    }
    void everyStatementToTheCharacter() {
        QFETCH(QString, built);
        QFETCH(QString, expected);
        QCOMPARE(built, expected);
    }

    void fanDeckFilter_data() {
        QTest::addColumn<bool>("alkyd");
        QTest::addColumn<bool>("dispersion");
        QTest::addColumn<bool>("own");
        QTest::addColumn<QString>("filter");
        QTest::newRow("both, own shown") << false << false << true << "";
        QTest::newRow("both, own hidden")
            << false << false << false << " WHERE vejir_vlastni = '0' ";
        QTest::newRow("alkyd, own shown") << true << false << true << " WHERE vejir_typ = 'a' ";
        QTest::newRow("alkyd, own hidden")
            << true << false << false << " WHERE vejir_typ = 'a'  AND vejir_vlastni = '0' ";
        QTest::newRow("dispersion, own shown")
            << false << true << true << " WHERE vejir_typ = 'd' ";
        QTest::newRow("dispersion, own hidden")
            << false << true << false << " WHERE vejir_typ = 'd'  AND vejir_vlastni = '0' ";
        QTest::newRow("both checked: dispersion wins")
            << true << true << true << " WHERE vejir_typ = 'd' ";
    }
    void fanDeckFilter() {
        QFETCH(bool, alkyd);
        QFETCH(bool, dispersion);
        QFETCH(bool, own);
        QFETCH(QString, filter);
        QCOMPARE(FanDeckFilter(alkyd, dispersion, own), filter);
    }

    void idCondition() {
        QCOMPARE(IdCondition({12, 13}),
                 QStringLiteral(" FIV_vejir_id='12'  OR  FIV_vejir_id='13' "));
        QCOMPARE(IdCondition({5}), QStringLiteral(" FIV_vejir_id='5' "));
        QCOMPARE(IdCondition({}), QString());
    }

    void quotesAreDoubled() {
        QCOMPARE(SqlText(QStringLiteral("It's")), QStringLiteral("It''s"));
        QCOMPARE(
            ShadesByNameStatement(QStringLiteral("O'Neil")),
            QStringLiteral("SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, "
                           "odstin_B, odstin_notice, vejir_id, vejir_typ, vejir_jmeno FROM Odstin, "
                           "Vejir, Odstin_In_Vejir WHERE  odstin_jmeno LIKE '%O''Neil%'  AND "
                           "vejir_id=OIV_vejir_id AND odstin_id=OIV_odstin_id;"));
        QCOMPARE(FanDeckIdsStatement(false, QStringLiteral("x'; DROP TABLE Odstin; --")),
                 QStringLiteral("SELECT vejir_id FROM vejir WHERE vejir_typ='d' AND "
                                "vejir_jmeno='x''; DROP TABLE Odstin; --';"));
    }
};

QTEST_GUILESS_MAIN(TestStatements)
#include "test_statements.moc"
