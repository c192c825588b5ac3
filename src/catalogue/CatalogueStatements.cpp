#include "catalogue/CatalogueStatements.h"

#include <QStringList>

namespace Statements {
namespace {

QString Quoted(int id) {
    return QStringLiteral("'") + QString::number(id) + QStringLiteral("'");
}

const QString ShadeColumns = QStringLiteral(
    "SELECT DISTINCT(odstin_id), odstin_jmeno, odstin_R, odstin_G, odstin_B, odstin_notice, ");

} // namespace

QString SqlText(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return doubled;
}

QString FanDeckFilter(bool onlyAlkyd, bool onlyDispersion, bool showOwn) {
    QString filter;
    if (onlyAlkyd)
        filter = QStringLiteral(" WHERE vejir_typ = 'a' ");
    if (onlyDispersion)
        filter = QStringLiteral(" WHERE vejir_typ = 'd' ");
    if (!showOwn) {
        if (!filter.isEmpty())
            filter += QStringLiteral(" AND vejir_vlastni = '0' ");
        else
            filter = QStringLiteral(" WHERE vejir_vlastni = '0' ");
    }
    return filter;
}

QString IdCondition(const QList<int>& fanDeckIds) {
    QStringList pieces;
    for (int id : fanDeckIds)
        pieces << QStringLiteral(" FIV_vejir_id=") + Quoted(id) + QStringLiteral(" ");
    return pieces.join(QStringLiteral(" OR "));
}

QString VersionStatement() {
    return QStringLiteral("SELECT verze_exe FROM verze;");
}

QString FanDecksStatement(const QString& filter) {
    return QStringLiteral("SELECT vejir_jmeno, vejir_id, vejir_typ, vejir_vlastni FROM Vejir  ") +
           filter + QStringLiteral(" ORDER BY vejir_typ, vejir_jmeno;");
}

QString FanDeckNameStatement(int fanDeckId) {
    return QStringLiteral("SELECT vejir_jmeno FROM Vejir WHERE vejir_id=") + Quoted(fanDeckId) +
           QStringLiteral(";");
}

QString AllFanDeckNamesStatement() {
    return QStringLiteral("SELECT DISTINCT(vejir_jmeno), vejir_typ, vejir_vlastni FROM Vejir "
                          "ORDER BY vejir_typ, vejir_jmeno;");
}

QString FanDeckIdsStatement(bool alkyd, const QString& fanDeckName) {
    return QStringLiteral("SELECT vejir_id FROM vejir WHERE vejir_typ='") +
           (alkyd ? QStringLiteral("a") : QStringLiteral("d")) +
           QStringLiteral("' AND vejir_jmeno='") + SqlText(fanDeckName) + QStringLiteral("';");
}

QString PaintKindsOfFanDecksStatement(const QString& idCondition) {
    return QStringLiteral("SELECT DISTINCT(firma_jmeno), firma_jednotka, firma_id, firma_typ FROM "
                          "firma, firma_in_vejir, vejir WHERE  FIV_firma_id=firma_id AND (") +
           idCondition + QStringLiteral(") ;");
}

QString PaintKindsOfFanDeckStatement(int fanDeckId) {
    return QStringLiteral("SELECT DISTINCT(firma_jmeno), firma_jednotka, firma_id, firma_typ FROM "
                          "firma, firma_in_vejir, vejir WHERE  FIV_firma_id=firma_id AND "
                          "FIV_vejir_id=") +
           Quoted(fanDeckId) + QStringLiteral(" ;");
}

QString FanDeckOfPaintKindStatement(int paintKindId, const QString& idCondition) {
    return QStringLiteral("SELECT FIV_vejir_id FROM Firma_in_vejir WHERE  FIV_firma_id=") +
           Quoted(paintKindId) + QStringLiteral(" AND ") + QStringLiteral(" (") + idCondition +
           QStringLiteral(") ;");
}

QString ShadesOfFanDeckStatement(int fanDeckId, int paintKindId, Order order) {
    QString orderPiece;
    if (order == Order::ByName)
        orderPiece = QStringLiteral(" ORDER BY odstin_jmeno ");
    else if (order == Order::ByInsertion)
        orderPiece = QStringLiteral(" ORDER BY odstin_id ");
    return ShadeColumns +
           QStringLiteral("vejir_id, vejir_jmeno, vejir_typ FROM Odstin, Odstin_in_vejir, Vejir "
                          "WHERE  OIV_vejir_id=") +
           Quoted(fanDeckId) + QStringLiteral(" AND vejir_id=") + Quoted(fanDeckId) +
           QStringLiteral(" AND ") + QStringLiteral(" OIV_odstin_id=Odstin_id AND OIV_firma_id=") +
           Quoted(paintKindId) + QStringLiteral(" ") + orderPiece + QStringLiteral(";");
}

QString ShadesByNameStatement(const QString& searchText) {
    return ShadeColumns +
           QStringLiteral("vejir_id, vejir_typ, vejir_jmeno FROM Odstin, Vejir, Odstin_In_Vejir "
                          "WHERE  odstin_jmeno LIKE '%") +
           SqlText(searchText) + QStringLiteral("%' ") +
           QStringLiteral(" AND vejir_id=OIV_vejir_id AND odstin_id=OIV_odstin_id;");
}

QString ShadesInColourBoxStatement(int lowRed, int highRed, int lowGreen, int highGreen,
                                   int lowBlue, int highBlue) {
    const auto n = [](int v) { return QString::number(v); };
    return ShadeColumns +
           QStringLiteral("vejir_id, vejir_typ, vejir_jmeno FROM Odstin, Vejir, Odstin_In_Vejir "
                          "WHERE ") +
           n(lowRed) + QStringLiteral("<odstin_R AND odstin_R<") + n(highRed) +
           QStringLiteral(" AND ") + n(lowGreen) + QStringLiteral("<odstin_G AND odstin_G<") +
           n(highGreen) + QStringLiteral(" AND ") + n(lowBlue) +
           QStringLiteral("<odstin_B AND odstin_B<") + n(highBlue) +
           QStringLiteral(" AND vejir_id=OIV_vejir_id AND odstin_id=OIV_odstin_id;");
}

QString ShadeStatement(int shadeId) {
    return QStringLiteral("SELECT odstin_jmeno, odstin_R, odstin_G, odstin_B FROM Odstin WHERE "
                          "odstin_id = ") +
           QString::number(shadeId) + QStringLiteral(";");
}

QString FanDeckStatement(int fanDeckId) {
    return QStringLiteral("SELECT vejir_jmeno, vejir_typ FROM Vejir WHERE vejir_id = ") +
           QString::number(fanDeckId) + QStringLiteral(";");
}

QString PaintKindStatement(int paintKindId) {
    return QStringLiteral("SELECT firma_jmeno, firma_jednotka, firma_typ FROM Firma WHERE "
                          "firma_id = ") +
           QString::number(paintKindId) + QStringLiteral(";");
}

} // namespace Statements
