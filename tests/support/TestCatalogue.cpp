#include "support/TestCatalogue.h"

#include "CatalogueScript.h"

#include <QFile>

namespace TestCatalogue {

QString SmallRows(int version) {
    return QStringLiteral(
               "INSERT INTO verze VALUES (%1);\n"
               "INSERT INTO Firma VALUES (1, 'Fasádní barva', 'l', 'd');\n"
               "INSERT INTO Firma VALUES (2, 'Silikonová barva', 'Kg', 'd');\n"
               "INSERT INTO Firma VALUES (3, 'Email', 'l', 'a');\n"
               "INSERT INTO Vejir VALUES (12, 'Exteriér', 'd', 0);\n"
               "INSERT INTO Vejir VALUES (13, 'Exteriér', 'd', 0);\n"
               "INSERT INTO Vejir VALUES (20, 'Syntetika', 'a', 0);\n"
               "INSERT INTO Vejir VALUES (30, 'Moje', 'd', 1);\n"
               "INSERT INTO Firma_in_vejir VALUES (1, 12);\n"
               "INSERT INTO Firma_in_vejir VALUES (2, 13);\n"
               "INSERT INTO Firma_in_vejir VALUES (3, 20);\n"
               "INSERT INTO Firma_in_vejir VALUES (1, 30);\n"
               "INSERT INTO Odstin VALUES (1, 'E 002 - 01', 200, 10, 10, NULL);\n"
               "INSERT INTO Odstin VALUES (2, 'E 001 - 02', 10, 10, 10, 'Vhodné i do exteriéru');\n"
               "INSERT INTO Odstin VALUES (3, 'E 001 - 01', NULL, 50, 60, NULL);\n"
               "INSERT INTO Odstin VALUES (4, 'E 101 - 01', 0, 0, 0, NULL);\n"
               "INSERT INTO Odstin VALUES (5, 'S 001 - 01', 255, 255, 255, NULL);\n"
               "INSERT INTO Odstin VALUES (6, 'Žlutá kuchyň', 250, 220, 100, NULL);\n"
               "INSERT INTO Odstin VALUES (7, 'O''Neil', NULL, NULL, NULL, NULL);\n"
               "INSERT INTO Odstin_In_Vejir VALUES (1, 12, 1);\n"
               "INSERT INTO Odstin_In_Vejir VALUES (2, 12, 1);\n"
               "INSERT INTO Odstin_In_Vejir VALUES (3, 12, 1);\n"
               "INSERT INTO Odstin_In_Vejir VALUES (4, 13, 2);\n"
               "INSERT INTO Odstin_In_Vejir VALUES (5, 20, 3);\n"
               "INSERT INTO Odstin_In_Vejir VALUES (6, 30, 1);\n"
               "INSERT INTO Odstin_In_Vejir VALUES (7, 30, 1);\n"
               "COMMIT;\n")
        .arg(version);
}

QString LongNameRows() {
    QString rows = SmallRows();
    const auto rename = [&rows](const QString& from, const QString& to) { rows.replace(from, to); };
    rename(QStringLiteral("(1, 'Fasádní barva',"), QStringLiteral("(1, '%1',").arg(LongPaintKind));
    rename(QStringLiteral("(2, 'Silikonová barva',"),
           QStringLiteral("(2, '%1',").arg(LongSiliconeKind));
    rename(QStringLiteral("(12, 'Exteriér',"), QStringLiteral("(12, '%1',").arg(LongExteriorDeck));
    rename(QStringLiteral("(13, 'Exteriér',"), QStringLiteral("(13, '%1',").arg(LongExteriorDeck));
    rename(QStringLiteral("(30, 'Moje',"), QStringLiteral("(30, '%1',").arg(LongFanDeck));
    rename(QStringLiteral("(2, 'E 001 - 02',"), QStringLiteral("(2, '%1',").arg(LongFrameShade));
    rename(QStringLiteral("(4, 'E 101 - 01',"), QStringLiteral("(4, '%1',").arg(LongDarkShade));
    rename(QStringLiteral("(6, 'Žlutá kuchyň',"), QStringLiteral("(6, '%1',").arg(LongShade));
    return rows;
}

QString PaletteRows() {
    QString rows = QStringLiteral("INSERT INTO verze VALUES (0);\n"
                                  "INSERT INTO Firma VALUES (1, 'Fasádní barva', 'l', 'd');\n"
                                  "INSERT INTO Firma VALUES (2, 'Email', 'Kg', 'a');\n"
                                  "INSERT INTO Vejir VALUES (40, 'Paleta', 'd', 0);\n"
                                  "INSERT INTO Vejir VALUES (41, 'Hrany', 'd', 0);\n"
                                  "INSERT INTO Vejir VALUES (42, 'Syntetika', 'a', 0);\n"
                                  "INSERT INTO Firma_in_vejir VALUES (1, 40);\n"
                                  "INSERT INTO Firma_in_vejir VALUES (1, 41);\n"
                                  "INSERT INTO Firma_in_vejir VALUES (2, 42);\n");
    for (int i = 1; i <= 35; ++i) {
        const int id = 100 + i;
        const QString colour =
            i == 7 ? QStringLiteral("NULL, 50, 50")
                   : QStringLiteral("%1, %2, %3").arg(7 * i).arg(100 + i).arg((37 * i) % 256);
        rows += QStringLiteral("INSERT INTO Odstin VALUES (%1, 'P %2', %3, NULL);\n"
                               "INSERT INTO Odstin_In_Vejir VALUES (%1, 40, 1);\n")
                    .arg(id)
                    .arg(i, 2, 10, QLatin1Char('0'))
                    .arg(colour);
    }
    const struct {
        int id;
        const char* name;
        const char* colour;
    } edges[] = {
        {201, "H dolní roh", "95, 0, 181"},
        {202, "H horní roh", "155, 55, 241"},
        {203, "H červená pod", "94, 30, 200"},
        {204, "H červená nad", "156, 30, 200"},
        {205, "H zelená nad", "125, 56, 200"},
        {206, "H modrá pod", "125, 25, 180"},
        {207, "H modrá nad", "125, 25, 242"},
        {208, "H střed", "125, 25, 211"},
        {209, "H bez barvy", "NULL, NULL, NULL"},
        {210, "H bílá", "255, 255, 255"},
        {211, "H černá", "0, 0, 0"},
    };
    for (const auto& e : edges) {
        rows += QStringLiteral("INSERT INTO Odstin VALUES (%1, '%2', %3, NULL);\n"
                               "INSERT INTO Odstin_In_Vejir VALUES (%1, 41, 1);\n")
                    .arg(e.id)
                    .arg(QString::fromUtf8(e.name), QString::fromUtf8(e.colour));
    }
    rows += QStringLiteral("INSERT INTO Odstin_In_Vejir VALUES (208, 42, 2);\n"
                           "COMMIT;\n");
    return rows;
}

QString Build(const QString& path, const QString& rows, bool readOnly) {
    QFile schema(QStringLiteral(TINTORA_CATALOGUE_SCHEMA));
    if (!schema.open(QIODevice::ReadOnly))
        return QStringLiteral("schema missing");
    return CatalogueScript::BuildDatabase(path, QString::fromUtf8(schema.readAll()), rows,
                                          readOnly);
}

} // namespace TestCatalogue
