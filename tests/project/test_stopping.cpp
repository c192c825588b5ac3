#include "overview/OrderSheet.h"
#include "overview/Proposal.h"
#include "project/PhotoFiles.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace TestPictures;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Two saved projects, the first of them open, and a file the export may replace.
struct Fixture {
    QTemporaryDir dir;
    QString domy = dir.filePath(QStringLiteral("domy"));
    QString first = MakeProject(QStringLiteral("První.bmp"), Quadrants(1600, 120));
    QString second = MakeProject(QStringLiteral("Druhý.bmp"), Noise(1500, 200));
    QString exported = dir.filePath(QStringLiteral("vystup.jpg"));
    Workspace ws;
    ScriptedPrompts prompts;

    Fixture() {
        WriteFile(exported, QByteArray("the export of yesterday"));
        QVERIFY(OpenProjectFile(ws, prompts, first));
        prompts.reported.clear();
        prompts.progressTexts.clear();
    }

    QString MakeProject(const QString& name, const QImage& picture) {
        QDir().mkpath(domy);
        const QString photo = QDir(domy).filePath(name);
        PhotoFiles::SaveBmp(photo, picture);
        LayerRecord wall = NewLayerTemplate(1);
        wall.ShadeColour = Rgb(30, 140, 200);
        wall.RealColour = Rgb(220, 0, 0);
        TMask mask = TMask::CreateBlank(picture.width(), picture.height());
        for (int y = 0; y < picture.height(); ++y)
            mask.PaintSpan(y, 0, picture.width() / 2, 1);
        mask.SaveToFile(photo + QStringLiteral(".mask"), {OriginalLayerTemplate(), wall}, {});
        return photo;
    }
};

} // namespace

// "Zrušit" pressed while long work runs: the files and the document stay exactly as
// they were, nothing is reported, and the same work then goes through.
class TestStopping : public QObject {
    Q_OBJECT
private slots:
    void stoppingChangesNothing_data() {
        QTest::addColumn<QString>("work");
        QTest::addColumn<double>("stopAt");
        for (const char* work : {"open", "export", "order", "proposal"})
            for (const double stopAt : {0.0, 0.5, 0.99})
                QTest::addRow("%s at %.2f", work, stopAt) << QString::fromLatin1(work) << stopAt;
    }
    void stoppingChangesNothing() {
        QFETCH(QString, work);
        QFETCH(double, stopAt);
        Fixture f;
        const QImage view = f.ws.ViewBitmap;
        const QStringList projects = Entries(f.domy);
        const QStringList files = Entries(f.dir.path());
        const auto run = [&] {
            if (work == QLatin1String("open"))
                return OpenProjectFile(f.ws, f.prompts, f.second);
            f.prompts.fileNames.enqueue(f.exported);
            if (work == QLatin1String("export"))
                return ExportPicture(f.ws, f.prompts);
            if (work == QLatin1String("proposal"))
                return SaveProposal(f.ws.Doc, {}, f.prompts, nullptr);
            return SaveOrderSheet(f.ws.Doc, f.prompts, nullptr);
        };
        f.prompts.stopAt = stopAt;
        QVERIFY(!run());
        QVERIFY(f.prompts.asked.isEmpty());
        QCOMPARE(f.prompts.progressTexts.size(), 1);
        QVERIFY(f.prompts.reported.last() >= stopAt);
        QCOMPARE(f.ws.Doc.ProjectPath, f.first);
        QCOMPARE(f.ws.ViewBitmap, view);
        QCOMPARE(Entries(f.domy), projects);
        QCOMPARE(Entries(f.dir.path()), files);
        QCOMPARE(ReadAll(f.exported), QByteArray("the export of yesterday"));

        f.prompts.stopAt = 2.0;
        f.prompts.reported.clear();
        QVERIFY(run());
        if (work == QLatin1String("open"))
            QCOMPARE(f.ws.Doc.ProjectPath, f.second);
        else
            QVERIFY(ReadAll(f.exported)
                        .startsWith(work == QLatin1String("export") ? "\xFF\xD8" : "%PDF"));
        // The bar rose to the end, in order.
        const QList<double>& reported = f.prompts.reported;
        QVERIFY(reported.last() >= 0.99);
        for (qsizetype i = 1; i < reported.size(); ++i)
            QVERIFY(reported[i] >= reported[i - 1]);
    }
};

QTEST_MAIN(TestStopping)
#include "test_stopping.moc"
