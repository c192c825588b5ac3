#include "DemoHouse.h"

#include "CatalogueScript.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

enum Surface : std::uint8_t { Nothing, Facade, Roof, Frames, Door, Plinth, Chimney };

struct Rgbf {
    double r, g, b;
};

// Base colours of the surfaces as the "photograph" shows them in full light.
const Rgbf Plaster{228, 222, 206};
const Rgbf Tiles{150, 72, 52};
const Rgbf FrameWhite{236, 236, 232};
const Rgbf DoorWood{118, 82, 56};
const Rgbf Stone{150, 146, 138};
const Rgbf Brick{140, 78, 60};
const Rgbf Glass{60, 84, 110};

class Painter {
public:
    Painter(int width, int height)
        : w_(width), h_(height), photo_(width, height, QImage::Format_BGR888),
          surface_(size_t(width) * size_t(height), Nothing), random_(20261207) {}

    // Sets one pixel of a surface with a brightness factor and grain.
    void Put(int x, int y, Rgbf c, double light, double grain, Surface s) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_)
            return;
        const double n = (random_.generateDouble() - 0.5) * grain;
        uchar* p = photo_.scanLine(y) + 3 * x;
        p[0] = uchar(std::clamp(c.b * light + n, 0.0, 255.0));
        p[1] = uchar(std::clamp(c.g * light + n, 0.0, 255.0));
        p[2] = uchar(std::clamp(c.r * light + n, 0.0, 255.0));
        surface_[size_t(y) * size_t(w_) + size_t(x)] = s;
    }

    int W() const { return w_; }
    int H() const { return h_; }
    QImage& Photo() { return photo_; }
    Surface At(int x, int y) const { return Surface(surface_[size_t(y) * size_t(w_) + size_t(x)]); }

private:
    int w_, h_;
    QImage photo_;
    std::vector<std::uint8_t> surface_;
    QRandomGenerator random_;
};

// Light falls from the upper left: brighter on the left, a shadow under the eaves.
double FacadeLight(int x, int y, int left, int right, int top) {
    const double across = 1.05 - 0.18 * double(x - left) / double(right - left);
    const double eaves = y >= top && y - top < 40 ? 0.72 + 0.28 * (y - top) / 40.0 : 1.0;
    return across * eaves;
}

// A paint of the demo catalogue: the shade of a fan deck, carried by a paint kind,
// nearest to the colour wanted, and how much of it (in the paint kind's unit).
struct Paint {
    int fanDeck;
    int paintKind;
    Colour wanted;
    int quantity;
};

void ApplyPaint(LayerRecord& layer, const Paint& paint) {
    static const CatalogueScript::Content catalogue = CatalogueScript::DemoContent();
    const CatalogueScript::Shade* nearest = nullptr;
    long long best = 0;
    for (const CatalogueScript::Shade& shade : catalogue.shades) {
        if (shade.fanDeck != paint.fanDeck || !shade.paintKinds.contains(paint.paintKind) ||
            !shade.HasColour())
            continue;
        const long long dr = shade.red - RedOf(paint.wanted);
        const long long dg = shade.green - GreenOf(paint.wanted);
        const long long db = shade.blue - BlueOf(paint.wanted);
        const long long distance = dr * dr + dg * dg + db * db;
        if (!nearest || distance < best) {
            nearest = &shade;
            best = distance;
        }
    }
    Q_ASSERT(nearest);
    layer.ShadeColour = Rgb(nearest->red, nearest->green, nearest->blue);
    layer.ShadeId = nearest->id;
    layer.FanDeckId = paint.fanDeck;
    layer.PaintKindId = paint.paintKind;
    layer.Quantity = paint.quantity;
}

// Fan decks and paint kinds of the demo catalogue.
enum DemoDeck { Exterior = 1, Synthetics = 4, MetalAndWood = 5, Natural = 6, Silicone = 9 };
enum DemoKind { FacadePaint = 1, GlossEnamel = 3, MetalEnamel = 4, SiliconePaint = 5 };

} // namespace

