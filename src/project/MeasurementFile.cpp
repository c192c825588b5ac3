#include "project/MeasurementFile.h"

#include "project/AtomicFile.h"
#include "project/Errors.h"
#include "project/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace MeasurementFile {

namespace {

// One line that cannot be taken: why, in Czech.
class LineError {
public:
    explicit LineError(QString reason) : reason(std::move(reason)) {}
    QString reason;
};

QString Number(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QList<double> Numbers(const QStringList& fields, qsizetype from, qsizetype count) {
    if (fields.size() != from + count)
        throw LineError(
            QStringLiteral("záznam „%1“ má mít %2 čísel").arg(fields[0], QString::number(count)));
    QList<double> numbers;
    for (qsizetype i = from; i < fields.size(); ++i) {
        bool ok = false;
        const double value = fields[i].toDouble(&ok);
        if (!ok || !std::isfinite(value))
            throw LineError(QStringLiteral("„%1“ není číslo").arg(fields[i]));
        numbers << value;
    }
    return numbers;
}

PlaneReference ReferenceOf(const QStringList& fields, QSize photo, int number) {
    PlaneReference reference;
    QList<double> n;
    if (fields[0] == QLatin1String("obdelnik")) {
        n = Numbers(fields, 1, 10);
        reference.kind = PlaneReference::Kind::Rectangle;
        reference.height = n[9];
    } else {
        n = Numbers(fields, 1, 5);
        reference.kind = PlaneReference::Kind::Length;
    }
    for (int i = 0; i < reference.PointCount(); ++i)
        reference.points << QPointF(n[2 * i], n[2 * i + 1]);
    reference.width = n[2 * reference.PointCount()];
    try {
        PlaneOf(reference, photo);
    } catch (const ReferenceError& error) {
        throw LineError(
            QStringLiteral("měřítko %1 neplatí: %2").arg(QString::number(number), error.message()));
    }
    return reference;
}

} // namespace

QString PathFor(const QString& photoPath) {
    return photoPath + QStringLiteral(".mereni");
}

QString RefusedMessage(const TintoraError& error) {
    return error.message() +
           QStringLiteral("\nPlochy vrstev se bez měřítek nezobrazí. Soubor zůstává, jak byl.");
}

Measurements Parse(const QByteArray& bytes, const QString& fileName, QSize photo) {
    const auto damaged = [&fileName](int line, const QString& reason) {
        return BadFileError(
            QStringLiteral("Soubor měřítek %1 je poškozený (řádek %2: %3).")
                .arg(QDir::toNativeSeparators(fileName), QString::number(line), reason));
    };
    // Line by line, so that bytes that are not UTF-8 are reported on their own line.
    QStringList lines;
    for (const QByteArray& raw : bytes.split('\n')) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString line = utf8(raw);
        if (utf8.hasError())
            throw damaged(int(lines.size()) + 1, QStringLiteral("text není v kódování UTF-8"));
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        lines.append(std::move(line));
    }
    if (lines.isEmpty() || lines[0].toUtf8() != Header)
        throw damaged(1, QStringLiteral("chybí záhlaví „%1“").arg(QString::fromUtf8(Header)));

    Measurements measures;
    QList<std::pair<int, int>> layerLines; // (line, reference) checked at the end
    for (int i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        try {
            const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const QString& keyword = fields[0];
            if (keyword == QLatin1String("obdelnik") || keyword == QLatin1String("usecka")) {
                if (measures.References.size() >= MaxReferences)
                    throw LineError(QStringLiteral("více než %1 měřítek").arg(MaxReferences));
                measures.References
                    << ReferenceOf(fields, photo, int(measures.References.size()) + 1);
            } else if (keyword == QLatin1String("vrstva")) {
                // "vrstva N NAME": the name is the rest of the line, blanks and all.
                static const QRegularExpression layerLine(
                    QStringLiteral("^vrstva +([0-9]{1,9}) (.+)$"));
                const QRegularExpressionMatch match = layerLine.match(line);
                if (!match.hasMatch())
                    throw LineError(QStringLiteral("záznam „vrstva“ má mít číslo měřítka a "
                                                   "jméno vrstvy"));
                const int plane = match.captured(1).toInt();
                const QString name = match.captured(2);
                layerLines.append({i + 1, plane});
                measures.LayerPlanes.insert(name, plane - 1);
            } else {
                throw LineError(QStringLiteral("neznámý záznam „%1“").arg(keyword));
            }
        } catch (const LineError& error) {
            throw damaged(i + 1, error.reason);
        }
    }
    for (const auto& [line, plane] : layerLines) {
        if (plane < 1 || plane > measures.References.size())
            throw damaged(line, QStringLiteral("vrstva odkazuje na měřítko %1, které v souboru "
                                               "není")
                                    .arg(plane));
    }
    return measures;
}

QByteArray Serialize(const Measurements& measures, const LayerList& layers) {
    QString text = QString::fromUtf8(Header) + QLatin1Char('\n');
    text += QStringLiteral("# Měřítka projektu Tintora: body v pixelech fotografie, délky v "
                           "metrech.\n");
    for (const PlaneReference& reference : measures.References) {
        const bool rectangle = reference.kind == PlaneReference::Kind::Rectangle;
        QStringList fields{rectangle ? QStringLiteral("obdelnik") : QStringLiteral("usecka")};
        for (const QPointF& p : reference.points)
            fields << Number(p.x()) << Number(p.y());
        fields << Number(reference.width);
        if (rectangle)
            fields << Number(reference.height);
        text += fields.join(QLatin1Char(' ')) + QLatin1Char('\n');
    }
    QStringList written;
    for (const LayerRecord& layer : layers) {
        const int plane = measures.PlaneOfLayer(layer.Name);
        if (plane > 0 && !written.contains(layer.Name)) {
            text += QStringLiteral("vrstva %1 %2\n").arg(QString::number(plane + 1), layer.Name);
            written << layer.Name;
        }
    }
    return text.toUtf8();
}

Measurements Load(const QString& path, QSize photo) {
    if (!QFile::exists(path))
        return {};
    return Parse(RegularFile::ReadAll(path, MaxFileBytes), path, photo);
}

void Save(const QString& path, const Measurements& measures, const LayerList& layers, QSize photo) {
    if (!measures.IsEmpty()) {
        WriteFileAtomically(path, Serialize(measures, layers));
        return;
    }
    if (!QFile::exists(path))
        return;
    try {
        Load(path, photo);
    } catch (const TintoraError&) {
        return;
    }
    if (!QFile::remove(path))
        throw IoError(
            QStringLiteral("Soubor %1 nelze smazat.").arg(QDir::toNativeSeparators(path)));
}

} // namespace MeasurementFile
