#include "app/ExportCommand.h"

#include "app/SignalHandling.h"
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/PrivateCatalogueCopy.h"
#include "layers/Schemes.h"
#include "overview/OrderSheet.h"
#include "overview/PaintCoverage.h"
#include "overview/Proposal.h"
#include "project/AtomicFile.h"
#include "project/AtomicFileDevice.h"
#include "project/Errors.h"
#include "project/LayerAreas.h"
#include "project/MeasurementFile.h"
#include "project/MessageText.h"
#include "project/PhotoFiles.h"
#include "project/ProjectFiles.h"
#include "project/RecoveryFile.h"
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
    "  --scheme JMÉNO       nejprve použije barevné schéma daného jména (pro návrh barev\n"
    "                       lze zadat víckrát: návrh ukáže jen tato schémata)\n"
    "  --all-schemes SLOŽKA zapíše do složky jeden JPEG za každé schéma (projekt-schéma.jpg)\n"
    "  --mask-mode          vykreslí mód editace masky, každou vrstvu v barvě masky\n"
    "  --zoom Z             0.25, 0.5, 1, 2 nebo 4 (výchozí 1): obrázek v daném zvětšení\n"
    "  --order-sheet SOUBOR zapíše objednávku barev (PDF): obrázek, vrstvy s odstíny\n"
    "                       a množstvím a souhrn toho, co nakoupit; s měřítkem i plochy\n"
    "                       a spotřebu podle vydatnosti z nastavení uživatele\n"
    "  --proposal SOUBOR    zapíše návrh barev pro zákazníka (PDF): všechna schémata\n"
    "                       projektu (nebo ta zadaná volbou --scheme) s obrázky a odstíny\n"
    "  --catalogue SOUBOR   katalog barev pro objednávku a návrh (jinak katalog podle tintora.ini\n"
    "                       vedle programu, bez něj odrex.tom vedle programu)\n"
    "  --list               vypíše vrstvy a schémata se všemi uloženými údaji jako JSON,\n"
    "                       s měřítkem i plochu každé vrstvy v m²\n"
    "  --help               vypíše tuto nápovědu\n"
    "  --version            vypíše verzi programu\n";

struct Options {
    QString photo;
    QString out;
    QStringList schemes; // in the order given
    QString allSchemesDir;
    bool maskMode = false;
    float zoom = 1.0f;
    bool list = false;
    bool help = false;
    bool version = false;
    QString orderSheet;
    QString proposal;
    QString catalogue;

    bool WritesPdf() const { return !orderSheet.isEmpty() || !proposal.isEmpty(); }
};

class UsageError : public TintoraError {
public:
    using TintoraError::TintoraError;
};

Options Parse(const QStringList& arguments) {
    Options options;
    auto valueOf = [&](qsizetype& i) {
        if (i + 1 >= arguments.size())
            throw UsageError(QStringLiteral("Volba %1 potřebuje hodnotu.")
                                 .arg(MessageText::Value(arguments[i])));
        return arguments[++i];
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            options.help = true;
        } else if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            options.version = true;
        } else if (a == QLatin1String("--out")) {
            options.out = valueOf(i);
        } else if (a == QLatin1String("--scheme")) {
            options.schemes << valueOf(i);
        } else if (a == QLatin1String("--all-schemes")) {
            options.allSchemesDir = valueOf(i);
        } else if (a == QLatin1String("--mask-mode")) {
            options.maskMode = true;
        } else if (a == QLatin1String("--list")) {
            options.list = true;
        } else if (a == QLatin1String("--order-sheet")) {
            options.orderSheet = valueOf(i);
        } else if (a == QLatin1String("--proposal")) {
            options.proposal = valueOf(i);
        } else if (a == QLatin1String("--catalogue")) {
            options.catalogue = valueOf(i);
        } else if (a == QLatin1String("--zoom")) {
            const QString text = valueOf(i);
            bool ok = false;
            const double zoom = text.toDouble(&ok);
            if (!ok || (zoom != 0.25 && zoom != 0.5 && zoom != 1 && zoom != 2 && zoom != 4))
                throw UsageError(
                    QStringLiteral("Zvětšení musí být 0.25, 0.5, 1, 2 nebo 4, ne „%1“.")
                        .arg(MessageText::Value(text)));
            options.zoom = float(zoom);
        } else if (a.startsWith(QLatin1String("--"))) {
            throw UsageError(QStringLiteral("Neznámá volba %1.").arg(MessageText::Value(a)));
        } else if (options.photo.isEmpty()) {
            options.photo = a;
        } else {
            throw UsageError(QStringLiteral("Zadejte jen jeden projekt (navíc: %1).")
                                 .arg(MessageText::Value(a)));
        }
    }
    if (options.help || options.version)
        return options;
    if (options.photo.isEmpty())
        throw UsageError(QStringLiteral("Chybí projekt: zadejte cestu k souboru .bmp."));
    if (options.out.isEmpty() && options.allSchemesDir.isEmpty() && !options.list &&
        !options.WritesPdf())
        throw UsageError(QStringLiteral("Není co dělat: zadejte --out, --all-schemes, "
                                        "--order-sheet, --proposal nebo --list."));
    // A picture and a paint order show one colouring; only the proposal shows several.
    if (options.schemes.size() > 1 && (!options.out.isEmpty() || !options.orderSheet.isEmpty()))
        throw UsageError(QStringLiteral("Volbu --scheme lze zadat víckrát jen pro návrh barev "
                                        "(--proposal); obrázek a objednávka ukazují jedno "
                                        "schéma."));
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
    return MessageText::Path(path);
}