DemoProject MakeDemoHouse(int width, int height) {
    Painter p(width, height);
    const auto X = [width](double f) { return int(f * width); };
    const auto Y = [height](double f) { return int(f * height); };
    const int groundTop = Y(0.86);
    const int left = X(0.24), right = X(0.76);
    const int facadeTop = Y(0.36), plinthTop = Y(0.80);
    const int roofTop = Y(0.13), eaves = X(0.04);

    // Sky and garden.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (y < groundTop) {
                const double t = double(y) / groundTop;
                const double cloud = 0.5 + 0.5 * std::sin(x / 97.0 + std::sin(y / 41.0) * 2.0);
                const Rgbf sky{120 + 90 * t + 30 * cloud * (1 - t), 170 + 60 * t + 20 * cloud,
                               230 + 15 * t};
                p.Put(x, y, sky, 1.0, 4, Nothing);
            } else {
                const double t = double(y - groundTop) / (height - groundTop);
                p.Put(x, y, Rgbf{70, 128, 52}, 0.8 + 0.3 * t, 40, Nothing);
            }
        }
    }
    // Path to the door.
    const int doorLeft = X(0.46), doorRight = X(0.54);
    for (int y = groundTop; y < height; ++y) {
        const double spread = double(y - groundTop) / (height - groundTop);
        const int a = doorLeft - int(spread * X(0.05)), b = doorRight + int(spread * X(0.05));
        for (int x = a; x <= b; ++x)
            p.Put(x, y, Rgbf{176, 168, 150}, 0.9 + 0.1 * spread, 26, Nothing);
    }
    // Facade with plaster grain.
    for (int y = facadeTop; y < plinthTop; ++y)
        for (int x = left; x <= right; ++x)
            p.Put(x, y, Plaster, FacadeLight(x, y, left, right, facadeTop), 14, Facade);
    // Plinth: stone blocks with darker joints.
    for (int y = plinthTop; y < groundTop + Y(0.01); ++y) {
        for (int x = left - 6; x <= right + 6; ++x) {
            const bool joint =
                (y - plinthTop) % 28 < 3 || (x + ((y - plinthTop) / 28) * 37) % 74 < 3;
            p.Put(x, y, Stone,
                  (joint ? 0.62 : 0.95) * FacadeLight(x, y, left, right, plinthTop - 100), 22,
                  Plinth);
        }
    }
    // Chimney, drawn before the roof so that the roof covers its foot.
    const int chimneyLeft = X(0.62), chimneyRight = X(0.66);
    for (int y = Y(0.07); y < Y(0.25); ++y) {
        for (int x = chimneyLeft; x <= chimneyRight; ++x) {
            const bool joint = (y % 18) < 2 || ((x + (y / 18) * 13) % 26) < 2;
            p.Put(x, y, Brick, (joint ? 0.7 : 1.0) * (x < chimneyLeft + 10 ? 1.1 : 0.92), 18,
                  Chimney);
        }
    }
    // Roof: a gable with rows of tiles, darker towards the eaves.
    const int ridgeX = width / 2;
    for (int y = roofTop; y < facadeTop + 6; ++y) {
        const double t = double(y - roofTop) / (facadeTop - roofTop);
        const int half = int((right - left) / 2.0 * t + eaves * t);
        for (int x = ridgeX - half; x <= ridgeX + half; ++x) {
            const bool rowEdge = (y - roofTop) % 22 < 3;
            const bool tileEdge = ((x + ((y - roofTop) / 22) * 15) % 30) < 2;
            const double light = (x < ridgeX ? 1.02 : 0.82) * (rowEdge || tileEdge ? 0.7 : 1.0);
            p.Put(x, y, Tiles, light, 16, Roof);
        }
    }
    // Windows: a frame, a cross bar and glass with a reflection.
    const auto window = [&](int wx, int wy, int ww, int wh) {
        const int frame = std::max(8, ww / 12);
        for (int y = wy; y < wy + wh; ++y) {
            for (int x = wx; x < wx + ww; ++x) {
                const bool glass = x >= wx + frame && x < wx + ww - frame && y >= wy + frame &&
                                   y < wy + wh - frame && std::abs(x - (wx + ww / 2)) > frame / 3 &&
                                   std::abs(y - (wy + wh / 2)) > frame / 3;
                if (glass) {
                    const double shine =
                        0.8 +
                        0.5 * std::max(0.0, 1.0 - std::abs((x - wx) - (y - wy) * 0.6) / (ww * 0.3));
                    p.Put(x, y, Glass, shine, 8, Nothing);
                } else {
                    p.Put(x, y, FrameWhite, FacadeLight(x, y, left, right, facadeTop) * 0.98, 8,
                          Frames);
                }
            }
        }
        // Sill shadow under the window.
        for (int y = wy + wh; y < wy + wh + 10; ++y)
            for (int x = wx - 4; x < wx + ww + 4; ++x)
                p.Put(x, y, Plaster, 0.7 * FacadeLight(x, y, left, right, facadeTop), 10, Facade);
    };
    const int ww = X(0.09), wh = Y(0.16);
    window(X(0.30), Y(0.44), ww, wh);
    window(X(0.61), Y(0.44), ww, wh);
    window(X(0.30), Y(0.62) - 20, ww, wh - 10);
    window(X(0.61), Y(0.62) - 20, ww, wh - 10);
    window(ridgeX - ww / 3, Y(0.22), ww * 2 / 3, Y(0.09));
    // Door with panels.
    const int doorTop = Y(0.58);
    for (int y = doorTop; y < plinthTop + Y(0.04); ++y) {
        for (int x = doorLeft; x <= doorRight; ++x) {
            const bool panel =
                (x - doorLeft) % ((doorRight - doorLeft) / 2) < 6 || (y - doorTop) % 60 < 5;
            p.Put(x, y, DoorWood, panel ? 0.75 : 1.0, 14, Door);
        }
    }

    DemoProject project;
    project.Photo = std::move(p.Photo());
    // The mask: one run per stretch of equal surface.
    project.Mask = TMask::CreateBlank(width, height);
    for (int y = 0; y < height; ++y) {
        MaskRow& row = project.Mask.Rows[y];
        row.clear();
        int start = 0;
        for (int x = 1; x <= width; ++x) {
            if (x == width || p.At(x, y) != p.At(start, y)) {
                row.push_back(MaskRun{std::uint8_t(p.At(start, y)), start, x - 1});
                start = x;
            }
        }
    }

    const auto layer = [](const QString& name, Rgbf real, Colour mask, const Paint& paint) {
        LayerRecord l = NewLayerTemplate(1);
        l.Name = name;
        l.RealColour = Rgb(int(real.r), int(real.g), int(real.b));
        l.MaskColour = mask;
        ApplyPaint(l, paint);
        l.ShownInMaskMode = false;
        l.HiddenInColourMode = false;
        return l;
    };
    // Both schemes paint every layer from the catalogue, each in its paint kind's unit;
    // the two fan decks named "Exteriér" both have a part.
    LayerList& layers = project.Layers;
    layers = {OriginalLayerTemplate()};
    layers << layer(QStringLiteral("Fasáda"), Plaster, AutoMaskColour(1),
                    {Exterior, FacadePaint, Rgb(236, 196, 128), 48})
           << layer(QStringLiteral("Střecha"), Tiles, AutoMaskColour(2),
                    {MetalAndWood, MetalEnamel, Rgb(160, 58, 40), 20})
           << layer(QStringLiteral("Okenní rámy"), FrameWhite, AutoMaskColour(3),
                    {Synthetics, GlossEnamel, Rgb(250, 248, 240), 4})
           << layer(QStringLiteral("Dveře"), DoorWood, AutoMaskColour(4),
                    {Synthetics, GlossEnamel, Rgb(40, 96, 64), 2})
           << layer(QStringLiteral("Sokl"), Stone, AutoMaskColour(5),
                    {Silicone, SiliconePaint, Rgb(120, 112, 100), 12});
    // The chimney takes the plinth's paint while it follows it.
    LayerRecord chimney = layer(QStringLiteral("Komín"), Brick, AutoMaskColour(6),
                                {Natural, SiliconePaint, Rgb(150, 80, 60), 3});
    chimney.Subordinate = true;
    chimney.MasterName = QStringLiteral("Sokl");
    layers << chimney;

    SchemeRecord warm{QStringLiteral("Teplá okrová"), layers};
    SchemeRecord cool{QStringLiteral("Chladná šedá"), layers};
    const Paint coolPaints[] = {{Natural, FacadePaint, Rgb(196, 206, 214), 48},
                                {MetalAndWood, MetalEnamel, Rgb(62, 66, 72), 20},
                                {Synthetics, GlossEnamel, Rgb(70, 74, 80), 4},
                                {Synthetics, GlossEnamel, Rgb(44, 82, 130), 2},
                                {Exterior, FacadePaint, Rgb(98, 102, 108), 12},
                                {Silicone, SiliconePaint, Rgb(110, 110, 116), 3}};
    for (int i = 0; i < 6; ++i)
        ApplyPaint(cool.Layers[i + 1], coolPaints[i]);
    project.Schemes = {warm, cool};
    return project;
}
