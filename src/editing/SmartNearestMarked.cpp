#include "editing/SmartNearestMarked.h"

namespace {

constexpr float Far = 1e9f;

float Squared(const float* a, const float* b) {
    const float d0 = a[0] - b[0], d1 = a[1] - b[1], d2 = a[2] - b[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

// One of the three nearest-region lists: its distances, their regions, and how a
// distance between two regions is measured.
struct Nearest {
    std::vector<float>& distance;
    std::vector<int>& of;
    const float* (*value)(const SmartPreparation::Region&);
    std::uint8_t mark; // the mark of the regions it looks for
};

const float* Lab(const SmartPreparation::Region& region) {
    return region.Lab;
}

const float* Surroundings(const SmartPreparation::Region& region) {
    return region.Near;
}

// Offers region m to region r: it becomes r's nearest when nearer, or as near and lower.
inline void Offer(const Nearest& n, const SmartPreparation& p, int r, int m) {
    const float d = Squared(n.value(p.Regions[size_t(r)]), n.value(p.Regions[size_t(m)]));
    const size_t i = size_t(r);
    if (d < n.distance[i] || (d == n.distance[i] && n.of[i] >= 0 && m < n.of[i])) {
        n.distance[i] = d;
        n.of[i] = m;
    }
}

std::vector<Nearest> Lists(NearestMarked& nearest) {
    return {{nearest.Colour, nearest.ColourOf, Lab, 1},
            {nearest.Near, nearest.NearOf, Surroundings, 1},
            {nearest.Excluded, nearest.ExcludedOf, Lab, 2}};
}

void Reset(NearestMarked& nearest, int count) {
    for (const Nearest& n : Lists(nearest)) {
        n.distance.assign(size_t(count), Far);
        n.of.assign(size_t(count), -1);
    }
}

} // namespace

NearestMarked FindNearestMarked(const SmartPreparation& p, const std::vector<std::uint8_t>& marks) {
    NearestMarked nearest;
    const int count = p.RegionCount();
    Reset(nearest, count);
    for (const Nearest& n : Lists(nearest)) {
        std::vector<int> marked;
        for (int m = 0; m < count; ++m) {
            if (marks[size_t(m)] == n.mark)
                marked.push_back(m);
        }
        for (int r = 0; r < count; ++r) {
            for (int m : marked)
                Offer(n, p, r, m);
        }
    }
    return nearest;
}

void UpdateNearestMarked(NearestMarked& nearest, const SmartPreparation& p,
                         const std::vector<std::uint8_t>& before,
                         const std::vector<std::uint8_t>& after) {
    const int count = p.RegionCount();
    if (nearest.Colour.size() != size_t(count) || before.size() != size_t(count)) {
        nearest = FindNearestMarked(p, after);
        return;
    }
    for (const Nearest& n : Lists(nearest)) {
        std::vector<int> added, marked;
        std::vector<std::uint8_t> removed(size_t(count), 0);
        bool anyRemoved = false;
        for (int m = 0; m < count; ++m) {
            const bool was = before[size_t(m)] == n.mark, is = after[size_t(m)] == n.mark;
            if (is)
                marked.push_back(m);
            if (is && !was)
                added.push_back(m);
            if (was && !is) {
                removed[size_t(m)] = 1;
                anyRemoved = true;
            }
        }
        // A region whose nearest is no longer marked looks through all that are.
        if (anyRemoved) {
            for (int r = 0; r < count; ++r) {
                if (n.of[size_t(r)] < 0 || !removed[size_t(n.of[size_t(r)])])
                    continue;
                n.distance[size_t(r)] = Far;
                n.of[size_t(r)] = -1;
                for (int m : marked)
                    Offer(n, p, r, m);
            }
        }
        for (int m : added) {
            for (int r = 0; r < count; ++r)
                Offer(n, p, r, m);
        }
    }
}
