#pragma once

#include <QWidget>

// The catalogue window "barvy": fan decks, paint kinds and shades. Stays on top.
class Tbarvy : public QWidget {
    Q_OBJECT
public:
    explicit Tbarvy(QWidget* parent = nullptr);
};
