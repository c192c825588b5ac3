#pragma once

#include <QString>
#include <array>
#include <optional>

class CatalogueModel;
class Prompts;

// The search for shades whose red, green and blue each lie within a tolerance of a
// reference colour, over every fan deck; its results replace the catalogue's shade
// list, which the palette grid then shows.
namespace SimilarShades {

// The two "Vyhledat" buttons: the tolerance box's and the free colour box's.
enum class Variant { ToleranceBox, FreeColour };

// Exclusive bounds of one channel: a component c is found when low < c < high.
struct ChannelBounds {
    int low = 0;
    int high = 0;
    bool operator==(const ChannelBounds&) const = default;
};

struct SearchBounds {
    ChannelBounds red, green, blue;
    bool operator==(const SearchBounds&) const = default;
};

// A signed 32-bit whole number in decimal, with an optional sign and blanks around
// it; nothing for any other text (empty, letters, a decimal comma, inner blanks).
std::optional<int> ParseWholeNumber(const QString& text);

// low = v - t - 1 when v - t >= 0, else -1; high = v + t + 1 when that is at most 256,
// else 256. Values past the 32-bit range are held at its ends, which keeps an empty
// box empty.
ChannelBounds BoundsOf(int value, int tolerance);
SearchBounds BoundsOf(const std::array<int, 3>& reference, const std::array<int, 3>& tolerance);

// The statement that finds the shades inside the bounds.
QString Statement(const SearchBounds& bounds);

// The reference colour's three label texts; nothing when one is not a whole number
// (the labels are empty while a shade without colour is shown).
std::optional<std::array<int, 3>> ParseReference(const std::array<QString, 3>& labels);

inline const QString ParameterTitle = QStringLiteral("Chyba při vkládání parametru");
inline const QString ParameterText = QStringLiteral("Vkládaná hodnota musí být celé číslo.");
inline const QString ResultTitle = QStringLiteral("Výsledek vyhledávání");
inline const QString NothingFoundText =
    QStringLiteral("V databázi nebyl nalezen žádný podobný odstín.\n\n"
                   "Zkuste zvětšit toleranci pro vyhledávání podobného odstínu.");
inline const QString NoReferenceTitle = QStringLiteral("Chyba");
inline const QString NoReferenceText =
    QStringLiteral("Vybraný odstín nemá barvu, kolem které by se dalo hledat. Vyberte odstín "
                   "s barvou nebo zvolte barvu z palety.");

// How a search ended for the palette window.
enum class Outcome {
    Stopped,  // refused before anything changed: the palette does nothing more
    Finished, // the palette gives its grid the focus, lays it out and follows the catalogue
};

// Checks the tolerances and the reference, searches (unless the tolerance box's
// variant has no selected shade to start from), fills the catalogue's list with the
// found shades in the order the database returns them, and selects the shade that was
// selected before when it is among them, else the first. Messages go through prompts;
// nothing is assigned to any layer. All rows are read without letting window events run.
Outcome Search(CatalogueModel& model, Prompts& prompts, Variant variant,
               const std::array<QString, 3>& referenceLabels,
               const std::array<QString, 3>& toleranceTexts);

} // namespace SimilarShades
