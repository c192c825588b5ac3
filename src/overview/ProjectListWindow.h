#pragma once

#include <QDialog>

class TGlintImage;

// The modal project list "Seznam vytvořených projektů" of both project folders.
class TOpenList : public QDialog {
    Q_OBJECT
public:
    explicit TOpenList(QWidget* parent = nullptr);

    TGlintImage* GlintImage1 = nullptr; // import an exterior
    TGlintImage* GlintImage2 = nullptr; // import an interior
};
