// Texts of the paint catalogue on arbitrary bytes (Windows-1250, as the catalogue
// holds them): names of shades, fan decks and paint kinds, remarks, units and the
// user's search text. Spliced into a statement each stays one literal of exactly
// its own characters; in the recipe file each stays on its own line; quoted in a
// message each is one short line; type-ahead and the colour sort keep every row.
#include "catalogue/CatalogueModel.h"
#include "catalogue/CatalogueStatements.h"
#include "catalogue/ColourSort.h"
#include "overview/Recipe.h"
#include "project/MessageText.h"

#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// A statement as the database reads it: the text outside string literals (each
// literal standing as ?) and the literals' values ('' is one quote). An unclosed
// literal is no statement.
struct Parsed {
    QString skeleton;
    QStringList literals;
    bool closed = true;
};

Parsed Parse(const QString& statement) {
    Parsed parsed;
    for (qsizetype i = 0; i < statement.size(); ++i) {
        if (statement[i] != QLatin1Char('\'')) {
            parsed.skeleton += statement[i];
            continue;
        }
        QString literal;
        for (++i;; ++i) {
            if (i >= statement.size()) {
                parsed.closed = false;
                return parsed;
            }
            if (statement[i] == QLatin1Char('\'')) {
                if (i + 1 < statement.size() && statement[i + 1] == QLatin1Char('\'')) {
                    literal += QLatin1Char('\'');
                    ++i;
                    continue;
                }
                break;
            }
            literal += statement[i];
        }
        parsed.skeleton += QLatin1Char('?');
        parsed.literals << literal;
    }
    return parsed;
}

// The statement holds the same literals as one built from harmless text, except the
// spliced one, which holds exactly the text.
void CheckSplice(const QString& statement, const QString& harmless, int splicedLiteral,
                 const QString& expected) {
    const Parsed got = Parse(statement);
    const Parsed reference = Parse(harmless);
    if (!got.closed || got.skeleton != reference.skeleton ||
        got.literals.size() != reference.literals.size() ||
        got.literals.value(splicedLiteral) != expected)
        __builtin_trap();
    for (qsizetype i = 0; i < got.literals.size(); ++i) {
        if (i != splicedLiteral && got.literals[i] != reference.literals[i])
            __builtin_trap();
    }
}

void CheckRecipe(const QStringList& texts) {
    LayerRecord layer = OriginalLayerTemplate();
    layer.Name = texts.value(0);
    layer.ShadeId = 7;
    layer.FanDeckId = 8;
    layer.PaintKindId = 9;
    OverviewRow row;
    row.layerName = layer.Name;
    row.shades << OverviewShade{texts.value(1), 10, 20, 30};
    row.fanDecks << texts.value(2);
    row.paintKinds << OverviewPaintKind{texts.value(3), texts.value(4)};
    const QString recipe = Recipe::Text(texts.value(5), layer, row);
    static const QStringList keys{QStringLiteral("Recept pro Huemix"),
                                  QStringLiteral("Projekt: "),
                                  QStringLiteral("Vrstva: "),
                                  QStringLiteral("Odstín: "),
                                  QStringLiteral("Barva: "),
                                  QStringLiteral("Vějíř: "),
                                  QStringLiteral("Druh barvy: "),
                                  QStringLiteral("Množství: "),
                                  QString()};
    const QStringList lines = recipe.split(QLatin1Char('\n'));
    if (lines.size() != keys.size())
        __builtin_trap();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(keys[i]) || lines[i].contains(QLatin1Char('\r')))
            __builtin_trap();
    }
}

void CheckMessages(const QStringList& texts) {
    for (const QString& text : texts) {
        const QString shown = MessageText::Value(text);
        if (shown.size() > MessageText::ValueChars)
            __builtin_trap();
        for (const QChar c : shown) {
            if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                c == QChar::ParagraphSeparator)
                __builtin_trap();
        }
    }
}

void CheckRows(const QStringList& texts, const QByteArray& bytes) {
    // Type-ahead finds a row of the list, whatever is typed.
    QString typed;
    for (const QString& text : texts) {
        for (const QChar c : text.left(8))
            typed = TypeAheadText(typed, c);
        const int row = TypeAheadRow(texts, typed);
        if (row < (texts.isEmpty() ? -1 : 0) || row >= texts.size())
            __builtin_trap();
    }
    // The colour sort puts the same shades in another order.
    ShadeList shades;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        ShadeRecord shade;
        shade.id = int(i);
        shade.name = texts[i];
        const auto at = [&bytes, i](qsizetype k) {
            return i * 3 + k < bytes.size() ? uchar(bytes[i * 3 + k]) : uchar(0);
        };
        shade.red = at(0) == 255 ? NoComponent : at(0);
        shade.green = at(1);
        shade.blue = at(2);
        shades << shade;
    }
    const ShadeList sorted = SortShadesByColour(shades);
    QList<int> ids;
    for (const ShadeRecord& shade : sorted)
        ids << shade.id;
    std::sort(ids.begin(), ids.end());
    for (qsizetype i = 0; i < ids.size(); ++i) {
        if (ids[i] != i)
            __builtin_trap();
    }
    if (ids.size() != shades.size())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringDecoder decoder("windows-1250");
    QStringList texts;
    for (const QByteArray& field : bytes.split('\0'))
        texts << decoder.decode(field);
    if (texts.size() > 64)
        texts = texts.mid(0, 64);

    for (const QString& text : texts) {
        CheckSplice(Statements::ShadesByNameStatement(text), Statements::ShadesByNameStatement("x"),
                    0, QLatin1Char('%') + text + QLatin1Char('%'));
        CheckSplice(Statements::FanDeckIdsStatement(true, text),
                    Statements::FanDeckIdsStatement(true, "x"), 1, text);
        CheckSplice(Statements::FanDeckIdsStatement(false, text),
                    Statements::FanDeckIdsStatement(false, "x"), 1, text);
    }
    CheckRecipe(texts);
    CheckMessages(texts);
    CheckRows(texts, bytes);
    return 0;
}
