#include "workspace/Workspace.h"

#include "project/FreeMemory.h"
#include "project/PhotoFiles.h"
#include "render/RenderRegion.h"
#include "render/ZoomMath.h"

#include <limits>
#include <utility>

void Workspace::NewDocument() {
    Doc.Layers = LayerList{OriginalLayerTemplate()};
    Doc.Schemes.clear();
    // The pencil in mask mode, where its button is seen; in colour mode a press on the
    // picture keeps picking a layer, so that no hidden tool paints the mask.
    CurrentTool = MaskEditMode ? PencilTool : PickLayerTool;
    ZoomFactor = 1.0f;
    History.ClearHistory();
    History.MarkPresentChanged();
    emit LayersChanged();
    emit SchemesChanged();
}

void Workspace::ResizeView(QImage spare) {
    const QSize size = ViewSizeFor(Doc.PhotoBitmap.size(), ZoomFactor);
    if (ViewBitmap.size() == size && ViewBitmap.format() == QImage::Format_BGR888)
        return;
    ViewBitmap = QImage(); // before the new one is made
    Marker.Reset();        // its place belonged to the old view
    ViewBitmap = PhotoFiles::RecycledPicture(size, &spare);
    ViewBitmap.fill(Qt::black);
}

QImage Workspace::ReleaseView() {
    Marker.EraseMarker(ViewBitmap); // the memory leaves with the picture alone
    ReturnFreeMemory();
    return std::exchange(ViewBitmap, QImage());
}

void Workspace::ShowViewAgain(QImage&& released) {
    if (!released.isNull()) {
        ViewBitmap = std::move(released);
        Marker.DrawMarker(ViewBitmap);
        ViewRepainted(Marker.Bounds());
        return;
    }
    // A view of the same size again: the marker keeps its place.
    const CursorMarker marker = Marker;
    ResizeView();
    Marker = marker;
    UpdateWholePicture();
}

void Workspace::UpdateRegion(int x1, int y1, int x2, int y2) {
    if (!Doc.HasProject())
        return;
    Marker.EraseMarker(ViewBitmap);
    const QPoint scroll = viewPort_ ? viewPort_->ScrollPosition() : QPoint();

    const RenderInput input{Doc.PhotoBitmap, Doc.Mask, Doc.Layers, ZoomFactor, MaskEditMode};
    RenderRegion(input, ViewBitmap, x1, y1, x2, y2);
    // The marker goes back before the view is shown, so that it stays visible.
    Marker.DrawMarker(ViewBitmap);

    if (viewPort_) {
        const double z = ZoomFactor;
        const QRect changed(QPoint(TruncInt(x1 * z), TruncInt(y1 * z)),
                            QPoint(TruncInt((x2 + 1) * z), TruncInt((y2 + 1) * z)));
        viewPort_->ViewChanged((changed | Marker.Bounds()).intersected(ViewBitmap.rect()));
        viewPort_->SetScrollPosition(scroll);
    }
}

void Workspace::HideMarker() {
    const QRect area = Marker.Bounds();
    Marker.EraseMarker(ViewBitmap);
    Marker.Reset();
    ViewRepainted(area);
}

void Workspace::UpdateWholePicture() {
    constexpr int Far = std::numeric_limits<int>::max() / 8;
    UpdateRegion(0, 0, Far, Far);
}

void Workspace::PushUndo() {
    History.PushUndo(Doc.Mask, {LineAnchorX, LineAnchorY, Doc.Measures});
}

void Workspace::ChangeMeasures(const std::function<void()>& change) {
    const Measurements before = Doc.Measures;
    change();
    if (Doc.Measures == before)
        return;
    // The snapshot holds the references as they were, beside the present mask.
    History.PushUndo(Doc.Mask, {LineAnchorX, LineAnchorY, before});
    History.MarkPresentChanged();
    emit MeasuresChanged();
}

void Workspace::undoClick() {
    StepHistory(&UndoHistory::Undo);
}

void Workspace::redoClick() {
    StepHistory(&UndoHistory::Redo);
}

