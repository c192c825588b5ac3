#pragma once

#include "project/Colour.h"

#include <QWidget>

class LayerEditor;
class Prompts;
class QLabel;
class QLineEdit;
class TGlintImage;

// The modeless layer properties dialog "Vlastnosti vrstvy": the name, the real
// colour of the surface and the mask colour. It has no close box; it is left through
// its two buttons. While it is open a press on the photograph samples the real colour.
class LayerDialog : public QWidget {
    Q_OBJECT
public:
    explicit LayerDialog(QWidget* parent = nullptr);

    // Connects the dialog with the layer editor that owns the edit. On its first
    // showing the dialog stands at the top right corner of area (the picture).
    void Attach(LayerEditor& editor, Prompts& prompts, const QWidget* area = nullptr);

    QLineEdit* nameEdit = nullptr;
    QLabel* realColourPanel = nullptr;
    QLabel* maskColourPanel = nullptr;
    TGlintImage* confirmButton = nullptr;
    TGlintImage* cancelButton = nullptr;

    Colour RealColour() const { return real_; }
    Colour MaskColour() const { return mask_; }
    void SetRealColour(Colour colour);
    void SetMaskColour(Colour colour);

    void onConfirmClicked();
    void onCancelClicked();

protected:
    // A window manager may offer a close box all the same: closing is cancelling.
    void closeEvent(QCloseEvent* event) override;
    // Enter confirms and Esc cancels, as in any dialog, wherever its focus is.
    void keyPressEvent(QKeyEvent* event) override;

private:
    LayerEditor* editor_ = nullptr;
    const QWidget* placementArea_ = nullptr;
    Prompts* prompts_ = nullptr;
    Colour real_ = 0;
    Colour mask_ = 0;
};
