#include "palette/ShadeRanking.h"

#include <lcms2.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ShadeRanking {
namespace {

// LittleCMS converts sRGB to XYZ relative to its D50 connection space; the way back
// to the D65 white of sRGB (Bradford, as LittleCMS adapts) is linear, so it is worked
// out once as a matrix from LittleCMS's own adaptation. sRGB is a matrix-shaper
// profile: a colour's XYZ is the sum of the XYZ of its red, green and blue alone
// (black is 0, 0, 0), so LittleCMS converts the 3 × 256 single-channel colours once
// and a list of colours costs three table look-ups and LittleCMS's XYZ to Lab each.
class LabConverter {
public:
    LabConverter() {
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
        cmsHPROFILE xyz = cmsCreateXYZProfile();
        cmsHTRANSFORM transform = cmsCreateTransform(srgb, TYPE_RGB_8, xyz, TYPE_XYZ_DBL,
                                                     INTENT_RELATIVE_COLORIMETRIC, 0);
        cmsCloseProfile(srgb);
        cmsCloseProfile(xyz);
        cmsCIExyY d65;
        cmsWhitePointFromTemp(&d65, 6504); // the white point LittleCMS gives sRGB
        cmsxyY2XYZ(&white_, &d65);
        double toD65[3][3];
        const cmsCIEXYZ axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        for (int column = 0; column < 3; ++column) {
            cmsCIEXYZ adapted;
            cmsAdaptToIlluminant(&adapted, cmsD50_XYZ(), &white_, &axes[column]);
            toD65[0][column] = adapted.X;
            toD65[1][column] = adapted.Y;
            toD65[2][column] = adapted.Z;
        }
        for (int channel = 0; channel < 3; ++channel) {
            for (int value = 0; value < 256; ++value) {
                unsigned char rgb[3] = {0, 0, 0};
                rgb[channel] = static_cast<unsigned char>(value);
                cmsCIEXYZ v;
                cmsDoTransform(transform, rgb, &v, 1);
                table_[channel][value] = {toD65[0][0] * v.X + toD65[0][1] * v.Y + toD65[0][2] * v.Z,
                                          toD65[1][0] * v.X + toD65[1][1] * v.Y + toD65[1][2] * v.Z,
                                          toD65[2][0] * v.X + toD65[2][1] * v.Y +
                                              toD65[2][2] * v.Z};
            }
        }
        cmsDeleteTransform(transform);
    }
    LabConverter(const LabConverter&) = delete;
    LabConverter& operator=(const LabConverter&) = delete;

    Lab Convert(int red, int green, int blue) const {
        const cmsCIEXYZ& r = table_[0][red & 0xFF];
        const cmsCIEXYZ& g = table_[1][green & 0xFF];
        const cmsCIEXYZ& b = table_[2][blue & 0xFF];
        const cmsCIEXYZ xyz{r.X + g.X + b.X, r.Y + g.Y + b.Y, r.Z + g.Z + b.Z};
        cmsCIELab lab;
        cmsXYZ2Lab(&white_, &lab, &xyz);
        return {lab.L, lab.a, lab.b};
    }

private:
    cmsCIEXYZ white_{};
    cmsCIEXYZ table_[3][256]{};
};

const LabConverter& Converter() {
    static const LabConverter converter;
    return converter;
}

// Orders rows by their keys (indexed by row), least first, equal keys in their
// order. A radix sort of 11 bits a pass orders the keys' upper 32 bits, passing over
// digits that all share; rows whose upper bits agree are then put in order by their
// whole keys, which for differences means rows within a millionth of each other.
void StableSortByKey(const std::vector<std::uint64_t>& keys, std::vector<int>& rows) {
    constexpr int Bits = 11;
    constexpr std::uint32_t Buckets = 1u << Bits;
    const std::size_t n = rows.size();
    if (n < 2)
        return;
    std::vector<std::uint32_t> high(n), highOut(n);
    for (std::size_t i = 0; i < n; ++i)
        high[i] = std::uint32_t(keys[std::size_t(rows[i])] >> 32);
    std::vector<int> rowsOut(n);
    std::uint32_t counts[Buckets];
    for (int shift = 0; shift < 32; shift += Bits) {
        std::fill(std::begin(counts), std::end(counts), 0);
        for (std::uint32_t key : high)
            ++counts[(key >> shift) & (Buckets - 1)];
        if (counts[(high[0] >> shift) & (Buckets - 1)] == n)
            continue; // every key has this digit
        std::uint32_t start = 0;
        for (std::uint32_t& c : counts) {
            const std::uint32_t here = c;
            c = start;
            start += here;
        }
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint32_t to = counts[(high[i] >> shift) & (Buckets - 1)]++;
            highOut[to] = high[i];
            rowsOut[to] = rows[i];
        }
        high.swap(highOut);
        rows.swap(rowsOut);
    }
    const auto byWholeKey = [&keys](int a, int b) {
        return keys[std::size_t(a)] < keys[std::size_t(b)];
    };
    for (std::size_t first = 0; first < n;) {
        std::size_t last = first + 1;
        while (last < n && high[last] == high[first])
            ++last;
        if (last - first > 1 &&
            !std::is_sorted(rows.begin() + first, rows.begin() + last, byWholeKey))
            std::stable_sort(rows.begin() + first, rows.begin() + last, byWholeKey);
        first = last;
    }
}

