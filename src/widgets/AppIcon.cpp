#include "widgets/AppIcon.h"

#include <QColor>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

namespace AppIcon {
namespace {

struct Shape {
    enum Kind { Box, Polygon, Stroke } kind;
    QColor colour;
    QPolygonF points; // a box: its top left and bottom right; a stroke: its two ends
    qreal radius = 0; // a box's corners, a stroke's width
};

QList<Shape> Shapes() {
    const auto box = [](qreal x, qreal y, qreal w, qreal h, QColor c, qreal r = 0) {
        return Shape{Shape::Box, c, QPolygonF{QPointF(x, y), QPointF(x + w, y + h)}, r};
    };
    return {
        box(4, 4, 56, 56, QColor(140, 200, 236), 12), // sky
        box(4, 36, 56, 24, QColor(120, 170, 90), 12), // grass, rounded below
        box(4, 36, 56, 12, QColor(120, 170, 90)),     // and square above
        Shape{Shape::Polygon, QColor(168, 62, 40),    // roof
              QPolygonF{QPointF(13, 30), QPointF(32, 13), QPointF(51, 30)}},
        box(17, 30, 15, 21, QColor(250, 246, 236)), // the old wall
        box(32, 30, 15, 21, QColor(246, 190, 90)),  // the newly painted half
        box(21, 34, 6, 6, QColor(90, 130, 170)),    // windows
        box(37, 34, 6, 6, QColor(90, 130, 170)),
        box(29, 42, 6, 9, QColor(120, 80, 50)), // door
        Shape{Shape::Stroke, QColor(60, 60, 60), QPolygonF{QPointF(52, 27), QPointF(55, 38)}, 2},
        box(45, 21, 12, 6, QColor(246, 190, 90), 2), // the roller
    };
}

QString Number(qreal value) {
    return QString::number(value, 'g', 6);
}

} // namespace

QImage Picture(int size) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    for (const Shape& shape : Shapes()) {
        if (shape.kind == Shape::Stroke) {
            p.setPen(QPen(shape.colour, shape.radius, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawLine(shape.points[0], shape.points[1]);
            continue;
        }
        p.setPen(Qt::NoPen);
        p.setBrush(shape.colour);
        if (shape.kind == Shape::Polygon)
            p.drawPolygon(shape.points);
        else
            p.drawRoundedRect(QRectF(shape.points[0], shape.points[1]), shape.radius, shape.radius);
    }
    return picture;
}

QByteArray Svg() {
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" "
                                 "height=\"64\" viewBox=\"0 0 64 64\">\n");
    for (const Shape& shape : Shapes()) {
        const QString colour = shape.colour.name();
        if (shape.kind == Shape::Stroke) {
            svg += QStringLiteral("  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" "
                                  "stroke-width=\"%6\" stroke-linecap=\"round\"/>\n")
                       .arg(Number(shape.points[0].x()), Number(shape.points[0].y()),
                            Number(shape.points[1].x()), Number(shape.points[1].y()), colour,
                            Number(shape.radius));
        } else if (shape.kind == Shape::Polygon) {
            QStringList points;
            for (const QPointF& point : shape.points)
                points << Number(point.x()) + QLatin1Char(',') + Number(point.y());
            svg += QStringLiteral("  <polygon points=\"%1\" fill=\"%2\"/>\n")
                       .arg(points.join(QLatin1Char(' ')), colour);
        } else {
            const QRectF rect(shape.points[0], shape.points[1]);
            svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" "
                                  "rx=\"%5\" fill=\"%6\"/>\n")
                       .arg(Number(rect.x()), Number(rect.y()), Number(rect.width()),
                            Number(rect.height()), Number(shape.radius), colour);
        }
    }
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

} // namespace AppIcon
