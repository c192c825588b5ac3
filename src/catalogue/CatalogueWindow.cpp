#include "catalogue/CatalogueWindow.h"

Tbarvy::Tbarvy(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("barvy"));
    setWindowTitle(QStringLiteral("barvy"));
    resize(216, 506);
    move(858, 243);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(255, 203, 151));
    setPalette(palette);
}