// The difference already worked out for a colour: an open-addressing table of at
// least twice as many slots as colours can come, colour and key side by side.
class DifferenceMemo {
public:
    explicit DifferenceMemo(std::size_t colours) {
        std::size_t size = 16;
        while (size < 2 * colours)
            size *= 2;
        shift_ = 64 - std::countr_zero(size);
        mask_ = size - 1;
        slots_.assign(size, Slot{});
    }
    // The key of a colour; still to be set when isNew.
    std::uint64_t& KeyOf(Colour colour, bool& isNew) {
        const std::uint32_t wanted = std::uint32_t(colour);
        std::size_t i = std::size_t((std::uint64_t(wanted) * 0x9E3779B97F4A7C15ull) >> shift_);
        while (slots_[i].colour != Empty && slots_[i].colour != wanted)
            i = (i + 1) & mask_;
        isNew = slots_[i].colour == Empty;
        slots_[i].colour = wanted;
        return slots_[i].key;
    }

private:
    static constexpr std::uint32_t Empty = 0xFFFFFFFFu; // no colour value has a top byte
    struct Slot {
        std::uint32_t colour = Empty;
        std::uint64_t key = 0;
    };
    std::vector<Slot> slots_;
    int shift_ = 0;
    std::size_t mask_ = 0;
};

cmsCIELab Cms(const Lab& lab) {
    return {lab.L, lab.a, lab.b};
}

} // namespace

Lab ToLab(Colour colour) {
    return Converter().Convert(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

std::vector<Lab> ToLab(const ShadeList& shades) {
    const LabConverter& converter = Converter();
    std::vector<Lab> lab;
    lab.reserve(static_cast<size_t>(shades.size()));
    for (const ShadeRecord& s : shades)
        lab.push_back(converter.Convert(s.red, s.green, s.blue));
    return lab;
}

double DeltaE00(const Lab& first, const Lab& second) {
    const cmsCIELab a = Cms(first), b = Cms(second);
    return cmsCIE2000DeltaE(&a, &b, 1.0, 1.0, 1.0);
}

double DeltaE00(Colour first, Colour second) {
    return DeltaE00(ToLab(first), ToLab(second));
}

QList<int> RankOrder(const ShadeList& shades, Colour reference) {
    const LabConverter& converter = Converter();
    const cmsCIELab centre = Cms(ToLab(reference));
    const std::size_t count = static_cast<std::size_t>(shades.size());
    // Differences are never negative, so their bit patterns order as they do; a shade
    // without colour gets infinity, after every colour. A colour that stands in the
    // list more than once (a shade in several fan decks, shades alike) is converted
    // and compared once.
    constexpr std::uint64_t Last =
        std::bit_cast<std::uint64_t>(std::numeric_limits<double>::infinity());
    DifferenceMemo memo(count);
    std::vector<std::uint64_t> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ShadeRecord& s = shades[qsizetype(i)];
        if (!s.HasColour()) {
            keys[i] = Last;
            continue;
        }
        bool isNew = false;
        std::uint64_t& key = memo.KeyOf(s.ColourValue(), isNew);
        if (isNew) {
            const cmsCIELab value = Cms(converter.Convert(s.red, s.green, s.blue));
            const double deltaE = cmsCIE2000DeltaE(&centre, &value, 1.0, 1.0, 1.0);
            key = std::isnan(deltaE) ? Last : std::bit_cast<std::uint64_t>(deltaE);
        }
        keys[i] = key;
    }
    std::vector<int> rows(count);
    for (std::size_t i = 0; i < count; ++i)
        rows[i] = int(i);
    StableSortByKey(keys, rows);
    return QList<int>(rows.begin(), rows.end());
}

QString DeltaEText(double deltaE) {
    QString number = QString::number(deltaE, 'f', 1);
    number.replace(QLatin1Char('.'), QLatin1Char(','));
    return QStringLiteral("ΔE ") + number;
}

} // namespace ShadeRanking
