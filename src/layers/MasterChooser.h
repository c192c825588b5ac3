#pragma once

#include <QDialog>

class TGlintImage;

// The modal chooser "Zvolit podřízenou vrstvu" of a subordinate layer's master.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    TGlintImage* GlintImage1 = nullptr; // confirm
    TGlintImage* GlintImage2 = nullptr; // cancel
};
