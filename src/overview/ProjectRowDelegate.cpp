#include "overview/ProjectRowDelegate.h"

#include "overview/ProjectListWindow.h"
#include "overview/ProjectListing.h"

#include <QDir>
#include <QPainter>

#include <algorithm>

namespace {

const QColor UnreadableColour(200, 60, 40);
const QColor KeptChangesColour(190, 100, 0);

// Where a picture cannot be read: a crossed box.
void DrawCrossedBox(QPainter* painter, const QRect& box) {
    painter->setPen(QPen(UnreadableColour, 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(box.adjusted(1, 1, -1, -1));
    const int in = std::min({8, box.width() / 4, box.height() / 4});
    painter->drawLine(box.topLeft() + QPoint(in, in), box.bottomRight() - QPoint(in, in));
    painter->drawLine(box.topRight() + QPoint(-in, in), box.bottomLeft() + QPoint(in, -in));
}

} // namespace

void ProjectRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QRect row = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(row, selected ? QColor(10, 159, 197) : QColor(235, 250, 254));

    const QString fileName = index.data().toString();
    const auto& picture = window_.PictureOf(QDir(folder_).filePath(fileName));
    QFont font = option.font;
    int textX = row.left() + 10;
    if (!picture.readable) {
        // Not a picture the program can read: a crossed box where the thumbnail would be.
        const QRect box(row.left() + 10, row.top() + 5, 90, 90);
        DrawCrossedBox(painter, box);
        textX = box.right() + 11;
    } else {
        const QRect target = ProjectListing::ThumbnailRect(row, picture.size);
        if (!picture.thumbnail.isNull())
            painter->drawImage(target.topLeft(), picture.thumbnail);
        else if (picture.failed)
            DrawCrossedBox(painter, target);
        else // still being made: a quiet placeholder of the same size
            painter->fillRect(target, QColor(214, 219, 222));
        textX = target.right() + 11;
    }
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(Qt::black);
    const int ascent = painter->fontMetrics().ascent();
    painter->drawText(textX, row.top() + 25 + ascent, ProjectListing::DisplayName(fileName));
    font.setBold(false);
    painter->setFont(font);
    const QString unreadable = QStringLiteral("Obrázek nelze přečíst.");
    if (!picture.readable) {
        painter->setPen(UnreadableColour);
        painter->drawText(textX, row.top() + 45 + ascent, unreadable);
        return;
    }
    painter->setPen(QColor(128, 128, 128));
    painter->drawText(textX, row.top() + 45 + ascent,
                      QStringLiteral("Šířka: %1 px.").arg(picture.size.width()));
    painter->drawText(textX, row.top() + 60 + ascent,
                      QStringLiteral("Výška: %1 px.").arg(picture.size.height()));
    if (picture.failed) {
        painter->setPen(UnreadableColour);
        painter->drawText(textX, row.top() + 75 + ascent, unreadable);
    } else if (picture.keptChanges) {
        // "Ne" to "Obnovit neuložené změny?" keeps them; the list says they wait.
        painter->setPen(KeptChangesColour);
        painter->drawText(textX, row.top() + 75 + ascent, KeptChangesText);
    }
}
