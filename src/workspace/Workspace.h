#pragma once

#include "editing/CursorMarker.h"
#include "editing/SmartSelection.h"
#include "editing/UndoHistory.h"
#include "project/Document.h"
#include "workspace/SmartPreparer.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

// The scroll box that shows the view; the main window implements it.
class ViewPort {
public:
    virtual ~ViewPort() = default;
    virtual QPoint ScrollPosition() const = 0;
    virtual void SetScrollPosition(QPoint position) = 0;
    // The view's pixels changed in this rectangle (view coordinates).
    virtual void ViewChanged(const QRect& viewRect) = 0;
};

enum ToolNumber {
    PencilTool = 1,
    ToleranceFillTool = 2,
    FullFillTool = 3,
    LineTool = 4,
    PickLayerTool = 5,
    SmartSelectTool = 6,
    ScaleTool = 7 // "Měřítko": marks the references of measured planes
};

// The open document with everything the main window keeps around it: the view,
// the zoom, mask mode and the tool settings.
class Workspace : public QObject {
    Q_OBJECT
public:
    Document Doc;
    QImage ViewBitmap;
    float ZoomFactor = 1.0f;
    bool MaskEditMode = true; // the editing bar is visible in the window's design
    int CurrentTool = PickLayerTool;
    int Thickness = 1;
    int Threshold = 20;
    int LineAnchorX = -1;
    int LineAnchorY = -1;
    CursorMarker Marker;
    UndoHistory History;
    // Smart selection: the open photograph's preparation, made on a thread of its own,
    // and the strokes with the region they propose.
    SmartPreparer Preparer;
    SmartSelection Smart;

    void SetViewPort(ViewPort* viewPort) { viewPort_ = viewPort; }

    // One "Originál" layer, no schemes, the pencil in mask mode (the layer pick
    // otherwise), zoom 1; the mask, the photograph, the path and Modified stay.
    void NewDocument();

    // Brings the view up to date for photograph pixels x1..x2, y1..y2.
    void UpdateRegion(int x1, int y1, int x2, int y2);
    void UpdateWholePicture();
    // Gives ViewBitmap the photograph's size at the current zoom. A view of another
    // size is released before the new one is made, which takes spare's memory when it
    // can (PhotoFiles::RecycledPicture): pictures of 50 megapixels do not come twice.
    void ResizeView(QImage spare = QImage());
    // Gives up the view's memory to the next photograph read (opening or importing a
    // project), so that the old photograph, its view and the new photograph never
    // lie in memory together. The view stays empty until ShowViewAgain or ResizeView.
    QImage ReleaseView();
    // After a read that failed: the view as it was from its own memory when no read
    // took it, else made again from the document.
    void ShowViewAgain(QImage&& released);

    // A snapshot of the mask (the line anchor and the references beside it) just
    // before an edit.
    void PushUndo();
    // Changes the references (or a layer's choice of them) through change, as one
    // undo step; a change that changes nothing records none, and what change throws
    // comes out, with nothing changed or recorded.
    void ChangeMeasures(const std::function<void()>& change);
    // Undo and redo restore the mask, the anchor and the references and re-render
    // the picture.
    void undoClick();
    void redoClick();
    void ClearHistory() { History.ClearHistory(); }

    // Smart selection. The photograph's preparation starts when a project opens (or
    // again, without waiting, when one was cancelled), and is cancelled when the
    // photograph is about to go.
    void StartSmartPreparation();
    void CancelSmartPreparation() { Preparer.Cancel(); }
    void ResumeSmartPreparation();
    // Whether a stroke would find the preparation ready without waiting.
    bool SmartSelectionReady() const { return Preparer.ReadyFor(Doc.PhotoBitmap); }
    // Adds a stroke (waiting for the preparation when it is not ready) and shows the
    // new proposal. The proposal always belongs to the open photograph.
    void AddSmartStroke(const SmartStroke& stroke);
    // Writes the proposal into the mask with the layer as one undo step, leaving
    // pixels of locked layers alone; the strokes go. False when there was nothing
    // to write (no proposal, or the layer is locked).
    bool ApplySmartProposal(int layer);
    // Drops the strokes and the proposal; the mask stays as it was.
    void DropSmartProposal();

    // Zoom in and out in powers of two between 0.25 and 4 (a view larger than the
    // photograph may not pass 6000 pixels in width; back to zoom 1 is always allowed);
    // the view's centre stays where it was. box is the size of the scroll box.
    void ZoomIn(QSize box);
    void ZoomOut(QSize box);

    QPoint ScrollPosition() const { return viewPort_ ? viewPort_->ScrollPosition() : QPoint(); }
    void SetScrollPosition(QPoint position) {
        if (viewPort_)
            viewPort_->SetScrollPosition(position);
    }
    // Takes the cursor marker off the picture until the pointer moves over it again
    // (the pointer left the picture, or another tool or mode draws another marker).
    void HideMarker();

    // The marker moved within this view rectangle: show that part again.
    void ViewRepainted(const QRect& area) {
        if (viewPort_)
            viewPort_->ViewChanged(area.intersected(ViewBitmap.rect()));
    }

signals:
    // Another project was opened or imported.
    void ProjectChanged();
    void LayersChanged();    // the layer list's rows changed: rebuild it
    void LayerListChanged(); // a layer's marks or swatch changed: repaint the list
    void LayerSelected(int row);
    void LayerRemoved(int row);
    void PickModeChanged();
    void SchemeRenamed(int row);
    void SchemesChanged();
    // The references or the layers' choice of them changed: marks and areas follow.
    void MeasuresChanged();

private:
    // Undo or redo: restores the mask, the line anchor and the references and shows
    // them.
    void StepHistory(bool (UndoHistory::*step)(TMask&, UndoHistory::Besides&, const LayerList&));

    ViewPort* viewPort_ = nullptr;
};
