#include "render/ColourProfile.h"

#include "render/ParallelRows.h"

#include <lcms2.h>

#include <algorithm>
#include <array>
#include <cmath>
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

// A profile of tone curves and a matrix (Display P3, Adobe RGB, a camera's sRGB)
// turns each channel into light on its own and mixes the three linearly, so the
// whole conversion is three tables of 256 mixed lights and one table from light to
// sRGB's 8 bits. LittleCMS works out every entry; the pixels then need only
// look-ups and additions.
class MatrixShaperConversion {
public:
    // False when LittleCMS cannot make the transforms.
    bool Build(cmsHPROFILE source) {
        const Profile linear = LinearSrgb();
        const Profile srgb(cmsCreate_sRGBProfile());
        if (!linear || !srgb)
            return false;
        const Transform toLight(cmsCreateTransform(source, TYPE_RGB_FLT, linear.get(), TYPE_RGB_FLT,
                                                   INTENT_PERCEPTUAL,
                                                   cmsFLAGS_NOCACHE | cmsFLAGS_NOOPTIMIZE));
        const Transform fromLight(cmsCreateTransform(linear.get(), TYPE_RGB_FLT, srgb.get(),
                                                     TYPE_RGB_8, INTENT_PERCEPTUAL,
                                                     cmsFLAGS_NOCACHE));
        if (!toLight || !fromLight)
            return false;
        // The lights of each channel alone, from 0 to 255; the light of black once.
        std::vector<float> in(size_t(3 * 256 + 1) * 3, 0.0f), out(in.size());
        for (int channel = 0; channel < 3; ++channel)
            for (int v = 0; v < 256; ++v)
                in[size_t(channel * 256 + v) * 3 + size_t(channel)] = float(v / 255.0);
        cmsDoTransform(toLight.get(), in.data(), out.data(), 3 * 256 + 1);
        const float* black = out.data() + size_t(3 * 256) * 3;
        for (int channel = 0; channel < 3; ++channel) {
            for (int v = 0; v < 256; ++v) {
                const float* light = out.data() + size_t(channel * 256 + v) * 3;
                for (int k = 0; k < 3; ++k) {
                    // Black's light is counted once, in the red table.
                    const double mixed = light[k] - black[k] + (channel == 0 ? black[k] : 0.0);
                    mix_[channel][v][k] = std::int32_t(std::lround(mixed * Scale));
                }
            }
        }
        std::vector<float> lights(size_t(Scale + 1) * 3);
        for (int i = 0; i <= Scale; ++i)
            std::fill_n(lights.begin() + i * 3, 3, float(double(i) / Scale));
        std::vector<uchar> encoded(size_t(Scale + 1) * 3);
        cmsDoTransform(fromLight.get(), lights.data(), encoded.data(), Scale + 1);
        for (int i = 0; i <= Scale; ++i)
            for (int k = 0; k < 3; ++k)
                encode_[k][size_t(i)] = encoded[size_t(i) * 3 + size_t(k)];
        return true;
    }

    // Whether every colour comes out as it went in (an sRGB profile): tried on each
    // channel alone and on the greys.
    bool Identity() const {
        for (int v = 0; v < 256; ++v) {
            const uchar greys[3] = {uchar(v), uchar(v), uchar(v)};
            uchar out[3];
            Convert(greys, out);
            if (out[0] != v || out[1] != v || out[2] != v)
                return false;
            for (int channel = 0; channel < 3; ++channel) {
                uchar bgr[3] = {0, 0, 0};
                bgr[2 - channel] = uchar(v);
                Convert(bgr, out);
                for (int k = 0; k < 3; ++k)
                    if (out[k] != bgr[k])
                        return false;
            }
        }
        return true;
    }

    // One pixel, blue, green, red.
    void Convert(const uchar* bgr, uchar* out) const {
        const auto& r = mix_[0][bgr[2]];
        const auto& g = mix_[1][bgr[1]];
        const auto& b = mix_[2][bgr[0]];
        for (int k = 0; k < 3; ++k) {
            const std::int32_t light = std::clamp(r[k] + g[k] + b[k], 0, Scale);
            out[2 - k] = encode_[k][size_t(light)];
        }
    }

