// The main window's editing side: the layer list and its buttons, the mouse on the
// picture, the zoom buttons, and the links to the layer dialog and the catalogue.
#include "app/ImageView.h"
#include "app/MainWindow.h"
#include "catalogue/CatalogueWindow.h"
#include "layers/LayerDialog.h"
#include "layers/LayerRowDelegate.h"
#include "layers/MasterChooserDialog.h"
#include "palette/FreeColour.h"
#include "palette/PaletteWindow.h"
#include "project/CzechNumber.h"
#include "widgets/GlintImage.h"

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>

void MainWindow::ConnectEditing() {
    layerList->setItemDelegate(new LayerRowDelegate(workspace_, layerList));
    layerList->viewport()->installEventFilter(this);
    connect(layerList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { onLayerListClicked(layerList->row(item)); });
    connect(layerList, &QListWidget::itemDoubleClicked, this,
            &MainWindow::onLayerListDoubleClicked);
    connect(layerList, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        if (QListWidgetItem* item = layerList->itemAt(at))
            layerList->setCurrentItem(item);
        layerMenu->popup(layerList->viewport()->mapToGlobal(at));
    });
    const QList<QAction*> items = layerMenu->actions();
    connect(items[0], &QAction::triggered, this, &MainWindow::onToggleSubordinateTriggered);
    connect(items[1], &QAction::triggered, this, &MainWindow::onSetOriginalColourTriggered);
    connect(items[2], &QAction::triggered, this, &MainWindow::onCleanLayerTriggered);
    connect(items[4], &QAction::triggered, this, &MainWindow::onLayerListDoubleClicked);
    connect(schemeList, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        if (QListWidgetItem* item = schemeList->itemAt(at))
            schemeList->setCurrentItem(item);
        schemeMenu->popup(schemeList->viewport()->mapToGlobal(at));
    });
    connect(schemeMenu->actions().constFirst(), &QAction::triggered, this,
            &MainWindow::onRenameSchemeTriggered);
    connect(schemeList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { onSchemeListClicked(schemeList->row(item)); });
    connect(&workspace_, &Workspace::SchemeRenamed, this, [this](int row) {
        if (QListWidgetItem* item = schemeList->item(row))
            item->setText(workspace_.Doc.Schemes[row].Name);
    });

    const std::pair<const char*, void (MainWindow::*)()> buttons[] = {
        {"zoomInButton", &MainWindow::onZoomInClicked},
        {"zoomOutButton", &MainWindow::onZoomOutClicked},
        {"showAllLayersButton", &MainWindow::onShowAllLayersClicked},
        {"showNoLayersButton", &MainWindow::onShowNoLayersClicked},
        {"newLayerButton", &MainWindow::onNewLayerClicked},
        {"removeLayerButton", &MainWindow::onRemoveLayerClicked},
        {"saveNewSchemeButton", &MainWindow::onSaveNewSchemeClicked},
        {"overwriteSchemeButton", &MainWindow::onOverwriteSchemeClicked},
        {"deleteSchemeButton", &MainWindow::onDeleteSchemeClicked},
    };
    for (const auto& [name, handler] : buttons)
        connect(Button(QString::fromUtf8(name)), &TGlintImage::Click, this, handler);

    // While the photograph is compared, the mouse moves the divider, never a tool.
    connect(imageView, &ImageView::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
                if (comparing_)
                    onComparisonMouseDown(button, modifiers, at);
                else
                    onImageViewMouseDown(button, at.x(), at.y());
            });
    // The divider has already come to the first press of a double click; a release
    // ends nothing of its.
    connect(imageView, &ImageView::MouseUp, this, [this](Qt::MouseButton button, QPoint at) {
        if (!comparing_)
            onImageViewMouseUp(button, at.x(), at.y());
    });
    connect(imageView, &ImageView::MouseDoubleClick, this,
            [this](Qt::MouseButton button, QPoint at) {
                if (!comparing_)
                    onImageViewDoubleClick(button, at.x(), at.y());
            });
    connect(imageView, &ImageView::MouseLeave, &workspace_, &Workspace::HideMarker);
    // Over the picture: smart selection's proposal and stroke, the scale's marks, each
    // while its tool is the current one.
    imageView->PaintOver = [this](QPainter& painter, const QRect& area) {
        painter.save();
        PaintSmartSelection(painter, area);
        painter.restore();
        if (workspace_.CurrentTool == ScaleTool && workspace_.MaskEditMode)
            PaintReferenceMarks(painter, tools_.Scale.Shown(), tools_.Scale.PendingPoints(),
                                workspace_.ZoomFactor);
    };
    tools_.Scale.MarksChanged = [this] { imageView->update(); };
    connect(&workspace_, &Workspace::MeasuresChanged, imageView, qOverload<>(&QWidget::update));
    connect(layerScaleMenu, &QMenu::aboutToShow, this, &MainWindow::onLayerScaleMenuShown);
    // Enter writes smart selection's proposal wherever the focus is in the main window
    // (Esc, which drops it, is among the window's shortcuts).
    for (const QKeySequence key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        QShortcut* shortcut = OwnShortcut(key);
        connect(shortcut, &QShortcut::activated, this, &MainWindow::onApplySmartClicked);
    }
    connect(&workspace_, &Workspace::ProjectChanged, this, &MainWindow::ShowSmartControls);
    connect(imageView, &ImageView::MouseMove, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint at) {
                if (comparing_)
                    onComparisonMouseMove(buttons, modifiers, at);
                else
                    onImageViewMouseMove(buttons, modifiers, at.x(), at.y());
            });

    tools_.SelectedRow = [this] { return SelectedLayerRow(); };
    tools_.RealColourPickMode = [this] { return layerEditor_.RealColourPickMode; };
    tools_.SampleRealColour = [this](int x, int y) { layerEditor_.SampleRealColour(x, y); };
    tools_.SuspendViewDrawing = [this](bool suspended) {
        pictureArea->setUpdatesEnabled(!suspended);
    };
    tools_.PickLayer = [this](int layer) {
        layerList->setCurrentRow(layer);
        layerList->viewport()->update();
        if (catalogue_)
            catalogue_->ShowForLayer(layer, workspace_.Doc.Layers[layer]);
    };

    connect(&workspace_, &Workspace::LayerSelected, this,
            [this](int row) { layerList->setCurrentRow(row); });
    connect(&workspace_, &Workspace::LayerListChanged, this,
            [this] { layerList->viewport()->update(); });
    connect(&workspace_, &Workspace::PickModeChanged, this, [this] {
        imageView->setCursor(layerEditor_.RealColourPickMode ? Qt::PointingHandCursor
                                                             : Qt::CrossCursor);
    });
    // Windows that keep a layer index never write into another project's layers.
    connect(&workspace_, &Workspace::ProjectChanged, this, [this] {
        layerEditor_.Abandon();
        if (catalogue_)
            catalogue_->DropLayerLink();
    });
    connect(&workspace_, &Workspace::LayerRemoved, this, [this](int row) {
        if (!catalogue_)
            return;
        if (catalogue_->CurrentLayerIndex == row)
            catalogue_->DropLayerLink();
        else if (catalogue_->CurrentLayerIndex > row)
            catalogue_->CurrentLayerIndex -= 1;
    });
}

