#include "render/ShadeTableCache.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// As many tables as a project has layers (9 KB each); the least recently used goes.
constexpr size_t KeptTables = 256;

struct Entry {
    Colour Shade;
    Colour Real;
    std::shared_ptr<const ShadeTable> Table;
};

std::mutex guard;
std::vector<Entry> entries; // most recently used last

} // namespace

std::shared_ptr<const ShadeTable> ShadeTableFor(Colour shade, Colour real) {
    {
        const std::lock_guard lock(guard);
        const auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
            return e.Shade == shade && e.Real == real;
        });
        if (found != entries.end()) {
            std::rotate(found, found + 1, entries.end());
            return entries.back().Table;
        }
    }
    // Made outside the lock: two threads may both make one; either is the same table.
    auto table = std::make_shared<const ShadeTable>(ShadeTable::For(shade, real));
    const std::lock_guard lock(guard);
    if (entries.size() >= KeptTables)
        entries.erase(entries.begin());
    entries.push_back({shade, real, table});
    return table;
}
