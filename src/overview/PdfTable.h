#pragma once

#include <QFont>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QTextLayout>

// Text wrapped into a width at blanks, and inside a word only where the word alone
// is wider: laid out with the metrics of the paint device it is drawn on (a PDF
// writer's fonts at its resolution), so that what is measured is what is drawn.
class WrappedText {
public:
    WrappedText(const QString& text, const QFont& font, const QPaintDevice* device, qreal width,
                Qt::Alignment alignment = Qt::AlignLeft);
    WrappedText(const WrappedText&) = delete;
    WrappedText& operator=(const WrappedText&) = delete;

    qreal Height() const { return height_; }
    int LineCount() const { return layout_.lineCount(); }
    // Drawn with the painter's pen, its first line's top at topLeft.
    void Draw(QPainter& painter, QPointF topLeft) const;

private:
    QTextLayout layout_;
    qreal height_ = 0;
};

// How wide a text is on the device, and its widest word: where it may wrap.
qreal TextWidth(const QString& text, const QFont& font, const QPaintDevice* device);
qreal WidestWord(const QString& text, const QFont& font, const QPaintDevice* device);

// The widths of a table's columns in `width` with `gap` between them, from the width
// of each column's widest text (`widest`) and the least it can wrap to (`narrowest`):
// every column as wide as its widest text when they all fit, the room left over
// going to the `stretch` columns; otherwise each column between its narrowest and
// widest in proportion to what it would need, as HTML lays out a table; when even
// the narrowest do not fit, the narrowest scaled down, words then wrapping inside.
QList<qreal> ColumnWidths(const QList<qreal>& widest, const QList<qreal>& narrowest,
                          const QList<bool>& stretch, qreal width, qreal gap);

// A table on a PDF page: a bold heading row and rows of texts in columns laid out by
// ColumnWidths. Texts wrap; number columns are right-aligned and wrap only when
// nothing else would fit, text columns take the room left over.
class PdfTable {
public:
    struct Column {
        QString heading;
        bool number = false;
    };
    static constexpr qreal Gap = 8;

    PdfTable(QList<Column> columns, const QList<QStringList>& rows, const QFont& head,
             const QFont& body, const QPaintDevice* device, qreal width);

    qreal Left(int column) const { return lefts_[column]; }
    qreal Width(int column) const { return widths_[column]; }
    // The height of the heading's texts, and of a row's texts.
    qreal HeadHeight() const;
    qreal RowHeight(const QStringList& cells) const;
    // The heading's and a row's texts, their tops at `top`, the table's left edge at `left`.
    void DrawHead(QPainter& painter, qreal left, qreal top) const;
    void DrawRow(QPainter& painter, const QStringList& cells, qreal left, qreal top) const;

private:
    qreal Height(const QStringList& cells, const QFont& font) const;
    void Draw(QPainter& painter, const QStringList& cells, const QFont& font, qreal left,
              qreal top) const;

    QList<Column> columns_;
    QFont head_;
    QFont body_;
    const QPaintDevice* device_;
    QList<qreal> lefts_;
    QList<qreal> widths_;
};
