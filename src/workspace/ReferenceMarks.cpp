// How the references look over the picture while the tool "Měřítko" is chosen.
#include "workspace/ReferenceTool.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

const QColor ReferenceColour(255, 214, 0);
const QColor PendingColour(0, 220, 255);
constexpr double MarkHalf = 4.0;

// A line readable on any photograph: dark under light.
void Outline(QPainter& painter, const QPolygonF& polygon, bool closed, const QColor& colour) {
    for (const auto& [pen, width] : {std::pair{QColor(0, 0, 0, 170), 3.0}, {colour, 1.0}}) {
        painter.setPen(QPen(pen, width));
        painter.setBrush(Qt::NoBrush);
        if (closed)
            painter.drawPolygon(polygon);
        else
            painter.drawPolyline(polygon);
    }
}

void Marks(QPainter& painter, const QPolygonF& points, const QColor& colour) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(colour);
    for (const QPointF& p : points)
        painter.drawRect(
            QRectF(p - QPointF(MarkHalf, MarkHalf), QSizeF(2 * MarkHalf, 2 * MarkHalf)));
}

void Label(QPainter& painter, QPointF at, const QString& text) {
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(14);
    QPainterPath path;
    path.addText(at, font, text);
    painter.setPen(QPen(Qt::black, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ReferenceColour);
    painter.drawPath(path);
}

} // namespace

void PaintReferenceMarks(QPainter& painter, const QList<PlaneReference>& references,
                         const QList<QPointF>& pending, double zoom) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int r = 0; r < references.size(); ++r) {
        QPolygonF points;
        for (const QPointF& p : references[r].points)
            points << p * zoom;
        const bool rectangle = references[r].kind == PlaneReference::Kind::Rectangle;
        Outline(painter, points, rectangle, ReferenceColour);
        Marks(painter, points, ReferenceColour);
        // The number by the first mark: the layers' menu names references by it.
        Label(painter, points.first() + QPointF(7, -7), QString::number(r + 1));
    }
    QPolygonF placed;
    for (const QPointF& p : pending)
        placed << p * zoom;
    if (!placed.isEmpty()) {
        Outline(painter, placed, false, PendingColour);
        Marks(painter, placed, PendingColour);
    }
    painter.restore();
}