void MainWindow::ConnectWindows(LayerDialog* layerDialog, CatalogueWindow* catalogue,
                                PaletteWindow* palette, MasterChooserDialog* masterChooser) {
    masterChooser_ = masterChooser;
    layerDialog_ = layerDialog;
    catalogue_ = catalogue;
    palette_ = palette;
    layerDialog->Attach(layerEditor_, prompts_, pictureArea);
    catalogue->AssignShade = [this](int layer, Colour colour, int shadeId, int fanDeckId,
                                    int paintKindId, const QString& quantity) {
        layerEditor_.AssignShadeToLayer(layer, colour, shadeId, fanDeckId, paintKindId, quantity);
    };
    catalogue->PaintKindOfLayer = [this](int layer) {
        return layer >= 0 && layer < workspace_.Doc.Layers.size()
                   ? workspace_.Doc.Layers[layer].PaintKindId
                   : -1;
    };
    catalogue->StoreQuantity = [this](int layer, int quantity) {
        if (layer >= 0 && layer < workspace_.Doc.Layers.size() &&
            workspace_.Doc.Layers[layer].Quantity != quantity) {
            workspace_.Doc.Layers[layer].Quantity = quantity;
            workspace_.Doc.Modified = true;
        }
    };
    // The palette colours one layer, the catalogue's: its cells through the catalogue,
    // its free colour here.
    palette->FreeColourChosen = [this](Colour colour) {
        ApplyFreeColour(workspace_, catalogue_->CurrentLayerIndex, colour);
    };
    palette->LinkedLayerName = [this] {
        const int layer = catalogue_->CurrentLayerIndex;
        return layer > 0 && layer < workspace_.Doc.Layers.size() ? workspace_.Doc.Layers[layer].Name
                                                                 : QString();
    };
    palette->PictureArea = pictureArea;
    // A renamed layer is named anew.
    connect(&workspace_, &Workspace::LayersChanged, palette, &PaletteWindow::ShowLinkedLayer);
}

