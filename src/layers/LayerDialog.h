#pragma once

#include <QWidget>

class TGlintImage;

// The modeless layer properties dialog "Vlastnosti vrstvy".
class TeLayer : public QWidget {
    Q_OBJECT
public:
    explicit TeLayer(QWidget* parent = nullptr);

    TGlintImage* GlintImage1 = nullptr; // confirm
    TGlintImage* GlintImage2 = nullptr; // cancel
};
