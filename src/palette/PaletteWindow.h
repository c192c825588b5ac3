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

// A framed rectangle filled with a brush: the preview "ShapeNahled" and the free
// colour's "Shape7".
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
class TTPaleta : public QWidget {
    Q_OBJECT
public:
    TTPaleta(CatalogueWindow& catalogue, Prompts& prompts, QWidget* parent = nullptr);

    QWidget* PanelInfo = nullptr;
    QWidget* PanelHint = nullptr;
    GradientStrip* PaintBox1 = nullptr;
    GradientStrip* PaintBox2 = nullptr;
    QLabel* Image1 = nullptr; // the picture of the word PALETA
    ColourShape* ShapeNahled = nullptr;
    ColourShape* Shape7 = nullptr;
    QLabel* LabelR = nullptr;
    QLabel* LabelG = nullptr;
    QLabel* LabelB = nullptr;
    QLineEdit* LabeledEdit1 = nullptr;  // tolerance of red
    QLineEdit* LabeledEdit2 = nullptr;  // of green
    QLineEdit* LabeledEdit3 = nullptr;  // of blue
    TGlintImage* GlintImage1 = nullptr; // search around the tolerance box's colour
    TGlintImage* GlintImage2 = nullptr; // search around the free colour
    TGlintImage* GlintImage3 = nullptr; // rank the list by likeness to that colour
    QLabel* LabelVejir = nullptr;
    QLabel* LabelOdstin = nullptr;
    // ΔE00 of the selected shade to the colour the list was last searched or ranked
    // around (or the free colour, or the shade the palette was opened on); clicking
    // candidates does not move it.
    QLabel* LabelDeltaE = nullptr;
    PaletteGrid* DrawGrid1 = nullptr;

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
    void DrawGrid1SelectCell(QPoint cell);
    void DrawGrid1DblClick();
    void Shape7MouseDown();
    void GlintImage1Click();
    void GlintImage2Click();
    void GlintImage3Click();
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
