#include "workspace/ReferenceTool.h"

#include "project/CzechNumber.h"
#include "project/Measurements.h"
#include "workspace/ErrorGuard.h"
#include "workspace/Prompts.h"
#include "workspace/Workspace.h"

#include <cmath>

const QString ReferenceTool::Caption = QStringLiteral("Měřítko");
const QString ReferenceTool::WidthPrompt =
    QStringLiteral("Skutečná šířka obdélníku v metrech (od 1. ke 2. rohu):");
const QString ReferenceTool::HeightPrompt =
    QStringLiteral("Skutečná výška obdélníku v metrech (od 2. ke 3. rohu):");
const QString ReferenceTool::LengthPrompt = QStringLiteral("Skutečná délka úsečky v metrech:");

ReferenceTool::ReferenceTool(Workspace& workspace, Prompts& prompts)
    : ws_(workspace), prompts_(prompts) {}

bool ReferenceTool::Current() const {
    return project_ == ws_.Doc.ProjectPath;
}

QList<QPointF> ReferenceTool::PendingPoints() const {
    return Current() ? pending_ : QList<QPointF>();
}

void ReferenceTool::Follow() {
    if (Current())
        return;
    pending_.clear();
    taken_.reset();
    project_ = ws_.Doc.ProjectPath;
}

QPointF ReferenceTool::ToPhoto(QPointF view) const {
    return view / double(ws_.ZoomFactor);
}

void ReferenceTool::Changed() {
    if (MarksChanged)
        MarksChanged();
}

std::optional<ReferenceTool::Mark> ReferenceTool::MarkAt(QPointF view) const {
    const double zoom = ws_.ZoomFactor;
    std::optional<Mark> nearest;
    double best = TakeDistance;
    const auto consider = [&](int reference, int point, QPointF at) {
        const QPointF d = at * zoom - view;
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= best) {
            best = distance;
            nearest = Mark{reference, point};
        }
    };
    const QList<PlaneReference>& references = ws_.Doc.Measures.References;
    for (int r = 0; r < references.size(); ++r) {
        for (int p = 0; p < references[r].points.size(); ++p)
            consider(r, p, references[r].points[p]);
    }
    if (Current()) {
        for (int p = 0; p < pending_.size(); ++p)
            consider(Pending, p, pending_[p]);
    }
    return nearest;
}

QList<PlaneReference> ReferenceTool::Shown() const {
    QList<PlaneReference> shown = ws_.Doc.Measures.References;
    if (Current() && taken_ && taken_->reference != Pending && taken_->reference < shown.size() &&
        taken_->point < shown[taken_->reference].points.size())
        shown[taken_->reference].points[taken_->point] = takenAt_;
    return shown;
}

void ReferenceTool::Press(bool right, QPointF view) {
    Follow();
    if (!ws_.Doc.HasProject())
        return;
    const std::optional<Mark> mark = MarkAt(view);
    if (right) {
        taken_.reset();
        if (mark && mark->reference != Pending) {
            Remove(mark->reference);
        } else if (pending_.size() == 2) {
            Finish(PlaneReference::Kind::Length);
        } else if (!pending_.isEmpty()) {
            pending_.clear();
            Changed();
        }
        return;
    }
    if (mark) {
        taken_ = mark;
        takenAt_ = mark->reference == Pending
                       ? pending_[mark->point]
                       : ws_.Doc.Measures.References[mark->reference].points[mark->point];
        moved_ = false;
        return;
    }
    pending_.append(ToPhoto(view));
    Changed();
    if (pending_.size() == 4)
        Finish(PlaneReference::Kind::Rectangle);
}

void ReferenceTool::Move(QPointF view) {
    Follow();
    if (!taken_)
        return;
    takenAt_ = ToPhoto(view);
    moved_ = true;
    if (taken_->reference == Pending && taken_->point < pending_.size())
        pending_[taken_->point] = takenAt_;
    Changed();
}