    // The tables are read through local pointers and each pixel is stored only after
    // all three of its channels are worked out: a store through uchar* may alias
    // anything, and would make the compiler read the tables' addresses again.
    void ConvertRow(uchar* row, int width) const {
        const auto* red = mix_[0].data();
        const auto* green = mix_[1].data();
        const auto* blue = mix_[2].data();
        const uchar* encodeRed = encode_[0].data();
        const uchar* encodeGreen = encode_[1].data();
        const uchar* encodeBlue = encode_[2].data();
        for (int x = 0; x < width; ++x, row += 3) {
            const auto& r = red[row[2]];
            const auto& g = green[row[1]];
            const auto& b = blue[row[0]];
            const std::int32_t lightRed = std::clamp(r[0] + g[0] + b[0], 0, Scale);
            const std::int32_t lightGreen = std::clamp(r[1] + g[1] + b[1], 0, Scale);
            const std::int32_t lightBlue = std::clamp(r[2] + g[2] + b[2], 0, Scale);
            const uchar outBlue = encodeBlue[lightBlue];
            const uchar outGreen = encodeGreen[lightGreen];
            const uchar outRed = encodeRed[lightRed];
            row[0] = outBlue;
            row[1] = outGreen;
            row[2] = outRed;
        }
    }

private:
    static constexpr std::int32_t Scale = 65535; // the light 1.0
    // mix_[channel][value]: the red, green and blue light of one channel's value.
    std::array<std::array<std::array<std::int32_t, 3>, 256>, 3> mix_{};
    std::array<std::vector<uchar>, 3> encode_{std::vector<uchar>(Scale + 1),
                                              std::vector<uchar>(Scale + 1),
                                              std::vector<uchar>(Scale + 1)};
};

// A grey profile: one table from the grey value to sRGB's red, green and blue.
bool ConvertGrey(QImage& picture, cmsHPROFILE source) {
    const Profile srgb(cmsCreate_sRGBProfile());
    const Transform transform(cmsCreateTransform(source, TYPE_GRAY_8, srgb.get(), TYPE_RGB_8,
                                                 INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE));
    if (!transform)
        return false;
    uchar greys[256], rgb[256 * 3];
    for (int v = 0; v < 256; ++v)
        greys[v] = uchar(v);
    cmsDoTransform(transform.get(), greys, rgb, 256);
    // A grey picture holds its grey in every channel: each channel takes its own.
    ForEveryRow(picture, [&rgb](uchar* row, int width) {
        for (int x = 0; x < width; ++x, row += 3) {
            row[0] = rgb[row[0] * 3 + 2];
            row[1] = rgb[row[1] * 3 + 1];
            row[2] = rgb[row[2] * 3 + 0];
        }
    });
    return true;
}

// Any other colour profile: LittleCMS's own transform on every row.
bool ConvertThroughTransform(QImage& picture, cmsHPROFILE source) {
    const Profile srgb(cmsCreate_sRGBProfile());
    const Transform transform(cmsCreateTransform(source, TYPE_BGR_8, srgb.get(), TYPE_BGR_8,
                                                 INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE));
    if (!transform)
        return false;
    ForEveryRow(picture, [&transform](uchar* row, int width) {
        cmsDoTransform(transform.get(), row, row, cmsUInt32Number(width));
    });
    return true;
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
    bool converted = false;
    const cmsColorSpaceSignature space = cmsGetColorSpace(source.get());
    if (space == cmsSigRgbData && cmsIsMatrixShaper(source.get())) {
        auto conversion = std::make_unique<MatrixShaperConversion>();
        converted = conversion->Build(source.get());
        if (converted && !conversion->Identity())
            ForEveryRow(picture, [&conversion](uchar* row, int width) {
                conversion->ConvertRow(row, width);
            });
    } else if (space == cmsSigRgbData) {
        converted = ConvertThroughTransform(picture, source.get());
    } else if (space == cmsSigGrayData) {
        converted = ConvertGrey(picture, source.get());
    } else {
        return UnfitNote;
    }
    ReportOrStop(progress, 1.0);
    return converted ? QString() : DamagedNote;
}
