#include "overview/PdfPages.h"

#include "overview/PdfTable.h"
#include "project/Errors.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>

#include <cmath>

namespace {

constexpr int Resolution = 96;

// Fonts come only with a graphical application; checked before a writer exists.
const QString& CheckedWhat(const QString& what) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw TintoraError(
            QStringLiteral("%1 nelze vytvořit bez písem: program neběží jako grafická aplikace.")
                .arg(what));
    return what;
}

} // namespace

PdfPages::PdfPages(const QString& title, const QString& what, QIODevice* device)
    : what_(CheckedWhat(what)), buffer_(&bytes_), writer_(device ? device : &buffer_) {
    if (!device)
        buffer_.open(QIODevice::WriteOnly);
    else if (!device->isOpen() && !device->open(QIODevice::WriteOnly))
        throw IoError(QStringLiteral("%1 nelze vytvořit.").arg(what_));
    writer_.setResolution(Resolution);
    writer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    writer_.setTitle(title);
    writer_.setCreator(QStringLiteral("Tintora 1.2"));
    if (!painter_.begin(&writer_))
        throw IoError(QStringLiteral("%1 nelze vytvořit.").arg(what_));
    width_ = writer_.width();
    height_ = writer_.height();
}

QByteArray PdfPages::Finish() {
    if (!painter_.end())
        throw IoError(QStringLiteral("%1 nelze dokončit.").arg(what_));
    return bytes_;
}

void PdfPages::Line(const QString& text, const QFont& font, const QColor& colour, int after) {
    const WrappedText lines(text, font, &writer_, width_);
    const int height =
        int(std::ceil(std::max(lines.Height(), QFontMetricsF(font, &writer_).height())));
    Room(height);
    painter_.setPen(colour);
    lines.Draw(painter_, QPointF(0, y_));
    y_ += height + after;
}

void PdfPages::Room(int units) {
    if (y_ > 0 && y_ + units > height_)
        NewPage();
}

void PdfPages::NewPage() {
    writer_.newPage();
    y_ = 0;
}

QFont PdfFont(double points, bool bold, bool italic) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}
