// The catalogue on a large database (50,000 shades in fan decks of 2,000): shade
// loads and the name search against a bare query loop over the same statement,
// the colour sort against a loop that only evaluates its N²/2 distances, and the
// time of opening the database with the first fan-deck load.
#include "BenchSupport.h"
#include "LargeCatalogue.h"

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "catalogue/ColourSort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdio>

namespace {

struct Catalogue {
    QString path = bench::LargeCatalogue();
    CatalogueDatabase db;
    CatalogueModel model{db};
    QSqlDatabase bare;
    double openMs = 0;

    Catalogue() {
        QElapsedTimer timer;
        timer.start();
        db.Open(path);
        model.LoadFanDecks();
        openMs = double(timer.nsecsElapsed()) / 1e6;
        bench::OpenBareConnection(path, QStringLiteral("bare"));
        bare = QSqlDatabase::database(QStringLiteral("bare"));
    }
};

Catalogue& TheCatalogue() {
    static Catalogue catalogue;
    return catalogue;
}

// Reads every column of every row, and nothing else.
void BareLoop(const QString& statement) {
    QSqlQuery query(TheCatalogue().bare);
    query.setForwardOnly(true);
    query.exec(statement);
    while (query.next()) {
        for (int c = 0; c < 9; ++c)
            benchmark::DoNotOptimize(query.value(c));
    }
}

void bare_query_fan_deck(benchmark::State& state) {
    Catalogue& c = TheCatalogue();
    // The fan deck that LoadShades reads: the selected one with its first paint kind.
    const int deckId = c.model.FanDecks[c.model.SelectedFanDeck].id;
    const int kindId = c.model.PaintKinds[c.model.SelectedPaintKind].id;
    for (auto _ : state)
        BareLoop(
            Statements::ShadesOfFanDeckStatement(deckId, kindId, Statements::Order::Unordered));
}

void load_shades_op(benchmark::State& state) {
    Catalogue& c = TheCatalogue();
    for (auto _ : state)
        c.model.LoadShades(Statements::Order::Unordered);
    state.counters["shades"] = double(c.model.Shades.size());
}

void bare_query_search(benchmark::State& state) {
    for (auto _ : state)
        BareLoop(Statements::ShadesByNameStatement(QStringLiteral("sytá")));
}

void search_shades_op(benchmark::State& state) {
    Catalogue& c = TheCatalogue();
    for (auto _ : state)
        c.model.SearchShades(QStringLiteral("sytá"));
    state.counters["shades"] = double(c.model.Shades.size());
}

ShadeList RandomShades(int count) {
    QRandomGenerator random(7);
    ShadeList shades;
    for (int i = 0; i < count; ++i) {
        ShadeRecord s;
        s.red = int(random.bounded(256));
        s.green = int(random.bounded(256));
        s.blue = int(random.bounded(256));
        shades << s;
    }
    return shades;
}

void Distances(benchmark::State& state, int count) {
    const ShadeList shades = RandomShades(count);
    std::vector<int> r(count), g(count), b(count);
    for (int i = 0; i < count; ++i) {
        r[i] = shades[i].red;
        g[i] = shades[i].green;
        b[i] = shades[i].blue;
    }
    for (auto _ : state) {
        long long sum = 0;
        for (int i = 0; i < count; ++i) {
            const int r0 = r[i], g0 = g[i], b0 = b[i];
            int partial = 0;
            for (int j = i + 1; j < count; ++j) {
                const int dr = r[j] - r0, dg = g[j] - g0, db = b[j] - b0;
                partial += dr * dr + dg * dg + db * db;
            }
            sum += partial;
        }
        benchmark::DoNotOptimize(sum);
    }
}

void distances_2k(benchmark::State& state) {
    Distances(state, 2000);
}
void distances_20k(benchmark::State& state) {
    Distances(state, 20000);
}

void sort_colour_2k_op(benchmark::State& state) {
    const ShadeList shades = RandomShades(2000);
    for (auto _ : state)
        benchmark::DoNotOptimize(SortShadesByColour(shades));
}

void sort_colour_20k_op(benchmark::State& state) {
    const ShadeList shades = RandomShades(20000);
    for (auto _ : state)
        benchmark::DoNotOptimize(SortShadesByColour(shades));
}

} // namespace

BENCHMARK(bare_query_fan_deck)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(load_shades_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(bare_query_search)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(search_shades_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(distances_2k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(sort_colour_2k_op)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(distances_20k)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(sort_colour_20k_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int code =
        bench::RunAndReport(argc, argv,
                            {{"load_shades", "load_shades_op", "bare_query_fan_deck"},
                             {"search_shades", "search_shades_op", "bare_query_search"},
                             {"sort_colour_2k", "sort_colour_2k_op", "distances_2k"},
                             {"sort_colour_20k", "sort_colour_20k_op", "distances_20k"}});
    std::printf("TIME open_catalogue_and_first_fan_decks %.1f ms\n", TheCatalogue().openMs);
    return code;
}
