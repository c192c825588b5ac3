#include "project/CmykProfile.h"

#include <lcms2.h>

#include <memory>

namespace PhotoFiles {
namespace {

struct ProfileCloser {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;
struct TransformDeleter {
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};

Profile Opened(const QByteArray& profile) {
    if (profile.isEmpty())
        return nullptr;
    return Profile(cmsOpenProfileFromMem(profile.constData(), cmsUInt32Number(profile.size())));
}

} // namespace

bool IsCmykProfile(const QByteArray& profile) {
    const Profile opened = Opened(profile);
    return opened && cmsGetColorSpace(opened.get()) == cmsSigCmykData;
}

bool CmykThroughProfile(const uchar* cmyk, bool inverted, const QByteArray& profile,
                        QImage& picture) {
    const Profile source = Opened(profile);
    if (!source || cmsGetColorSpace(source.get()) != cmsSigCmykData)
        return false;
    const Profile srgb(cmsCreate_sRGBProfile());
    const std::unique_ptr<void, TransformDeleter> transform(
        cmsCreateTransform(source.get(), inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8, srgb.get(),
                           TYPE_BGR_8, INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE));
    if (!transform)
        return false;
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y)
        cmsDoTransform(transform.get(), cmyk + size_t(y) * size_t(width) * 4, picture.scanLine(y),
                       cmsUInt32Number(width));
    return true;
}

} // namespace PhotoFiles
