#pragma once

#include "palette/PaletteLayout.h"
#include "palette/SimilarShadeSearch.h"
#include "project/Colour.h"

#include <QBrush>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class GradientStrip;
class PaletteGrid;
class Prompts;
class QLabel;
class QLineEdit;
class CatalogueWindow;
class TGlintImage;
struct ShadeRecord;

// A framed rectangle filled with a brush: the preview "previewShape" and the free
// colour's "freeColourShape".
class ColourShape : public QWidget {
    Q_OBJECT
public:
    explicit ColourShape(QWidget* parent = nullptr);
    const QBrush& Brush() const { return brush_; }
    void SetBrush(const QBrush& brush);

signals:
    void Pressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QBrush brush_{Qt::white};
};

// The palette window "Paleta barev": the catalogue's shade list as a grid of coloured
// cells, with the selected shade's values and preview, the similar-shade search, the
// likeness ranking and the free colour. It keeps no shades of its own: it reads the
// catalogue's list and selection and writes the selection back. Modeless, on top;
// closing only hides it.
class PaletteWindow : public QWidget {
    Q_OBJECT
public:
    PaletteWindow(CatalogueWindow& catalogue, Prompts& prompts, QWidget* parent = nullptr);

    QWidget* infoPanel = nullptr;
    QWidget* hintBar = nullptr;
    GradientStrip* infoPanelStrip = nullptr;
    GradientStrip* hintBarStrip = nullptr;
    QLabel* paletteCaption = nullptr; // the picture of the word PALETA
    ColourShape* previewShape = nullptr;
    ColourShape* freeColourShape = nullptr;
    QLabel* redValueLabel = nullptr;
    QLabel* greenValueLabel = nullptr;
    QLabel* blueValueLabel = nullptr;
    QLineEdit* redToleranceEdit = nullptr;
    QLineEdit* greenToleranceEdit = nullptr;
    QLineEdit* blueToleranceEdit = nullptr;
    TGlintImage* searchButton = nullptr;           // search around the tolerance box's colour
    TGlintImage* freeColourSearchButton = nullptr; // search around the free colour
    TGlintImage* rankButton = nullptr;             // rank the list by likeness to that colour
    QLabel* fanDeckLabel = nullptr;
    QLabel* shadeLabel = nullptr;
    // ΔE00 of the selected shade to the colour the list was last searched or ranked
    // around (or the free colour, or the shade the palette was opened on); clicking
    // candidates does not move it.
    QLabel* deltaELabel = nullptr;
    PaletteGrid* shadeGrid = nullptr;

    // The main window's side: the free colour goes to the layer of its list's current
    // row; the window first opens centred on the main window's picture.
    std::function<void(Colour colour)> FreeColourChosen;
    const QWidget* PictureArea = nullptr;

    // Columns and rows for the grid's width and the catalogue's list; follows the
    // catalogue's selection when it has one; repaints.
    void LayoutGrid();
    // The hint bar and the selected cell follow the catalogue's selected row (row 0 is
    // selected when the list has shades and none is).
    void SyncWithCatalogue();
    // Opened from the catalogue: on the selected shade with the information panel, or
    // on the list without it.
    void ShowOnShade();
    void ShowOnList();

    // A cell chosen by mouse or key: selects its shade (when it has one) and runs the
    // catalogue's click action.
    void onShadeGridCellChosen(QPoint cell);
    void onShadeGridDoubleClicked();
    void onFreeColourShapePressed();
    void onSearchClicked();
    void onFreeColourSearchClicked();
    void onRankClicked();
    void SearchSimilarShades(SimilarShades::Variant variant);

    // The three value labels, the reference colour of the search and the ranking.
    std::array<QString, 3> ReferenceColour() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildInfoPanel();
    void BuildHintBar();
    void ShowShadeValues(const ShadeRecord& shade);
    void ShowColourValues(Colour colour);
    void UpdateDeltaE();
    void UpdateShape();
    void CompareWith(std::optional<Colour> centre);

    CatalogueWindow& catalogue_;
    Prompts& prompts_;
    Colour lastChosenColour_ = Rgb(255, 255, 255);
    std::optional<Colour> comparisonCentre_;
};
