#include "project/EndRequest.h"

#include <atomic>

namespace EndRequest {
namespace {

std::atomic<int> noted{0};
static_assert(std::atomic<int>::is_always_lock_free); // a handler may touch it

} // namespace

void Note(int signal) noexcept {
    noted.store(signal, std::memory_order_relaxed);
}

int Signal() noexcept {
    return noted.load(std::memory_order_relaxed);
}

void Clear() noexcept {
    noted.store(0, std::memory_order_relaxed);
}

} // namespace EndRequest
