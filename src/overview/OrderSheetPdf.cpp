// The paint order as a PDF document: heading, picture, the overview's rows with
// units, and the summary of what to buy.
#include "overview/OrderSheet.h"
#include "overview/OverviewRowPainter.h"
#include "overview/PdfPages.h"
#include "project/CzechNumber.h"
#include "project/Errors.h"

#include <algorithm>
#include <array>

namespace {

constexpr int RowGap = 3;
constexpr int TotalHeight = 34;

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

    void Totals(const QList<OrderTotal>& totals) {
        // Area and suggested quantity only on the sheet of a measured project.
        measured_ = std::any_of(totals.begin(), totals.end(),
                                [](const OrderTotal& total) { return total.area.has_value(); });
        const QFont head = PdfFont(9, true);
        painter_.setFont(head);
        const int headHeight = painter_.fontMetrics().height() + 6;
        Room(headHeight + TotalHeight);
        TotalColumns(
            head, Qt::black, QStringLiteral("Odstín"), QStringLiteral("Vějíř"),
            QStringLiteral("Druh barvy"),
            {QStringLiteral("Plocha"), QStringLiteral("Spotřeba"), QStringLiteral("Množství")});
        y_ += headHeight;
        painter_.setPen(QPen(QColor(120, 120, 120), 0));
        painter_.drawLine(0, y_ - 3, width_, y_ - 3);
        for (const OrderTotal& total : totals) {
            Room(TotalHeight);
            if (total.swatch.isValid()) {
                const QRect swatch(0, y_ + 2, 22, 14);
                painter_.fillRect(swatch, total.swatch);
                painter_.setPen(QPen(Qt::black, 0));
                painter_.setBrush(Qt::NoBrush);
                painter_.drawRect(swatch);
            }
            const auto withUnit = [&total](const QString& number) {
                return total.unit.isEmpty() ? number : number + QLatin1Char(' ') + total.unit;
            };
            const QString area = total.area
                                     ? CzechNumber::Format(*total.area, 1) + QStringLiteral(" m²")
                                     : QStringLiteral("–");
            const QString suggested =
                total.suggested ? withUnit(QString::number(*total.suggested)) : QStringLiteral("–");
            const QString quantity = total.quantity == 0
                                         ? QStringLiteral("množství nezadáno")
                                         : withUnit(QString::number(total.quantity));
            TotalColumns(PdfFont(9), Qt::black, total.shade, total.fanDeck, total.paintKind,
                         {area, suggested, quantity});
            painter_.setFont(PdfFont(7));
            painter_.setPen(QColor(90, 90, 90));
            painter_.drawText(
                QPoint(30, y_ + 17 + painter_.fontMetrics().ascent()),
                painter_.fontMetrics().elidedText(QStringLiteral("Vrstvy: ") +
                                                      total.layers.join(QStringLiteral(", ")),
                                                  Qt::ElideRight, width_ - 30));
            y_ += TotalHeight;
        }
    }

private:
    // The three names, then the numbers right-aligned: area, suggested and entered
    // quantity on a measured sheet, the entered quantity alone otherwise.
    void TotalColumns(const QFont& font, const QColor& colour, const QString& shade,
                      const QString& fanDeck, const QString& kind,
                      const std::array<QString, 3>& numbers) {
        painter_.setFont(font);
        painter_.setPen(colour);
        const QFontMetrics metrics = painter_.fontMetrics();
        // Wide enough for "množství nezadáno" on its own; beside area and suggestion
        // the flag may reach into the suggestion's free space.
        const int numberWidth = measured_ ? 78 : 120;
        const int numberCount = measured_ ? 3 : 1;
        const int columns = width_ - 30 - numberWidth * numberCount;
        const int x[] = {30, 30 + columns * 35 / 100, 30 + columns * 65 / 100};
        const int widths[] = {x[1] - x[0] - 8, x[2] - x[1] - 8, columns * 35 / 100 - 8};
        const QString texts[] = {shade, fanDeck, kind};
        const int baseline = y_ + metrics.ascent();
        for (int i = 0; i < 3; ++i)
            painter_.drawText(QPoint(x[i], baseline),
                              metrics.elidedText(texts[i], Qt::ElideRight, widths[i]));
        for (int i = 0; i < numberCount; ++i) {
            const QString& number = numbers[size_t(3 - numberCount + i)];
            const int left = width_ - numberWidth * (numberCount - i);
            painter_.drawText(QRect(left, y_, numberWidth, metrics.height()),
                              Qt::AlignRight | Qt::AlignTop, number);
        }
    }

    bool measured_ = false;
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
