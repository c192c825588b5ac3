#pragma once

#include "project/PlaneReference.h"

#include <QList>
#include <QPointF>
#include <QRectF>

#include <functional>
#include <optional>

class Prompts;
class QPainter;
class Workspace;

// The tool "Měřítko": marks the references of the photograph's planes. A press adds
// a mark; the fourth asks for the rectangle's width and height and makes a reference
// of it; a right press after two marks asks for the line's length instead. A mark
// can be taken and moved (the reference is checked again when it is let go, and
// stays as it was when it gives no plane); a right press on a mark removes its
// reference after a question, a double press asks for its lengths again. Points are
// in view pixels as the mouse gives them; the document keeps photograph pixels.
class ReferenceTool {
public:
    ReferenceTool(Workspace& workspace, Prompts& prompts);

    // Which mark: the index of a reference (Pending for the marks being placed) and
    // of its point.
    static constexpr int Pending = -1;
    struct Mark {
        int reference = Pending;
        int point = 0;
        bool operator==(const Mark&) const = default;
    };

    // How near (view pixels) a press must come to a mark to take it.
    static constexpr double TakeDistance = 6.0;

    void Press(bool right, QPointF view);
    void DoublePress(QPointF view);
    // With the left button held: a taken mark follows the pointer.
    void Move(QPointF view);
    void Release(QPointF view);
    // Drops the marks being placed and a mark being moved (another tool or project).
    void Reset();

    // The marks being placed (photograph pixels); none once another project is open.
    QList<QPointF> PendingPoints() const;
    std::optional<Mark> MarkAt(QPointF view) const;
    // The references as shown: the document's, with a mark being moved where it is.
    QList<PlaneReference> Shown() const;

    // Called whenever what PaintMarks draws changed.
    std::function<void()> MarksChanged;

    // The prompts' texts.
    static const QString Caption;
    static const QString WidthPrompt;
    static const QString HeightPrompt;
    static const QString LengthPrompt;

private:
    // Whether the marks being placed or moved belong to the open project.
    bool Current() const;
    // Drops them when another project came meanwhile.
    void Follow();
    QPointF ToPhoto(QPointF view) const;
    void Changed();
    void Finish(PlaneReference::Kind kind);
    // Asks for a length; none when the user cancelled or typed no length (told why).
    std::optional<double> AskMetres(const QString& prompt, double current);
    void EditLengths(int reference);
    void Remove(int reference);

    Workspace& ws_;
    Prompts& prompts_;
    QList<QPointF> pending_;
    std::optional<Mark> taken_;
    QPointF takenAt_; // where the taken mark is now, photograph pixels
    bool moved_ = false;
    QString project_;
};

// Draws the references and the marks being placed over the view at zoom (view
// pixels): each reference's outline with its number, a square on every mark.
void PaintReferenceMarks(QPainter& painter, const QList<PlaneReference>& references,
                         const QList<QPointF>& pending, double zoom);
