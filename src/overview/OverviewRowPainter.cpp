#include "overview/OverviewRowPainter.h"

#include "overview/OverviewMeasures.h"

#include <QHash>
#include <QPainter>
#include <QStaticText>
#include <algorithm>

namespace {

// Laid-out texts of the rows last painted on screen. Rows are painted again on
// every scroll and hover, with the same few texts; laying a text out costs more
// than drawing it.
struct LaidOutKey {
    QString text;
    QString family;
    int pointSize;
    bool bold;
    bool operator==(const LaidOutKey&) const = default;
};

size_t qHash(const LaidOutKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.text, key.family, key.pointSize, key.bold);
}

const QStaticText& LaidOut(const QString& text, const QFont& font) {
    static QHash<LaidOutKey, QStaticText> laidOut;
    if (laidOut.size() > 4096)
        laidOut.clear();
    const LaidOutKey key{text, font.family(), font.pointSize(), font.bold()};
    auto found = laidOut.find(key);
    if (found == laidOut.end()) {
        found = laidOut.insert(key, QStaticText(text));
        found->setTextFormat(Qt::PlainText);
        found->setPerformanceHint(QStaticText::AggressiveCaching);
        found->prepare(QTransform(), font);
    }
    return *found;
}

} // namespace

namespace Overview {

QColor RowBackground() {
    return QColor(235, 250, 254);
}

QColor SelectedRowBackground() {
    return QColor(10, 159, 197);
}

QList<RowText> RowTexts(const OverviewRow& row, bool withUnit) {
    QList<RowText> texts;
    for (const OverviewShade& shade : row.shades)
        texts.append({QStringLiteral("Odstin: ") + shade.name, 54});
    texts.append({row.layerName, 84, 9, true});
    for (const QString& fanDeck : row.fanDecks)
        texts.append({QStringLiteral("Vějíř: ") + fanDeck, 69});
    for (const OverviewPaintKind& kind : row.paintKinds)
        texts.append({QStringLiteral("Druh barvy: ") + kind.name, 39});
    QString quantity = QStringLiteral("Množství: ") + QString::number(row.quantity);
    if (withUnit && !row.paintKinds.isEmpty() && !row.paintKinds.constFirst().unit.isEmpty())
        quantity += QLatin1Char(' ') + row.paintKinds.constFirst().unit;
    texts.append({quantity, 24});
    if (row.area)
        texts.append({AreaText(*row.area), 84, 8, false, true});
    if (row.suggested) {
        const QString unit =
            row.paintKinds.isEmpty() ? QString() : row.paintKinds.constFirst().unit;
        texts.append({SuggestedText(*row.suggested, unit), 24, 8, false, true});
    }
    return texts;
}

QRect TextRect(const QRect& rect, const RowText& text, const QFont& font) {
    QFont face(font);
    face.setBold(text.bold);
    face.setPointSize(text.pointSize);
    const QFontMetrics metrics(face);
    const int width = metrics.horizontalAdvance(text.text);
    const int top = rect.top() + rect.height() - text.fromBottom;
    const int left =
        text.right ? rect.left() + rect.width() - TextRight - width : rect.left() + TextLeft;
    return QRect(left, top, width, metrics.height());
}

QRect SuggestedRect(const QRect& rect, const OverviewRow& row, const QFont& font) {
    if (!row.suggested)
        return QRect();
    const QList<RowText> texts = RowTexts(row);
    return TextRect(rect, texts.constLast(), font);
}

QRect SwatchRect(const QRect& row) {
    return QRect(row.left() + 20, row.top() + 20, 60, 50);
}

void PaintRow(QPainter& painter, const QRect& rect, bool selected, const OverviewRow& row,
              const QFont& font, bool withUnit) {
    painter.save();
    painter.setClipRect(rect);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, selected ? SelectedRowBackground() : RowBackground());

    const QRect swatch = SwatchRect(rect);
    for (const OverviewShade& shade : row.shades) {
        if (!shade.HasColour())
            continue;
        // A component the catalogue left empty (300) cannot be shown; it is drawn full.
        const auto channel = [](int value) { return std::clamp(value, 0, 255); };
        painter.fillRect(swatch,
                         QColor(channel(shade.red), channel(shade.green), channel(shade.blue)));
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    }

    painter.setPen(selected ? Qt::white : Qt::black);
    const int bottom = rect.top() + rect.height();
    const QList<RowText> texts = RowTexts(row, withUnit);
    const int device = painter.device()->devType();
    const bool onScreen =
        device == QInternal::Widget || device == QInternal::Image || device == QInternal::Pixmap;
    // Texts of one face together: the font changes twice per row, not once per text.
    for (const bool bold : {false, true}) {
        QFont face(font);
        face.setBold(bold);
        int size = -1;
        for (const RowText& text : texts) {
            if (text.bold != bold)
                continue;
            if (text.pointSize != size) {
                size = text.pointSize;
                face.setPointSize(size);
                painter.setFont(face);
            }
            QPoint at(rect.left() + TextLeft, bottom - text.fromBottom);
            if (text.right)
                at.setX(rect.left() + rect.width() - TextRight -
                        painter.fontMetrics().horizontalAdvance(text.text));
            // On screen from the laid-out cache; a PDF gets plain text it can search.
            if (onScreen)
                painter.drawStaticText(at, LaidOut(text.text, face));
            else
                painter.drawText(at + QPoint(0, painter.fontMetrics().ascent()), text.text);
        }
    }
    painter.restore();
}

} // namespace Overview
