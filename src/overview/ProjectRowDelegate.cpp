#include "overview/ProjectRowDelegate.h"

#include "overview/ProjectListWindow.h"
#include "overview/ProjectListing.h"

#include <QDir>
#include <QPainter>

void ProjectRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QRect row = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(row, selected ? QColor(10, 159, 197) : QColor(235, 250, 254));

    const QString fileName = index.data().toString();
    const auto& thumbnail = window_.ThumbnailOf(QDir(folder_).filePath(fileName));
    QFont font = option.font;
    int textX = row.left() + 10;
    if (thumbnail.image.isNull()) {
        // An unreadable picture: a crossed box where the thumbnail would be.
        const QRect box(row.left() + 10, row.top() + 5, 90, 90);
        painter->setPen(QPen(QColor(200, 60, 40), 2));
        painter->drawRect(box.adjusted(1, 1, -1, -1));
        painter->drawLine(box.topLeft() + QPoint(8, 8), box.bottomRight() - QPoint(8, 8));
        painter->drawLine(box.topRight() + QPoint(-8, 8), box.bottomLeft() + QPoint(8, -8));
        textX = box.right() + 11;
    } else {
        const QRect target = ProjectListing::ThumbnailRect(row, thumbnail.size);
        painter->drawImage(target, thumbnail.image);
        textX = target.right() + 11;
    }
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(Qt::black);
    const int ascent = painter->fontMetrics().ascent();
    painter->drawText(textX, row.top() + 25 + ascent, ProjectListing::DisplayName(fileName));
    font.setBold(false);
    painter->setFont(font);
    painter->setPen(QColor(128, 128, 128));
    if (thumbnail.image.isNull()) {
        painter->setPen(QColor(200, 60, 40));
        painter->drawText(textX, row.top() + 45 + ascent, QStringLiteral("Obrázek nelze přečíst."));
        return;
    }
    painter->drawText(textX, row.top() + 45 + ascent,
                      QStringLiteral("Šířka: %1 px.").arg(thumbnail.size.width()));
    painter->drawText(textX, row.top() + 60 + ascent,
                      QStringLiteral("Výška: %1 px.").arg(thumbnail.size.height()));
}
