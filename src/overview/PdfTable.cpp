#include "overview/PdfTable.h"

#include <QFontMetricsF>
#include <QRegularExpression>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Measured widths rounded up and a little more, so that a text laid out in the width
// measured for it never wraps by a rounding error.
qreal Room(qreal width) {
    return std::ceil(width) + 1;
}

} // namespace

WrappedText::WrappedText(const QString& text, const QFont& font, const QPaintDevice* device,
                         qreal width, Qt::Alignment alignment)
    : layout_(text, font, device) {
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout_.setTextOption(option);
    const qreal leading = QFontMetricsF(font, device).leading();
    layout_.beginLayout();
    for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
        line.setLineWidth(width);
        if (height_ > 0)
            height_ += leading;
        line.setPosition(QPointF(0, height_));
        height_ += line.height();
    }
    layout_.endLayout();
}

void WrappedText::Draw(QPainter& painter, QPointF topLeft) const {
    layout_.draw(&painter, topLeft);
}

qreal TextWidth(const QString& text, const QFont& font, const QPaintDevice* device) {
    return QFontMetricsF(font, device).horizontalAdvance(text);
}

qreal WidestWord(const QString& text, const QFont& font, const QPaintDevice* device) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QFontMetricsF metrics(font, device);
    qreal widest = 0;
    for (const QString& word : text.split(blanks, Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

QList<qreal> ColumnWidths(const QList<qreal>& widest, const QList<qreal>& narrowest,
                          const QList<bool>& stretch, qreal width, qreal gap) {
    const qsizetype count = widest.size();
    const qreal room = std::max<qreal>(width - gap * qreal(std::max<qsizetype>(count - 1, 0)), 0);
    const qreal allWidest = std::accumulate(widest.begin(), widest.end(), qreal(0));
    const qreal allNarrowest = std::accumulate(narrowest.begin(), narrowest.end(), qreal(0));
    QList<qreal> widths(count);
    if (allWidest <= room) {
        qreal stretched = 0;
        for (qsizetype i = 0; i < count; ++i)
            stretched += stretch[i] ? widest[i] : 0;
        for (qsizetype i = 0; i < count; ++i) {
            widths[i] = widest[i];
            if (stretch[i] && stretched > 0)
                widths[i] += (room - allWidest) * widest[i] / stretched;
        }
    } else if (allNarrowest < room) {
        const qreal share = (room - allNarrowest) / (allWidest - allNarrowest);
        for (qsizetype i = 0; i < count; ++i)
            widths[i] = narrowest[i] + (widest[i] - narrowest[i]) * share;
    } else {
        for (qsizetype i = 0; i < count; ++i)
            widths[i] = allNarrowest > 0 ? narrowest[i] * room / allNarrowest : room / qreal(count);
    }
    return widths;
}

PdfTable::PdfTable(QList<Column> columns, const QList<QStringList>& rows, const QFont& head,
                   const QFont& body, const QPaintDevice* device, qreal width)
    : columns_(std::move(columns)), head_(head), body_(body), device_(device) {
    const qsizetype count = columns_.size();
    QList<qreal> widest(count), narrowest(count);
    QList<bool> stretch(count);
    for (qsizetype c = 0; c < count; ++c) {
        const Column& column = columns_[c];
        widest[c] = Room(TextWidth(column.heading, head_, device_));
        narrowest[c] = Room(WidestWord(column.heading, head_, device_));
        for (const QStringList& row : rows) {
            const QString cell = row.value(c);
            widest[c] = std::max(widest[c], Room(TextWidth(cell, body_, device_)));
            narrowest[c] = std::max(narrowest[c], Room(WidestWord(cell, body_, device_)));
        }
        // A number and its unit stay together while anything else can give way.
        if (column.number)
            narrowest[c] = widest[c];
        stretch[c] = !column.number;
    }
    widths_ = ColumnWidths(widest, narrowest, stretch, width, Gap);
    qreal x = 0;
    for (const qreal w : widths_) {
        lefts_ << x;
        x += w + Gap;
    }
}

qreal PdfTable::Height(const QStringList& cells, const QFont& font) const {
    qreal height = QFontMetricsF(font, device_).height();
    for (qsizetype c = 0; c < columns_.size(); ++c)
        height = std::max(height, WrappedText(cells.value(c), font, device_, widths_[c]).Height());
    return height;
}

qreal PdfTable::HeadHeight() const {
    QStringList headings;
    for (const Column& column : columns_)
        headings << column.heading;
    return Height(headings, head_);
}

qreal PdfTable::RowHeight(const QStringList& cells) const {
    return Height(cells, body_);
}

void PdfTable::Draw(QPainter& painter, const QStringList& cells, const QFont& font, qreal left,
                    qreal top) const {
    for (qsizetype c = 0; c < columns_.size(); ++c) {
        const WrappedText text(cells.value(c), font, device_, widths_[c],
                               columns_[c].number ? Qt::AlignRight : Qt::AlignLeft);
        text.Draw(painter, QPointF(left + lefts_[c], top));
    }
}

void PdfTable::DrawHead(QPainter& painter, qreal left, qreal top) const {
    QStringList headings;
    for (const Column& column : columns_)
        headings << column.heading;
    Draw(painter, headings, head_, left, top);
}

void PdfTable::DrawRow(QPainter& painter, const QStringList& cells, qreal left, qreal top) const {
    Draw(painter, cells, body_, left, top);
}
