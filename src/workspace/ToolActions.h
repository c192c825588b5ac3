#pragma once

#include "workspace/ReferenceTool.h"

#include <QPoint>
#include <functional>

class Prompts;
class Workspace;

// What a press and a move on the photograph do, by the current tool: pencil
// strokes, line chains, the two fills, picking a layer, panning with Shift and the
// cursor marker. The main window passes its mouse events here.
class ToolActions {
public:
    ToolActions(Workspace& workspace, Prompts& prompts);

    int ActiveTolerance = 0;
    // The tool "Měřítko", which takes the presses while it is the current tool.
    ReferenceTool Scale;

    // Hooks into the layer list, the layer dialog and the catalogue window.
    std::function<int()> SelectedRow; // -1 when no row is selected
    std::function<bool()> RealColourPickMode;
    std::function<void(int x, int y)> SampleRealColour; // view pixels
    std::function<void(int layer)> PickLayer;           // select the row, open the catalogue
    std::function<void(bool suspended)> SuspendViewDrawing;

    // view point (X, Y); right is the right button, left the left or middle one.
    void ImageMouseDown(bool right, int x, int y);
    // Returns how far the view should scroll (panning with Shift held).
    QPoint ImageMouseMove(bool leftHeld, bool shift, int x, int y);
    // The left button let go, and a double press: only the scale tool uses them.
    void ImageMouseUp(int x, int y);
    void ImageDoubleClick(int x, int y);

    // The fill procedure at image pixel (px, py) with the selected layer.
    void Fill(int px, int py, int row);

private:
    QPoint ImagePixel(int x, int y) const;
    void Hint(const QString& text);

    Workspace& ws_;
    Prompts& prompts_;
    QPoint previous_;
    QPoint current_;
};
