#pragma once

#include <QString>

// Values that messages quote (a name from a file or a database, a setting, a typed
// text, a path) made fit for a message box: a 100 KB value made a box taller than
// the screen, its buttons out of reach. Each value becomes one line of bounded
// length; a long one keeps its beginning and its end around "…".
namespace MessageText {

inline constexpr qsizetype ValueChars = 80;
inline constexpr qsizetype PathChars = 160;
inline constexpr qsizetype LineChars = 200;
inline constexpr qsizetype Lines = 12;

// The text on one line: control characters (line breaks, tabs) and the line and
// paragraph separators become blanks; nothing is left out.
QString OneLine(const QString& text);

// One line: control characters (line breaks, tabs) become blanks, and at most
// maxChars characters are kept, a pair of surrogates never split.
QString Value(const QString& text, qsizetype maxChars = ValueChars);

// A path in the system's notation, shortened like a value (its end, the file's own
// name, is what the user looks for, so the larger part kept is the end).
QString Path(const QString& path);

// A text of several lines from elsewhere (a server's or a codec's message): at most
// Lines lines of at most LineChars characters each.
QString Paragraph(const QString& text);

} // namespace MessageText
