#include "overview/OverviewRowPainter.h"

#include <QPainter>
#include <algorithm>

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
    return texts;
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
    for (const RowText& text : RowTexts(row, withUnit)) {
        QFont face(font);
        face.setPointSize(text.pointSize);
        face.setBold(text.bold);
        painter.setFont(face);
        const int top = bottom - text.fromBottom;
        painter.drawText(QPoint(rect.left() + TextLeft, top + painter.fontMetrics().ascent()),
                         text.text);
    }
    painter.restore();
}

} // namespace Overview
