#include "app/ExportCommand.h"

#include "catalogue/CatalogueDatabase.h"
#include "layers/Schemes.h"
#include "overview/OrderSheet.h"
#include "overview/PaintCoverage.h"
#include "project/AtomicFile.h"
#include "project/Errors.h"
#include "project/LayerAreas.h"
#include "project/MeasurementFile.h"
#include "project/PhotoFiles.h"
#include "project/ProjectFiles.h"
#include "render/RenderRegion.h"
#include "render/ZoomMath.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace {

const char* const HelpText =
    "Použití: tintora-export [volby] FOTO.bmp      (maska je FOTO.bmp.mask)\n"
    "  --out SOUBOR         zapíše obrázek; formát podle přípony: .bmp (24 bitů), .png, .jpg\n"
    "  --scheme JMÉNO       nejprve použije barevné schéma daného jména\n"
    "  --all-schemes SLOŽKA zapíše do složky jeden JPEG za každé schéma (projekt-schéma.jpg)\n"
    "  --mask-mode          vykreslí mód editace masky, každou vrstvu v barvě masky\n"
    "  --zoom Z             0.25, 0.5, 1, 2 nebo 4 (výchozí 1): obrázek v daném zvětšení\n"
    "  --order-sheet SOUBOR zapíše objednávku barev (PDF): obrázek, vrstvy s odstíny\n"
    "                       a množstvím a souhrn toho, co nakoupit; s měřítkem i plochy\n"
    "                       a spotřebu podle vydatnosti z nastavení uživatele\n"
    "  --catalogue SOUBOR   katalog barev pro objednávku (jinak katalog podle tintora.ini\n"
    "                       vedle programu, bez něj odrex.tom vedle programu)\n"
    "  --list               vypíše vrstvy a schémata se všemi uloženými údaji jako JSON,\n"
    "                       s měřítkem i plochu každé vrstvy v m²\n"
    "  --help               vypíše tuto nápovědu\n";

struct Options {
    QString photo;
    QString out;
    QString scheme;
    bool hasScheme = false;
    QString allSchemesDir;
    bool maskMode = false;
    float zoom = 1.0f;
    bool list = false;
    bool help = false;
    QString orderSheet;
    QString catalogue;
};

class UsageError : public TintoraError {
public:
    using TintoraError::TintoraError;
};

Options Parse(const QStringList& arguments) {
    Options options;
    auto valueOf = [&](qsizetype& i) {
        if (i + 1 >= arguments.size())
            throw UsageError(QStringLiteral("Volba %1 potřebuje hodnotu.").arg(arguments[i]));
        return arguments[++i];
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            options.help = true;
        } else if (a == QLatin1String("--out")) {
            options.out = valueOf(i);
        } else if (a == QLatin1String("--scheme")) {
            options.scheme = valueOf(i);
            options.hasScheme = true;
        } else if (a == QLatin1String("--all-schemes")) {
            options.allSchemesDir = valueOf(i);
        } else if (a == QLatin1String("--mask-mode")) {
            options.maskMode = true;
        } else if (a == QLatin1String("--list")) {
            options.list = true;
        } else if (a == QLatin1String("--order-sheet")) {
            options.orderSheet = valueOf(i);
        } else if (a == QLatin1String("--catalogue")) {
            options.catalogue = valueOf(i);
        } else if (a == QLatin1String("--zoom")) {
            const QString text = valueOf(i);
            bool ok = false;
            const double zoom = text.toDouble(&ok);
            if (!ok || (zoom != 0.25 && zoom != 0.5 && zoom != 1 && zoom != 2 && zoom != 4))
                throw UsageError(
                    QStringLiteral("Zvětšení musí být 0.25, 0.5, 1, 2 nebo 4, ne „%1“.").arg(text));
            options.zoom = float(zoom);
        } else if (a.startsWith(QLatin1String("--"))) {
            throw UsageError(QStringLiteral("Neznámá volba %1.").arg(a));
        } else if (options.photo.isEmpty()) {
            options.photo = a;
        } else {
            throw UsageError(QStringLiteral("Zadejte jen jeden projekt (navíc: %1).").arg(a));
        }
    }
    if (options.help)
        return options;
    if (options.photo.isEmpty())
        throw UsageError(QStringLiteral("Chybí projekt: zadejte cestu k souboru .bmp."));
    if (options.out.isEmpty() && options.allSchemesDir.isEmpty() && !options.list &&
        options.orderSheet.isEmpty())
        throw UsageError(QStringLiteral(
            "Není co dělat: zadejte --out, --all-schemes, --order-sheet nebo --list."));
    return options;
}