// The format an output's suffix names: "bmp", "jpg" or "png".
QString FormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp") || suffix == QLatin1String("png"))
        return suffix;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return QStringLiteral("jpg");
    throw UsageError(QStringLiteral("Neznámý formát výstupu „%1“: použijte .bmp, .png nebo .jpg.")
                         .arg(MessageText::Value(QFileInfo(path).fileName())));
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

// The pictures and documents of a run, written beside their targets and put in
// place together at the end: a run that fails changes no file that stood before it.
// No output may be a file the run reads or runs from, however it is named (a link,
// a hard link, another spelling), nor the same file as another output.
class Outputs {
public:
    explicit Outputs(const QStringList& protectedFiles) {
        for (const QString& file : protectedFiles) {
            if (const auto identity = IdentityOf(file))
                protected_.push_back({file, *identity});
        }
    }

    void Add(const QString& path, const QImage& picture) {
        FormatOf(path);
        AddFile(path, [&picture](AtomicFile& file) { WritePicture(file, picture); });
    }

    // Whether an output of the run already has this place (letter case aside, so that
    // two names stay two files on a disk that does not tell case apart).
    bool Taken(const QString& path) const {
        const QString place = Place(path);
        for (const Pending& pending : pending_) {
            if (pending.place.compare(place, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }

    // An output of any kind: write puts its bytes into the new file.
    template <typename Write> void AddFile(const QString& path, Write&& write) {
        const auto identity = IdentityOf(path);
        if (identity) {
            for (const auto& [file, fileIdentity] : protected_) {
                if (*identity == fileIdentity)
                    throw TintoraError(
                        QStringLiteral("Výstup %1 je soubor %2, který tintora-export čte; "
                                       "tintora-export své vstupní soubory nikdy nepřepisuje. "
                                       "Zvolte jiný soubor.")
                            .arg(Native(path), Native(file)));
            }
        }
        for (const Pending& pending : pending_) {
            if ((identity && pending.identity && *identity == *pending.identity) ||
                pending.place.compare(Place(path), Qt::CaseInsensitive) == 0)
                throw TintoraError(QStringLiteral("Výstup %1 je zadán dvakrát.").arg(Native(path)));
        }
        auto file = std::make_unique<AtomicFile>(path);
        write(*file);
        pending_.push_back({Place(path), identity, std::move(file)});
    }

    // Refuses an output that is a file the run reads or runs from, however it is named.
    void CheckNotAnInput(const QString& path) const {
        const auto identity = IdentityOf(path);
        if (!identity)
            return;
        for (const auto& [file, fileIdentity] : protected_) {
            if (*identity == fileIdentity)
                throw TintoraError(QStringLiteral("Výstup %1 je soubor %2, který tintora-export "
                                                  "čte; tintora-export své vstupní soubory nikdy "
                                                  "nepřepisuje. Zvolte jiný soubor.")
                                       .arg(Native(path), Native(file)));
        }
    }

    // Puts every output in place; if one cannot be, those put in place before it
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

    struct Protected {
        QString path;
        FileIdentity identity;
    };
    struct Pending {
        QString place;
        std::optional<FileIdentity> identity; // of a file that stood there before the run
        std::unique_ptr<AtomicFile> file;
    };
    std::vector<Protected> protected_;
    std::vector<Pending> pending_;
};

// The files a run reads or runs from: the project's photograph, mask and kept
// changes, the catalogue (the one given, or the program's own with its settings),
// the programs and their help page.
QStringList FilesOfTheRun(const Options& options, const QString& programDir) {
    const QDir program(programDir);
    QStringList files{options.photo,
                      options.photo + QStringLiteral(".mask"),
                      RecoveryFile::PathFor(options.photo),
                      MeasurementFile::PathFor(options.photo),
                      RecoveryFile::MeasuresPathFor(options.photo),
                      program.filePath(CatalogueSettings::FileName),
                      program.filePath(QStringLiteral("odrex.tom")),
                      program.filePath(QStringLiteral("tintora")),
                      program.filePath(QStringLiteral("tintora-export")),
                      program.filePath(QStringLiteral("help/help.htm"))};
    if (!options.catalogue.isEmpty())
        files << options.catalogue;
    try {
        const CatalogueLocation settings = CatalogueSettings::Read(programDir);
        if (!settings.OnServer())
            files << settings.path;
    } catch (const DatabaseError&) {
        // Settings that cannot be read name no file.
    }
    if (QCoreApplication::instance())
        files << QCoreApplication::applicationFilePath();
    return files;
}

QString SafeFileName(QString name) {
    static const QString Forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name) {
        if (Forbidden.contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    }
    return name.trimmed().isEmpty() ? QStringLiteral("schema") : name;
}

// The name of a scheme's picture: "project-scheme.jpg", then "project-scheme (2).jpg"
// and on while an output of the run has the name. Made as plain text, never through a
// format that the names could take part in.
QString SchemePicturePath(const QDir& dir, const QString& project, const QString& scheme,
                          const Outputs& outputs) {
    const QString base = project + QLatin1Char('-') + SafeFileName(scheme);
    QString path = dir.filePath(base + QStringLiteral(".jpg"));
    for (int n = 2; outputs.Taken(path); ++n)
        path = dir.filePath(base + QStringLiteral(" (") + QString::number(n) +
                            QStringLiteral(").jpg"));
    return path;
}

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

const SchemeRecord* FindScheme(const SchemeList& schemes, const QString& name) {
    for (const SchemeRecord& scheme : schemes) {
        if (scheme.Name == name)
            return &scheme;
    }
    return nullptr;
}

int SchemeIndex(const SchemeList& schemes, const QString& name) {
    const SchemeRecord* scheme = FindScheme(schemes, name);
    if (!scheme)
        throw TintoraError(
            QStringLiteral("Projekt nemá barevné schéma „%1“.").arg(MessageText::Value(name)));
    return int(scheme - schemes.constData());
}

// The scheme named by --scheme, or none when the option was not given.
const SchemeRecord* RequestedScheme(const Options& options, const Document& doc) {
    if (options.schemes.isEmpty())
        return nullptr;
    return &doc.Schemes[SchemeIndex(doc.Schemes, options.schemes.constFirst())];
}

// The schemes the proposal shows: those named by --scheme, each once, in the order
// given; without --scheme every scheme of the project.
QList<int> ProposedSchemes(const Options& options, const Document& doc) {
    if (options.schemes.isEmpty())
        return Proposals::AllSchemes(doc);
    QList<int> chosen;
    for (const QString& name : options.schemes) {
        const int index = SchemeIndex(doc.Schemes, name);
        if (!chosen.contains(index))
            chosen << index;
    }
    return chosen;
}

// The catalogue that the paint order and the proposal read: the one --catalogue
// names, else the program's own (as tintora.ini names it). Throws DatabaseError when
// tintora.ini cannot be read.
CatalogueLocation CatalogueFor(const Options& options, const QString& programDir) {
    return options.catalogue.isEmpty() ? CatalogueSettings::Read(programDir)
                                       : CatalogueLocation::File(options.catalogue);
}

// The catalogue of a run's PDFs, opened once; a catalogue that cannot be used leaves
// the names out and is reported on err for each PDF, which is made all the same.
struct PdfCatalogue {
    std::unique_ptr<PrivateCatalogueCopy> copy; // outlives the connection to it
    CatalogueDatabase database;
    QString problem;

    CatalogueDatabase* Usable() { return problem.isEmpty() ? &database : nullptr; }
    void Report(QTextStream& err, const QString& what, const QString& path) const {
        if (problem.isEmpty())
            return;
        err << problem << '\n'
            << QStringLiteral("%1 %2 je bez jmen odstínů, vějířů a druhů barev: obsahuje jen "
                              "jména vrstev a množství.")
                   .arg(what, QDir::toNativeSeparators(path))
            << '\n';
    }
};

// The running program holds the file, and the embedded engine lets one process at a
// time open it: the run only reads the catalogue, so it reads a copy of its own. A copy
// that cannot be read ends the run, since a paper without the shade names that the
// catalogue holds would pass for a whole one.
void OpenPrivateCopy(PdfCatalogue& catalogue, const CatalogueLocation& location) {
    try {
        catalogue.copy = std::make_unique<PrivateCatalogueCopy>(location.path);
    } catch (const DatabaseError& error) {
        throw TintoraError(error.message() + QStringLiteral("\nNic nebylo zapsáno."));
    }
    CatalogueLocation copy = location;
    copy.path = catalogue.copy->Path();
    try {
        catalogue.database.Open(copy);
    } catch (const DatabaseError&) {
        throw TintoraError(QStringLiteral("Katalog barev %1 má otevřený jiný spuštěný program a "
                                          "nelze ho přečíst ani z jeho kopie.\nNic nebylo "
                                          "zapsáno: zavřete ten program a spusťte příkaz znovu.")
                               .arg(location.DisplayName()));
    }
}

// Opens the catalogue; returns why it cannot be used, empty when it can.
QString OpenCatalogue(PdfCatalogue& catalogue, const CatalogueLocation& location) {
    try {
        try {
            catalogue.database.Open(location);
        } catch (const CatalogueInUseError&) {
            OpenPrivateCopy(catalogue, location);
        }
        if (catalogue.database.Version() != CatalogueDatabase::RequiredVersion)
            return QStringLiteral("Špatná databáze! Kontaktujte výrobce programu.");
    } catch (const DatabaseError& error) {
        return error.message();
    }
    return QString();
}

// The paint order as PDF bytes.
QByteArray OrderSheetPdf(const Options& options, const Document& doc, PdfCatalogue& catalogue,
                         QTextStream& err) {
    Document coloured = doc;
    const SchemeRecord* scheme = RequestedScheme(options, doc);
    if (scheme)
        ApplySchemeRecords(coloured, *scheme);
    OrderSheet sheet =
        Order::Make(coloured, catalogue.Usable(), QDate::currentDate(), PaintCoverage::Load());
    if (scheme)
        sheet.schemeName = scheme->Name;
    catalogue.Report(err, QStringLiteral("Objednávka"), options.orderSheet);
    return Order::Pdf(sheet);
}

// The colour proposal, to be written page by page.
Proposal MakeProposal(const Options& options, const Document& doc, PdfCatalogue& catalogue,
                      QTextStream& err) {
    Proposal proposal = Proposals::Make(doc, ProposedSchemes(options, doc), catalogue.Usable(),
                                        QDate::currentDate(), PaintCoverage::Load());
    catalogue.Report(err, QStringLiteral("Návrh"), options.proposal);
    return proposal;
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
        if (options.version) {
            out << QStringLiteral("tintora-export 1.2\n");
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

        const QString program =
            programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
        Outputs outputs(FilesOfTheRun(options, program));
        PdfCatalogue catalogue;
        std::optional<CatalogueLocation> location;
        if (options.WritesPdf()) {
            // Every scheme named must exist before anything is drawn.
            ProposedSchemes(options, doc);
            try {
                // The catalogue's file is among the files of the run.
                location = CatalogueFor(options, program);
            } catch (const DatabaseError& error) {
                catalogue.problem = error.message();
            }
        }
        // Refused before anything is read or drawn.
        for (const QString& path : {options.out, options.orderSheet, options.proposal}) {
            if (!path.isEmpty())
                outputs.CheckNotAnInput(path);
        }
        if (location)
            catalogue.problem = OpenCatalogue(catalogue, *location);
        if (!options.out.isEmpty()) {
            const SchemeRecord* scheme = RequestedScheme(options, doc);
            outputs.Add(options.out, Render(prepare(scheme), options.zoom, options.maskMode));
        }
        if (!options.orderSheet.isEmpty()) {
            const QByteArray pdf = OrderSheetPdf(options, doc, catalogue, err);
            outputs.AddFile(options.orderSheet, [&pdf](AtomicFile& file) { file.Write(pdf); });
        }
        if (!options.proposal.isEmpty()) {
            const Proposal proposal = MakeProposal(options, doc, catalogue, err);
            outputs.AddFile(options.proposal, [&proposal](AtomicFile& file) {
                AtomicFileDevice device(file);
                Proposals::WritePdf(proposal, device);
                device.Check();
            });
        }
        if (!options.allSchemesDir.isEmpty()) {
            madeFolders = MakeFolder(options.allSchemesDir);
            const QDir dir(options.allSchemesDir);
            const QString project = QFileInfo(options.photo).completeBaseName();
            for (const SchemeRecord& scheme : doc.Schemes)
                outputs.Add(SchemePicturePath(dir, project, scheme.Name, outputs),
                            Render(prepare(&scheme), options.zoom, options.maskMode));
        }
        {
            // A signal that comes meanwhile waits until every output is in place.
            const SignalsHeldBack heldBack;
            outputs.CommitAll();
        }
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
