// The colour proposal as a PDF document: a first page with every colouring side by
// side, then a page per colouring with its picture and its table of layers.
#include "overview/PdfPages.h"
#include "overview/PdfTable.h"
#include "overview/Proposal.h"
#include "project/Errors.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr int Gap = 12;
constexpr int SwatchWidth = 30;
constexpr int SwatchHeight = 15;
// Below a row's texts (or its swatch) before the next row.
constexpr int RowPadding = 9;
// The line saying that there are no rows.
constexpr int EmptyRowHeight = 24;
// A picture on a colouring's page keeps at least this share of the page's height;
// a longer table goes on to the next page.
constexpr double SmallestPictureShare = 0.35;

const QColor Frame(120, 120, 120);
const QColor Quiet(90, 90, 90);

// The table's columns: a heading and the row's text under it.
struct Column {
    PdfTable::Column column;
    QString ProposalRow::*text;
};

QList<Column> ColumnsFor(const QList<ProposalRow>& rows) {
    QList<Column> columns{{{QStringLiteral("Vrstva")}, &ProposalRow::layer},
                          {{QStringLiteral("Odstín")}, &ProposalRow::shade},
                          {{QStringLiteral("Vějíř")}, &ProposalRow::fanDeck},
                          {{QStringLiteral("Druh barvy")}, &ProposalRow::paintKind}};
    // Area only when Tintora knows it for some layer.
    if (std::any_of(rows.cbegin(), rows.cend(),
                    [](const ProposalRow& row) { return !row.area.isEmpty(); }))
        columns << Column{{QStringLiteral("Plocha"), true}, &ProposalRow::area};
    columns << Column{{QStringLiteral("Množství"), true}, &ProposalRow::quantity};
    return columns;
}

// A scheme's table of layers, laid out from its texts on the page.
struct SchemeTable {
    SchemeTable(const QList<ProposalRow>& rows, const QList<Column>& columns, const QFont& head,
                const QPaintDevice* device, qreal width)
        : table(Headings(columns), Cells(rows, columns), head, PdfFont(9), device, width) {
        headHeight = int(std::ceil(table.HeadHeight())) + 6;
        for (const QStringList& row : Cells(rows, columns))
            rowHeights << std::max(int(std::ceil(table.RowHeight(row))), SwatchHeight) + RowPadding;
    }

    static QList<PdfTable::Column> Headings(const QList<Column>& columns) {
        QList<PdfTable::Column> headings;
        for (const Column& column : columns)
            headings << column.column;
        return headings;
    }
    static QList<QStringList> Cells(const QList<ProposalRow>& rows, const QList<Column>& columns) {
        QList<QStringList> cells;
        for (const ProposalRow& row : rows) {
            QStringList texts;
            for (const Column& column : columns)
                texts << row.*column.text;
            cells << texts;
        }
        return cells;
    }
    int Height() const {
        return headHeight +
               std::max(std::accumulate(rowHeights.begin(), rowHeights.end(), 0), EmptyRowHeight);
    }

    PdfTable table;
    int headHeight = 0;
    QList<int> rowHeights;
};

class ProposalPainter : public PdfPages {
public:
    ProposalPainter(const QString& projectName, QIODevice* device)
        : PdfPages(QStringLiteral("Návrh barev – %1").arg(projectName),
                   QStringLiteral("Návrh barev"), device) {}

    int LineHeight(const QFont& font) const { return QFontMetrics(font, &writer_).height(); }

    static QSize FittedSize(const QImage& picture, const QRect& box) {
        return picture.isNull() ? QSize() : picture.size().scaled(box.size(), Qt::KeepAspectRatio);
    }

    // A picture fitted into the box, centred across it, framed.
    QRect Picture(const QImage& picture, const QRect& box) {
        if (picture.isNull() || box.isEmpty())
            return QRect();
        const QSize fit = FittedSize(picture, box);
        const QRect target(QPoint(box.left() + (box.width() - fit.width()) / 2, box.top()), fit);
        painter_.drawImage(target, picture);
        painter_.setPen(QPen(Frame, 0));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(target);
        return target;
    }

    // The first page's grid: every colouring's name above its picture, as many across
    // as make the pictures largest.
    void Overview(const QList<ProposalScheme>& schemes) {
        const QFont nameFont = PdfFont(11, true);
        const int nameHeight = LineHeight(nameFont) + 4;
        const QSize picture =
            schemes.isEmpty() ? QSize(3, 2) : schemes.constFirst().thumbnail.size();
        const int count = int(schemes.size());
        int across = 1;
        double best = -1;
        for (int candidate = 1; candidate <= std::min(count, 3); ++candidate) {
            const int down = (count + candidate - 1) / candidate;
            const QSize cell = CellSize(candidate, down, nameHeight);
            const QSize fit =
                picture.scaled(cell.width(), cell.height() - nameHeight, Qt::KeepAspectRatio);
            if (fit.width() > best) {
                best = fit.width();
                across = candidate;
            }
        }
        const int down = (count + across - 1) / across;
        const QSize cell = CellSize(across, down, nameHeight);
        for (int i = 0; i < count; ++i) {
            const int column = i % across;
            if (column == 0) {
                if (i > 0)
                    y_ += cell.height() + Gap;
                Room(cell.height());
            }
            const QRect box(column * (cell.width() + Gap), y_ + nameHeight, cell.width(),
                            cell.height() - nameHeight);
            // The name stands over the picture's left edge.
            const int left =
                box.left() + (box.width() - FittedSize(schemes[i].thumbnail, box).width()) / 2;
            painter_.setFont(nameFont);
            painter_.setPen(Qt::black);
            const QFontMetrics metrics = painter_.fontMetrics();
            painter_.drawText(
                QPoint(left, y_ + metrics.ascent()),
                metrics.elidedText(schemes[i].name, Qt::ElideRight, box.right() + 1 - left));
            Picture(schemes[i].thumbnail, box);
        }
        y_ += cell.height() + Gap;
    }