QJsonObject LayerJson(const LayerRecord& l) {
    return QJsonObject{{QStringLiteral("Name"), l.Name},
                       {QStringLiteral("ReservedText"), l.ReservedText},
                       {QStringLiteral("MasterName"), l.MasterName},
                       {QStringLiteral("RealColour"), l.RealColour},
                       {QStringLiteral("MaskColour"), l.MaskColour},
                       {QStringLiteral("ShadeColour"), l.ShadeColour},
                       {QStringLiteral("Locked"), l.Locked},
                       {QStringLiteral("Subordinate"), l.Subordinate},
                       {QStringLiteral("ShadeId"), l.ShadeId},
                       {QStringLiteral("FanDeckId"), l.FanDeckId},
                       {QStringLiteral("Quantity"), l.Quantity},
                       {QStringLiteral("PaintKindId"), l.PaintKindId}};
}

QJsonArray LayersJson(const LayerList& layers) {
    QJsonArray array;
    for (const LayerRecord& layer : layers)
        array.append(LayerJson(layer));
    return array;
}

QJsonArray ReferencesJson(const Measurements& measures) {
    QJsonArray array;
    for (const PlaneReference& reference : measures.References) {
        const bool rectangle = reference.kind == PlaneReference::Kind::Rectangle;
        QJsonArray points;
        for (const QPointF& p : reference.points)
            points.append(QJsonArray{p.x(), p.y()});
        QJsonObject object{
            {QStringLiteral("Kind"),
             rectangle ? QStringLiteral("Rectangle") : QStringLiteral("Length")},
            {QStringLiteral("Points"), points},
            {rectangle ? QStringLiteral("Width") : QStringLiteral("Length"), reference.width}};
        if (rectangle)
            object.insert(QStringLiteral("Height"), reference.height);
        array.append(object);
    }
    return array;
}

// With a reference, every layer also gives the reference it is measured with (from
// 1), the area of its own pixels and, unless it is subordinate, the area its paint
// covers with its subordinate layers' (what the overview shows), in square metres.
QByteArray Listing(const LoadedProject& project) {
    QJsonArray schemes;
    for (const SchemeRecord& scheme : project.Schemes)
        schemes.append(QJsonObject{{QStringLiteral("Name"), scheme.Name},
                                   {QStringLiteral("Layers"), LayersJson(scheme.Layers)}});
    QJsonArray layers = LayersJson(project.Layers);
    const QList<double> own = LayerAreas::Own(project.Mask, project.Layers, project.Measures);
    const QList<double> painted = LayerAreas::Painted(project.Layers, own);
    for (qsizetype i = 0; i < own.size(); ++i) {
        QJsonObject layer = layers[i].toObject();
        const LayerRecord& record = project.Layers[i];
        layer.insert(QStringLiteral("Reference"), project.Measures.PlaneOfLayer(record.Name) + 1);
        layer.insert(QStringLiteral("Area"), own[i]);
        if (!record.Subordinate)
            layer.insert(QStringLiteral("PaintedArea"), painted[i]);
        layers[i] = layer;
    }
    QJsonObject root{{QStringLiteral("Width"), project.Mask.Width},
                     {QStringLiteral("Height"), project.Mask.Height},
                     {QStringLiteral("Layers"), layers},
                     {QStringLiteral("Schemes"), schemes}};
    if (!project.Measures.IsEmpty())
        root.insert(QStringLiteral("References"), ReferencesJson(project.Measures));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QImage Render(const Document& doc, float zoom, bool maskMode) {
    QImage view(ViewSizeFor(doc.PhotoBitmap.size(), zoom), QImage::Format_BGR888);
    if (view.isNull())
        throw IoError(QStringLiteral("Pro obrázek není dost paměti."));
    view.fill(Qt::black);
    RenderRegion({doc.PhotoBitmap, doc.Mask, doc.Layers, zoom, maskMode}, view, 0, 0,
                 doc.Mask.Width - 1, doc.Mask.Height - 1);
    return view;
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The format an output's suffix names: "bmp", "jpg" or "png".
QString FormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp") || suffix == QLatin1String("png"))
        return suffix;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return QStringLiteral("jpg");
    throw UsageError(QStringLiteral("Neznámý formát výstupu „%1“: použijte .bmp, .png nebo .jpg.")
                         .arg(QFileInfo(path).fileName()));
}

// Writes the picture into file in the format its target's suffix names.
void WritePicture(AtomicFile& file, const QImage& picture) {
    const QString format = FormatOf(file.Target());
    if (format == QLatin1String("bmp")) {
        PhotoFiles::WriteBmp(file, picture);
    } else if (format == QLatin1String("jpg")) {
        file.Write(PhotoFiles::EncodeJpeg(picture));
    } else {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(picture))
            throw IoError(
                QStringLiteral("Obrázek nelze zakódovat do PNG.\n%1").arg(writer.errorString()));
        file.Write(png);
    }
}

