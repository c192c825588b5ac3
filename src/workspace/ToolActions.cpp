#include "workspace/ToolActions.h"

#include "editing/FloodFill.h"
#include "editing/Tools.h"
#include "project/FreeMemory.h"
#include "render/ZoomMath.h"
#include "workspace/Prompts.h"
#include "workspace/Workspace.h"

ToolActions::ToolActions(Workspace& workspace, Prompts& prompts)
    : Scale(workspace, prompts), ws_(workspace), prompts_(prompts) {}

QPoint ToolActions::ImagePixel(int x, int y) const {
    return QPoint(NearestInt(x / double(ws_.ZoomFactor)), NearestInt(y / double(ws_.ZoomFactor)));
}

void ToolActions::Hint(const QString& text) {
    prompts_.Message(text, QStringLiteral("Rada"), Prompts::Icon::Warning, Prompts::Ok);
}

void ToolActions::ImageMouseDown(bool right, int x, int y) {
    const QPoint p = ImagePixel(x, y);
    const int row = SelectedRow ? SelectedRow() : -1;
    if (RealColourPickMode && RealColourPickMode()) {
        if (SampleRealColour)
            SampleRealColour(x, y);
        return;
    }
    if (ws_.CurrentTool == ScaleTool) {
        Scale.Press(right, QPointF(x, y));
        return;
    }
    if (right) {
        ws_.LineAnchorX = -1;
        return;
    }
    if (!ws_.Doc.HasProject())
        return;
    // A press with a painting tool is an edit; picking a layer changes nothing the
    // mask file stores.
    if (ws_.CurrentTool != PickLayerTool)
        ws_.Doc.Modified = true;
    switch (ws_.CurrentTool) {
    case PencilTool: {
        if (row < 0) {
            Hint(QStringLiteral("Vyberte, prosím, vrstvu."));
            return;
        }
        ws_.PushUndo();
        const QRect r = PaintBrush(ws_.Doc.Mask, p.x(), p.y(), ws_.Thickness, std::uint8_t(row));
        ws_.UpdateRegion(r.left(), r.top(), r.right(), r.bottom());
        ws_.History.MarkPresentChanged();
        break;
    }
    case ToleranceFillTool:
    case FullFillTool:
        if (row < 0) {
            Hint(QStringLiteral("Vyberte, prosím, vrsrvu."));
            return;
        }
        Fill(p.x(), p.y(), row);
        break;
    case LineTool: {
        if (row < 0) {
            Hint(QStringLiteral("Vyberte, prosím, vrsrvu."));
            return;
        }
        if (ws_.LineAnchorX < 0) {
            ws_.LineAnchorX = p.x();
            ws_.LineAnchorY = p.y();
            return;
        }
        ws_.PushUndo();
        ws_.History.MarkPresentChanged();
        const QRect r = PaintThickLine(ws_.Doc.Mask, ws_.LineAnchorX, ws_.LineAnchorY, p.x(), p.y(),
                                       ws_.Thickness, std::uint8_t(row));
        ws_.UpdateRegion(r.left(), r.top(), r.right(), r.bottom());
        ws_.LineAnchorX = p.x();
        ws_.LineAnchorY = p.y();
        break;
    }
    case PickLayerTool: {
        if (p.x() < 0 || p.y() < 0 || p.x() >= ws_.Doc.Mask.Width || p.y() >= ws_.Doc.Mask.Height)
            return;
        const int picked = ws_.Doc.Mask.LayerAt(p.x(), p.y());
        if (picked == 0 || picked >= ws_.Doc.Layers.size())
            return;
        const int layer = EffectiveLayer(ws_.Doc.Layers, picked);
        ws_.Doc.Layers[layer].ShownInMaskMode = false;
        ws_.UpdateWholePicture();
        if (PickLayer)
            PickLayer(layer);
        break;
    }
    }
}

