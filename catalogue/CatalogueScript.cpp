#include "CatalogueScript.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>

namespace CatalogueScript {
namespace {

QString Text(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// A colour of a hue family at a lightness step: HSL with the fan deck's saturation.
void Hsl(double h, double s, double l, int& r, int& g, int& b) {
    const double c = (1 - std::fabs(2 * l - 1)) * s;
    const double hp = std::fmod(h, 360.0) / 60.0;
    const double x = c * (1 - std::fabs(std::fmod(hp, 2.0) - 1));
    double r1 = 0, g1 = 0, b1 = 0;
    if (hp < 1) {
        r1 = c;
        g1 = x;
    } else if (hp < 2) {
        r1 = x;
        g1 = c;
    } else if (hp < 3) {
        g1 = c;
        b1 = x;
    } else if (hp < 4) {
        g1 = x;
        b1 = c;
    } else if (hp < 5) {
        r1 = x;
        b1 = c;
    } else {
        r1 = c;
        b1 = x;
    }
    const double m = l - c / 2;
    r = int(std::lround((r1 + m) * 255));
    g = int(std::lround((g1 + m) * 255));
    b = int(std::lround((b1 + m) * 255));
}

struct Deck {
    int id;
    const char* name;
    char type;
    int own;
    const char* prefix;
    int families;
    int steps;
    double saturation;
    double hueOffset;
};

const char* const Notices[] = {
    "Vhodné i do exteriéru", "Omezená stálost na přímém slunci",
    "Pouze na objednávku",   "Doporučeno pro soklové části",
    "Míchá se z bílé báze",  "Nový odstín v nabídce",
};

} // namespace

Content DemoContent(int largeShades) {
    Content content;
    content.paintKinds = {
        {1, QStringLiteral("Fasádní barva Odrex"), QStringLiteral("l"), 'd'},
        {2, QStringLiteral("Interiérová malířská barva"), QStringLiteral("Kg"), 'd'},
        {3, QStringLiteral("Syntetický email lesklý"), QStringLiteral("l"), 'a'},
        {4, QStringLiteral("Email na kov a dřevo"), QStringLiteral("Kg"), 'a'},
        {5, QStringLiteral("Silikonová fasádní barva"), QStringLiteral("l"), 'd'},
    };

    std::vector<Deck> decks;
    if (largeShades <= 0) {
        decks = {
            {1, "Exteriér", 'd', 0, "E", 32, 8, 0.45, 10},
            {2, "Interiér", 'd', 0, "I", 30, 10, 0.30, 25},
            {3, "Pastelové tóny", 'd', 0, "P", 24, 8, 0.55, 40},
            {4, "Syntetika", 'a', 0, "S", 26, 8, 0.65, 0},
            {5, "Kovy a dřevo", 'a', 0, "K", 18, 8, 0.35, 15},
            {6, "Přírodní tóny", 'd', 0, "N", 20, 8, 0.25, 20},
            {7, "Zářivé", 'a', 0, "Z", 16, 6, 0.85, 5},
            {8, "Moje barvy", 'd', 1, "M", 4, 5, 0.40, 200},
            {9, "Exteriér", 'd', 0, "ES", 20, 8, 0.40, 190}, // same name and type as 1
        };
        content.carries = {{1, 1}, {1, 6}, {2, 2}, {2, 3}, {2, 8}, {3, 4},
                           {3, 7}, {4, 5}, {4, 4}, {5, 9}, {5, 6}};
    } else {
        const int perDeck = 2000;
        const int count = std::max(1, largeShades / perDeck);
        static std::vector<QByteArray> names;
        static std::vector<QByteArray> prefixes;
        names.clear();
        prefixes.clear();
        for (int i = 0; i < count; ++i) {
            names.push_back(
                QStringLiteral("Velký vějíř %1").arg(i + 1, 2, 10, QLatin1Char('0')).toUtf8());
            prefixes.push_back(QStringLiteral("V%1").arg(i + 1, 2, 10, QLatin1Char('0')).toUtf8());
        }
        for (int i = 0; i < count; ++i) {
            decks.push_back({i + 1, names[size_t(i)].constData(), i % 2 ? 'a' : 'd', 0,
                             prefixes[size_t(i)].constData(), 100, 20, 0.5, 7.0 * i});
            content.carries.append({1 + i % 5, i + 1});
        }
    }
    for (const Deck& d : decks)
        content.fanDecks.append({d.id, QString::fromUtf8(d.name), d.type, d.own});

    int shadeId = 0;
    for (const Deck& d : decks) {
        QList<int> kinds;
        for (const auto& [kind, deck] : content.carries) {
            if (deck == d.id)
                kinds.append(kind);
        }
        for (int family = 1; family <= d.families; ++family) {
            const double hue = d.hueOffset + 360.0 * (family - 1) / d.families;
            for (int step = 1; step <= d.steps; ++step) {
                ++shadeId;
                const double lightness = 0.22 + 0.70 * (step - 1) / std::max(1, d.steps - 1);
                Shade shade{shadeId, QString(), -1, -1, -1, QString(), d.id, kinds};
                shade.name = QStringLiteral("%1 %2 - %3")
                                 .arg(QString::fromUtf8(d.prefix))
                                 .arg(family, 3, 10, QLatin1Char('0'))
                                 .arg(step, 2, 10, QLatin1Char('0'));
                if (largeShades > 0 && shadeId % 5 == 0)
                    shade.name += QStringLiteral(" sytá"); // a fifth of the shades, for the search
                const bool noColour = largeShades <= 0 && shadeId % 97 == 0;
                if (!noColour)
                    Hsl(hue, d.saturation, lightness, shade.red, shade.green, shade.blue);
                if (largeShades <= 0 && shadeId % 23 == 0)
                    shade.notice =
                        QString::fromUtf8(Notices[size_t(shadeId / 23) % std::size(Notices)]);
                content.shades.append(shade);
            }
        }
    }
    if (largeShades <= 0) {
        // Named shades of the own fan deck, with Czech letters and a shade without colour.
        const char* own[] = {"Šeřík u vrat", "Žlutá kuchyň", "Čerstvá máta", "Ořechový stůl"};
        const int colours[][3] = {{200, 162, 200}, {245, 214, 110}, {170, 220, 180}, {120, 80, 50}};
        for (int i = 0; i < 4; ++i)
            content.shades.append({++shadeId,
                                   QString::fromUtf8(own[i]),
                                   colours[i][0],
                                   colours[i][1],
                                   colours[i][2],
                                   QStringLiteral("Vlastní odstín"),
                                   8,
                                   {2}});
        content.shades.append({++shadeId,
                               QStringLiteral("Bezbarvý lak"),
                               -1,
                               120,
                               80,
                               QStringLiteral("Transparentní – bez odstínu"),
                               5,
                               {4}});
    }
    return content;
}

QString DemoRows(int largeShades) {
    const Content content = DemoContent(largeShades);
    QString sql;
    QTextStream out(&sql);
    out << "INSERT INTO verze VALUES (0);\n";
    for (const PaintKind& k : content.paintKinds)
        out << "INSERT INTO Firma VALUES (" << k.id << ", " << Text(k.name) << ", " << Text(k.unit)
            << ", '" << k.type << "');\n";
    for (const FanDeck& d : content.fanDecks)
        out << "INSERT INTO Vejir VALUES (" << d.id << ", " << Text(d.name) << ", '" << d.type
            << "', " << d.own << ");\n";
    for (const auto& [kind, deck] : content.carries)
        out << "INSERT INTO Firma_in_vejir VALUES (" << kind << ", " << deck << ");\n";
    const auto component = [](int value) {
        return value < 0 ? QStringLiteral("NULL") : QString::number(value);
    };
    for (const Shade& shade : content.shades) {
        out << "INSERT INTO Odstin VALUES (" << shade.id << ", " << Text(shade.name) << ", "
            << component(shade.red) << ", " << component(shade.green) << ", "
            << component(shade.blue) << ", "
            << (shade.notice.isEmpty() ? QStringLiteral("NULL") : Text(shade.notice)) << ");\n";
        for (int kind : shade.paintKinds)
            out << "INSERT INTO Odstin_In_Vejir VALUES (" << shade.id << ", " << shade.fanDeck
                << ", " << kind << ");\n";
    }
    out << "COMMIT;\n";
    out.flush();
    return sql;
}

bool IsReadOnly(const QString& path) {
    QProcess isql;
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(QStringLiteral("isql-fb"),
               {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                QStringLiteral("-password"), QStringLiteral("pinewoods"), path});
    if (!isql.waitForStarted())
        return false;
    isql.write("SET HEADING OFF;\nSELECT MON$READ_ONLY FROM MON$DATABASE;\n");
    isql.closeWriteChannel();
    isql.waitForFinished(-1);
    return isql.exitCode() == 0 && isql.readAll().trimmed() == "1";
}

QString MakeReadOnly(const QString& path) {
    // Marking rewrites the header page, so a file already marked is left alone.
    if (IsReadOnly(path))
        return QString();
    QProcess gfix;
    gfix.setProcessChannelMode(QProcess::MergedChannels);
    gfix.start(QStringLiteral("gfix"),
               {QStringLiteral("-mode"), QStringLiteral("read_only"), QStringLiteral("-user"),
                QStringLiteral("SYSDBA"), QStringLiteral("-password"), QStringLiteral("pinewoods"),
                path});
    if (!gfix.waitForStarted())
        return QStringLiteral("program gfix nelze spustit");
    gfix.waitForFinished(-1);
    const QString output = QString::fromLocal8Bit(gfix.readAll()).trimmed();
    if (gfix.exitStatus() != QProcess::NormalExit || gfix.exitCode() != 0 || !output.isEmpty())
        return QStringLiteral("gfix: %1").arg(output.isEmpty() ? QStringLiteral("chyba") : output);
    return QString();
}

QString BuildDatabase(const QString& path, const QString& schema, const QString& rows,
                      bool readOnly) {
    QTemporaryDir work(QFileInfo(path).absoluteDir().filePath(QStringLiteral(".katalog-XXXXXX")));
    if (!work.isValid())
        return QStringLiteral("nelze vytvořit pracovní složku");
    const QString database = work.filePath(QStringLiteral("katalog.tom"));
    const QString script = work.filePath(QStringLiteral("katalog.sql"));
    QString sql = QStringLiteral("SET NAMES WIN1250;\nCREATE DATABASE '%1' USER 'SYSDBA' PASSWORD "
                                 "'pinewoods' DEFAULT CHARACTER SET WIN1250;\n")
                      .arg(database);
    sql += schema + QLatin1Char('\n') + rows;
    QStringEncoder encoder("windows-1250");
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly) || file.write(encoder.encode(sql)) < 0)
        return QStringLiteral("nelze zapsat skript %1").arg(script);
    file.close();

    QProcess isql;
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(QStringLiteral("isql-fb"),
               {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-i"), script});
    if (!isql.waitForStarted())
        return QStringLiteral("program isql-fb nelze spustit");
    isql.waitForFinished(-1);
    const QString output = QString::fromLocal8Bit(isql.readAll()).trimmed();
    if (isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0 || !output.isEmpty())
        return QStringLiteral("isql-fb: %1")
            .arg(output.isEmpty() ? QStringLiteral("chyba") : output);
    if (readOnly) {
        const QString error = MakeReadOnly(database);
        if (!error.isEmpty())
            return error;
    }
    QFile::remove(path);
    if (!QFile::rename(database, path))
        return QStringLiteral("soubor %1 nelze zapsat").arg(path);
    // Firebird makes its files for its own group only; a catalogue is read by
    // every user of the program.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                    QFile::ReadOther);
    return QString();
}

} // namespace CatalogueScript
