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
        QTest::newRow("C1") << C1Version() << "SELECT verze_exe FROM verze;";
        QTest::newRow("C2 no filter") << C2FanDecks(QString())
                                      << "SELECT vejir_jmeno, vejir_id, vejir_typ, vejir_vlastni "
                                         "FROM Vejir   ORDER BY vejir_typ, vejir_jmeno;";
        QTest::newRow("C2 filtered")
            << C2FanDecks(FanDeckFilter(true, false, true))
            << "SELECT vejir_jmeno, vejir_id, vejir_typ, vejir_vlastni FROM Vejir   WHERE "
               "vejir_typ = 'a'  ORDER BY vejir_typ, vejir_jmeno;";
        QTest::newRow("C3") << C3FanDeckName(7)
                            << "SELECT vejir_jmeno FROM Vejir WHERE vejir_id='7';";
        QTest::newRow("C4") << C4AllFanDeckNames()
                            << "SELECT DISTINCT(vejir_jmeno), vejir_typ, vejir_vlastni FROM Vejir "
                               "ORDER BY vejir_typ, vejir_jmeno;";
        QTest::newRow("C5 alkyd")
            << C5FanDeckIds(true, QStringLiteral("Exteriér"))
            << "SELECT vejir_id FROM vejir WHERE vejir_typ='a' AND vejir_jmeno='Exteriér';";
        QTest::newRow("C5 dispersion")
            << C5FanDeckIds(false, QStringLiteral("X"))
            << "SELECT vejir_id FROM vejir WHERE vejir_typ='d' AND vejir_jmeno='X';";
        QTest::newRow("C6") << C6PaintKinds(cond)
                            << "SELECT DISTINCT(firma_jmeno), firma_jednotka, firma_id, firma_typ "
                               "FROM firma, firma_in_vejir, vejir WHERE  FIV_firma_id=firma_id AND "
                               "( FIV_vejir_id='12'  OR  FIV_vejir_id='13' ) ;";
        QTest::newRow("C7")
            << C7PaintKindsOfFanDeck(5)
            << "SELECT DISTINCT(firma_jmeno), firma_jednotka, firma_id, firma_typ FROM firma, "
               "firma_in_vejir, vejir WHERE  FIV_firma_id=firma_id AND FIV_vejir_id='5' ;";
        QTest::newRow("C8") << C8FanDeckOfPaintKind(3, cond)
                            << "SELECT FIV_vejir_id FROM Firma_in_vejir WHERE  FIV_firma_id='3' "
                               "AND  ( FIV_vejir_id='12'  OR  FIV_vejir_id='13' ) ;";
        const QString c9 = "SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, "
                           "odstin_B, odstin_notice, vejir_id, vejir_jmeno, vejir_typ FROM Odstin, "
                           "Odstin_in_vejir, Vejir WHERE  OIV_vejir_id='12' AND vejir_id='12' AND  "
                           "OIV_odstin_id=Odstin_id AND OIV_firma_id='3' %1;";
        QTest::newRow("C9 unordered") << C9Shades(12, 3, Order::Unordered) << c9.arg(QString());
        QTest::newRow("C9 by name")
            << C9Shades(12, 3, Order::ByName) << c9.arg(" ORDER BY odstin_jmeno ");
        QTest::newRow("C9 by insertion")
            << C9Shades(12, 3, Order::ByInsertion) << c9.arg(" ORDER BY odstin_id ");
        QTest::newRow("C10") << C10SearchShades(QStringLiteral("E"))
                             << "SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, "
                                "odstin_B, odstin_notice, vejir_id, vejir_typ, vejir_jmeno FROM "
                                "Odstin, Vejir, Odstin_In_Vejir WHERE  odstin_jmeno LIKE '%E%'  "
                                "AND vejir_id=OIV_vejir_id AND odstin_id=OIV_odstin_id;";
        QTest::newRow("C11") << C11ShadesInBox(10, 30, 40, 60, 70, 90)
                             << "SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, "
                                "odstin_B, odstin_notice, vejir_id, vejir_typ, vejir_jmeno FROM "
                                "Odstin, Vejir, Odstin_In_Vejir WHERE 10<odstin_R AND odstin_R<30 "
                                "AND 40<odstin_G AND odstin_G<60 AND 70<odstin_B AND odstin_B<90 "
                                "AND vejir_id=OIV_vejir_id AND odstin_id=OIV_odstin_id;";
        QTest::newRow("C11 negative bound")
            << C11ShadesInBox(-5, 20, 0, 1, 250, 260)
            << "SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, odstin_B, "
               "odstin_notice, vejir_id, vejir_typ, vejir_jmeno FROM Odstin, Vejir, "
               "Odstin_In_Vejir WHERE -5<odstin_R AND odstin_R<20 AND 0<odstin_G AND odstin_G<1 "
               "AND 250<odstin_B AND odstin_B<260 AND vejir_id=OIV_vejir_id AND "
               "odstin_id=OIV_odstin_id;";
        QTest::newRow("C12") << C12Shade(42)
                             << "SELECT odstin_jmeno, odstin_R, odstin_G, odstin_B FROM Odstin "
                                "WHERE odstin_id = 42;";
        QTest::newRow("C13") << C13FanDeck(9)
                             << "SELECT vejir_jmeno, vejir_typ FROM Vejir WHERE vejir_id = 9;";
        QTest::newRow("C14")
            << C14PaintKind(4)
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
            C10SearchShades(QStringLiteral("O'Neil")),
            QStringLiteral("SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, "
                           "odstin_B, odstin_notice, vejir_id, vejir_typ, vejir_jmeno FROM Odstin, "
                           "Vejir, Odstin_In_Vejir WHERE  odstin_jmeno LIKE '%O''Neil%'  AND "
                           "vejir_id=OIV_vejir_id AND odstin_id=OIV_odstin_id;"));
        QCOMPARE(C5FanDeckIds(false, QStringLiteral("x'; DROP TABLE Odstin; --")),
                 QStringLiteral("SELECT vejir_id FROM vejir WHERE vejir_typ='d' AND "
                                "vejir_jmeno='x''; DROP TABLE Odstin; --';"));
    }
};

QTEST_GUILESS_MAIN(TestStatements)
#include "test_statements.moc"
