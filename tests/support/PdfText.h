#pragma once

#include <QFile>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QXmlStreamReader>

// The text of a PDF file as pdftotext (poppler-utils) lays it out, page after page;
// empty when the tool is missing or failed.
inline QString PdfText(const QString& pdf) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                         pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The typefaces a PDF file embeds ("DejaVuSans-Bold"), each once, sorted; a subset's
// tag ("ABCDEF+") left out.
inline QStringList PdfFaces(const QString& pdf) {
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString bytes = QString::fromLatin1(file.readAll());
    QStringList faces;
    static const QRegularExpression baseFont(
        QStringLiteral("/BaseFont\\s*/(?:[A-Z]{6}\\+)?([A-Za-z0-9-]+)"));
    for (auto it = baseFont.globalMatch(bytes); it.hasNext();)
        faces << it.next().captured(1);
    faces.removeDuplicates();
    faces.sort();
    return faces;
}

// The text of one page (from 1) as pdftotext lays it out; only what lies on the page.
inline QString PdfPageText(const QString& pdf, int page) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                         QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                         QString::number(page), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Page `page` (from 1) of a PDF rendered by pdftoppm at the given dots per inch.
inline QImage PdfPage(const QString& pdf, int page, int dpi) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    QTemporaryDir dir;
    if (tool.isEmpty() || !dir.isValid())
        return QImage();
    const QString prefix = dir.filePath(QStringLiteral("strana"));
    QProcess process;
    process.start(tool, {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                         QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                         QString::number(page), QStringLiteral("-singlefile"), pdf, prefix});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QImage();
    return QImage(prefix + QStringLiteral(".png"));
}

// How many pages the PDF has, as pdfinfo reads it; 0 when unreadable.
inline int PdfPages(const QString& pdf) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (tool.isEmpty())
        return 0;
    QProcess process;
    process.start(tool, {pdf});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return 0;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return 0;
}

// A word of a PDF page as pdftotext -bbox finds it: its text and its box in points
// from the page's top left corner.
struct PdfWord {
    QString text;
    QRectF box;
};

// The words of page `page` (from 1); empty when the tool is missing or failed.
inline QList<PdfWord> PdfWords(const QString& pdf, int page) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                         QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                         QString::number(page), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    QList<PdfWord> words;
    QXmlStreamReader xml(process.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("word"))
            continue;
        const QXmlStreamAttributes at = xml.attributes();
        const QPointF topLeft(at.value(QLatin1String("xMin")).toDouble(),
                              at.value(QLatin1String("yMin")).toDouble());
        const QPointF bottomRight(at.value(QLatin1String("xMax")).toDouble(),
                                  at.value(QLatin1String("yMax")).toDouble());
        words.append({xml.readElementText(), QRectF(topLeft, bottomRight)});
    }
    return words;
}
