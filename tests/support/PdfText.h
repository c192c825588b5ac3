#pragma once

#include <QFile>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSize>
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

// The sizes of the images a PDF embeds, in the order pdfimages lists them (page by
// page); empty when the tool is missing or failed.
inline QList<QSize> PdfImageSizes(const QString& pdf) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdfimages"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {QStringLiteral("-list"), pdf});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    QList<QSize> sizes;
    // "page num type width height ...", under two lines of headings.
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() > 4 && fields[2] == QLatin1String("image"))
            sizes << QSize(fields[3].toInt(), fields[4].toInt());
    }
    return sizes;
}

// A word of a PDF page as pdftotext -bbox finds it: its text and its box in points
// from the page's top left corner.
struct PdfWord {
    QString text;
    QRectF box;
};

// The words of page `page` (from 1), ligatures written out; empty when the tool is
// missing or failed.
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
        // Ligatures ("ﬁ") as the letters they join.
        QString text = xml.readElementText();
        const std::pair<char16_t, const char*> ligatures[] = {
            {u'\uFB00', "ff"},  {u'\uFB01', "fi"}, {u'\uFB02', "fl"}, {u'\uFB03', "ffi"},
            {u'\uFB04', "ffl"}, {u'\uFB05', "st"}, {u'\uFB06', "st"}};
        for (const auto& [ligature, letters] : ligatures)
            text.replace(QChar(ligature), QLatin1String(letters));
        words.append({text, QRectF(topLeft, bottomRight)});
    }
    return words;
}

// Whether a text stands whole among a page's words: its words in order, each after
// the one before on its line, or first on a line below where the text's first line
// starts, as a text wrapped in a column stands.
inline bool PdfHasWholeText(const QList<PdfWord>& words, const QString& text) {
    const QStringList wanted = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (wanted.isEmpty())
        return true;
    const auto follows = [&](qsizetype start) {
        const QRectF first = words[start].box;
        QRectF previous = first;
        for (qsizetype k = 1; k < wanted.size(); ++k) {
            bool found = false;
            for (const PdfWord& word : words) {
                if (word.text != wanted[k])
                    continue;
                const QRectF& box = word.box;
                const bool sameLine = qAbs(box.top() - previous.top()) < 0.5 &&
                                      box.left() > previous.right() &&
                                      box.left() - previous.right() < box.height();
                const bool nextLine = box.top() > previous.top() + previous.height() / 2 &&
                                      box.top() < previous.bottom() + previous.height() &&
                                      qAbs(box.left() - first.left()) < 0.5;
                if (sameLine || nextLine) {
                    previous = box;
                    found = true;
                    break;
                }
            }
            if (!found)
                return false;
        }
        return true;
    };
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i].text == wanted[0] && follows(i))
            return true;
    }
    return false;
}

// Words of a page that overlap, each pair as "A / B"; none when nothing is printed
// over anything else.
inline QStringList PdfOverlappingWords(const QList<PdfWord>& words) {
    QStringList overlapping;
    for (qsizetype i = 0; i < words.size(); ++i)
        for (qsizetype j = i + 1; j < words.size(); ++j)
            if (words[i]
                    .box.adjusted(0.3, 0.3, -0.3, -0.3)
                    .intersects(words[j].box.adjusted(0.3, 0.3, -0.3, -0.3)))
                overlapping << words[i].text + QStringLiteral(" / ") + words[j].text;
    return overlapping;
}
