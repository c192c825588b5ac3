#pragma once

#include <QWidget>

class TGlintImage;

// The palette window "Paleta barev": the catalogue's shades as coloured cells.
class TTPaleta : public QWidget {
    Q_OBJECT
public:
    explicit TTPaleta(QWidget* parent = nullptr);

    TGlintImage* GlintImage1 = nullptr; // search around the tolerance box's colour
    TGlintImage* GlintImage2 = nullptr; // search around the free colour
};
