#pragma once

#include "project/LayerRecord.h"
#include "project/SchemeRecord.h"

#include <QImage>
#include <cstdint>
#include <list>
#include <vector>

// A deliberately plain reference of mask editing, written from the rules of the
// tools, the layer list, the schemes and the history rather than from the
// program's code: the mask is one byte per pixel, the fill a breadth-first search,
// the history a list of whole copies. Slow and obvious on purpose, so that the
// sequence test can hold the program's fast code against it.
namespace Plain {

// The layer of every pixel, row after row.
struct PixelMask {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;

    static PixelMask Blank(int width, int height);
    std::uint8_t At(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
    std::uint8_t& At(int x, int y) { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
    bool operator==(const PixelMask&) const = default;
};

struct Document {
    QString Path;
    QImage Photo; // Format_BGR888
    PixelMask Mask;
    LayerList Layers;
    SchemeList Schemes;
};

// The record of "Originál" as a new document holds it, and a layer the dialog adds.
LayerRecord OriginalLayer();
LayerRecord NewLayer(const QString& name, Colour real, Colour mask);

// The layer whose colours and flags the pixels of layer i take: when i is
// subordinate, the last layer other than i itself whose name equals i's master
// name; otherwise, or when there is none, i. Only one level is followed.
int EffectiveLayer(const LayerList& layers, int i);

// Whether pixels of the layer are protected (the layer's own Locked flag).
bool IsLocked(const LayerList& layers, int layer);

// Mean channel difference, integer division.
int Distance(Colour a, Colour b);

// The editing operations, each as the rule states it.
void PaintSpan(Document& doc, int y, int x1, int x2, int layer);
void PaintBrush(Document& doc, int px, int py, int thickness, int layer);
void PaintThickLine(Document& doc, int ax, int ay, int px, int py, int thickness, int layer);
// The picture as shown at a whole zoom factor (1 or 2), in or outside mask mode.
QImage Render(const Document& doc, bool maskMode, int zoom);
// Whether the picture shows a pixel of the layer in a colour of the layer's (its
// master's mask colour or shade) rather than the photograph's.
bool ShownInLayerColour(const Document& doc, bool maskMode, int layer);
// The tolerance or full fill at image pixel (px, py), over the picture as shown at
// zoom 1 (Render of the document before the fill, in or outside mask mode).
void Fill(Document& doc, const QImage& shown, bool maskMode, int px, int py, int tolerance,
          int layer);
void CleanLayer(Document& doc, int row);
void RemoveLayer(Document& doc, int row);
void ApplyScheme(Document& doc, const SchemeRecord& scheme);

// The undo history as the worked sequence of undo and redo tells it: a chain of
// whole-mask snapshots, a cursor for undo, one for redo, and whether the present
// mask is already held by a snapshot.
class History {
public:
    struct Anchor {
        int x = -1;
        int y = -1;
    };

    void PushUndo(const PixelMask& present, Anchor anchor);
    void MarkPresentChanged() { presentInHistory_ = false; }
    // Both restore into mask and anchor; false when nothing happens.
    bool Undo(PixelMask& mask, Anchor& anchor);
    bool Redo(PixelMask& mask, Anchor& anchor);
    void Clear();

    int NodeCount() const { return int(nodes_.size()); }
    int CurrentIndex() const { return IndexOf(undoCurrent_); }
    int RedoIndex() const { return IndexOf(redoNext_); }
    bool PresentInHistory() const { return presentInHistory_; }

private:
    struct Node {
        PixelMask Snapshot;
        Anchor SavedAnchor;
    };
    using Link = std::list<Node>::iterator;

    int IndexOf(Link link) const;
    bool HasPrev(Link link) const { return link != nodes_.begin(); }
    bool HasNext(Link link) const { return std::next(link) != nodes_.end(); }

    std::list<Node> nodes_; // oldest first
    Link undoCurrent_ = nodes_.end();
    Link redoNext_ = nodes_.end();
    bool presentInHistory_ = false;
};

} // namespace Plain
