#include "editing/SequencePictures.h"

#include <QRandomGenerator>
#include <functional>

namespace SequencePictures {

namespace {

struct Region {
    Colour colour;
    int layer;
};

// A picture of flat regions with grain of ±grain per channel and a share of specks
// (per thousand) in random colours; the mask gives every pixel its region's layer.
void Draw(Plain::Document& doc, int width, int height, int grain, int specksPerThousand,
          quint32 seed, const std::function<Region(int x, int y)>& region) {
    QRandomGenerator random(seed);
    doc.Photo = QImage(width, height, QImage::Format_BGR888);
    doc.Mask = Plain::PixelMask::Blank(width, height);
    for (int y = 0; y < height; ++y) {
        uchar* row = doc.Photo.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const Region r = region(x, y);
            Colour c = r.colour;
            if (int(random.bounded(1000)) < specksPerThousand)
                c = Colour(random.bounded(0x1000000));
            const auto channel = [&](int value) {
                return uchar(
                    std::clamp(value + int(random.bounded(2 * grain + 1)) - grain, 0, 255));
            };
            row[3 * x] = channel(BlueOf(c));
            row[3 * x + 1] = channel(GreenOf(c));
            row[3 * x + 2] = channel(RedOf(c));
            doc.Mask.At(x, y) = std::uint8_t(r.layer);
        }
    }
}

Colour Darker(Colour c, int by) {
    return Rgb(std::max(RedOf(c) - by, 0), std::max(GreenOf(c) - by, 0),
               std::max(BlueOf(c) - by, 0));
}

// Layers as a mask file gives them back: the display flags are not stored.
LayerRecord Layer(const QString& name, Colour real, Colour mask, Colour shade) {
    LayerRecord layer = OriginalLayerTemplate();
    layer.Name = name;
    layer.RealColour = real;
    layer.MaskColour = mask;
    layer.ShadeColour = shade;
    if (shade != NoColour) {
        layer.ShadeId = 100 + RedOf(shade);
        layer.FanDeckId = 7;
        layer.PaintKindId = 3;
        layer.Quantity = 12;
    }
    layer.ShownInMaskMode = false;
    layer.HiddenInColourMode = false;
    return layer;
}

LayerRecord Original() {
    LayerRecord layer = OriginalLayerTemplate();
    layer.ShownInMaskMode = false;
    layer.HiddenInColourMode = false;
    return layer;
}

// Two towers with roofs and windows joined by a base, the sky between them wider
// than two blocks of the fill's map: a fill of the wall spans the whole width in
// rows where only the towers belong to it.
Project Towers() {
    const Colour sky = Rgb(140, 185, 230), wall = Rgb(214, 198, 168), roof = Rgb(150, 62, 44),
                 window = Rgb(58, 66, 80);
    Project project{QStringLiteral("veze.bmp"), {}};
    Plain::Document& doc = project.Doc;
    Draw(doc, 264, 72, 4, 15, 11, [&](int x, int y) -> Region {
        const bool tower = x < 50 || x >= 200;
        if (y < 58 && !tower)
            return {sky, 0};
        if (y < 12)
            return {roof, 2};
        const int tx = x < 50 ? x : x - 200;
        const bool windowRow = (y >= 20 && y < 32) || (y >= 38 && y < 50);
        if (y < 58 && windowRow && ((tx >= 12 && tx < 26) || (tx >= 32 && tx < 46)))
            return {window, 3};
        const Colour brick = y % 11 == 0 ? Darker(wall, 15) : wall; // mortar joints
        return {brick, x < 50 && y < 58 ? 1 : 0};
    });
    doc.Layers = {Original(), Layer(QStringLiteral("Zeď"), wall, AutoMaskColour(1), NoColour),
                  Layer(QStringLiteral("Střecha"), roof, AutoMaskColour(2), Rgb(190, 120, 90)),
                  Layer(QStringLiteral("Okna"), window, AutoMaskColour(3), NoColour)};
    doc.Layers[3].Subordinate = true;
    doc.Layers[3].MasterName = QStringLiteral("Zeď");
    LayerList summer = doc.Layers;
    summer[1].ShadeColour = Rgb(120, 160, 200);
    summer[2].ShadeColour = NoColour;
    summer[3].Subordinate = false;
    LayerList winter = doc.Layers;
    winter[2].Locked = true;
    winter[1].MaskColour = Rgb(140, 185, 230); // the sky's colour: a barrier for fills
    doc.Schemes = {{QStringLiteral("Léto"), summer}, {QStringLiteral("Zima"), winter}};
    return project;
}

// A gable house: roof triangle, wall with a door and windows, grass below. The roof
// is wider than a block of the fill's map: a fill of the sky spans it.
Project Gable() {
    const Colour sky = Rgb(170, 200, 235), wall = Rgb(236, 230, 214), roof = Rgb(96, 70, 60),
                 door = Rgb(120, 60, 30), grass = Rgb(90, 140, 60), window = Rgb(40, 50, 60);
    Project project{QStringLiteral("stit.bmp"), {}};
    Plain::Document& doc = project.Doc;
    Draw(doc, 200, 80, 5, 20, 22, [&](int x, int y) -> Region {
        if (y >= 72)
            return {grass, 0};
        if (y >= 6 && y < 40 && std::abs(x - 100) * 34 <= (y - 6) * 75)
            return {roof, 1};
        if (y >= 40 && x >= 35 && x <= 165) {
            if (x >= 90 && x < 110 && y >= 52)
                return {door, 2};
            if (y >= 46 && y < 62 && ((x >= 50 && x < 72) || (x >= 128 && x < 150)))
                return {window, 0};
            return {wall, 3};
        }
        return {sky, 0};
    });
    doc.Layers = {Original(),
                  Layer(QStringLiteral("Střecha"), roof, AutoMaskColour(1), Rgb(150, 40, 40)),
                  Layer(QStringLiteral("Dveře"), door, AutoMaskColour(2), NoColour),
                  Layer(QStringLiteral("A"), wall, AutoMaskColour(3), Rgb(250, 220, 120))};
    doc.Layers[2].Locked = true;
    doc.Layers[3].Subordinate = true;
    doc.Layers[3].MasterName = QStringLiteral("B"); // no such layer yet
    LayerList spring = doc.Layers;
    spring[2].Locked = false;
    spring[3].ShadeColour = Rgb(200, 230, 180);
    spring[3].Subordinate = false;
    doc.Schemes = {{QStringLiteral("Jaro"), spring}};
    return project;
}

// Small and grainy: diagonal stripes close in colour, many specks.
Project Stripes() {
    Project project{QStringLiteral("maly.bmp"), {}};
    Plain::Document& doc = project.Doc;
    Draw(doc, 61, 37, 6, 50, 33, [](int x, int y) -> Region {
        const bool light = (x + y) / 9 % 2 == 0;
        const bool painted = x >= 10 && x < 30 && y >= 5 && y < 20;
        return {light ? Rgb(200, 200, 200) : Rgb(180, 170, 160), painted ? 1 : 0};
    });
    doc.Layers = {Original(),
                  Layer(QStringLiteral("B"), Rgb(200, 200, 200), AutoMaskColour(1), NoColour)};
    return project;
}

} // namespace

