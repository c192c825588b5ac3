#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// Sequences of editing steps, done by the program's core (workspace, tools, layer
// and scheme editors, project files) and by the plain model side by side, with
// every check made after every step.
namespace EditingSequence {

enum class Kind {
    Open,
    Import,
    Save,
    Select,
    Pencil,
    Line,
    RightClick,
    ToleranceFill,
    FullFill,
    Pick,
    Undo,
    Redo,
    Zoom,
    MaskMode,
    NewLayer,
    Rename,
    Remove,
    Clear,
    Lock,
    Visibility,
    Subordinate,
    Shade,
    SaveScheme,
    ApplyScheme,
    OverwriteScheme,
    DeleteScheme
};

// What to do, with raw numbers that the run turns into a row, a point, a name or a
// setting against the document as it is at that moment (taken modulo the choices),
// so that a sequence with steps taken out still makes sense. Small numbers pick
// directly: a point (12, 5) is n = {12, 5, ...} when the view is larger.
struct Step {
    Kind kind = Kind::Undo;
    std::array<quint32, 4> n{};
};

std::vector<Step> RandomSteps(quint32 seed, int count);

struct Outcome {
    QString check; // which check failed; empty when every check held
    QString message;
    int failedStep = -1; // index into the steps; -1 for the start
    Kind failedKind = Kind::Open;
    QStringList done; // the steps as they were carried out, the start first

    bool Failed() const { return !check.isEmpty(); }
};

// Opens saved project number start (modulo their count) and runs the steps, in a
// fresh folder and a thread of its own, so that nothing the program keeps between
// calls carries over from an earlier run.
Outcome Run(quint32 start, const std::vector<Step>& steps);

// Takes steps out while the same check still fails after the same kind of step;
// at most maxRuns runs.
std::vector<Step> Shrink(quint32 start, std::vector<Step> steps, const Outcome& failure,
                         int maxRuns);

// The failure with its steps, numbered, for the test's report.
QString Report(const Outcome& outcome);

} // namespace EditingSequence
