#pragma once

#include "overview/OverviewRows.h"

#include <QDialog>

class CatalogueDatabase;
class GradientStrip;
class Prompts;
class QLabel;
class QListWidget;
class TGlintImage;
class Workspace;

// The modal project overview "Přehled": one row per layer that carries its own
// paint, with its shade, fan deck, paint kind and quantity, looked up in the
// catalogue each time a row is painted. From here the recoloured picture is
// exported, a layer's recipe handed on and the paint order printed.
class OverviewWindow : public QDialog {
    Q_OBJECT
public:
    // catalogue is the catalogue window's connection; rows show only the layer's
    // own fields while it is not open.
    OverviewWindow(Workspace& workspace, Prompts& prompts, CatalogueDatabase* catalogue,
                   QWidget* parent = nullptr);

    // Lists the layers anew; the recipe button keeps what the last row click made it.
    void FillOverview();
    // The layer index a list row stands for (the row's text), or -1.
    int LayerOfRow(int row) const;
    // What a row shows for a layer, asked of the catalogue now.
    OverviewRow RowOfLayer(int layer);

    QListWidget* layerList = nullptr;
    TGlintImage* recipeButton = nullptr; // for Huemix, hidden at first
    TGlintImage* closeButton = nullptr;
    TGlintImage* exportButton = nullptr;   // the recoloured picture
    TGlintImage* orderButton = nullptr;    // the printable paint order
    TGlintImage* proposalButton = nullptr; // the colour proposal for the customer

    void onLayerListClicked();
    void onRecipeClicked();
    void onCloseClicked();
    void onExportClicked();
    void onOrderClicked();
    void onProposalClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();
    void ReportCatalogueError(const QString& text);

    Workspace& workspace_;
    Prompts& prompts_;
    CatalogueDatabase* catalogue_;
    GradientStrip* header_ = nullptr;
    GradientStrip* footer_ = nullptr;
    QLabel* title_ = nullptr;
    bool catalogueErrorReported_ = false;
};
