#pragma once

#include "overview/Proposal.h"
#include "project/Document.h"

#include <QImage>
#include <QWidget>

class QLabel;
class QListWidget;
class TGlintImage;

// One pane of the scheme comparison: the scheme's name with its apply button above,
// the whole picture coloured by the scheme (at the zoom and scroll the window gives
// every pane alike), and the scheme's shades under it.
class ComparisonPane : public QWidget {
    Q_OBJECT
public:
    ComparisonPane(const Document& doc, QWidget* parent = nullptr);

    // What the pane shows: a scheme's name, its layers over the document's photograph
    // and the rows of its shades.
    void Show(const QString& name, const LayerList& layers, const QList<ProposalRow>& shades);
    // The picture at zoom, its top-left corner at scroll (pane pixels of the picture
    // at that zoom; negative to centre a picture smaller than the pane).
    void SetView(float zoom, QPoint scroll);
    float Zoom() const { return zoom_; }
    QPoint Scroll() const { return scroll_; }
    // The size of the picture's area.
    QSize PictureSize() const;
    // The pixels the picture's area shows now, drawn as painting draws them.
    QImage PictureShown();

    QLabel* nameLabel = nullptr;
    TGlintImage* applyButton = nullptr;
    QWidget* picture = nullptr;
    QListWidget* shadeList = nullptr;

signals:
    // The user dragged the picture by delta (pane pixels), or turned the wheel over
    // anchor (pane pixels from the picture area's corner) to zoom in or out.
    void Dragged(QPoint delta);
    void Wheeled(QPoint anchor, bool in);
    void ApplyClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class PanePicture;
    void Arrange();

    const Document& doc_;
    QString name_;
    LayerList layers_;
    float zoom_ = 1.0f;
    QPoint scroll_;
    // The last picture drawn and what it showed: drawn again only when that changes.
    QImage drawn_;
    QRect drawnArea_;
    float drawnZoom_ = 0.0f;
};
