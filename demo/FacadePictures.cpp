#include "FacadePictures.h"

#include "project/PhotoFiles.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include <opencv2/imgproc.hpp>

namespace Facades {

namespace {

std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    std::uint32_t h =
        a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

double Unit(std::uint32_t h) {
    return (h & 0xFFFFFF) / double(0x1000000);
}

// Numbers of a seed, one after another.
struct Random {
    std::uint32_t seed;
    std::uint32_t drawn = 0;
    double U() { return Unit(Hash(seed, drawn++, 77)); }
    double R(double a, double b) { return a + (b - a) * U(); }
    int I(int a, int b) { return a + int(U() * (b - a + 1)) % (b - a + 1); }
};

struct Col {
    double b, g, r;
};

// Smooth value noise with cells of the given size.
struct Smooth {
    std::uint32_t seed;
    double cell;
    double At(double x, double y) const {
        const double fx = x / cell, fy = y / cell;
        const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
        const double tx = fx - ix, ty = fy - iy;
        const auto v = [&](int a, int b) {
            return Unit(Hash(seed, std::uint32_t(a), std::uint32_t(b))) * 2 - 1;
        };
        const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
        const double top = v(ix, iy) * (1 - sx) + v(ix + 1, iy) * sx;
        const double bottom = v(ix, iy + 1) * (1 - sx) + v(ix + 1, iy + 1) * sx;
        return top * (1 - sy) + bottom * sy;
    }
};

struct Rect {
    int x0, y0, x1, y1; // right and bottom excluded
};

// Paints the rectangle x0..x1 - 1, y0..y1 - 1, clipped to the picture.
void Paint(cv::Mat& surfaces, int x0, int y0, int x1, int y1, Surface surface) {
    x0 = std::clamp(x0, 0, surfaces.cols);
    x1 = std::clamp(x1, 0, surfaces.cols);
    y0 = std::clamp(y0, 0, surfaces.rows);
    y1 = std::clamp(y1, 0, surfaces.rows);
    if (x0 < x1 && y0 < y1)
        surfaces(cv::Rect(x0, y0, x1 - x0, y1 - y0)).setTo(cv::Scalar(surface));
}

QImage ToImage(const cv::Mat& m, QImage::Format format) {
    QImage image(m.cols, m.rows, format);
    for (int y = 0; y < m.rows; ++y)
        std::memcpy(image.scanLine(y), m.ptr(y), size_t(m.cols) * m.elemSize());
    return image;
}

} // namespace

Facade DrawFacade(std::uint32_t seed, int W, int H) {
    W = std::max(W, 64);
    H = std::max(H, 64);
    Random rng{seed * 7919u + 13};
    Facade facade;
    facade.Kind = WallKind(seed % 3);
    cv::Mat lab(H, W, CV_8UC1, cv::Scalar(Sky));
    const double S = W / 1000.0; // scale: px per "unit"

    // layout
    const bool neighbourLeft = rng.U() < 0.35;
    const int wallX0 = neighbourLeft ? int(W * rng.R(0.12, 0.22)) : int(W * rng.R(0.04, 0.15));
    const int wallX1 = W - int(W * rng.R(0.04, 0.16));
    const int groundY = int(H * rng.R(0.84, 0.92));
    const int plinthY = groundY - int(H * rng.R(0.04, 0.08));
    const int eaveY = int(H * rng.R(0.18, 0.32));
    const bool gable = rng.U() < 0.5;
    const int roofTop = gable ? int(H * rng.R(0.02, 0.08)) : eaveY - int(H * rng.R(0.08, 0.14));
    const int overhang = int(W * 0.02);

    // ground
    Paint(lab, 0, groundY, W, H, Ground);
    // neighbour building on the left
    if (neighbourLeft)
        Paint(lab, 0, int(H * rng.R(0.1, 0.3)), wallX0, groundY, Neighbour);
    // wall
    Paint(lab, wallX0, eaveY, wallX1, plinthY, Wall);
    // gable triangle of wall
    if (gable) {
        const int mid = (wallX0 + wallX1) / 2;
        const int peak = roofTop + int((eaveY - roofTop) * 0.25);
        std::vector<cv::Point> tri{{wallX0, eaveY}, {mid, peak}, {wallX1, eaveY}};
        cv::fillConvexPoly(lab, tri, cv::Scalar(Wall), cv::LINE_8);
        // roof as two slanted bands along the gable edges
        const int t = int(H * 0.045);
        std::vector<cv::Point> l{{wallX0 - overhang, eaveY + t / 3},
                                 {mid, peak - t},
                                 {mid, peak + t / 2},
                                 {wallX0 - overhang, eaveY + t / 3 + t}};
        std::vector<cv::Point> r{{wallX1 + overhang, eaveY + t / 3},
                                 {mid, peak - t},
                                 {mid, peak + t / 2},
                                 {wallX1 + overhang, eaveY + t / 3 + t}};
        cv::fillConvexPoly(lab, l, cv::Scalar(Roof), cv::LINE_8);
        cv::fillConvexPoly(lab, r, cv::Scalar(Roof), cv::LINE_8);
    } else {
        Paint(lab, wallX0 - overhang, roofTop, wallX1 + overhang, eaveY + int(H * 0.012), Roof);
    }
    // plinth
    Paint(lab, wallX0, plinthY, wallX1, groundY, Plinth);

    // windows
    const int floorsTop = eaveY + int(H * 0.05);
    const int rows = rng.I(1, 3);
    const int cols = rng.I(2, 5);
    const double cellW = double(wallX1 - wallX0) / cols;
    const double cellH = double(plinthY - floorsTop) / rows;
    const double winW = cellW * rng.R(0.32, 0.5), winH = cellH * rng.R(0.45, 0.62);
    const int frameW = std::max(2, int(std::min(winW, winH) * rng.R(0.06, 0.11)));
    const int doorColumn = rng.I(0, cols - 1);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int cx = int(wallX0 + cellW * (c + 0.5)),
                      cy = int(floorsTop + cellH * (r + 0.45));
            if (r == rows - 1 && c == doorColumn) {
                const int dw = int(cellW * 0.3), dtop = int(cy - winH * 0.45);
                Paint(lab, cx - dw / 2, dtop, cx + dw / 2, plinthY + (groundY - plinthY) / 2, Door);
                continue;
            }
            const Rect w{int(cx - winW / 2), int(cy - winH / 2), int(cx + winW / 2),
                         int(cy + winH / 2)};
            Paint(lab, w.x0, w.y0, w.x1, w.y1, Frame);
            Paint(lab, w.x0 + frameW, w.y0 + frameW, w.x1 - frameW, w.y1 - frameW, Glass);
            // mullion cross
            const int mx = (w.x0 + w.x1) / 2, my = (w.y0 + w.y1) / 2,
                      m = std::max(1, frameW * 2 / 3);
            Paint(lab, mx - m / 2, w.y0, mx - m / 2 + m, w.y1, Frame);
            Paint(lab, w.x0, my - m / 2, w.x1, my - m / 2 + m, Frame);
            // sill
            Paint(lab, w.x0 - frameW, w.y1, w.x1 + frameW, w.y1 + std::max(2, frameW), Sill);
        }
    }
    // drainpipe
    if (rng.U() < 0.8) {
        const int pw = std::max(3, int(W * rng.R(0.008, 0.014)));
        const int px = rng.U() < 0.5 ? wallX0 + int(W * 0.01) : wallX1 - int(W * 0.01) - pw;
        Paint(lab, px, eaveY, px + pw, groundY, Pipe);
    }
    // vegetation: hedge or tree
    const int plantKind = rng.I(0, 2); // 0 hedge, 1 tree, 2 none
    Smooth edgeNoise{seed + 5, 40.0 * S};
    if (plantKind == 0) {
        const int hx0 = int(W * rng.R(0.0, 0.4)), hx1 = hx0 + int(W * rng.R(0.25, 0.45));
        const int top = plinthY - int(H * rng.R(0.06, 0.14));
        for (int x = std::max(0, hx0); x < std::min(W, hx1); ++x) {
            const int t = top + int(H * 0.03 * edgeNoise.At(x, 0));
            Paint(lab, x, t, x + 1, groundY + int(H * 0.03), Plant);
        }
    } else if (plantKind == 1) {
        const int tx = int(W * rng.R(0.1, 0.9)), ty = int(H * rng.R(0.45, 0.65));
        const int rr = int(std::min(W, H) * rng.R(0.1, 0.16));
        Paint(lab, tx - rr / 8, ty, tx + rr / 8, groundY + int(H * 0.02), Plant);
        for (int y = std::max(0, ty - rr * 2); y < std::min(H, ty + rr * 2); ++y)
            for (int x = std::max(0, tx - rr * 2); x < std::min(W, tx + rr * 2); ++x) {
                const double a = std::atan2(y - ty, x - tx);
                const double rad =
                    rr * (1.0 + 0.18 * std::sin(5 * a + seed) + 0.2 * edgeNoise.At(x, y));
                if (std::hypot(x - tx, (y - ty) * 1.2) < rad)
                    lab.at<std::uint8_t>(y, x) = Plant;
            }
    }

    // cast shadow: a half plane bounded by a slanted line over the right or left part
    cv::Mat shadow(H, W, CV_8UC1, cv::Scalar(0));
    const bool hasShadow = rng.U() < 0.85;
    const double sx0 = W * rng.R(0.35, 0.65), slope = rng.R(-0.6, 0.6);
    const bool shadowRight = rng.U() < 0.5;
    const double shadowDepth = rng.R(0.42, 0.6);
    // light gradient
    const double gx = rng.R(-0.15, 0.15), gy = rng.R(-0.15, 0.1);

    // colours
    auto hsvCol = [&](double h, double s, double v) {
        cv::Mat m(1, 1, CV_32FC3, cv::Scalar(h, s, v));
        cv::cvtColor(m, m, cv::COLOR_HSV2BGR);
        auto p = m.at<cv::Vec3f>(0, 0);
        return Col{p[0] * 255, p[1] * 255, p[2] * 255};
    };
    Col wallCol, jointCol{170, 175, 178};
    switch (facade.Kind) {
    case WallKind::Plaster:
        wallCol = hsvCol(rng.R(0, 360), rng.R(0.08, 0.45), rng.R(0.6, 0.92));
        break;
    case WallKind::Brick:
        wallCol = hsvCol(rng.R(5, 28), rng.R(0.45, 0.7), rng.R(0.45, 0.7));
        break;
    case WallKind::Boards:
        wallCol = hsvCol(rng.U() < 0.5 ? rng.R(20, 35) : rng.R(0, 360), rng.R(0.25, 0.6),
                         rng.R(0.35, 0.8));
        break;
    }
    const Col frameCol = rng.U() < 0.6 ? Col{235, 238, 238} : hsvCol(rng.R(15, 30), 0.6, 0.35);
    const Col roofCol = rng.U() < 0.5 ? hsvCol(rng.R(5, 20), 0.6, 0.55) : hsvCol(210, 0.1, 0.25);
    const Col pipeCol = rng.U() < 0.5 ? Col{120, 122, 125} : hsvCol(25, 0.6, 0.5);
    const Col plinthCol = hsvCol(rng.R(20, 50), 0.1, rng.R(0.35, 0.55));
    const Col neighbourCol = hsvCol(rng.R(0, 360), rng.R(0.1, 0.5), rng.R(0.5, 0.9));
    const Col doorCol = hsvCol(rng.R(10, 30), 0.6, 0.3);

    const double brickW = 22 * S * rng.R(0.8, 1.3), brickH = brickW / 3.3,
                 jointW = std::max(1.0, brickH * 0.16);
    const double boardH = 14 * S * rng.R(0.8, 1.4), gapW = std::max(1.0, boardH * 0.08);
    Smooth mottle{seed + 11, 25 * S}, clouds{seed + 3, 120 * S}, grain{seed + 17, 3 * S};
    cv::Mat bgr(H, W, CV_8UC3);
    for (int y = 0; y < H; ++y) {
        std::uint8_t* out = bgr.ptr<std::uint8_t>(y);
        const std::uint8_t* lrow = lab.ptr<std::uint8_t>(y);
        std::uint8_t* srow = shadow.ptr<std::uint8_t>(y);
        for (int x = 0; x < W; ++x) {
            const std::uint32_t h = Hash(seed, std::uint32_t(x), std::uint32_t(y));
            const double n = (Unit(h) + Unit(h >> 7) - 1.0); // -1..1 triangular
            Col c{0, 0, 0};
            double noise = 4;
            double light = 1.0 + gx * (x - W / 2.0) / W * 2 + gy * (y - H / 2.0) / H * 2;
            bool shaded = false;
            if (hasShadow) {
                const double edge = sx0 + slope * (y - H / 2.0);
                shaded = shadowRight ? x > edge : x < edge;
            }
            switch (lrow[x]) {
            case Sky: {
                const double t = double(y) / H;
                const double cl = std::max(0.0, clouds.At(x, y));
                c = Col{235 - 20 * t + 20 * cl, 180 + 30 * t + 60 * cl, 120 + 60 * t + 110 * cl};
                light = 1;
                shaded = false;
                noise = 3;
                break;
            }
            case Wall: {
                switch (facade.Kind) {
                case WallKind::Plaster:
                    c = wallCol;
                    noise = 10;
                    light *= 1 + 0.04 * mottle.At(x, y) + 0.03 * grain.At(x, y);
                    break;
                case WallKind::Brick: {
                    const int row = int(std::floor((y - eaveY) / brickH));
                    const double off = (row % 2) * brickW / 2;
                    const int col = int(std::floor((x + off) / brickW));
                    const double fx = x + off - col * brickW, fy = (y - eaveY) - row * brickH;
                    if (fx < jointW || fy < jointW) {
                        c = jointCol;
                        noise = 12;
                    } else {
                        const double v =
                            0.85 + 0.3 * Unit(Hash(seed, std::uint32_t(row), std::uint32_t(col)));
                        c = Col{wallCol.b * v, wallCol.g * v, wallCol.r * v};
                        noise = 14;
                    }
                    break;
                }
                case WallKind::Boards: {
                    const int row = int(std::floor((y - eaveY) / boardH));
                    const double fy = (y - eaveY) - row * boardH;
                    if (fy < gapW) {
                        c = Col{wallCol.b * 0.35, wallCol.g * 0.35, wallCol.r * 0.35};
                    } else {
                        const double v = 0.9 + 0.15 * Unit(Hash(seed, std::uint32_t(row), 5)) +
                                         0.06 * std::sin(x / (9 * S) + row * 1.7 +
                                                         3 * std::sin(x / (60 * S) + row));
                        c = Col{wallCol.b * v, wallCol.g * v, wallCol.r * v};
                    }
                    noise = 8;
                    break;
                }
                }
                break;
            }
            case Roof: {
                const double t = std::fmod(y / (9 * S), 1.0),
                             u = std::fmod((x + (int(y / (9 * S)) % 2) * 7 * S) / (14 * S), 1.0);
                const double v = (t < 0.15 ? 0.6 : 1.0) * (u < 0.08 ? 0.75 : 1.0);
                c = Col{roofCol.b * v, roofCol.g * v, roofCol.r * v};
                noise = 10;
                break;
            }
            case Frame:
            case Sill:
                c = frameCol;
                noise = 5;
                light *= (lrow[x] == Sill ? 1.08 : 1.0);
                break;
            case Glass: {
                const double refl = std::max(
                    0.0, 1 - std::abs(std::fmod(x * 0.7 + y, 180 * S) - 90 * S) / (30 * S));
                c = Col{70 + 120 * refl, 62 + 110 * refl, 50 + 100 * refl};
                noise = 4;
                break;
            }
            case Pipe: {
                // cylinder shading across the pipe: find its left edge
                int x0 = x;
                while (x0 > 0 && lrow[x0 - 1] == Pipe)
                    --x0;
                int x1 = x;
                while (x1 < W - 1 && lrow[x1 + 1] == Pipe)
                    ++x1;
                const double t = (x - x0 + 0.5) / (x1 - x0 + 1);
                const double v = 0.55 + 0.6 * std::sin(t * M_PI) +
                                 0.25 * std::exp(-std::pow((t - 0.35) / 0.08, 2));
                c = Col{pipeCol.b * v, pipeCol.g * v, pipeCol.r * v};
                noise = 5;
                break;
            }
            case Plinth:
                c = plinthCol;
                noise = 16;
                break;
            case Ground: {
                const double t = double(y - groundY) / std::max(1, H - groundY);
                c = Col{50 + 20 * t, 120 + 20 * t, 70 + 10 * t};
                noise = 30;
                break;
            }
            case Plant: {
                const double v = 0.6 + 0.5 * std::max(0.0, grain.At(x * 1.3, y * 1.3)) +
                                 0.25 * mottle.At(x * 4, y * 4);
                c = Col{35 * v, 95 * v, 45 * v};
                noise = 22;
                break;
            }
            case Door:
                c = doorCol;
                noise = 8;
                break;
            case Neighbour:
                c = neighbourCol;
                noise = 9;
                break;
            }
            if (shaded && lrow[x] != Sky) {
                light *= shadowDepth;
                c.b *= 1.15;
                c.r *= 0.88;
                srow[x] = 255;
            }
            const double nn = n * noise;
            out[3 * x + 0] = cv::saturate_cast<std::uint8_t>(c.b * light + nn);
            out[3 * x + 1] = cv::saturate_cast<std::uint8_t>(c.g * light + nn);
            out[3 * x + 2] = cv::saturate_cast<std::uint8_t>(c.r * light + nn);
        }
    }
    // The lens's slight blur.
    cv::GaussianBlur(bgr, bgr, cv::Size(0, 0), 0.7);
    facade.Photo = ToImage(bgr, QImage::Format_BGR888);
    facade.Surfaces = ToImage(lab, QImage::Format_Grayscale8);
    facade.Shadow = ToImage(shadow, QImage::Format_Grayscale8);
    return facade;
}

Facade MakeFacade(std::uint32_t seed, int width, int height) {
    Facade facade = DrawFacade(seed, width, height);
    const QByteArray jpeg = PhotoFiles::EncodeJpeg(facade.Photo);
    facade.Photo = PhotoFiles::DecodeJpeg(jpeg, QStringLiteral("fasada.jpg"));
    return facade;
}

} // namespace Facades