int MainWindow::SelectedLayerRow() const {
    const QList<QListWidgetItem*> selected = layerList->selectedItems();
    return selected.isEmpty() ? -1 : layerList->row(selected.constFirst());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == layerList->viewport() && event->type() == QEvent::MouseButtonPress)
        LayerListClickX = static_cast<QMouseEvent*>(event)->position().toPoint().x();
    if (watched == pictureArea->viewport() && event->type() == QEvent::Resize)
        FollowGrip();
    return QWidget::eventFilter(watched, event);
}

void MainWindow::onLayerListClicked(int row) {
    if (row < 0)
        return;
    workspace_.LineAnchorX = -1;
    switch (LayerEditor::ZoneAt(LayerListClickX, row)) {
    case LayerEditor::Zone::Lock:
        layerEditor_.ToggleLock(row);
        break;
    case LayerEditor::Zone::Catalogue:
        if (catalogue_)
            catalogue_->ShowForLayer(row, workspace_.Doc.Layers[row]);
        break;
    case LayerEditor::Zone::Visibility:
        layerEditor_.ToggleVisibility(row);
        break;
    case LayerEditor::Zone::None:
        break;
    }
    layerList->viewport()->update();
}

void MainWindow::onLayerListDoubleClicked() {
    layerEditor_.EditLayer(SelectedLayerRow());
    imageView->setCursor(layerEditor_.RealColourPickMode ? Qt::PointingHandCursor
                                                         : Qt::CrossCursor);
}

void MainWindow::onNewLayerClicked() {
    layerEditor_.NewLayer();
    imageView->setCursor(Qt::PointingHandCursor);
}

void MainWindow::onShowAllLayersClicked() {
    layerEditor_.ShowAllLayers();
    layerList->viewport()->update();
}

void MainWindow::onShowNoLayersClicked() {
    layerEditor_.ShowNoLayers();
    layerList->viewport()->update();
}

void MainWindow::onRemoveLayerClicked() {
    layerEditor_.RemoveLayer(SelectedLayerRow());
}

void MainWindow::onCleanLayerTriggered() {
    layerEditor_.CleanLayer(SelectedLayerRow());
}

void MainWindow::onSetOriginalColourTriggered() {
    layerEditor_.ResetShade(SelectedLayerRow());
    layerList->viewport()->update();
}

void MainWindow::onZoomInClicked() {
    workspace_.ZoomIn(pictureArea->viewport()->size());
}

