// The project overview and the paint order. One paint of the overview list (six
// visible rows of a 200-layer project) against the 18 statements those rows run,
// sent as bare queries; the paint order of a 24-megapixel project (50-megapixel with
// TINTORA_BENCH_PHOTO=50mp) with 20 layers against the JPEG export of the same picture.
#include "BenchSupport.h"

#include "CatalogueScript.h"
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueStatements.h"
#include "overview/OrderSheet.h"
#include "overview/OverviewWindow.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QString DemoCatalogue() {
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/demo-odrex.tom");
    if (!QFileInfo::exists(path)) {
        QFile schema(QStringLiteral(TINTORA_CATALOGUE_SCHEMA));
        schema.open(QIODevice::ReadOnly);
        const QString error = CatalogueScript::BuildDatabase(
            path, QString::fromUtf8(schema.readAll()), CatalogueScript::DemoRows());
        if (!error.isEmpty())
            std::fprintf(stderr, "demo catalogue: %s\n", qPrintable(error));
    }
    return path;
}

// Layer i refers to shades, fan decks and paint kinds that the demo catalogue holds.
void Paint(LayerRecord& layer, int i) {
    layer.ShadeId = 1 + i % 150;
    layer.FanDeckId = 1 + i % 9;
    layer.PaintKindId = 1 + i % 5;
    layer.Quantity = i;
}

struct OverviewScene {
    Workspace ws;
    bench::QuietPrompts prompts;
    CatalogueDatabase catalogue;
    QSqlDatabase bare;
    std::unique_ptr<OverviewWindow> window;
    QImage target;

    OverviewScene() {
        const QString path = DemoCatalogue();
        catalogue.Open(path);
        bare = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), QStringLiteral("bare"));
        bare.setDatabaseName(path);
        bare.setUserName(QStringLiteral("SYSDBA"));
        bare.setPassword(QStringLiteral("pinewoods"));
        bare.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=WIN1250;ISC_DPB_SQL_DIALECT=3"));
        bare.open();
        bare.transaction(); // as the catalogue's own connection reads: in one transaction

        ws.Doc.ProjectPath = QStringLiteral("/projekty/dum.bmp");
        ws.Doc.Layers = bench::ShadedLayers(200);
        for (int i = 1; i <= 200; ++i)
            Paint(ws.Doc.Layers[i], i);
        window = std::make_unique<OverviewWindow>(ws, prompts, &catalogue);
        window->resize(611, 102 + 6 * 90); // six rows between header and footer
        window->FillOverview();
        window->show();
        QCoreApplication::processEvents();
        target = QImage(window->layerList->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    }
};

// The scenes hold windows and connections: they go before the application does.
std::unique_ptr<OverviewScene> overviewScene;
struct OrderScene;
std::unique_ptr<OrderScene> orderScene;

OverviewScene& TheOverview() {
    if (!overviewScene)
        overviewScene = std::make_unique<OverviewScene>();
    return *overviewScene;
}

void bare_queries_six_rows(benchmark::State& state) {
    OverviewScene& s = TheOverview();
    for (auto _ : state) {
        for (int i = 1; i <= 6; ++i) {
            const LayerRecord& layer = s.ws.Doc.Layers[i];
            for (const QString& statement : {Statements::ShadeStatement(layer.ShadeId),
                                             Statements::FanDeckStatement(layer.FanDeckId),
                                             Statements::PaintKindStatement(layer.PaintKindId)}) {
                QSqlQuery query(s.bare);
                query.setForwardOnly(true);
                query.exec(statement);
                const int columns = query.record().count();
                while (query.next()) {
                    for (int c = 0; c < columns; ++c)
                        benchmark::DoNotOptimize(query.value(c));
                }
            }
        }
    }
}

void overview_paint_op(benchmark::State& state) {
    OverviewScene& s = TheOverview();
    const int before = s.catalogue.StatementCount();
    const int calls = s.catalogue.CallCount();
    for (auto _ : state)
        s.window->layerList->viewport()->render(&s.target);
    state.counters["statements_per_paint"] =
        double(s.catalogue.StatementCount() - before) / double(state.iterations());
    // Each call hands statements to the catalogue's thread and waits for its answer.
    state.counters["waits_per_paint"] =
        double(s.catalogue.CallCount() - calls) / double(state.iterations());
}

struct OrderScene {
    QTemporaryDir dir;
    Workspace ws;
    bench::QuietPrompts prompts;
    CatalogueDatabase catalogue;

    OrderScene() {
        catalogue.Open(DemoCatalogue());
        ws.Doc.ProjectPath = dir.filePath(QStringLiteral("dum.bmp"));
        const QSize size = bench::PhotoSize();
        ws.Doc.PhotoBitmap = bench::SyntheticPhoto(size.width(), size.height());
        ws.Doc.Mask = bench::SyntheticMask(size.width(), size.height(), 20, 20);
        ws.Doc.Layers = bench::ShadedLayers(20);
        for (int i = 1; i <= 20; ++i)
            Paint(ws.Doc.Layers[i], i);
        ws.MaskEditMode = false;
        ws.ResizeView();
        ws.UpdateWholePicture();
    }
};

OrderScene& TheOrder() {
    if (!orderScene)
        orderScene = std::make_unique<OrderScene>();
    return *orderScene;
}

void export_jpeg(benchmark::State& state) {
    OrderScene& s = TheOrder();
    s.prompts.file = s.dir.filePath(QStringLiteral("obrazek.jpg"));
    for (auto _ : state) {
        if (!ExportPicture(s.ws, s.prompts))
            state.SkipWithError("export failed");
    }
}

void order_sheet_op(benchmark::State& state) {
    OrderScene& s = TheOrder();
    s.prompts.file = s.dir.filePath(QStringLiteral("objednavka.pdf"));
    for (auto _ : state) {
        if (!SaveOrderSheet(s.ws.Doc, s.prompts, &s.catalogue))
            state.SkipWithError("order sheet failed");
    }
    state.counters["pdf_bytes"] = double(QFileInfo(s.prompts.file).size());
}

} // namespace

BENCHMARK(bare_queries_six_rows)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(overview_paint_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(export_jpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(order_sheet_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int code =
        bench::RunAndReport(argc, argv,
                            {{"overview_paint", "overview_paint_op", "bare_queries_six_rows"},
                             {bench::Sized("order_sheet"), "order_sheet_op", "export_jpeg"}});
    overviewScene.reset();
    orderScene.reset();
    return code;
}