    // A cell of the first page's grid: the rows share what is left of the page, but
    // never shrink below a quarter of a page; more rows go on to the next pages.
    QSize CellSize(int across, int down, int nameHeight) const {
        const int width = (width_ - (across - 1) * Gap) / across;
        const int height = std::max((Remaining() - (down - 1) * Gap) / down, height_ / 4);
        return QSize(width, std::max(height, nameHeight + 1));
    }

    // A colouring's page: its name, its picture as large as the page allows beside
    // the table, and the table of its layers.
    void SchemePage(const Proposal& proposal, const ProposalScheme& scheme, Progress& progress) {
        NewPage();
        Line(QStringLiteral("Návrh barev – %1, %2")
                 .arg(proposal.projectName, proposal.date.toString(QStringLiteral("d. M. yyyy"))),
             PdfFont(8), Quiet, 2);
        Line(scheme.name, PdfFont(16, true), Qt::black, 8);

        QList<ProposalRow> rows;
        for (const OrderLine& line : scheme.lines)
            rows << Proposals::RowOf(line);
        const QList<Column> columns = ColumnsFor(rows);
        const SchemeTable table(rows, columns, PdfFont(9, true), &writer_,
                                width_ - SwatchWidth - 8);
        const int pictureHeight =
            std::max(Remaining() - table.Height() - 2 * Gap, int(height_ * SmallestPictureShare));
        // A picture not kept is drawn again for its page, and let go after it.
        const QImage picture =
            scheme.picture.isNull() && proposal.mask
                ? Order::Picture(proposal.photo, *proposal.mask, scheme.layers, progress)
                : scheme.picture;
        const QRect shown = Picture(picture, QRect(0, y_, width_, pictureHeight));
        y_ += (shown.isEmpty() ? 0 : shown.height()) + 2 * Gap;
        Table(rows, columns, table);
    }

    void Table(const QList<ProposalRow>& rows, const QList<Column>& columns,
               const SchemeTable& table) {
        const int left = SwatchWidth + 8;
        Room(table.headHeight + (rows.isEmpty() ? EmptyRowHeight : table.rowHeights.value(0)));
        painter_.setPen(Qt::black);
        table.table.DrawHead(painter_, left, y_);
        y_ += table.headHeight;
        painter_.setPen(QPen(Frame, 0));
        painter_.drawLine(0, y_ - 4, width_, y_ - 4);
        if (rows.isEmpty())
            Line(QStringLiteral("Projekt nemá žádnou vrstvu k obarvení."), PdfFont(9));
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const ProposalRow& row = rows[i];
            Room(table.rowHeights[i]);
            if (row.swatch.isValid()) {
                const QRect swatch(0, y_ + 1, SwatchWidth, SwatchHeight);
                painter_.fillRect(swatch, row.swatch);
                painter_.setPen(QPen(Qt::black, 0));
                painter_.setBrush(Qt::NoBrush);
                painter_.drawRect(swatch);
            }
            QStringList texts;
            for (const Column& column : columns)
                texts << row.*column.text;
            painter_.setPen(Qt::black);
            table.table.DrawRow(painter_, texts, left, y_);
            y_ += table.rowHeights[i];
        }
    }
};

void Pages(ProposalPainter& page, const Proposal& proposal, Progress& progress) {
    page.Line(QStringLiteral("Návrh barev"), PdfFont(20, true), Qt::black, 8);
    page.Line(QStringLiteral("Projekt: ") + proposal.projectName, PdfFont(10));
    page.Line(QStringLiteral("Datum: ") + proposal.date.toString(QStringLiteral("d. M. yyyy")),
              PdfFont(10));
    if (proposal.withoutCatalogue)
        page.Line(QStringLiteral("Katalog barev nebyl k dispozici: chybí jména odstínů, vějířů "
                                 "a druhů barev."),
                  PdfFont(9, false, true), QColor(170, 30, 20));
    page.Line(QString(), PdfFont(6));
    page.Overview(proposal.schemes);
    // Pictures drawn again take an equal share of the bar each.
    const double share = 1.0 / double(std::max<qsizetype>(proposal.schemes.size(), 1));
    for (qsizetype i = 0; i < proposal.schemes.size(); ++i) {
        ProgressPart part(progress, double(i) * share, double(i + 1) * share);
        page.SchemePage(proposal, proposal.schemes[i], part);
    }
}

} // namespace

namespace Proposals {

void WritePdf(const Proposal& proposal, QIODevice& device, Progress& progress) {
    ProposalPainter page(proposal.projectName, &device);
    Pages(page, proposal, progress);
    page.Finish();
}

} // namespace Proposals