void MainWindow::onZoomOutClicked() {
    workspace_.ZoomOut(pictureArea->viewport()->size());
}

void MainWindow::onImageViewMouseDown(Qt::MouseButton button, int x, int y) {
    tools_.ImageMouseDown(button == Qt::RightButton, x, y);
}

void MainWindow::onImageViewMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                      int x, int y) {
    const SmartStroke* stroke = tools_.StrokeInProgress();
    const size_t before = stroke ? stroke->Points.size() : 0;
    const QPoint pan = tools_.ImageMouseMove(buttons.testFlag(Qt::LeftButton),
                                             modifiers.testFlag(Qt::ShiftModifier), x, y,
                                             buttons.testFlag(Qt::RightButton));
    // The stroke's new piece shows at once.
    if (stroke && stroke->Points.size() > before && stroke->Points.size() >= 2) {
        const double z = workspace_.ZoomFactor;
        const QPoint a = stroke->Points[stroke->Points.size() - 2];
        const QPoint b = stroke->Points.back();
        const int reach = int((stroke->HalfWidth + 2) * z) + 2;
        imageView->update(
            QRect(QPoint(int(a.x() * z), int(a.y() * z)), QPoint(int(b.x() * z), int(b.y() * z)))
                .normalized()
                .adjusted(-reach, -reach, reach, reach));
    }
    if (!pan.isNull()) {
        pictureArea->horizontalScrollBar()->setValue(pictureArea->horizontalScrollBar()->value() +
                                                     pan.x());
        pictureArea->verticalScrollBar()->setValue(pictureArea->verticalScrollBar()->value() +
                                                   pan.y());
    }
}

void MainWindow::onImageViewMouseUp(Qt::MouseButton button, int x, int y) {
    if (!tools_.StrokeInProgress()) {
        // The scale tool takes only the left button's release.
        if (button == Qt::LeftButton)
            tools_.ImageMouseUp(x, y);
        return;
    }
    // A stroke before the photograph's preparation is ready waits for it.
    const bool waiting = !workspace_.SmartSelectionReady();
    if (waiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    tools_.ImageMouseUp(x, y);
    if (waiting)
        QApplication::restoreOverrideCursor();
    ShowSmartControls();
}

void MainWindow::onApplySmartClicked() {
    if (workspace_.CurrentTool != SmartSelectTool)
        return;
    tools_.ApplySmartSelection();
    ShowSmartControls();
}

void MainWindow::onDropSmartTriggered() {
    tools_.DropSmartSelection();
    ShowSmartControls();
}

void MainWindow::ShowSmartControls() {
    applySmartButton->setVisible(workspace_.MaskEditMode &&
                                 workspace_.CurrentTool == SmartSelectTool &&
                                 !workspace_.Smart.Proposal().IsEmpty());
}

void MainWindow::PaintSmartSelection(QPainter& painter, const QRect& repainted) {
    // While the photograph is compared, the comparison alone is seen.
    if (workspace_.CurrentTool != SmartSelectTool || !workspace_.Doc.HasProject() || comparing_)
        return;
    // Only what is seen: a view of a large photograph is far larger than the window.
    const QRect area = repainted & imageView->visibleRegion().boundingRect();
    if (area.isEmpty())
        return;
    const double z = workspace_.ZoomFactor;
    const SmartProposal& proposal = workspace_.Smart.Proposal();
    if (!proposal.IsEmpty() && proposal.Width() == workspace_.Doc.PhotoBitmap.width() &&
        proposal.Height() == workspace_.Doc.PhotoBitmap.height()) {
        // In the hue of the selected layer's mask colour, the rest of the picture dimmed.
        const int row = SelectedLayerRow();
        QColor tint(255, 40, 200);
        if (row > 0 && row < workspace_.Doc.Layers.size()) {
            const Colour c = workspace_.Doc.Layers[row].MaskColour;
            tint = QColor(RedOf(c), GreenOf(c), BlueOf(c));
        }
        painter.drawImage(area.topLeft(),
                          DrawProposal(proposal, workspace_.ViewBitmap, area, float(z), tint));
    }
    if (const SmartStroke* stroke = tools_.StrokeInProgress()) {
        QColor ink = stroke->Include ? QColor(40, 200, 60) : QColor(230, 40, 40);
        ink.setAlpha(170);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(ink, std::max(2.0, 2.0 * stroke->HalfWidth * z), Qt::SolidLine,
                            Qt::RoundCap, Qt::RoundJoin));
        QPolygonF path;
        for (const QPoint& p : stroke->Points)
            path << QPointF((p.x() + 0.5) * z, (p.y() + 0.5) * z);
        if (path.size() == 1)
            painter.drawPoint(path.front());
        else
            painter.drawPolyline(path);
    }
}