// A file as the system knows it, whatever the name, link or hard link leading to it.
struct FileIdentity {
    dev_t device;
    ino_t inode;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

bool Exists(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// The pictures of a run, written beside their targets and put in place together
// at the end: a run that fails changes no file that stood before it. No output
// may be one of the project's own files, however it is named.
class Outputs {
public:
    explicit Outputs(const QStringList& inputs) {
        for (const QString& input : inputs) {
            if (const auto identity = IdentityOf(input))
                inputs_.push_back({input, *identity});
        }
    }

    void Add(const QString& path, const QImage& picture) {
        FormatOf(path);
        AddFile(path, [&picture](AtomicFile& file) { WritePicture(file, picture); });
    }

    // An output of any kind: write puts its bytes into the new file.
    template <typename Write> void AddFile(const QString& path, Write&& write) {
        if (const auto identity = IdentityOf(path)) {
            for (const auto& [input, inputIdentity] : inputs_) {
                if (*identity == inputIdentity)
                    throw TintoraError(
                        QStringLiteral("Výstup %1 je soubor projektu %2; tintora-export své "
                                       "vstupní soubory nikdy nepřepisuje. Zvolte jiný soubor.")
                            .arg(Native(path), Native(input)));
            }
        }
        const QString place = Place(path);
        for (const Pending& pending : pending_) {
            if (pending.place == place)
                throw TintoraError(QStringLiteral("Výstup %1 je zadán dvakrát.").arg(Native(path)));
        }
        auto file = std::make_unique<AtomicFile>(path);
        write(*file);
        pending_.push_back({place, std::move(file)});
    }

    // Puts every picture in place; if one cannot be, those put in place before it
    // that did not exist before the run are taken back.
    void CommitAll() {
        QStringList created;
        try {
            for (Pending& pending : pending_) {
                const QString path = pending.file->Target();
                const bool existed = Exists(path);
                pending.file->Commit();
                if (!existed)
                    created << path;
            }
        } catch (...) {
            for (const QString& path : created)
                QFile::remove(path);
            throw;
        }
    }

private:
    // The output's place: its folder's real path and its name.
    static QString Place(const QString& path) {
        const QFileInfo info(path);
        const QString folder = info.absoluteDir().canonicalPath();
        return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') +
               info.fileName();
    }

    struct Input {
        QString path;
        FileIdentity identity;
    };
    struct Pending {
        QString place;
        std::unique_ptr<AtomicFile> file;
    };
    std::vector<Input> inputs_;
    std::vector<Pending> pending_;
};

// Makes folder with its missing parents; returns the folders it made, outermost
// first, so that a failed run can take them back.
QStringList MakeFolder(const QString& folder) {
    QStringList missing;
    for (QString path = QFileInfo(folder).absoluteFilePath(); !Exists(path);
         path = QFileInfo(path).absolutePath()) {
        missing.prepend(path);
        if (QFileInfo(path).isRoot())
            break;
    }
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        for (auto it = missing.crbegin(); it != missing.crend(); ++it)
            QDir().rmdir(*it);
        throw IoError(QStringLiteral("Složku %1 nelze vytvořit.").arg(Native(folder)));
    }
    return missing;
}

QString SafeFileName(QString name) {
    static const QString Forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name) {
        if (Forbidden.contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    }
    return name.trimmed().isEmpty() ? QStringLiteral("schema") : name;
}

const SchemeRecord* FindScheme(const SchemeList& schemes, const QString& name) {
    for (const SchemeRecord& scheme : schemes) {
        if (scheme.Name == name)
            return &scheme;
    }
    return nullptr;
}

// The scheme named by --scheme, or none when the option was not given.
const SchemeRecord* RequestedScheme(const Options& options, const Document& doc) {
    if (!options.hasScheme)
        return nullptr;
    const SchemeRecord* scheme = FindScheme(doc.Schemes, options.scheme);
    if (!scheme)
        throw TintoraError(QStringLiteral("Projekt nemá barevné schéma „%1“.").arg(options.scheme));
    return scheme;
}

// The paint order as PDF bytes; a catalogue that cannot be used leaves the names out
// and is reported on err, the sheet is made all the same.
QByteArray OrderSheetPdf(const Options& options, const Document& doc, const QString& programDir,
                         QTextStream& err) {
    Document coloured = doc;
    const SchemeRecord* scheme = RequestedScheme(options, doc);
    if (scheme)
        ApplySchemeRecords(coloured, *scheme);
    CatalogueDatabase catalogue;
    QString problem;
    try {
        // The program's own catalogue (as tintora.ini names it) unless one is given.
        catalogue.Open(options.catalogue.isEmpty() ? CatalogueSettings::Read(programDir)
                                                   : CatalogueLocation::File(options.catalogue));
        if (catalogue.Version() != CatalogueDatabase::RequiredVersion)
            problem = QStringLiteral("Špatná databáze! Kontaktujte výrobce programu.");
    } catch (const DatabaseError& error) {
        problem = error.message();
    }
    OrderSheet sheet = Order::Make(coloured, problem.isEmpty() ? &catalogue : nullptr,
                                   QDate::currentDate(), PaintCoverage::Load());
    if (scheme)
        sheet.schemeName = scheme->Name;
    if (!problem.isEmpty())
        err << problem << '\n'
            << QStringLiteral("Objednávka %1 je bez jmen odstínů, vějířů a druhů barev: obsahuje "
                              "jen jména vrstev a množství.")
                   .arg(QDir::toNativeSeparators(options.orderSheet))
            << '\n';
    return Order::Pdf(sheet);
}

} // namespace

int RunExportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                     const QString& programDir) {
    QStringList madeFolders;
    try {
        const Options options = Parse(arguments);
        if (options.help) {
            out << QString::fromUtf8(HelpText);
            return 0;
        }
        LoadedProject project = LoadProject(options.photo);
        if (!project.MeasuresWarning.isEmpty())
            err << project.MeasuresWarning << '\n';
        if (options.list)
            out << QString::fromUtf8(Listing(project));

        Document doc;
        doc.ProjectPath = options.photo;
        doc.PhotoBitmap = std::move(project.Photo);
        doc.Mask = std::move(project.Mask);
        doc.Layers = std::move(project.Layers);
        doc.Schemes = std::move(project.Schemes);
        doc.Measures = std::move(project.Measures);
        const auto prepare = [&](const SchemeRecord* scheme) {
            Document copy = doc;
            if (scheme)
                ApplySchemeRecords(copy, *scheme);
            if (options.maskMode) {
                for (LayerRecord& layer : copy.Layers)
                    layer.ShownInMaskMode = true;
            }
            return copy;
        };

        Outputs outputs({options.photo, doc.MaskPath(), MeasurementFile::PathFor(options.photo)});
        if (!options.out.isEmpty()) {
            const SchemeRecord* scheme = RequestedScheme(options, doc);
            outputs.Add(options.out, Render(prepare(scheme), options.zoom, options.maskMode));
        }
        if (!options.orderSheet.isEmpty()) {
            const QByteArray pdf = OrderSheetPdf(
                options, doc,
                programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir, err);
            outputs.AddFile(options.orderSheet, [&pdf](AtomicFile& file) { file.Write(pdf); });
        }
        if (!options.allSchemesDir.isEmpty()) {
            madeFolders = MakeFolder(options.allSchemesDir);
            const QDir dir(options.allSchemesDir);
            const QString project = QFileInfo(options.photo).completeBaseName();
            QStringList used;
            for (const SchemeRecord& scheme : doc.Schemes) {
                QString name = project + QLatin1Char('-') + SafeFileName(scheme.Name);
                const QString base = name;
                for (int n = 2; used.contains(name, Qt::CaseInsensitive); ++n)
                    name = QStringLiteral("%1 (%2)").arg(base).arg(n);
                used << name;
                outputs.Add(dir.filePath(name + QStringLiteral(".jpg")),
                            Render(prepare(&scheme), options.zoom, options.maskMode));
            }
        }
        outputs.CommitAll();
        return 0;
    } catch (const UsageError& error) {
        err << error.message() << "\n\n" << QString::fromUtf8(HelpText);
    } catch (const TintoraError& error) {
        err << error.message() << '\n';
    } catch (const std::bad_alloc&) {
        err << QStringLiteral("Pro tuto operaci není dost paměti.") << '\n';
    }
    // A failed run leaves nothing of its own behind: its pictures were never put in
    // place, and the folders it made go again (only if empty).
    for (auto it = madeFolders.crbegin(); it != madeFolders.crend(); ++it)
        QDir().rmdir(*it);
    return 1;
}
