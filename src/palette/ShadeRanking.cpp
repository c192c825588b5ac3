#include "palette/ShadeRanking.h"

#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ShadeRanking {
namespace {

// LittleCMS converts sRGB to XYZ relative to its D50 connection space; the
// conversion back to the D65 white of sRGB (Bradford, as LittleCMS adapts) is linear,
// so it is worked out once as a matrix from LittleCMS's own adaptation.
class LabConverter {
public:
    LabConverter() {
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
        cmsHPROFILE xyz = cmsCreateXYZProfile();
        transform_ = cmsCreateTransform(srgb, TYPE_RGB_8, xyz, TYPE_XYZ_DBL,
                                        INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE);
        cmsCloseProfile(srgb);
        cmsCloseProfile(xyz);
        cmsCIExyY d65;
        cmsWhitePointFromTemp(&d65, 6504); // the white point LittleCMS gives sRGB
        cmsxyY2XYZ(&white_, &d65);
        const cmsCIEXYZ axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        for (int column = 0; column < 3; ++column) {
            cmsCIEXYZ adapted;
            cmsAdaptToIlluminant(&adapted, cmsD50_XYZ(), &white_, &axes[column]);
            toD65_[0][column] = adapted.X;
            toD65_[1][column] = adapted.Y;
            toD65_[2][column] = adapted.Z;
        }
    }
    ~LabConverter() { cmsDeleteTransform(transform_); }
    LabConverter(const LabConverter&) = delete;
    LabConverter& operator=(const LabConverter&) = delete;

    // count colours as red, green, blue bytes into Lab values.
    void Convert(const unsigned char* rgb, Lab* lab, int count) const {
        constexpr int Chunk = 1024;
        cmsCIEXYZ xyz[Chunk];
        for (int start = 0; start < count; start += Chunk) {
            const int n = std::min(Chunk, count - start);
            cmsDoTransform(transform_, rgb + 3 * start, xyz, cmsUInt32Number(n));
            for (int i = 0; i < n; ++i) {
                const cmsCIEXYZ& v = xyz[i];
                const cmsCIEXYZ d65{toD65_[0][0] * v.X + toD65_[0][1] * v.Y + toD65_[0][2] * v.Z,
                                    toD65_[1][0] * v.X + toD65_[1][1] * v.Y + toD65_[1][2] * v.Z,
                                    toD65_[2][0] * v.X + toD65_[2][1] * v.Y + toD65_[2][2] * v.Z};
                cmsCIELab out;
                cmsXYZ2Lab(&white_, &out, &d65);
                lab[start + i] = {out.L, out.a, out.b};
            }
        }
    }

private:
    cmsHTRANSFORM transform_ = nullptr;
    cmsCIEXYZ white_{};
    double toD65_[3][3]{};
};

const LabConverter& Converter() {
    static const LabConverter converter;
    return converter;
}

cmsCIELab Cms(const Lab& lab) {
    return {lab.L, lab.a, lab.b};
}

} // namespace

Lab ToLab(Colour colour) {
    const unsigned char rgb[3] = {static_cast<unsigned char>(RedOf(colour)),
                                  static_cast<unsigned char>(GreenOf(colour)),
                                  static_cast<unsigned char>(BlueOf(colour))};
    Lab lab;
    Converter().Convert(rgb, &lab, 1);
    return lab;
}

std::vector<Lab> ToLab(const ShadeList& shades) {
    const int count = int(shades.size());
    std::vector<unsigned char> rgb(size_t(count) * 3);
    for (int i = 0; i < count; ++i) {
        const ShadeRecord& s = shades[i];
        rgb[3 * size_t(i)] = static_cast<unsigned char>(s.red & 0xFF);
        rgb[3 * size_t(i) + 1] = static_cast<unsigned char>(s.green & 0xFF);
        rgb[3 * size_t(i) + 2] = static_cast<unsigned char>(s.blue & 0xFF);
    }
    std::vector<Lab> lab(static_cast<size_t>(count));
    Converter().Convert(rgb.data(), lab.data(), count);
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
    const std::vector<Lab> lab = ToLab(shades);
    const cmsCIELab centre = Cms(ToLab(reference));
    struct Key {
        double deltaE;
        int row;
    };
    std::vector<Key> keys(lab.size());
    for (size_t i = 0; i < lab.size(); ++i) {
        const cmsCIELab value = Cms(lab[i]);
        keys[i] = {shades[qsizetype(i)].HasColour()
                       ? cmsCIE2000DeltaE(&centre, &value, 1.0, 1.0, 1.0)
                       : std::numeric_limits<double>::infinity(),
                   int(i)};
    }
    // Ties fall back to the row, which keeps equal differences in their order.
    std::sort(keys.begin(), keys.end(), [](const Key& x, const Key& y) {
        return x.deltaE < y.deltaE || (x.deltaE == y.deltaE && x.row < y.row);
    });
    QList<int> order;
    order.reserve(qsizetype(keys.size()));
    for (const Key& key : keys)
        order.append(key.row);
    return order;
}

QString DeltaEText(double deltaE) {
    QString number = QString::number(deltaE, 'f', 1);
    number.replace(QLatin1Char('.'), QLatin1Char(','));
    return QStringLiteral("ΔE ") + number;
}

} // namespace ShadeRanking