std::vector<Project> SavedProjects() {
    return {Towers(), Gable(), Stripes()};
}

std::vector<QImage> ImportedPhotographs() {
    Plain::Document bands, blocks;
    Draw(bands, 200, 64, 3, 10, 44, [](int x, int y) -> Region {
        if ((x - 140) * (x - 140) + (y - 30) * (y - 30) < 18 * 18)
            return {Rgb(230, 200, 40), 0};
        return {y < 20 ? Rgb(150, 190, 240) : y < 45 ? Rgb(200, 180, 150) : Rgb(80, 80, 80), 0};
    });
    Draw(blocks, 96, 80, 4, 30, 55, [](int x, int y) -> Region {
        return {(x / 24 + y / 24) % 2 ? Rgb(60, 120, 60) : Rgb(220, 220, 200), 0};
    });
    return {bands.Photo, blocks.Photo};
}

const QStringList& LayerNames() {
    static const QStringList names{QStringLiteral("A"),       QStringLiteral("B"),
                                   QStringLiteral("C"),       QStringLiteral("Zeď"),
                                   QStringLiteral("Střecha"), QStringLiteral("Okna"),
                                   QStringLiteral("Dveře")};
    return names;
}

const QStringList& SchemeNames() {
    static const QStringList names{QStringLiteral("Léto"), QStringLiteral("Zima"),
                                   QStringLiteral("Jaro")};
    return names;
}

} // namespace SequencePictures
