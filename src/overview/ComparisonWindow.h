#pragma once

#include <QDialog>
#include <QList>
#include <QPoint>
#include <functional>

class CatalogueDatabase;
class ComparisonPane;
class GradientStrip;
class Prompts;
class QCheckBox;
class QLabel;
class TGlintImage;
class Workspace;

// The modal window "Porovnání schémat": two to four colour schemes of the open project
// side by side, each pane the whole picture coloured by its scheme with its name above
// and its shades under it. Zooming or dragging one pane moves them all alike. A
// scheme is applied from here with one click; otherwise the window changes nothing.
class ComparisonWindow : public QDialog {
    Q_OBJECT
public:
    ComparisonWindow(Workspace& workspace, Prompts& prompts, CatalogueDatabase* catalogue,
                     QWidget* parent = nullptr);

    // Fills the window for the open project: the scheme of row ticked with those after
    // it (the first ones when row is -1), up to four; the picture fitted to the panes.
    void Open(int row);

    // Applies the scheme of a row as a click in the scheme list does (asking first
    // when layers were edited); returns whether it was applied.
    std::function<bool(int row)> ApplyScheme;

    // The ticked schemes, by row, in order; their panes, in the same order.
    QList<int> TickedSchemes() const;
    QList<ComparisonPane*> Panes() const { return panes_; }

    float Zoom() const { return zoom_; }
    QPoint Scroll() const { return scroll_; }
    float FitZoom() const;
    // Zooms every pane in or out, keeping the picture point under anchor (pane
    // coordinates) where it is; back to the whole picture.
    void ZoomAt(QPoint anchor, bool in);
    void ScrollBy(QPoint delta);
    void Fit();

    QList<QCheckBox*> schemeChecks;
    TGlintImage* proposalButton = nullptr;
    TGlintImage* zoomInButton = nullptr;
    TGlintImage* zoomOutButton = nullptr;
    TGlintImage* fitButton = nullptr;
    TGlintImage* closeButton = nullptr;

    void onProposalClicked();
    void onApplyClicked(int pane);
    void onSchemeTicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();
    void FillPanes();
    // Keeps the scroll inside the picture, or centres a picture smaller than the panes.
    void ShowView(QPoint scroll);
    QSize PaneSize() const;

    Workspace& workspace_;
    Prompts& prompts_;
    CatalogueDatabase* catalogue_;
    GradientStrip* header_ = nullptr;
    GradientStrip* footer_ = nullptr;
    QLabel* title_ = nullptr;
    QWidget* checksRow_ = nullptr;
    QLabel* hint_ = nullptr;
    QList<ComparisonPane*> panes_;
    float zoom_ = 1.0f;
    bool fitted_ = true;
    QPoint scroll_;
};
