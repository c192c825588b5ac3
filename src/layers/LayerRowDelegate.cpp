#include "layers/LayerRowDelegate.h"

#include "widgets/Artwork.h"
#include "workspace/Workspace.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

void LayerRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QRect r = option.rect;
    const int row = index.row();
    const bool selected = option.state & QStyle::State_Selected;
    const QColor background = selected ? QColor(133, 169, 201) : QColor(223, 247, 253);
    painter->save();
    painter->fillRect(r, background);
    const auto at = [&r](int x, int y) { return QPoint(r.left() + x, r.top() + y); };
    const LayerRecord* layer =
        row >= 0 && row < ws_.Doc.Layers.size() ? &ws_.Doc.Layers[row] : nullptr;
    const QColor outline(128, 128, 128);
    if (layer && row > 0) {
        const bool on = ws_.MaskEditMode ? layer->ShownInMaskMode : !layer->HiddenInColourMode;
        painter->drawPixmap(at(5, 5), Artwork::LayerIcon(on ? 0 : 1));
        painter->setPen(outline);
        painter->drawPolyline(QPolygon({at(5, 5), at(19, 5), at(19, 18), at(5, 18)}));
    }
    if (layer) {
        painter->drawPixmap(at(22, 5), Artwork::LayerIcon(layer->Locked ? 2 : 3));
        painter->setPen(outline);
        painter->drawPolyline(QPolygon({at(22, 5), at(36, 5), at(36, 18), at(22, 18)}));
        painter->setPen(background);
        painter->drawLine(at(22, 19), at(36, 19));
    }
    if (layer && row > 0) {
        const QRect swatch(at(39, 5), at(53, 19));
        const Colour shade = layer->ShadeColour;
        painter->fillRect(swatch, shade == NoColour
                                      ? QColor(Qt::black)
                                      : QColor(RedOf(shade), GreenOf(shade), BlueOf(shade)));
        painter->setPen(outline);
        painter->drawRect(swatch.adjusted(0, 0, -1, -1));
    }
    if (layer && layer->Subordinate) {
        painter->setPen(QPen(QColor(255, 0, 0), 3));
        painter->drawLine(at(3, 3), at(38, 19));
        painter->drawLine(at(3, 19), at(38, 3));
    }
    painter->setFont(option.font);
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : QColor(Qt::black));
    const int x = NameX(row);
    painter->drawText(at(x, 5 + painter->fontMetrics().ascent()),
                      ShownName(index.data().toString(), painter->fontMetrics(), r.width() - x));
    painter->restore();
}

bool LayerRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() == QEvent::ToolTip && index.isValid()) {
        const QString name = index.data().toString();
        const int width = option.rect.width() - NameX(index.row());
        if (ShownName(name, QFontMetrics(option.font), width) != name) {
            QToolTip::showText(event->globalPos(), name, view);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

QString LayerRowDelegate::ShownName(const QString& name, const QFontMetrics& metrics, int width) {
    constexpr int Margin = 2;
    return metrics.elidedText(name, Qt::ElideRight, width - Margin);
}
