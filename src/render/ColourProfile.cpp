#include "render/ColourProfile.h"

#include "render/ParallelRows.h"

#include <lcms2.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

const QString DamagedNote =
    QStringLiteral("Barevný profil fotografie je poškozený; barvy jsou převzaty bez převodu.");
const QString UnfitNote = QStringLiteral(
    "Barevný profil fotografie neodpovídá jejím barvám; barvy jsou převzaty bez převodu.");

struct ProfileCloser {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;
struct TransformDeleter {
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};
using Transform = std::unique_ptr<void, TransformDeleter>;

// Below this many pixels the rows are converted on the calling thread alone.
constexpr qint64 ParallelPixels = 1 << 19;

void ForEveryRow(QImage& picture, const std::function<void(uchar* row, int width)>& convert) {
    uchar* bits = picture.bits(); // detached here, once, not by the threads
    const size_t stride = size_t(picture.bytesPerLine());
    const int width = picture.width();
    const int parts = qint64(width) * picture.height() >= ParallelPixels ? PixelThreads() : 1;
    ForRowsInParallel(0, picture.height() - 1, parts, [&](int top, int bottom) {
        for (int y = top; y <= bottom; ++y)
            convert(bits + size_t(y) * stride, width);
    });
}

// sRGB's primaries and white with a straight tone curve: the linear light of sRGB.
Profile LinearSrgb() {
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    const cmsCIExyYTRIPLE primaries = {
        {0.6400, 0.3300, 1.0}, {0.3000, 0.6000, 1.0}, {0.1500, 0.0600, 1.0}};
    cmsToneCurve* straight = cmsBuildGamma(nullptr, 1.0);
    cmsToneCurve* curves[3] = {straight, straight, straight};
    Profile profile(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(straight);
    return profile;
}

// sRGB's 8 bits of every light 0..scale of sRGB's linear light, from sRGB's own tone
// curves reversed by LittleCMS. The levels rise with the light, so each channel needs
// only where its 256 levels start, found by halving; rounded as LittleCMS rounds a
// float to 8 bits.
std::array<std::vector<uchar>, 3> SrgbLevelsOfLight(std::int32_t scale) {
    const Profile srgb(cmsCreate_sRGBProfile());
    const cmsTagSignature tags[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    std::array<std::vector<uchar>, 3> levels;
    const cmsToneCurve* done[3] = {};
    for (int k = 0; k < 3; ++k) {
        const auto* curve = static_cast<const cmsToneCurve*>(cmsReadTag(srgb.get(), tags[k]));
        done[k] = curve;
        // The three channels usually share one curve: worked out once.
        const int same = int(std::find(done, done + k, curve) - done);
        if (same < k) {
            levels[size_t(k)] = levels[size_t(same)];
            continue;
        }
        std::unique_ptr<cmsToneCurve, decltype(&cmsFreeToneCurve)> reversed(
            cmsReverseToneCurve(curve), &cmsFreeToneCurve);
        const auto level = [&](std::int32_t light) {
            const double v =
                double(cmsEvalToneCurveFloat(reversed.get(), float(double(light) / scale)));
            return int(std::clamp(std::floor(v * 255.0 + 0.5), 0.0, 255.0));
        };
        std::vector<uchar>& table = levels[size_t(k)];
        table.resize(size_t(scale) + 1);
        int current = level(0);
        std::int32_t from = 0; // the first light of current
        for (;;) {
            // The first light of a higher level lies in (low, high]; scale + 1 when
            // there is none.
            std::int32_t low = from, high = scale + 1;
            while (current < 255 && high - low > 1) {
                const std::int32_t middle = low + (high - low) / 2;
                (level(middle) > current ? high : low) = middle;
            }
            std::fill(table.begin() + from, table.begin() + high, uchar(current));
            if (high > scale)
                break;
            current = level(high);
            from = high;
        }
    }
    return levels;
}

// A profile of tone curves and a matrix (Display P3, Adobe RGB, a camera's sRGB)
// turns each channel into light on its own and mixes the three linearly. LittleCMS
// works out the three lights of each channel's 256 values; the pixels then need three
// look-ups of their mixed lights, added at once: each entry packs the red, green and
// blue light into fields of a 64-bit word, raised to be never negative so that no
// field carries into the next, and each field of the sum indexes a table of sRGB's
// levels (below black and above white included).
class MatrixShaperConversion {
public:
    enum class Outcome { Built, NoTransform, OutOfReach };

    Outcome Build(cmsHPROFILE source) {
        const Profile linear = LinearSrgb();
        if (!linear)
            return Outcome::NoTransform;
        const Transform toLight(cmsCreateTransform(source, TYPE_RGB_FLT, linear.get(), TYPE_RGB_FLT,
                                                   INTENT_PERCEPTUAL,
                                                   cmsFLAGS_NOCACHE | cmsFLAGS_NOOPTIMIZE));
        if (!toLight)
            return Outcome::NoTransform;
        // The lights of each channel alone, from 0 to 255; the light of black once.
        std::vector<float> in(size_t(3 * 256 + 1) * 3, 0.0f), out(in.size());
        for (int channel = 0; channel < 3; ++channel)
            for (int v = 0; v < 256; ++v)
                in[size_t(channel * 256 + v) * 3 + size_t(channel)] = float(v / 255.0);
        cmsDoTransform(toLight.get(), in.data(), out.data(), 3 * 256 + 1);
        const float* black = out.data() + size_t(3 * 256) * 3;
        std::array<std::array<std::array<std::int32_t, 3>, 256>, 3> mix{};
        for (int channel = 0; channel < 3; ++channel) {
            for (int v = 0; v < 256; ++v) {
                const float* light = out.data() + size_t(channel * 256 + v) * 3;
                for (int k = 0; k < 3; ++k) {
                    // Black's light is counted once, in the red table.
                    const double mixed = light[k] - black[k] + (channel == 0 ? black[k] : 0.0);
                    if (!std::isfinite(mixed) || std::abs(mixed) > FieldRange / 8)
                        return Outcome::OutOfReach;
                    mix[size_t(channel)][size_t(v)][size_t(k)] =
                        std::int32_t(std::lround(mixed * Scale));
                }
            }
        }
        const std::array<std::vector<uchar>, 3> levels = SrgbLevelsOfLight(Scale);
        packed_ = {};
        for (int k = 0; k < 3; ++k) {
            // Each channel's table is raised by its least light; the sum's field then
            // counts from the least light of all three together.
            std::int64_t least = 0, most = 0;
            for (int channel = 0; channel < 3; ++channel) {
                const auto& table = mix[size_t(channel)];
                const auto [low, high] = std::minmax_element(
                    table.begin(), table.end(),
                    [k](const auto& a, const auto& b) { return a[size_t(k)] < b[size_t(k)]; });
                const std::int32_t raise = -(*low)[size_t(k)];
                least -= raise;
                most += (*high)[size_t(k)];
                for (int v = 0; v < 256; ++v)
                    packed_[size_t(channel)][size_t(v)] |=
                        std::uint64_t(table[size_t(v)][size_t(k)] + raise) << (FieldBits * k);
            }
            std::vector<uchar>& encode = encode_[size_t(k)];
            encode.resize(size_t(most - least + 1));
            for (size_t i = 0; i < encode.size(); ++i)
                encode[i] =
                    levels[size_t(k)]
                          [size_t(std::clamp<std::int64_t>(least + std::int64_t(i), 0, Scale))];
        }
        return Outcome::Built;
    }

    // Whether every colour comes out as it went in (an sRGB profile): tried on each
    // channel alone and on the greys.
    bool Identity() const {
        for (int v = 0; v < 256; ++v) {
            uchar greys[3] = {uchar(v), uchar(v), uchar(v)};
            ConvertRow(greys, 1);
            if (greys[0] != v || greys[1] != v || greys[2] != v)
                return false;
            for (int channel = 0; channel < 3; ++channel) {
                uchar bgr[3] = {0, 0, 0};
                bgr[2 - channel] = uchar(v);
                uchar out[3] = {bgr[0], bgr[1], bgr[2]};
                ConvertRow(out, 1);
                if (std::memcmp(out, bgr, 3) != 0)
                    return false;
            }
        }
        return true;
    }

    // A row of blue, green, red pixels. The tables are read through local pointers and
    // each pixel is stored only after all three of its channels are worked out: a store
    // through uchar* may alias anything, and would make the compiler read the tables'
    // addresses again.
    void ConvertRow(uchar* row, int width) const {
        const std::uint64_t* red = packed_[0].data();
        const std::uint64_t* green = packed_[1].data();
        const std::uint64_t* blue = packed_[2].data();
        const uchar* encodeRed = encode_[0].data();
        const uchar* encodeGreen = encode_[1].data();
        const uchar* encodeBlue = encode_[2].data();
        for (int x = 0; x < width; ++x, row += 3) {
            const std::uint64_t light = red[row[2]] + green[row[1]] + blue[row[0]];
            const uchar outBlue = encodeBlue[light >> (2 * FieldBits)];
            const uchar outGreen = encodeGreen[(light >> FieldBits) & FieldMask];
            const uchar outRed = encodeRed[light & FieldMask];
            row[0] = outBlue;
            row[1] = outGreen;
            row[2] = outRed;
        }
    }

private:
    static constexpr std::int32_t Scale = 65535; // the light 1.0
    static constexpr int FieldBits = 21;
    static constexpr std::uint64_t FieldMask = (std::uint64_t(1) << FieldBits) - 1;
    // Lights a field holds, in units of 1.0: three entries of at most an eighth of it
    // each way, raised, stay inside.
    static constexpr double FieldRange = double(FieldMask) / Scale;
    // packed_[channel][value]: the red, green and blue light of one channel's value.
    std::array<std::array<std::uint64_t, 256>, 3> packed_{};
    std::array<std::vector<uchar>, 3> encode_; // sRGB's level of each field's value
};

using RowConversion = std::function<void(uchar* row, int width)>;

// A grey profile: one table from the grey value to sRGB's red, green and blue.
RowConversion GreyConversion(cmsHPROFILE source) {
    const Profile srgb(cmsCreate_sRGBProfile());
    const Transform transform(cmsCreateTransform(source, TYPE_GRAY_8, srgb.get(), TYPE_RGB_8,
                                                 INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE));
    if (!transform)
        return {};
    uchar greys[256];
    auto rgb = std::make_shared<std::array<uchar, 256 * 3>>();
    for (int v = 0; v < 256; ++v)
        greys[v] = uchar(v);
    cmsDoTransform(transform.get(), greys, rgb->data(), 256);
    // A grey picture holds its grey in every channel: each channel takes its own.
    return [rgb](uchar* row, int width) {
        const uchar* table = rgb->data();
        for (int x = 0; x < width; ++x, row += 3) {
            row[0] = table[row[0] * 3 + 2];
            row[1] = table[row[1] * 3 + 1];
            row[2] = table[row[2] * 3 + 0];
        }
    };
}

// Any other colour profile: LittleCMS's own transform on every row. Extra flags such
// as cmsFLAGS_NOOPTIMIZE keep lights far outside sRGB from overflowing the fixed-point
// matrix that LittleCMS would otherwise put in the transform.
RowConversion TransformConversion(cmsHPROFILE source, cmsUInt32Number flags = 0) {
    const Profile srgb(cmsCreate_sRGBProfile());
    void* made = cmsCreateTransform(source, TYPE_BGR_8, srgb.get(), TYPE_BGR_8, INTENT_PERCEPTUAL,
                                    cmsFLAGS_NOCACHE | flags);
    if (!made)
        return {};
    const std::shared_ptr<void> transform(made, TransformDeleter());
    return [transform](uchar* row, int width) {
        cmsDoTransform(transform.get(), row, row, cmsUInt32Number(width));
    };
}

// The conversion of an RGB or grey profile; empty when LittleCMS cannot make one.
// identity tells a profile that changes no colour (sRGB's own).
RowConversion ConversionOf(cmsHPROFILE source, bool& identity) {
    identity = false;
    const cmsColorSpaceSignature space = cmsGetColorSpace(source);
    if (space == cmsSigGrayData)
        return GreyConversion(source);
    if (!cmsIsMatrixShaper(source))
        return TransformConversion(source);
    auto conversion = std::make_shared<MatrixShaperConversion>();
    switch (conversion->Build(source)) {
    case MatrixShaperConversion::Outcome::Built:
        identity = conversion->Identity();
        return [conversion](uchar* row, int width) { conversion->ConvertRow(row, width); };
    case MatrixShaperConversion::Outcome::OutOfReach:
        return TransformConversion(source, cmsFLAGS_NOOPTIMIZE);
    case MatrixShaperConversion::Outcome::NoTransform:
        break;
    }
    return {};
}

// The widest spread of one channel over the pixels.
int Spread(const std::vector<uchar>& bgr) {
    int spread = 0;
    for (size_t k = 0; k < 3; ++k) {
        int low = 255, high = 0;
        for (size_t i = k; i < bgr.size(); i += 3) {
            low = std::min<int>(low, bgr[i]);
            high = std::max<int>(high, bgr[i]);
        }
        spread = std::max(spread, high - low);
    }
    return spread;
}

// Whether the conversion takes the photograph's many colours to (almost) one: a
// profile of a zero or negative matrix, a gamma of 0 or a flat tone curve would
// black or white the photograph out. Tried on a grid of its pixels.
bool ToOneColour(const QImage& picture, const RowConversion& convert) {
    constexpr int Samples = 64;
    std::vector<uchar> bgr;
    bgr.reserve(size_t(Samples * Samples * 3));
    const int w = picture.width(), h = picture.height();
    for (int j = 0; j < std::min(Samples, h); ++j) {
        const uchar* row =
            picture.constScanLine(int((2 * qint64(j) + 1) * h / (2 * std::min(Samples, h))));
        for (int i = 0; i < std::min(Samples, w); ++i) {
            const uchar* pixel = row + 3 * ((2 * qint64(i) + 1) * w / (2 * std::min(Samples, w)));
            bgr.insert(bgr.end(), pixel, pixel + 3);
        }
    }
    if (Spread(bgr) < 32)
        return false; // a picture of one colour has nothing to lose
    convert(bgr.data(), int(bgr.size() / 3));
    return Spread(bgr) <= 4;
}

} // namespace

QString ConvertToSrgb(QImage& picture, const QByteArray& profile, bool profileDamaged,
                      Progress& progress) {
    if (profileDamaged)
        return DamagedNote;
    if (profile.isEmpty() || picture.isNull())
        return {};
    Q_ASSERT(picture.format() == QImage::Format_BGR888);
    ReportOrStop(progress, 0.0);
    const Profile source(
        cmsOpenProfileFromMem(profile.constData(), cmsUInt32Number(profile.size())));
    if (!source)
        return DamagedNote;
    const cmsColorSpaceSignature space = cmsGetColorSpace(source.get());
    if (space != cmsSigRgbData && space != cmsSigGrayData)
        return UnfitNote;
    bool identity = false;
    const RowConversion convert = ConversionOf(source.get(), identity);
    // A profile that would leave one colour is as good as damaged.
    if (!convert || ToOneColour(picture, convert))
        return DamagedNote;
    if (!identity)
        ForEveryRow(picture, convert);
    ReportOrStop(progress, 1.0);
    return {};
}
