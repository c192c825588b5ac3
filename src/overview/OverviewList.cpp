#include "overview/OverviewList.h"

#include "overview/OverviewWindow.h"

#include <QPaintEvent>

OverviewList::OverviewList(OverviewWindow& window, QWidget* parent)
    : QListWidget(parent), window_(window) {}

void OverviewList::paintEvent(QPaintEvent* event) {
    // The list rows the paint draws: those that meet its area, from the first one down.
    const QRect area = event->rect();
    QList<int> rows;
    const QModelIndex top = indexAt(QPoint(area.left(), area.top()));
    for (int row = top.isValid() ? top.row() : 0; row < count(); ++row) {
        const QRect rect = visualItemRect(item(row));
        if (rect.top() > area.bottom())
            break;
        if (rect.intersects(area))
            rows << row;
    }
    window_.LookUpRowsToPaint(rows);
    struct Forget {
        OverviewWindow& window;
        ~Forget() { window.ForgetRowsToPaint(); }
    } forget{window_};
    QListWidget::paintEvent(event);
}
