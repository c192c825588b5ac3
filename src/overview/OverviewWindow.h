#pragma once

#include <QDialog>

class TGlintImage;

// The modal project overview "Přehled" of the paints chosen for the project.
class TPrehled : public QDialog {
    Q_OBJECT
public:
    explicit TPrehled(QWidget* parent = nullptr);

    TGlintImage* GlintImage1 = nullptr; // recipe in Huemix, hidden at first
    TGlintImage* GlintImage2 = nullptr; // close
    TGlintImage* GlintImage3 = nullptr; // export the recoloured picture
};