void MainWindow::onImageViewDoubleClick(Qt::MouseButton button, int x, int y) {
    // Other tools take the second press of a double click as a press.
    if (workspace_.CurrentTool == ScaleTool && button == Qt::LeftButton)
        tools_.ImageDoubleClick(x, y);
    else
        onImageViewMouseDown(button, x, y);
}

void MainWindow::onLayerScaleMenuShown() {
    layerScaleMenu->clear();
    const int row = SelectedLayerRow();
    const Measurements& measures = workspace_.Doc.Measures;
    if (measures.IsEmpty()) {
        layerScaleMenu->addAction(QStringLiteral("Žádné měřítko (nástroj Měřítko)"))
            ->setEnabled(false);
        return;
    }
    const int chosen = row > 0 ? measures.PlaneOfLayer(workspace_.Doc.Layers[row].Name) : -1;
    for (int i = 0; i < measures.References.size(); ++i) {
        const PlaneReference& reference = measures.References[i];
        const QString size =
            reference.kind == PlaneReference::Kind::Rectangle
                ? QStringLiteral("obdélník %1 × %2 m")
                      .arg(CzechNumber::Format(reference.width, 2),
                           CzechNumber::Format(reference.height, 2))
                : QStringLiteral("úsečka %1 m").arg(CzechNumber::Format(reference.width, 2));
        QAction* action = layerScaleMenu->addAction(
            QStringLiteral("Měřítko %1: %2").arg(QString::number(i + 1), size));
        action->setCheckable(true);
        action->setChecked(i == chosen);
        // "Originál" is never measured: it stands for the pixels of no surface.
        action->setEnabled(row > 0);
        connect(action, &QAction::triggered, this, [this, i] { onLayerScaleChosen(i); });
    }
}

void MainWindow::onLayerScaleChosen(int reference) {
    workspace_.ChangeMeasures(
        [&] { Measuring::ChooseLayerPlane(workspace_.Doc, SelectedLayerRow(), reference); });
}

void MainWindow::onToggleSubordinateTriggered() {
    if (masterChooser_)
        ToggleSubordinate(workspace_, *masterChooser_, SelectedLayerRow());
}

// The saved scheme is the selected one, so that "Přepsat schéma" and "Smazat schéma"
// act on it without a click that would apply it.
void MainWindow::onSaveNewSchemeClicked() {
    const qsizetype before = workspace_.Doc.Schemes.size();
    schemeEditor_.SaveNew();
    if (workspace_.Doc.Schemes.size() > before)
        schemeList->setCurrentRow(int(workspace_.Doc.Schemes.size() - 1));
}

void MainWindow::onOverwriteSchemeClicked() {
    schemeEditor_.Overwrite(schemeList->currentRow());
}

void MainWindow::onDeleteSchemeClicked() {
    schemeEditor_.Delete(schemeList->currentRow());
}

void MainWindow::onRenameSchemeTriggered() {
    schemeEditor_.Rename(schemeList->currentRow());
}

void MainWindow::onSchemeListClicked(int row) {
    schemeEditor_.Apply(row);
}
