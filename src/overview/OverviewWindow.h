#pragma once

#include "overview/OverviewRows.h"
#include "overview/PaintCoverage.h"

#include <QDialog>
#include <QHash>
#include <QList>

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
// exported, a layer's recipe handed on and the paint order printed. In a measured
// project each row also shows its area and, for a paint kind whose spreading rate
// the user gave (the button "Vydatnost barvy"), the quantity it needs, which a
// click takes into the layer's quantity.
class OverviewWindow : public QDialog {
    Q_OBJECT
public:
    // catalogue is the catalogue window's connection; rows show only the layer's
    // own fields while it is not open.
    OverviewWindow(Workspace& workspace, Prompts& prompts, CatalogueDatabase* catalogue,
                   QWidget* parent = nullptr);

    // Lists the layers anew and measures their areas; the recipe button keeps what the
    // last row click made it.
    void FillOverview();
    // The layer index a list row stands for (the row's text), or -1.
    int LayerOfRow(int row) const;
    // What a row shows for a layer, asked of the catalogue now.
    OverviewRow RowOfLayer(int layer);
    // For the paint that follows: the rows of those list rows, asked of the catalogue
    // now and all together; RowToPaint hands them out until ForgetRowsToPaint.
    void LookUpRowsToPaint(const QList<int>& listRows);
    void ForgetRowsToPaint();
    // What the row of a layer shows in the paint under way.
    OverviewRow RowToPaint(int layer);
    // Where list row `row` draws its suggested quantity (list viewport coordinates),
    // empty when it has none.
    QRect SuggestionRect(int row);

    QListWidget* layerList = nullptr;
    TGlintImage* recipeButton = nullptr; // for Huemix, hidden at first
    TGlintImage* closeButton = nullptr;
    TGlintImage* exportButton = nullptr;   // the recoloured picture
    TGlintImage* orderButton = nullptr;    // the printable paint order
    TGlintImage* proposalButton = nullptr; // the colour proposal for the customer
    TGlintImage* coverageButton = nullptr; // the selected row's spreading rate, hidden at first

    void onLayerListClicked();
    void onRecipeClicked();
    void onCloseClicked();
    void onExportClicked();
    void onOrderClicked();
    void onProposalClicked();
    void onCoverageClicked();
    // A click on list row `row` at a point of the viewport: on the suggested quantity
    // it becomes the layer's quantity.
    void onLayerListPressed(int row, QPoint at);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Arrange();
    // The layer whose paint kind "Vydatnost barvy" asks about: the selected row's, or
    // with no row selected the first listed layer that has a paint kind; -1 for none.
    int CoverageLayer() const;
    int SelectedLayer() const;
    void ReportCatalogueError(const QString& text);

    Workspace& workspace_;
    Prompts& prompts_;
    CatalogueDatabase* catalogue_;
    GradientStrip* header_ = nullptr;
    GradientStrip* footer_ = nullptr;
    QLabel* title_ = nullptr;
    bool catalogueErrorReported_ = false;
    QList<double> areas_;    // painted areas by layer, measured when the list was filled
    CoverageTable coverage_; // the user's spreading rates, read then
    QHash<int, OverviewRow> rowsToPaint_; // by layer, during one paint of the list
};
