#include "widgets/WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

const char* const PlacedProperty = "tintoraPlaced";

// The window's frame at topLeft, kept on the screen of area.
QPoint OnScreen(QPoint topLeft, const QWidget* window, const QWidget* area) {
    const QScreen* screen = area->screen();
    if (!screen)
        return topLeft;
    const QRect available = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    // A window larger than the screen keeps its top left corner on it.
    topLeft.setX(
        std::max(available.left(), std::min(topLeft.x(), available.right() - size.width() + 1)));
    topLeft.setY(
        std::max(available.top(), std::min(topLeft.y(), available.bottom() - size.height() + 1)));
    return topLeft;
}

template <typename Place> void ShowPlaced(QWidget* window, const QWidget* area, Place place) {
    if (!area && window->parentWidget())
        area = window->parentWidget()->window();
    if (!window->property(PlacedProperty).toBool() && area) {
        const QRect target(area->mapToGlobal(QPoint(0, 0)), area->size());
        window->move(OnScreen(place(target, window->frameGeometry().size()), window, area));
        window->setProperty(PlacedProperty, true);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void ShowBeside(QWidget* window, const QWidget* area) {
    ShowPlaced(window, area, [](const QRect& target, QSize size) {
        constexpr int Margin = 16;
        return QPoint(target.right() + 1 - size.width() - Margin, target.top() + Margin);
    });
}

void ShowCentredOn(QWidget* window, const QWidget* area) {
    ShowPlaced(window, area, [](const QRect& target, QSize size) {
        return target.center() - QPoint(size.width() / 2, size.height() / 2);
    });
}

void KeepAboveOtherWindows(QWidget* dialog) {
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}
