#include "render/ParallelRows.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

void ForRowsInParallel(int first, int last, int parts, const std::function<void(int, int)>& work) {
    const int rows = last - first + 1;
    if (rows <= 0)
        return;
    parts = std::clamp(parts, 1, rows);
    std::vector<std::thread> helpers;
    helpers.reserve(size_t(parts - 1));
    for (int part = 1; part < parts; ++part) {
        const int a = first + int(static_cast<long long>(rows) * part / parts);
        const int b = first + int(static_cast<long long>(rows) * (part + 1) / parts) - 1;
        try {
            helpers.emplace_back(work, a, b);
        } catch (const std::system_error&) {
            work(a, b); // no thread to be had: this part on the calling thread
        }
    }
    work(first, first + rows / parts - 1);
    for (std::thread& helper : helpers)
        helper.join();
}

int PixelThreads() {
    static const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, 8);
    return threads;
}
