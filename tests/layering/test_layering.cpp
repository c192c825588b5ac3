// The folders of src/ stand in layers: the document, its files and rendering at the
// bottom, then editing, the workspace, the shared window parts, the subsystems and
// the application on top. A file includes only files of its own folder and of lower
// ones, and no chain of includes comes back to where it started.
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <functional>

namespace {

// Higher numbers stand higher; folders of one rank do not include each other.
const QMap<QString, int> Ranks{
    {QStringLiteral("project"), 0},   {QStringLiteral("render"), 1},
    {QStringLiteral("editing"), 2},   {QStringLiteral("workspace"), 3},
    {QStringLiteral("widgets"), 4},   {QStringLiteral("layers"), 5},
    {QStringLiteral("catalogue"), 5}, {QStringLiteral("palette"), 6},
    {QStringLiteral("overview"), 6},  {QStringLiteral("app"), 7},
};

// Every source file of src/ ("folder/File.h") with the project files it includes.
QMap<QString, QStringList> IncludeGraph() {
    const QString root = QStringLiteral(TINTORA_SOURCE_DIR "/src/");
    static const QRegularExpression include(
        QStringLiteral(R"re(^\s*#\s*include\s+"([A-Za-z]+/[A-Za-z0-9_]+\.h)")re"),
        QRegularExpression::MultilineOption);
    QMap<QString, QStringList> graph;
    QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        QStringList& included = graph[path.mid(root.size())];
        for (auto match = include.globalMatch(text); match.hasNext();)
            included << match.next().captured(1);
    }
    return graph;
}

QString FolderOf(const QString& file) {
    return file.section(QLatin1Char('/'), 0, 0);
}

// A chain of includes that comes back to its start, or empty.
QStringList FindCircle(const QMap<QString, QStringList>& graph) {
    enum State { Unseen, OnPath, Done };
    QHash<QString, State> state;
    QStringList path;
    std::function<QStringList(const QString&)> visit = [&](const QString& file) {
        state[file] = OnPath;
        path << file;
        for (const QString& next : graph.value(file)) {
            if (state.value(next) == OnPath)
                return path.mid(path.indexOf(next)) << next;
            if (state.value(next) == Unseen && graph.contains(next)) {
                const QStringList circle = visit(next);
                if (!circle.isEmpty())
                    return circle;
            }
        }
        path.removeLast();
        state[file] = Done;
        return QStringList();
    };
    for (auto it = graph.cbegin(); it != graph.cend(); ++it) {
        if (state.value(it.key()) == Unseen) {
            const QStringList circle = visit(it.key());
            if (!circle.isEmpty())
                return circle;
        }
    }
    return {};
}

} // namespace

class TestLayering : public QObject {
    Q_OBJECT
private slots:
    void everyFolderHasItsPlace() {
        const auto graph = IncludeGraph();
        QVERIFY(graph.size() > 50);
        for (auto it = graph.cbegin(); it != graph.cend(); ++it)
            QVERIFY2(Ranks.contains(FolderOf(it.key())), qPrintable(it.key()));
    }

    void noIncludeRunsUpward() {
        const auto graph = IncludeGraph();
        QStringList wrong;
        for (auto it = graph.cbegin(); it != graph.cend(); ++it) {
            const QString from = FolderOf(it.key());
            for (const QString& included : it.value()) {
                const QString to = FolderOf(included);
                if (to != from && Ranks.value(to, 99) >= Ranks.value(from))
                    wrong << it.key() + QStringLiteral(" → ") + included;
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }

    void noIncludeComesBack() {
        const QStringList circle = FindCircle(IncludeGraph());
        QVERIFY2(circle.isEmpty(), qPrintable(circle.join(QStringLiteral(" → "))));
    }
};

QTEST_GUILESS_MAIN(TestLayering)
#include "test_layering.moc"