void ReferenceTool::Release(QPointF view) {
    Follow();
    if (!taken_)
        return;
    if (moved_)
        Move(view);
    const Mark mark = *taken_;
    taken_.reset();
    QList<PlaneReference>& references = ws_.Doc.Measures.References;
    if (!moved_ || mark.reference == Pending || mark.reference >= references.size() ||
        mark.point >= references[mark.reference].points.size())
        return;
    PlaneReference moved = references[mark.reference];
    moved.points[mark.point] = takenAt_;
    // A move that gives no plane is refused: the reference stays where it was.
    RunGuarded(prompts_, [&] {
        ws_.ChangeMeasures([&] { Measuring::ReplaceReference(ws_.Doc, mark.reference, moved); });
    });
    Changed();
}

void ReferenceTool::DoublePress(QPointF view) {
    Follow();
    const std::optional<Mark> mark = MarkAt(view);
    taken_.reset();
    if (mark && mark->reference != Pending)
        EditLengths(mark->reference);
}

void ReferenceTool::Reset() {
    if (pending_.isEmpty() && !taken_)
        return;
    pending_.clear();
    taken_.reset();
    Changed();
}

std::optional<double> ReferenceTool::AskMetres(const QString& prompt, double current) {
    const QString text = prompts_.InputText(
        Caption, prompt, current > 0 ? CzechNumber::Format(current, 3) : QString(), 16);
    if (text.trimmed().isEmpty())
        return std::nullopt;
    std::optional<double> metres;
    RunGuarded(prompts_, [&] { metres = ParseMetres(text); });
    return metres;
}

void ReferenceTool::Finish(PlaneReference::Kind kind) {
    PlaneReference reference;
    reference.kind = kind;
    reference.points = pending_;
    reference.width = reference.height = 1;
    // The marks stay shown while the lengths are asked for, so that the user sees
    // which corner is the first; they go whatever the answers.
    struct Done {
        ReferenceTool& tool;
        ~Done() {
            tool.pending_.clear();
            tool.Changed();
        }
    } done{*this};
    // The marks first: no lengths are asked for corners that make no plane.
    const QSize photo(ws_.Doc.Mask.Width, ws_.Doc.Mask.Height);
    if (!RunGuarded(prompts_, [&] { PlaneOf(reference, photo); }))
        return;
    const bool rectangle = kind == PlaneReference::Kind::Rectangle;
    const std::optional<double> width = AskMetres(rectangle ? WidthPrompt : LengthPrompt, 0);
    if (!width)
        return;
    reference.width = *width;
    if (rectangle) {
        const std::optional<double> height = AskMetres(HeightPrompt, 0);
        if (!height)
            return;
        reference.height = *height;
    } else {
        reference.height = 0;
    }
    RunGuarded(prompts_,
               [&] { ws_.ChangeMeasures([&] { Measuring::AddReference(ws_.Doc, reference); }); });
}

void ReferenceTool::EditLengths(int index) {
    PlaneReference reference = ws_.Doc.Measures.References[index];
    const bool rectangle = reference.kind == PlaneReference::Kind::Rectangle;
    const std::optional<double> width =
        AskMetres(rectangle ? WidthPrompt : LengthPrompt, reference.width);
    if (!width)
        return;
    reference.width = *width;
    if (rectangle) {
        const std::optional<double> height = AskMetres(HeightPrompt, reference.height);
        if (!height)
            return;
        reference.height = *height;
    }
    RunGuarded(prompts_, [&] {
        ws_.ChangeMeasures([&] { Measuring::ReplaceReference(ws_.Doc, index, reference); });
    });
}

void ReferenceTool::Remove(int index) {
    const auto answer = prompts_.Message(QStringLiteral("Smazat měřítko %1?").arg(index + 1),
                                         QStringLiteral("Potvrzení"), Prompts::Icon::Question,
                                         Prompts::Yes | Prompts::No, Prompts::No);
    if (answer != Prompts::Yes)
        return;
    ws_.ChangeMeasures([&] { Measuring::RemoveReference(ws_.Doc, index); });
    Changed();
}
