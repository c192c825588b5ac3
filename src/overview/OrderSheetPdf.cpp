// The paint order as a PDF document: heading, picture, the overview's rows with
// units, and the summary of what to buy.
#include "overview/OrderSheet.h"
#include "overview/OverviewRowPainter.h"
#include "overview/PdfPages.h"
#include "overview/PdfTable.h"
#include "project/CzechNumber.h"
#include "project/Errors.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int RowGap = 3;
// The summary's swatch and the room beside it.
constexpr int SwatchRoom = 30;

class SheetPainter : public PdfPages {
public:
    explicit SheetPainter(const QString& projectName)
        : PdfPages(QStringLiteral("Objednávka barev – %1").arg(projectName),
                   QStringLiteral("Objednávku barev")) {}

    void Picture(const QImage& picture) {
        if (picture.isNull())
            return;
        const QSize fit = picture.size().scaled(QSize(width_, height_ / 2), Qt::KeepAspectRatio);
        Room(fit.height());
        const QRect target(QPoint((width_ - fit.width()) / 2, y_), fit);
        painter_.drawImage(target, picture);
        painter_.setPen(QPen(QColor(120, 120, 120), 0));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(target);
        y_ += fit.height() + 14;
    }

    void Row(const OrderLine& line, const QString& fanDeckLabel) {
        Room(Overview::RowHeight);
        Overview::PaintRowParts(painter_, QRect(0, y_, width_, Overview::RowHeight), false,
                                Order::RowSwatch(line), Order::RowTexts(line, fanDeckLabel),
                                PdfFont(8));
        y_ += Overview::RowHeight + RowGap;
    }

    // The summary's table: the names of each paint, then its numbers right-aligned
    // (area, suggested and entered quantity on a measured sheet, the entered quantity
    // alone otherwise), the layers it is for beneath; the swatch on the left.
    void Totals(const QList<OrderTotal>& totals) {
        const bool measured =
            std::any_of(totals.begin(), totals.end(),
                        [](const OrderTotal& total) { return total.area.has_value(); });
        QList<PdfTable::Column> columns{
            {QStringLiteral("Odstín")}, {QStringLiteral("Vějíř")}, {QStringLiteral("Druh barvy")}};
        if (measured)
            columns << PdfTable::Column{QStringLiteral("Plocha"), true}
                    << PdfTable::Column{QStringLiteral("Spotřeba"), true};
        columns << PdfTable::Column{QStringLiteral("Množství"), true};
        QList<QStringList> rows;
        for (const OrderTotal& total : totals)
            rows << Cells(total, measured);
        const PdfTable table(columns, rows, PdfFont(9, true), PdfFont(9), &writer_,
                             width_ - SwatchRoom);
        const int headHeight = int(std::ceil(table.HeadHeight())) + 6;
        for (qsizetype i = 0; i < totals.size(); ++i) {
            const OrderTotal& total = totals[i];
            const WrappedText layers(QStringLiteral("Vrstvy: ") +
                                         total.layers.join(QStringLiteral(", ")),
                                     PdfFont(7), &writer_, width_ - SwatchRoom);
            const int cellsHeight = std::max(int(std::ceil(table.RowHeight(rows[i]))), 16);
            const int height = cellsHeight + 1 + int(std::ceil(layers.Height())) + 6;
            if (i == 0) {
                Room(headHeight + height);
                painter_.setPen(Qt::black);
                table.DrawHead(painter_, SwatchRoom, y_);
                y_ += headHeight;
                painter_.setPen(QPen(QColor(120, 120, 120), 0));
                painter_.drawLine(0, y_ - 3, width_, y_ - 3);
            }
            Room(height);
            if (total.swatch.isValid()) {
                const QRect swatch(0, y_ + 2, 22, 14);
                painter_.fillRect(swatch, total.swatch);
                painter_.setPen(QPen(Qt::black, 0));
                painter_.setBrush(Qt::NoBrush);
                painter_.drawRect(swatch);
            }
            painter_.setPen(Qt::black);
            table.DrawRow(painter_, rows[i], SwatchRoom, y_);
            painter_.setPen(QColor(90, 90, 90));
            layers.Draw(painter_, QPointF(SwatchRoom, y_ + cellsHeight + 1));
            y_ += height;
        }
    }

private:
    static QStringList Cells(const OrderTotal& total, bool measured) {
        const auto withUnit = [&total](const QString& number) {
            return total.unit.isEmpty() ? number : number + QLatin1Char(' ') + total.unit;
        };
        const QString quantity = total.quantity == 0 ? QStringLiteral("množství nezadáno")
                                                     : withUnit(QString::number(total.quantity));
        if (!measured)
            return {total.shade, total.fanDeck, total.paintKind, quantity};
        const QString area = total.area
                                 ? CzechNumber::Format(*total.area, 1) + QStringLiteral(" m²")
                                 : QStringLiteral("–");
        const QString suggested =
            total.suggested ? withUnit(QString::number(*total.suggested)) : QStringLiteral("–");
        return {total.shade, total.fanDeck, total.paintKind, area, suggested, quantity};
    }
};

} // namespace

namespace Order {

QByteArray Pdf(const OrderSheet& sheet) {
    SheetPainter page(sheet.projectName);
    page.Line(QStringLiteral("Objednávka barev"), PdfFont(20, true), Qt::black, 8);
    page.Line(QStringLiteral("Projekt: ") + sheet.projectName, PdfFont(10));
    page.Line(QStringLiteral("Datum: ") + sheet.date.toString(QStringLiteral("d. M. yyyy")),
              PdfFont(10));
    if (!sheet.schemeName.isEmpty())
        page.Line(QStringLiteral("Barevné schéma: ") + sheet.schemeName, PdfFont(10));
    if (sheet.withoutCatalogue)
        page.Line(QStringLiteral("Katalog barev nebyl k dispozici: chybí jména odstínů, vějířů "
                                 "a druhů barev."),
                  PdfFont(9, false, true), QColor(170, 30, 20));
    page.Space(8);
    page.Picture(sheet.picture);

    page.Line(QStringLiteral("Vrstvy projektu"), PdfFont(12, true), Qt::black, 6);
    if (sheet.lines.isEmpty())
        page.Line(QStringLiteral("Projekt nemá žádnou vrstvu k obarvení."), PdfFont(9));
    const QHash<int, QString> fanDeckLabels = Order::FanDeckLabels(sheet.lines);
    for (const OrderLine& line : sheet.lines)
        page.Row(line, fanDeckLabels.value(line.layer.FanDeckId));

    page.Space(12);
    const QList<OrderTotal> totals = Summarise(sheet.lines);
    page.Room(80);
    page.Line(QStringLiteral("Souhrn objednávky"), PdfFont(12, true), Qt::black, 6);
    if (totals.isEmpty())
        page.Line(QStringLiteral("Žádná vrstva nemá zvolený odstín."), PdfFont(9));
    else
        page.Totals(totals);
    return page.Finish();
}

} // namespace Order
