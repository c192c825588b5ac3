#include "widgets/ArtworkSymbols.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// Symbols are designed on a 24 × 24 grid and scaled into the box.
void Folder(QPainter& p, const QColor& ink, const QColor& accent) {
    QPainterPath back;
    back.moveTo(2, 6);
    back.lineTo(9, 6);
    back.lineTo(11, 8);
    back.lineTo(21, 8);
    back.lineTo(21, 19);
    back.lineTo(2, 19);
    back.closeSubpath();
    p.setBrush(accent.lighter(130));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(4, 11);
    front.lineTo(23, 11);
    front.lineTo(21, 19);
    front.lineTo(2, 19);
    front.closeSubpath();
    p.setBrush(accent);
    p.drawPath(front);
    Q_UNUSED(ink);
}

void Disk(QPainter& p, const QColor& ink, const QColor& accent) {
    p.setBrush(accent);
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 3, 10, 6));
    p.setBrush(ink);
    p.drawRect(QRectF(13, 4, 2, 4));
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(QRectF(6, 13, 12, 8));
}

void ImportPhoto(QPainter& p, const QColor& ink, const QColor& accent) {
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(QRectF(2, 8, 16, 13));
    QPainterPath hill;
    hill.moveTo(3, 20);
    hill.lineTo(8, 13);
    hill.lineTo(11, 17);
    hill.lineTo(13, 15);
    hill.lineTo(17, 20);
    hill.closeSubpath();
    p.setBrush(accent);
    p.drawPath(hill);
    p.setBrush(QColor(255, 200, 60));
    p.drawEllipse(QPointF(14, 11), 1.5, 1.5);
    QPainterPath arrow;
    arrow.moveTo(18, 1);
    arrow.lineTo(22, 1);
    arrow.lineTo(22, 7);
    arrow.lineTo(24, 7);
    arrow.lineTo(20, 12);
    arrow.lineTo(16, 7);
    arrow.lineTo(18, 7);
    arrow.closeSubpath();
    p.setBrush(ink);
    p.drawPath(arrow);
}

void MaskBrush(QPainter& p, const QColor& ink, const QColor& accent) {
    // A checked mask tile with a brush laid over it.
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            p.setBrush((i + j) % 2 ? accent : QColor(250, 250, 245));
            p.drawRect(QRectF(2 + 4 * i, 8 + 4 * j, 4, 4));
        }
    }
    p.save();
    p.translate(15, 10);
    p.rotate(45);
    p.setBrush(QColor(190, 130, 70));
    p.drawRoundedRect(QRectF(-1.5, -10, 3, 11), 1, 1);
    p.setBrush(ink);
    p.drawRect(QRectF(-2.5, 1, 5, 3));
    p.setBrush(accent.darker(130));
    p.drawRoundedRect(QRectF(-2.5, 4, 5, 5), 2, 2);
    p.restore();
}

void Clipboard(QPainter& p, const QColor& ink, const QColor& accent) {
    p.setBrush(accent);
    p.drawRoundedRect(QRectF(4, 3, 16, 19), 2, 2);
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(QRectF(6, 6, 12, 14));
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(8, 1, 8, 4), 1, 1);
    const QColor chips[] = {QColor(214, 96, 77), QColor(238, 187, 72), QColor(82, 160, 120)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(chips[i]);
        p.drawRect(QRectF(8, 8 + 4 * i, 3, 3));
        p.setBrush(ink);
        p.drawRect(QRectF(12, 9 + 4 * i, 5, 1));
    }
}

void Help(QPainter& p, const QColor& ink, const QColor& accent) {
    p.setBrush(accent);
    p.drawEllipse(QRectF(2, 2, 20, 20));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
    Q_UNUSED(ink);
}

void Arrow(QPainter& p, const QColor& ink, bool back) {
    p.save();
    if (!back) {
        p.translate(24, 0);
        p.scale(-1, 1);
    }
    QPainterPath curve;
    curve.moveTo(7, 9);
    curve.cubicTo(14, 4, 22, 8, 20, 17);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curve);
    QPainterPath head;
    head.moveTo(3, 10);
    head.lineTo(10, 4);
    head.lineTo(10, 14);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(head);
    p.restore();
}

