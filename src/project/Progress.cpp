#include "project/Progress.h"

#include <chrono>
#include <exception>
#include <future>
#include <system_error>
#include <thread>

namespace {

class Unwatched : public Progress {
public:
    void Report(double) override {}
    bool CancelRequested() override { return false; }
    bool Watched() const override { return false; }
};

} // namespace

Progress& NoProgress() {
    static Unwatched none;
    return none;
}

void ReportOrStop(Progress& progress, double done) {
    progress.Report(done);
    if (progress.CancelRequested())
        throw Cancelled();
}

void WaitReporting(Progress& progress, double done, const std::function<void()>& work) {
    WaitReporting(
        progress, [done] { return done; }, work);
}

void WaitReporting(Progress& progress, const std::function<double()>& done,
                   const std::function<void()>& work) {
    ReportOrStop(progress, done());
    if (!progress.Watched()) {
        work();
        return;
    }
    std::packaged_task<void()> task(work);
    std::future<void> finished = task.get_future();
    std::thread helper;
    try {
        helper = std::thread(std::move(task));
    } catch (const std::system_error&) {
        work(); // no thread to be had: the window waits
        ReportOrStop(progress, done());
        return;
    }
    using namespace std::chrono_literals;
    while (finished.wait_for(40ms) != std::future_status::ready)
        progress.Report(done());
    helper.join();
    finished.get(); // what work threw
    ReportOrStop(progress, done());
}