void Workspace::StepHistory(bool (UndoHistory::*step)(TMask&, UndoHistory::Besides&,
                                                      const LayerList&)) {
    UndoHistory::Besides besides{LineAnchorX, LineAnchorY, Doc.Measures};
    if (!(History.*step)(Doc.Mask, besides, Doc.Layers))
        return;
    LineAnchorX = besides.x;
    LineAnchorY = besides.y;
    UpdateWholePicture();
    if (besides.measures != Doc.Measures) {
        // The references file is written again on saving.
        Doc.Measures = std::move(besides.measures);
        Doc.Modified = true;
        emit MeasuresChanged();
    }
}

void Workspace::StartSmartPreparation() {
    Smart.SetPreparation(nullptr);
    if (Doc.HasProject())
        Preparer.Start(Doc.PhotoBitmap);
    if (viewPort_)
        viewPort_->ViewChanged(ViewBitmap.rect());
}

void Workspace::ResumeSmartPreparation() {
    if (Doc.HasProject() && !SmartSelectionReady())
        Preparer.Start(Doc.PhotoBitmap);
}

void Workspace::AddSmartStroke(const SmartStroke& stroke) {
    if (!Doc.HasProject())
        return;
    std::shared_ptr<const SmartPreparation> preparation = Preparer.For(Doc.PhotoBitmap);
    // Strokes on another photograph's preparation mean nothing here.
    if (preparation != Smart.Preparation())
        Smart.SetPreparation(std::move(preparation));
    Smart.AddStroke(stroke, Doc.PhotoBitmap);
    if (viewPort_)
        viewPort_->ViewChanged(ViewBitmap.rect());
}

bool Workspace::ApplySmartProposal(int layer) {
    const SmartProposal& proposal = Smart.Proposal();
    if (layer < 0 || layer >= Doc.Layers.size() || proposal.IsEmpty() ||
        Doc.Mask.Locked[std::uint8_t(layer)])
        return false;
    PushUndo();
    const QRect written = WriteProposal(Doc.Mask, proposal, std::uint8_t(layer));
    History.MarkPresentChanged();
    Doc.Modified = true;
    Smart.Clear();
    if (!written.isEmpty()) {
        // The rows it rebuilt leave the old ones' memory free in the heap.
        ReturnFreeMemory();
        // A reduced view's pixel shows one photograph pixel of its square in the colour
        // another one's layer gives: the squares are redrawn whole, as the whole
        // picture draws them.
        const int step = ZoomFactor < 1.0f ? TruncInt(1.0 / double(ZoomFactor)) : 1;
        UpdateRegion(written.left() / step * step, written.top() / step * step,
                     written.right() / step * step + step - 1,
                     written.bottom() / step * step + step - 1);
    }
    // The proposal's picture leaves the view.
    if (viewPort_)
        viewPort_->ViewChanged(ViewBitmap.rect());
    return true;
}

void Workspace::DropSmartProposal() {
    if (Smart.Strokes().empty())
        return;
    Smart.Clear();
    if (viewPort_)
        viewPort_->ViewChanged(ViewBitmap.rect());
}

void Workspace::ZoomIn(QSize box) {
    // Back to zoom 1 is always allowed: a photograph wider than 6000 pixels opens at
    // 1, and after zooming out it must be able to come back to its own size.
    const bool enlarging = 2.0f * ZoomFactor > 1.0f;
    if (ZoomFactor > 2.0f || (enlarging && 2.0 * ZoomFactor * Doc.Mask.Width > 6000.0))
        return;
    const QPoint old = ScrollPosition();
    ZoomFactor *= 2.0f;
    ResizeView();
    UpdateWholePicture();
    SetScrollPosition(QPoint(2 * old.x() + box.width() / 2, 2 * old.y() + box.height() / 2));
}

void Workspace::ZoomOut(QSize box) {
    if (ZoomFactor < 0.5f)
        return;
    const QPoint old = ScrollPosition();
    ZoomFactor /= 2.0f;
    ResizeView();
    UpdateWholePicture();
    SetScrollPosition(QPoint(old.x() - box.width() / 2, old.y() - box.height() / 2));
}