void Zoom(QPainter& p, const QColor& ink, bool in) {
    p.setPen(QPen(ink, 2.2));
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawEllipse(QRectF(3, 3, 13, 13));
    p.setPen(QPen(ink, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    p.setPen(QPen(ink, 2));
    p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
    if (in)
        p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
}

void Pencil(QPainter& p, const QColor& ink, const QColor& accent) {
    p.save();
    p.translate(12, 12);
    p.rotate(45);
    p.setBrush(accent);
    p.drawRect(QRectF(-2.5, -10, 5, 14));
    p.setBrush(QColor(240, 210, 170));
    QPainterPath tip;
    tip.moveTo(-2.5, 4);
    tip.lineTo(2.5, 4);
    tip.lineTo(0, 10);
    tip.closeSubpath();
    p.drawPath(tip);
    p.setBrush(ink);
    p.drawRect(QRectF(-2.5, -11, 5, 2));
    p.restore();
}

void Lines(QPainter& p, const QColor& ink, const QColor& accent) {
    const QPointF points[] = {{3, 19}, {9, 7}, {15, 15}, {21, 4}};
    p.setPen(QPen(accent, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(points, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (const QPointF& point : points)
        p.drawEllipse(point, 1.8, 1.8);
}

void Bucket(QPainter& p, const QColor& ink, const QColor& accent, bool full) {
    p.save();
    p.translate(10, 12);
    p.rotate(-30);
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(QRectF(-6, -6, 12, 12));
    p.setBrush(full ? accent : accent.lighter(150));
    p.drawRect(QRectF(-6, full ? -6 : 0, 12, full ? 12 : 6));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.4));
    p.drawRect(QRectF(-6, -6, 12, 12));
    p.restore();
    QPainterPath drop;
    drop.moveTo(19, 10);
    drop.cubicTo(22, 15, 23, 19, 19, 20);
    drop.cubicTo(15, 19, 16, 15, 19, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawPath(drop);
}

void PickLayer(QPainter& p, const QColor& ink, const QColor& accent) {
    const QColor chips[] = {QColor(214, 96, 77), QColor(238, 187, 72), accent};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(chips[i]);
        p.drawRect(QRectF(2, 3 + 6 * i, 6, 5));
        p.setBrush(ink);
        p.drawRect(QRectF(10, 5 + 6 * i, 7, 1.5));
    }
    p.save();
    p.translate(18, 17);
    p.rotate(-45);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(-1.5, -7, 3, 8), 1, 1);
    p.drawEllipse(QPointF(0, -7), 2.5, 2.5);
    p.restore();
}

// A wall-like patch with a dashed selection edge around it and a brush stroke
// across: a stroke that selects a whole surface.
void SmartSelect(QPainter& p, const QColor& ink, const QColor& accent) {
    p.setBrush(accent.lighter(160));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(3, 4, 18, 15), 2, 2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.2, Qt::DashLine));
    p.drawRoundedRect(QRectF(3, 4, 18, 15), 2, 2);
    QPainterPath stroke;
    stroke.moveTo(6, 15);
    stroke.cubicTo(9, 9, 13, 14, 17, 8);
    p.setPen(QPen(accent, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(stroke);
    // The brush at the stroke's end.
    p.save();
    p.translate(18.5, 7);
    p.rotate(40);
    p.setPen(QPen(ink, 1.0));
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(-1.2, -7.5, 2.4, 6), 0.8, 0.8);
    p.setBrush(accent);
    p.drawEllipse(QPointF(0, 0), 1.8, 2.2);
    p.restore();
}

// A little house, plain grey on the left, painted on the right, split by a divider
// with its grip.
void BeforeAfter(QPainter& p, const QColor& ink, const QColor& accent) {
    const auto house = [&p](const QColor& wall, const QColor& roof) {
        p.setBrush(wall);
        p.drawRect(QRectF(5, 11, 14, 10));
        QPainterPath top;
        top.moveTo(3, 12);
        top.lineTo(12, 4);
        top.lineTo(21, 12);
        top.closeSubpath();
        p.setBrush(roof);
        p.drawPath(top);
    };
    p.save();
    p.setClipRect(QRectF(0, 0, 12, 24));
    house(QColor(215, 215, 210), QColor(150, 150, 150));
    p.setClipRect(QRectF(12, 0, 12, 24));
    house(QColor(250, 205, 110), accent);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRect(QRectF(11.2, 1, 1.6, 22));
    p.drawRoundedRect(QRectF(9.5, 14, 5, 7), 1.5, 1.5);
}

// A rectangle seen at an angle with a mark on each corner, over a folding rule.
void Scale(QPainter& p, const QColor& ink, const QColor& accent) {
    const QPointF corners[] = {{4, 2.5}, {19, 5}, {19, 13}, {4, 15.5}};
    p.setBrush(accent.lighter(150));
    p.drawPolygon(corners, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (const QPointF& corner : corners)
        p.drawEllipse(corner, 1.8, 1.8);
    p.setPen(QPen(ink, 1.1));
    p.setBrush(QColor(238, 187, 72));
    p.drawRect(QRectF(2, 18, 20, 4.5));
    for (int i = 0; i < 6; ++i) {
        const double x = 4.5 + 3 * i;
        p.drawLine(QPointF(x, 18), QPointF(x, i % 2 ? 19.5 : 20.5));
    }
}

} // namespace

void DrawSymbol(QPainter& p, Symbol symbol, const QRectF& box, const QColor& ink,
                const QColor& accent) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / 24.0, box.height() / 24.0);
    p.setPen(QPen(ink, 1.1));
    switch (symbol) {
    case Symbol::Folder:
        Folder(p, ink, accent);
        break;
    case Symbol::Disk:
        Disk(p, ink, accent);
        break;
    case Symbol::ImportPhoto:
        ImportPhoto(p, ink, accent);
        break;
    case Symbol::MaskBrush:
        MaskBrush(p, ink, accent);
        break;
    case Symbol::Clipboard:
        Clipboard(p, ink, accent);
        break;
    case Symbol::Help:
        Help(p, ink, accent);
        break;
    case Symbol::BeforeAfter:
        BeforeAfter(p, ink, accent);
        break;
    case Symbol::Undo:
        Arrow(p, ink, true);
        break;
    case Symbol::Redo:
        Arrow(p, ink, false);
        break;
    case Symbol::ZoomIn:
        Zoom(p, ink, true);
        break;
    case Symbol::ZoomOut:
        Zoom(p, ink, false);
        break;
    case Symbol::Pencil:
        Pencil(p, ink, accent);
        break;
    case Symbol::Lines:
        Lines(p, ink, accent);
        break;
    case Symbol::FillTolerance:
        Bucket(p, ink, accent, false);
        break;
    case Symbol::FillFull:
        Bucket(p, ink, accent, true);
        break;
    case Symbol::PickLayer:
        PickLayer(p, ink, accent);
        break;
    case Symbol::SmartSelect:
        SmartSelect(p, ink, accent);
        break;
    case Symbol::Scale:
        Scale(p, ink, accent);
        break;
    }
    p.restore();
}
