#include "project/MessageText.h"

#include <QDir>
#include <QStringList>

#include <algorithm>

namespace MessageText {
namespace {

const QString Ellipsis = QStringLiteral("…");

// Moves a cut at index off the middle of a surrogate pair, towards the text's start.
qsizetype WholeCharacters(const QString& text, qsizetype index) {
    if (index > 0 && index < text.size() && text[index].isLowSurrogate() &&
        text[index - 1].isHighSurrogate())
        return index - 1;
    return index;
}

// The first head and the last tail characters around the ellipsis.
QString Shortened(const QString& text, qsizetype maxChars, qsizetype head) {
    if (text.size() <= maxChars)
        return text;
    const qsizetype tail = maxChars - 1 - head;
    const qsizetype headEnd = WholeCharacters(text, head);
    qsizetype tailStart = text.size() - tail;
    if (tailStart < text.size() && text[tailStart].isLowSurrogate())
        ++tailStart;
    return text.left(headEnd) + Ellipsis + text.mid(tailStart);
}

} // namespace

QString OneLine(const QString& text) {
    QString line = text;
    for (QChar& c : line) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return line;
}

QString Value(const QString& text, qsizetype maxChars) {
    maxChars = std::max<qsizetype>(maxChars, 3);
    return Shortened(OneLine(text), maxChars, (maxChars - 1) / 2);
}

QString Path(const QString& path) {
    return Shortened(OneLine(QDir::toNativeSeparators(path)), PathChars, PathChars / 3);
}

QString Paragraph(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    const bool cut = lines.size() > Lines;
    if (cut)
        lines = lines.mid(0, Lines - 1);
    for (QString& line : lines)
        line = Value(line, LineChars);
    if (cut)
        lines << Ellipsis;
    return lines.join(QLatin1Char('\n'));
}

} // namespace MessageText
