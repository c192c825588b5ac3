#pragma once

#include "layers/SubordinateLayers.h"

#include <QDialog>

class QListWidget;
class TGlintImage;

// The modal chooser "Zvolit podřízenou vrstvu" of a subordinate layer's master.
class MasterChooserDialog : public QDialog, public MasterChooser {
    Q_OBJECT
public:
    explicit MasterChooserDialog(QWidget* parent = nullptr);

    std::optional<QString> ChooseMasterLayer(const LayerList& layers, int current,
                                             const QString& preselected) override;

    QListWidget* layerList = nullptr;
    TGlintImage* confirmButton = nullptr;
    TGlintImage* cancelButton = nullptr;
    bool ChooserCancelled = true;

    void onConfirmClicked();
    void onCancelClicked();
};
