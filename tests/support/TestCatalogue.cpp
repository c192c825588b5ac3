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

QString Build(const QString& path, const QString& rows, bool readOnly) {
    QFile schema(QStringLiteral(TINTORA_CATALOGUE_SCHEMA));
    if (!schema.open(QIODevice::ReadOnly))
        return QStringLiteral("schema missing");
    return CatalogueScript::BuildDatabase(path, QString::fromUtf8(schema.readAll()), rows,
                                          readOnly);
}

} // namespace TestCatalogue
