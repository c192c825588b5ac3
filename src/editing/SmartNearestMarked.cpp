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

// Offers every region of marked (ascending) to every region, as Offer does one pair at a
// time: the marked regions' values laid out channel by channel, so that the distances
// of one region to all of them are computed in vectors.
void OfferAll(const Nearest& n, const SmartPreparation& p, const std::vector<int>& marked) {
    const size_t k = marked.size();
    if (k == 0)
        return;
    std::vector<float> values(3 * k);
    for (size_t j = 0; j < k; ++j) {
        const float* v = n.value(p.Regions[size_t(marked[j])]);
        for (size_t c = 0; c < 3; ++c)
            values[c * k + j] = v[c];
    }
    const float* v0 = values.data();
    const float* v1 = v0 + k;
    const float* v2 = v1 + k;
    std::vector<float> d(k);
    const int count = p.RegionCount();
    for (int r = 0; r < count; ++r) {
        const float* own = n.value(p.Regions[size_t(r)]);
        const float o0 = own[0], o1 = own[1], o2 = own[2];
        for (size_t j = 0; j < k; ++j) {
            const float a = o0 - v0[j], b = o1 - v1[j], c = o2 - v2[j];
            d[j] = a * a + b * b + c * c;
        }
        const size_t i = size_t(r);
        float best = n.distance[i];
        int of = n.of[i];
        for (size_t j = 0; j < k; ++j) {
            if (d[j] < best || (d[j] == best && of >= 0 && marked[j] < of)) {
                best = d[j];
                of = marked[j];
            }
        }
        n.distance[i] = best;
        n.of[i] = of;
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
        OfferAll(n, p, marked);
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
        OfferAll(n, p, added);
    }
}
