// The colour proposal as a PDF document: a first page with every colouring side by
// side, then a page per colouring with its picture and its table of layers.
#include "overview/Proposal.h"
#include "project/Errors.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {

// At 96 dots per inch a unit of the page is a pixel of the screen.
constexpr int Resolution = 96;
constexpr int Gap = 12;
constexpr int TableRowHeight = 24;
constexpr int SwatchWidth = 30;
// A picture on a colouring's page keeps at least this share of the page's height;
// a longer table goes on to the next page.
constexpr double SmallestPictureShare = 0.35;

QFont PageFont(double points, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

const QColor Frame(120, 120, 120);
const QColor Quiet(90, 90, 90);

// The table's columns: a heading and a share of the width after the swatch.
struct Column {
    QString heading;
    int share;
    QString ProposalRow::*text;
    bool right = false;
};

QList<Column> ColumnsFor(const QList<ProposalRow>& rows) {
    QList<Column> columns{{QStringLiteral("Vrstva"), 21, &ProposalRow::layer},
                          {QStringLiteral("Odstín"), 21, &ProposalRow::shade},
                          {QStringLiteral("Vějíř"), 16, &ProposalRow::fanDeck},
                          {QStringLiteral("Druh barvy"), 20, &ProposalRow::paintKind}};
    // Area only when Tintora knows it for some layer.
    if (std::any_of(rows.cbegin(), rows.cend(),
                    [](const ProposalRow& row) { return !row.area.isEmpty(); }))
        columns << Column{QStringLiteral("Plocha"), 13, &ProposalRow::area, true}; // "1250,5 m²"
    columns << Column{QStringLiteral("Množství"), 10, &ProposalRow::quantity, true};
    return columns;
}

class ProposalPainter {
public:
    ProposalPainter(QPdfWriter& writer, QPainter& painter)
        : writer_(writer), painter_(painter), width_(writer.width()), height_(writer.height()) {}

    int Width() const { return width_; }
    int Remaining() const { return height_ - y_; }

    // Text on one line at the current height, which moves below it.
    void Line(const QString& text, const QFont& font, const QColor& colour = Qt::black,
              int after = 4) {
        painter_.setFont(font);
        painter_.setPen(colour);
        const QFontMetrics metrics = painter_.fontMetrics();
        Room(metrics.height());
        painter_.drawText(QPoint(0, y_ + metrics.ascent()),
                          metrics.elidedText(text, Qt::ElideRight, width_));
        y_ += metrics.height() + after;
    }

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
        const QFont nameFont = PageFont(11, true);
        const int nameHeight = LineHeight(nameFont) + 4;
        const QSize picture = schemes.isEmpty() ? QSize(3, 2) : schemes.constFirst().picture.size();
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
                box.left() + (box.width() - FittedSize(schemes[i].picture, box).width()) / 2;
            painter_.setFont(nameFont);
            painter_.setPen(Qt::black);
            const QFontMetrics metrics = painter_.fontMetrics();
            painter_.drawText(
                QPoint(left, y_ + metrics.ascent()),
                metrics.elidedText(schemes[i].name, Qt::ElideRight, box.right() + 1 - left));
            Picture(schemes[i].picture, box);
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
    void SchemePage(const Proposal& proposal, const ProposalScheme& scheme) {
        NewPage();
        Line(QStringLiteral("Návrh barev – %1, %2")
                 .arg(proposal.projectName, proposal.date.toString(QStringLiteral("d. M. yyyy"))),
             PageFont(8), Quiet, 2);
        Line(scheme.name, PageFont(16, true), Qt::black, 8);

        QList<ProposalRow> rows;
        for (const OrderLine& line : scheme.lines)
            rows << Proposals::RowOf(line);
        const QFont head = PageFont(9, true);
        const int headHeight = LineHeight(head) + 6;
        const int tableHeight =
            headHeight + std::max<int>(1, int(rows.size())) * TableRowHeight + Gap;
        const int pictureHeight =
            std::max(Remaining() - tableHeight - Gap, int(height_ * SmallestPictureShare));
        const QRect shown = Picture(scheme.picture, QRect(0, y_, width_, pictureHeight));
        y_ += (shown.isEmpty() ? 0 : shown.height()) + 2 * Gap;
        Table(rows, head, headHeight);
    }

    void Table(const QList<ProposalRow>& rows, const QFont& head, int headHeight) {
        const QList<Column> columns = ColumnsFor(rows);
        int shares = 0;
        for (const Column& column : columns)
            shares += column.share;
        QList<int> lefts;
        int x = SwatchWidth + 8;
        for (const Column& column : columns) {
            lefts << x;
            x += (width_ - SwatchWidth - 8) * column.share / shares;
        }
        lefts << width_ + 8;
        const auto cells = [&](const QFont& font, const auto& textOf) {
            painter_.setFont(font);
            painter_.setPen(Qt::black);
            const QFontMetrics metrics = painter_.fontMetrics();
            for (int c = 0; c < columns.size(); ++c) {
                const int cellWidth = lefts[c + 1] - lefts[c] - 8;
                const QString text =
                    metrics.elidedText(textOf(columns[c]), Qt::ElideRight, cellWidth);
                painter_.drawText(
                    QRect(lefts[c], y_, cellWidth, metrics.height()),
                    (columns[c].right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop, text);
            }
        };

        Room(headHeight + TableRowHeight);
        cells(head, [](const Column& column) { return column.heading; });
        y_ += headHeight;
        painter_.setPen(QPen(Frame, 0));
        painter_.drawLine(0, y_ - 4, width_, y_ - 4);
        if (rows.isEmpty())
            Line(QStringLiteral("Projekt nemá žádnou vrstvu k obarvení."), PageFont(9));
        const QFont body = PageFont(9);
        for (const ProposalRow& row : rows) {
            Room(TableRowHeight);
            if (row.swatch.isValid()) {
                const QRect swatch(0, y_ + 1, SwatchWidth, 15);
                painter_.fillRect(swatch, row.swatch);
                painter_.setPen(QPen(Qt::black, 0));
                painter_.setBrush(Qt::NoBrush);
                painter_.drawRect(swatch);
            }
            cells(body, [&row](const Column& column) { return row.*column.text; });
            y_ += TableRowHeight;
        }
    }

    // Starts a new page unless the next units fit on this one.
    void Room(int units) {
        if (y_ > 0 && y_ + units > height_)
            NewPage();
    }
    void NewPage() {
        writer_.newPage();
        y_ = 0;
    }

private:
    QPdfWriter& writer_;
    QPainter& painter_;
    int width_;
    int height_;
    int y_ = 0;
};

} // namespace

namespace Proposals {

QByteArray Pdf(const Proposal& proposal) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw TintoraError(QStringLiteral("Návrh barev nelze vytvořit bez písem: program neběží "
                                          "jako grafická aplikace."));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(Resolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    writer.setTitle(QStringLiteral("Návrh barev – %1").arg(proposal.projectName));
    writer.setCreator(QStringLiteral("Tintora 1.2"));

    QPainter painter;
    if (!painter.begin(&writer))
        throw IoError(QStringLiteral("Návrh barev nelze vytvořit."));
    ProposalPainter page(writer, painter);
    page.Line(QStringLiteral("Návrh barev"), PageFont(20, true), Qt::black, 8);
    page.Line(QStringLiteral("Projekt: ") + proposal.projectName, PageFont(10));
    page.Line(QStringLiteral("Datum: ") + proposal.date.toString(QStringLiteral("d. M. yyyy")),
              PageFont(10));
    if (proposal.withoutCatalogue)
        page.Line(QStringLiteral("Katalog barev nebyl k dispozici: chybí jména odstínů, vějířů "
                                 "a druhů barev."),
                  PageFont(9, false, true), QColor(170, 30, 20));
    page.Line(QString(), PageFont(6));
    page.Overview(proposal.schemes);
    for (const ProposalScheme& scheme : proposal.schemes)
        page.SchemePage(proposal, scheme);
    if (!painter.end())
        throw IoError(QStringLiteral("Návrh barev nelze dokončit."));
    return bytes;
}

} // namespace Proposals
