// The palette on the 50,000-shade catalogue: the similar-shade search against a bare
// query loop over the same statement, one paint of the grid showing the whole list
// against the same paint of a 1,000-shade list, and the likeness ranking against the
// plain loop of its ΔE00 calls on Lab values worked out beforehand (on the catalogue,
// whose 50,000 shades hold fewer colours, and on 50,000 colours that all differ).
#include "BenchSupport.h"
#include "LargeCatalogue.h"

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "palette/PaletteCells.h"
#include "palette/ShadeRanking.h"
#include "palette/SimilarShadeSearch.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdint>
#include <cstdlib>
#include <lcms2.h>

namespace {

const std::array<int, 3> Reference{150, 120, 100};

std::array<QString, 3> Texts(const std::array<int, 3>& values) {
    return {QString::number(values[0]), QString::number(values[1]), QString::number(values[2])};
}

struct Palette {
    QString path = bench::LargeCatalogue();
    CatalogueDatabase db;
    CatalogueModel model{db};
    bench::QuietPrompts prompts;
    ShadeList all;     // every shade of the catalogue
    int tolerance = 0; // the box around Reference that holds about 5,000 of them
    QString statement; // its statement

    Palette() {
        db.Open(path);
        model.LoadFanDecks();
        bench::OpenBareConnection(path, QStringLiteral("bare"));
        SimilarShades::Search(model, prompts, SimilarShades::Variant::FreeColour, Texts(Reference),
                              Texts({255, 255, 255}));
        all = model.Shades;
        for (tolerance = 0; tolerance < 256; ++tolerance) {
            int inside = 0;
            for (const ShadeRecord& s : all) {
                inside += std::abs(s.red - Reference[0]) <= tolerance &&
                          std::abs(s.green - Reference[1]) <= tolerance &&
                          std::abs(s.blue - Reference[2]) <= tolerance;
            }
            if (inside >= 5000)
                break;
        }
        statement = SimilarShades::Statement(
            SimilarShades::BoundsOf(Reference, {tolerance, tolerance, tolerance}));
    }
};

Palette& ThePalette() {
    static Palette palette;
    return palette;
}

void bare_query_similar(benchmark::State& state) {
    Palette& p = ThePalette();
    long long rows = 0;
    for (auto _ : state) {
        QSqlQuery query(QSqlDatabase::database(QStringLiteral("bare")));
        query.setForwardOnly(true);
        query.exec(p.statement);
        while (query.next()) {
            for (int c = 0; c < 9; ++c)
                benchmark::DoNotOptimize(query.value(c));
            ++rows;
        }
    }
    state.counters["shades"] = double(rows) / double(state.iterations());
}

void similar_search_op(benchmark::State& state) {
    Palette& p = ThePalette();
    const std::array<QString, 3> tolerance = Texts({p.tolerance, p.tolerance, p.tolerance});
    for (auto _ : state)
        SimilarShades::Search(p.model, p.prompts, SimilarShades::Variant::FreeColour,
                              Texts(Reference), tolerance);
    state.counters["shades"] = double(p.model.Shades.size());
    state.counters["tolerance"] = p.tolerance;
}

// One paint of a 780 × 400 grid, as the window's paint event does it.
void PaintGrid(benchmark::State& state, const ShadeList& shades, int topRow) {
    QImage image(780, 400, QImage::Format_ARGB32_Premultiplied);
    const PaletteLayout::GridShape shape =
        PaletteLayout::LayoutGridBesideScrollBar(780, 400, int(shades.size()), 15);
    const int offset = topRow * PaletteLayout::CellHeight;
    for (auto _ : state) {
        QPainter painter(&image);
        painter.translate(0, -offset);
        PaletteCells::Paint(painter, shades, shape, QRect(0, offset, 780, 400),
                            PaletteLayout::CellOfRow(topRow * shape.columns + 3, shape.columns));
    }
    benchmark::DoNotOptimize(image.constBits());
}

void paint_1k(benchmark::State& state) {
    PaintGrid(state, ThePalette().all.mid(0, 1000), 0);
}

void palette_paint_50k_op(benchmark::State& state) {
    // Scrolled halfway down the list.
    PaintGrid(state, ThePalette().all, 1000);
}

// 50,000 colours all different: the ranking's worst case, where no colour is
// compared only once for several shades.
const ShadeList& DistinctShades() {
    static const ShadeList shades = [] {
        ShadeList list;
        for (std::uint32_t i = 0; i < 50000; ++i) {
            const std::uint32_t c = (i * 2654435761u) & 0xFFFFFFu; // odd factor: all differ
            ShadeRecord s;
            s.red = int(c & 0xFF);
            s.green = int((c >> 8) & 0xFF);
            s.blue = int(c >> 16);
            list << s;
        }
        return list;
    }();
    return shades;
}

void DeltaELoop(benchmark::State& state, const ShadeList& shades) {
    const std::vector<ShadeRanking::Lab> lab = ShadeRanking::ToLab(shades);
    const ShadeRanking::Lab centre =
        ShadeRanking::ToLab(Rgb(Reference[0], Reference[1], Reference[2]));
    const cmsCIELab c{centre.L, centre.a, centre.b};
    for (auto _ : state) {
        double sum = 0;
        for (const ShadeRanking::Lab& v : lab) {
            const cmsCIELab x{v.L, v.a, v.b};
            sum += cmsCIE2000DeltaE(&c, &x, 1.0, 1.0, 1.0);
        }
        benchmark::DoNotOptimize(sum);
    }
}

void Rank(benchmark::State& state, const ShadeList& shades) {
    const Colour reference = Rgb(Reference[0], Reference[1], Reference[2]);
    for (auto _ : state)
        benchmark::DoNotOptimize(ShadeRanking::RankOrder(shades, reference));
    QSet<Colour> colours;
    for (const ShadeRecord& s : shades)
        colours.insert(s.ColourValue());
    state.counters["shades"] = double(shades.size());
    state.counters["colours"] = double(colours.size());
}

void delta_e_loop(benchmark::State& state) {
    DeltaELoop(state, ThePalette().all);
}
void rank_delta_e_op(benchmark::State& state) {
    Rank(state, ThePalette().all);
}
void delta_e_loop_distinct(benchmark::State& state) {
    DeltaELoop(state, DistinctShades());
}
void rank_distinct_op(benchmark::State& state) {
    Rank(state, DistinctShades());
}

} // namespace

BENCHMARK(bare_query_similar)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(similar_search_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(paint_1k)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(palette_paint_50k_op)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(delta_e_loop)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(rank_delta_e_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(delta_e_loop_distinct)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(rank_distinct_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    return bench::RunAndReport(
        argc, argv,
        {{"similar_search", "similar_search_op", "bare_query_similar"},
         {"palette_paint", "palette_paint_50k_op", "paint_1k"},
         {"rank_delta_e", "rank_delta_e_op", "delta_e_loop"},
         {"rank_delta_e_distinct", "rank_distinct_op", "delta_e_loop_distinct"}});
}
