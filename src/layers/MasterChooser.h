#pragma once

#include "layers/SubordinateLayers.h"

#include <QDialog>

class QListWidget;
class TGlintImage;

// The modal chooser "Zvolit podřízenou vrstvu" of a subordinate layer's master.
class TForm2 : public QDialog, public MasterChooser {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    std::optional<QString> ChooseMasterLayer(const LayerList& layers, int current,
                                             const QString& preselected) override;

    QListWidget* list = nullptr;
    TGlintImage* GlintImage1 = nullptr; // confirm
    TGlintImage* GlintImage2 = nullptr; // cancel
    bool ChooserCancelled = true;

    void GlintImage1Click();
    void GlintImage2Click();
};