void ToolActions::Fill(int px, int py, int row) {
    const float zoom = ws_.ZoomFactor;
    const bool switched = zoom != 1.0f;
    QPoint scroll;
    if (switched) {
        // The fill reads view pixels one per image pixel: show the picture at 1
        // meanwhile, without letting the scroll box draw.
        scroll = ws_.ScrollPosition();
        if (SuspendViewDrawing)
            SuspendViewDrawing(true);
        ws_.ZoomFactor = 1.0f;
        ws_.ResizeView();
        ws_.UpdateWholePicture();
    }
    ws_.PushUndo();
    if (px >= 0 && py >= 0 && px < ws_.ViewBitmap.width() && py < ws_.ViewBitmap.height()) {
        ws_.Marker.EraseMarker(ws_.ViewBitmap);
        const uchar* seedPixel = ws_.ViewBitmap.constScanLine(py) + 3 * px;
        const Colour seed = Rgb(seedPixel[2], seedPixel[1], seedPixel[0]);
        const Colour barrier = row == 0 ? Rgb(0, 0, 0) : ws_.Doc.Layers[row].MaskColour;
        FloodFill(ws_.Doc.Mask, ws_.ViewBitmap, px, py, seed, ActiveTolerance, barrier,
                  std::uint8_t(row));
        // The rows it rebuilt leave the old ones' memory free in the heap.
        ReturnFreeMemory();
    }
    ws_.UpdateWholePicture();
    ws_.History.MarkPresentChanged();
    if (switched) {
        ws_.ZoomFactor = zoom;
        ws_.ResizeView();
        ws_.UpdateWholePicture();
        if (SuspendViewDrawing)
            SuspendViewDrawing(false);
        ws_.SetScrollPosition(scroll);
    }
}

QPoint ToolActions::ImageMouseMove(bool leftHeld, bool shift, int x, int y) {
    previous_ = current_;
    current_ = QPoint(x, y);
    if (shift) {
        // Panning: the picture follows the pointer.
        const QPoint delta = previous_ - current_;
        current_ += delta;
        return delta;
    }
    const double zoom = ws_.ZoomFactor;
    const QPoint p = ImagePixel(x, y);
    const QPoint centre(NearestInt(p.x() * zoom), NearestInt(p.y() * zoom));
    QPoint lineStart(-1, -1);
    if (ws_.CurrentTool == LineTool && ws_.LineAnchorX != -1)
        lineStart = QPoint(NearestInt(ws_.LineAnchorX * zoom), NearestInt(ws_.LineAnchorY * zoom));
    const bool picking = RealColourPickMode && RealColourPickMode();
    if (ws_.CurrentTool == ScaleTool && !picking && leftHeld)
        Scale.Move(QPointF(x, y));
    int half = 0;
    if (picking)
        half = 10;
    else if (ws_.CurrentTool == PencilTool || ws_.CurrentTool == LineTool)
        half = NearestInt(ws_.Thickness * zoom);
    if (ws_.Doc.HasProject()) {
        const QRect before = ws_.Marker.Bounds();
        ws_.Marker.DrawMarker(ws_.ViewBitmap, centre, lineStart, half);
        ws_.ViewRepainted(before | ws_.Marker.Bounds());
    }
    if (!picking && ws_.CurrentTool == PencilTool && leftHeld) {
        const int row = SelectedRow ? SelectedRow() : -1;
        if (row >= 0) {
            const QRect r =
                PaintBrush(ws_.Doc.Mask, p.x(), p.y(), ws_.Thickness, std::uint8_t(row));
            ws_.UpdateRegion(r.left(), r.top(), r.right(), r.bottom());
        }
    }
    return QPoint();
}

void ToolActions::ImageMouseUp(int x, int y) {
    if (ws_.CurrentTool == ScaleTool && !(RealColourPickMode && RealColourPickMode()))
        Scale.Release(QPointF(x, y));
}

void ToolActions::ImageDoubleClick(int x, int y) {
    if (ws_.CurrentTool == ScaleTool && !(RealColourPickMode && RealColourPickMode()))
        Scale.DoublePress(QPointF(x, y));
}
