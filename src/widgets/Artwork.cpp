#include "widgets/Artwork.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Artwork {
namespace {

const QColor Ink(58, 52, 48);
const QColor Orange(240, 136, 40);
const QColor Blue(75, 196, 232);

QFont UiFont(int pixelSize, bool bold = true) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QPixmap Transparent(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QLinearGradient Vertical(qreal top, qreal bottom, const QColor& from, const QColor& to) {
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

// Pixel-aligned text with a soft one-pixel shadow below it.
void ShadowedText(QPainter& p, const QRectF& box, const QString& text, const QColor& colour,
                  const QColor& shadow) {
    p.setPen(shadow);
    p.drawText(box.translated(0, 1), Qt::AlignCenter, text);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

} // namespace

QPixmap TopButton(const QString& word, Symbol symbol, Face face, int width) {
    QPixmap pixmap = Transparent(QSize(width, 52));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card(2.5, 2.5, width - 5, 47);
    if (face != Face::Normal) {
        const QColor top = face == Face::Over ? QColor(255, 226, 176) : QColor(255, 196, 120);
        const QColor bottom = face == Face::Over ? QColor(255, 178, 96) : QColor(236, 140, 52);
        p.setPen(QPen(QColor(214, 120, 36), 1));
        p.setBrush(Vertical(card.top(), card.bottom(), top, bottom));
        p.drawRoundedRect(card, 6, 6);
    }
    const QColor accent = face == Face::Normal ? QColor(236, 128, 44) : QColor(190, 70, 20);
    DrawSymbol(p, symbol, QRectF((width - 28) / 2.0, 4, 28, 28), Ink, accent);
    p.setFont(UiFont(word.size() > 7 ? 9 : 10));
    ShadowedText(p, QRectF(0, 33, width, 16), word, Ink,
                 face == Face::Normal ? QColor(255, 255, 255, 200) : QColor(255, 240, 220, 160));
    return pixmap;
}

QPixmap ToolButton(Symbol symbol, Face face) {
    QPixmap pixmap = Transparent(QSize(26, 26));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const bool lit = face != Face::Normal;
    const QColor top = lit ? QColor(255, 214, 150) : QColor(226, 246, 255);
    const QColor bottom = lit ? QColor(246, 150, 60) : QColor(150, 214, 240);
    p.setPen(QPen(lit ? QColor(200, 104, 30) : QColor(40, 130, 170), 1));
    p.setBrush(Vertical(0, 26, top, bottom));
    p.drawRoundedRect(QRectF(0.5, 0.5, 25, 25), 5, 5);
    DrawSymbol(p, symbol, QRectF(3, 3, 20, 20), QColor(30, 50, 70),
               lit ? QColor(170, 60, 10) : QColor(236, 120, 40));
    return pixmap;
}

QPixmap PanelButton(const QString& word, Face face, QSize size) {
    QPixmap pixmap = Transparent(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const bool lit = face != Face::Normal;
    const QRectF box(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(QPen(lit ? QColor(190, 96, 24) : QColor(176, 120, 70), 1));
    p.setBrush(Vertical(0, size.height(), lit ? QColor(255, 190, 110) : QColor(255, 250, 240),
                        lit ? QColor(236, 124, 36) : QColor(255, 216, 170)));
    p.drawRoundedRect(box, 4, 4);
    p.setFont(UiFont(10));
    ShadowedText(p, box, word, lit ? Qt::white : Ink,
                 lit ? QColor(150, 60, 10, 160) : QColor(255, 255, 255, 180));
    return pixmap;
}

QPixmap TitlePicture(const QString& word, QSize size, bool cool) {
    // The warm title is a band of its own; the cool one sits on the editing bar's strip.
    QPixmap pixmap = Transparent(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (!cool) {
        QLinearGradient band(0, 0, size.width(), 0);
        band.setColorAt(0, QColor(222, 120, 40));
        band.setColorAt(1, QColor(186, 84, 24));
        p.fillRect(pixmap.rect(), band);
    }
    QFont font = UiFont(13);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(font);
    // A row of paint chips at the right end, where the word leaves room for it.
    const int wordEnd = 8 + QFontMetrics(font).horizontalAdvance(word);
    if (wordEnd + 8 <= size.width() - 30) {
        const QColor chips[] = {QColor(255, 214, 120), QColor(255, 255, 255, 200),
                                QColor(120, 210, 180)};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
            p.setBrush(chips[i]);
            p.drawRoundedRect(QRectF(size.width() - 30 + 9 * i, 8, 6, 8), 1.5, 1.5);
        }
    }
    p.setPen(cool ? QColor(0, 60, 100, 110) : QColor(0, 0, 0, 70));
    p.drawText(QRectF(9, 1, size.width(), size.height()), Qt::AlignVCenter, word);
    p.setPen(Qt::white);
    p.drawText(QRectF(8, 0, size.width(), size.height()), Qt::AlignVCenter, word);
    return pixmap;
}

namespace {

// The fan of paint chips with the word "Tintora" beside it; returns the right edge.
qreal DrawWordmark(QPainter& p, QPointF origin, qreal scale) {
    p.save();
    p.translate(origin);
    p.scale(scale, scale);
    const QColor fan[] = {QColor(214, 84, 60),   QColor(242, 150, 50), QColor(246, 206, 80),
                          QColor(110, 180, 100), QColor(60, 150, 200), QColor(120, 90, 170)};
    for (int i = 0; i < 6; ++i) {
        p.save();
        p.translate(34, 48);
        p.rotate(-62 + i * 22);
        p.setPen(QPen(QColor(255, 255, 255), 1));
        p.setBrush(fan[i]);
        p.drawRoundedRect(QRectF(-5, -42, 10, 36), 3, 3);
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 60, 55));
    p.drawEllipse(QPointF(34, 48), 4, 4);

    QFont font = UiFont(30);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    QLinearGradient word(0, 6, 0, 40);
    word.setColorAt(0, QColor(226, 112, 36));
    word.setColorAt(1, QColor(168, 62, 24));
    QPainterPath path;
    path.addText(72, 36, font, QStringLiteral("Tintora"));
    p.setBrush(word);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.drawPath(path);
    const qreal right = origin.x() + scale * path.boundingRect().right();
    p.restore();
    return right;
}

} // namespace

QPixmap Logo() {
    QPixmap pixmap = Transparent(QSize(319, 52));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal right = DrawWordmark(p, QPointF(0, 0), 1.0);
    p.setFont(UiFont(10, false));
    p.setPen(QColor(80, 72, 66));
    p.drawText(QRectF(right + 10, 3, 319 - right - 10, 46),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               QStringLiteral("barvy domu\nještě před\nmalováním"));
    return pixmap;
}

QPixmap Splash() {
    QPixmap pixmap(460, 338);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(pixmap.rect(), Vertical(0, 338, QColor(140, 200, 236), QColor(236, 246, 252)));
    // Ground and a house whose walls are being painted.
    p.fillRect(QRect(0, 250, 460, 88),
               Vertical(250, 338, QColor(120, 170, 90), QColor(80, 130, 60)));
    QPainterPath roof;
    roof.moveTo(236, 110);
    roof.lineTo(320, 52);
    roof.lineTo(404, 110);
    roof.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(168, 62, 40));
    p.drawPath(roof);
    p.setBrush(QColor(250, 246, 236));
    p.drawRect(QRect(248, 110, 144, 140));
    // The right half already carries the new colour.
    p.setBrush(QColor(246, 190, 90));
    p.drawRect(QRect(320, 110, 72, 140));
    p.setBrush(QColor(90, 130, 170));
    p.drawRect(QRect(266, 132, 30, 34));
    p.drawRect(QRect(344, 132, 30, 34));
    p.setBrush(QColor(120, 80, 50));
    p.drawRect(QRect(306, 190, 28, 60));
    p.setPen(QPen(QColor(255, 255, 255), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(266, 132, 30, 34));
    p.drawRect(QRect(344, 132, 30, 34));
    // A roller leaving a stroke.
    p.setPen(QPen(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(410, 160), QPointF(430, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 190, 90));
    p.drawRoundedRect(QRectF(396, 146, 28, 14), 5, 5);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 215));
    p.drawRoundedRect(QRectF(20, 24, 210, 132), 10, 10);
    DrawWordmark(p, QPointF(28, 32), 0.85);
    p.setFont(UiFont(14));
    p.setPen(QColor(70, 60, 55));
    p.drawText(QRectF(32, 92, 190, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("verze 1.2"));
    p.setFont(UiFont(11, false));
    p.drawText(QRectF(32, 114, 190, 36), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Vyzkoušejte barvy fasády\ni interiéru na fotografii."));
    p.setFont(UiFont(11, false));
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRectF(20, 300, 420, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Načítání katalogu barev…"));
    return pixmap;
}

QPixmap TopBandStrip() {
    const QImage gradient = GradientPicture(Gradient::TopBand, 52);
    QPixmap pixmap(25, 52);
    QPainter p(&pixmap);
    for (int y = 0; y < 52; ++y)
        p.fillRect(0, y, 25, 1, gradient.pixelColor(0, y));
    const QColor bands[] = {QColor(214, 84, 60), QColor(242, 150, 50), QColor(246, 206, 80)};
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRect(6 + 5 * i, 0, 4, 52), bands[i]);
    return pixmap;
}

QPixmap StripCaption(const QString& word) {
    QFont font = UiFont(12);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    const int width = QFontMetrics(font).horizontalAdvance(word) + 4;
    QPixmap pixmap = Transparent(QSize(width, 24));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRectF(1, 1, width, 24), Qt::AlignVCenter, word);
    p.setPen(QColor(70, 84, 98));
    p.drawText(QRectF(0, 0, width, 24), Qt::AlignVCenter, word);
    return pixmap;
}

QString FanDeckBadgeWord(bool alkyd) {
    return alkyd ? QStringLiteral("Alkyd") : QStringLiteral("Disp.");
}

// The badge's font: 9 pixels, smaller where the word would not fit inside its edge.
QFont FanDeckBadgeFont(const QString& word) {
    QFont font = UiFont(9);
    while (font.pixelSize() > 6 && QFontMetrics(font).horizontalAdvance(word) > FanDeckBadgeRoom)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QPixmap FanDeckBadge(bool alkyd, bool selected) {
    QPixmap pixmap = Transparent(QSize(38, 15));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor light = alkyd ? QColor(150, 200, 245) : QColor(160, 222, 160);
    const QColor deep = alkyd ? QColor(40, 110, 200) : QColor(40, 150, 70);
    const QColor fill = selected ? deep : light;
    p.setPen(QPen(fill.darker(130), 1));
    p.setBrush(Vertical(0, 15, fill.lighter(115), fill));
    p.drawRoundedRect(QRectF(0.5, 0.5, 37, 14), 6, 6);
    p.setPen(selected ? Qt::white : QColor(30, 50, 70));
    const QString word = FanDeckBadgeWord(alkyd);
    p.setFont(FanDeckBadgeFont(word));
    p.drawText(QRectF(0, 0, 38, 15), Qt::AlignCenter, word);
    return pixmap;
}

QPixmap LayerIcon(int index) {
    QPixmap pixmap(15, 15);
    pixmap.fill(QColor(250, 252, 255));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 60, 80);
    if (index <= 1) {
        // An eye, open or closed.
        QPainterPath eye;
        eye.moveTo(1.5, 7.5);
        eye.quadTo(7.5, index == 0 ? 1.0 : 6.0, 13.5, 7.5);
        eye.quadTo(7.5, 14.0, 1.5, 7.5);
        p.setPen(QPen(index == 0 ? ink : QColor(150, 150, 150), 1.2));
        p.setBrush(index == 0 ? QColor(255, 255, 255) : Qt::NoBrush);
        p.drawPath(eye);
        if (index == 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 140, 200));
            p.drawEllipse(QPointF(7.5, 7.5), 2.6, 2.6);
        } else {
            p.drawLine(QPointF(2, 12.5), QPointF(13, 2.5));
        }
        return pixmap;
    }
    // A padlock, shut (orange) or open (grey).
    const bool locked = index == 2;
    p.setPen(QPen(locked ? QColor(150, 80, 20) : QColor(130, 130, 130), 1.4));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(4.5, 7);
    shackle.lineTo(4.5, 4.5);
    shackle.arcTo(QRectF(4.5, 1.5, 6, 6), 180, -180);
    shackle.lineTo(10.5, locked ? 7 : 5);
    p.drawPath(shackle);
    p.setPen(Qt::NoPen);
    p.setBrush(locked ? QColor(240, 150, 40) : QColor(190, 190, 190));
    p.drawRoundedRect(QRectF(2.5, 7, 10, 7), 1.5, 1.5);
    return pixmap;
}

QImage GradientPicture(Gradient gradient, int rows) {
    if (gradient == Gradient::CatalogueHeader) {
        static const int Greys[24] = {140, 229, 243, 225, 208, 207, 211, 214, 218, 222, 226, 229,
                                      233, 237, 241, 244, 248, 252, 248, 209, 170, 132, 93,  54};
        QImage image(1, rows, QImage::Format_RGB32);
        for (int y = 0; y < rows; ++y) {
            const int g = Greys[std::min(y, 23)];
            image.setPixelColor(0, y, QColor(g, g, g));
        }
        return image;
    }
    QColor from, to;
    switch (gradient) {
    case Gradient::TopBand:
        from = QColor(246, 246, 246);
        to = QColor(204, 204, 204);
        break;
    case Gradient::LayerPanel:
        from = QColor(255, 226, 192);
        to = QColor(246, 176, 116);
        break;
    case Gradient::EditingBar:
        from = QColor(160, 226, 246);
        to = QColor(52, 164, 212);
        break;
    case Gradient::SchemePanel:
        from = QColor(255, 226, 192);
        to = QColor(246, 176, 116);
        break;
    case Gradient::Dialog:
        from = QColor(255, 244, 230);
        to = QColor(255, 208, 160);
        break;
    case Gradient::PaintKindPanel:
        from = QColor(72, 193, 229);
        to = QColor(23, 141, 175);
        break;
    case Gradient::CatalogueBottom:
        from = QColor(252, 252, 252);
        to = QColor(206, 206, 206);
        break;
    case Gradient::HintBar:
        from = QColor(222, 234, 245);
        to = QColor(150, 178, 206);
        break;
    case Gradient::CatalogueHeader:
        break;
    }
    QImage image(1, rows, QImage::Format_RGB32);
    for (int y = 0; y < rows; ++y) {
        const double t = rows > 1 ? double(y) / (rows - 1) : 0.0;
        image.setPixelColor(0, y,
                            QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * t,
                                             from.greenF() + (to.greenF() - from.greenF()) * t,
                                             from.blueF() + (to.blueF() - from.blueF()) * t));
    }
    return image;
}

} // namespace Artwork
