#pragma once

#include "project/Errors.h"

#include <functional>

// Long work (a photograph read, written or drawn) tells how far it got and learns
// whether the user asked to stop. The windows show a bar with "Zrušit"; the export
// command and most tests pass NoProgress().
class Progress {
public:
    virtual ~Progress() = default;
    // The share of the work done, 0 .. 1. Called on the thread that started the
    // work, as often as every band of rows: an implementation keeps it cheap.
    virtual void Report(double done) = 0;
    // Whether the user asked to stop. Work that checks it ends with Cancelled and
    // leaves the files and the document as they were.
    virtual bool CancelRequested() = 0;
    // Whether anybody watches: unwatched work need not make room for a repaint.
    virtual bool Watched() const { return true; }
};

// Work that stopped because the user asked it to. It carries no message: the user
// knows why it stopped.
class Cancelled : public TintoraError {
public:
    Cancelled() : TintoraError(QString()) {}
};

// Progress that nobody watches (Watched() is false).
Progress& NoProgress();

// A stretch of a larger piece of work: its 0 .. 1 is from .. to of the whole.
class ProgressPart : public Progress {
public:
    ProgressPart(Progress& whole, double from, double to) : whole_(whole), from_(from), to_(to) {}
    void Report(double done) override { whole_.Report(from_ + (to_ - from_) * done); }
    bool CancelRequested() override { return whole_.CancelRequested(); }
    bool Watched() const override { return whole_.Watched(); }

private:
    Progress& whole_;
    double from_, to_;
};

// Reports done, then ends the work with Cancelled when the user asked to stop.
void ReportOrStop(Progress& progress, double done);

// Runs work, one long call that cannot report (a codec decoding a whole picture), on
// a helper thread while this thread keeps reporting done, so that a window can repaint
// meanwhile. What work throws comes out here; a request to stop is honoured (with
// Cancelled) once work has returned. Unwatched, work simply runs on this thread.
void WaitReporting(Progress& progress, double done, const std::function<void()>& work);
// The same, reporting what done() says each time (work may advance it as it goes).
void WaitReporting(Progress& progress, const std::function<double()>& done,
                   const std::function<void()>& work);
