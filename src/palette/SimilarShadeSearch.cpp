#include "palette/SimilarShadeSearch.h"

#include "catalogue/CatalogueModel.h"
#include "catalogue/CatalogueStatements.h"
#include "workspace/Prompts.h"

#include <algorithm>
#include <limits>

namespace SimilarShades {
namespace {

int HeldInRange(long long value) {
    return int(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                     std::numeric_limits<int>::max()));
}

void ErrorBox(Prompts& prompts, const QString& title, const QString& text) {
    prompts.Message(text, title, Prompts::Icon::Error, Prompts::Ok, Prompts::NoButton);
}

} // namespace

std::optional<int> ParseWholeNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    qsizetype start = 0;
    if (trimmed[0] == QLatin1Char('+') || trimmed[0] == QLatin1Char('-'))
        start = 1;
    if (start == trimmed.size())
        return std::nullopt;
    for (qsizetype i = start; i < trimmed.size(); ++i) {
        if (trimmed[i] < QLatin1Char('0') || trimmed[i] > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const int value = trimmed.toInt(&ok, 10);
    if (!ok)
        return std::nullopt; // beyond 32 bits
    return value;
}

ChannelBounds BoundsOf(int value, int tolerance) {
    const long long v = value, t = tolerance;
    const long long low = v - t >= 0 ? v - t - 1 : -1;
    const long long high = v + t + 1 <= 256 ? v + t + 1 : 256;
    return {HeldInRange(low), HeldInRange(high)};
}

SearchBounds BoundsOf(const std::array<int, 3>& reference, const std::array<int, 3>& tolerance) {
    return {BoundsOf(reference[0], tolerance[0]), BoundsOf(reference[1], tolerance[1]),
            BoundsOf(reference[2], tolerance[2])};
}

QString Statement(const SearchBounds& b) {
    return Statements::ShadesInColourBoxStatement(b.red.low, b.red.high, b.green.low, b.green.high,
                                                  b.blue.low, b.blue.high);
}

std::optional<std::array<int, 3>> ParseReference(const std::array<QString, 3>& labels) {
    std::array<int, 3> values{};
    for (int i = 0; i < 3; ++i) {
        const std::optional<int> value = ParseWholeNumber(labels[i]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return values;
}

Outcome Search(CatalogueModel& model, Prompts& prompts, Variant variant,
               const std::array<QString, 3>& referenceLabels,
               const std::array<QString, 3>& toleranceTexts) {
    if (!model.Available() || model.Loading())
        return Outcome::Stopped;
    std::array<int, 3> tolerance{};
    for (int i = 0; i < 3; ++i) {
        const std::optional<int> value = ParseWholeNumber(toleranceTexts[i]);
        if (!value) {
            ErrorBox(prompts, ParameterTitle, ParameterText);
            return Outcome::Stopped;
        }
        tolerance[i] = *value;
    }
    const bool selected = model.SelectedShade >= 0 && model.SelectedShade < model.Shades.size();
    if (variant == Variant::ToleranceBox && !selected) {
        ErrorBox(prompts, ResultTitle, NothingFoundText);
        return Outcome::Finished;
    }
    const std::optional<std::array<int, 3>> reference = ParseReference(referenceLabels);
    if (!reference) {
        ErrorBox(prompts, NoReferenceTitle, NoReferenceText);
        return Outcome::Stopped;
    }
    const int rememberedId = selected ? model.Shades[model.SelectedShade].id : -1;
    const int rememberedDeck = selected ? model.Shades[model.SelectedShade].fanDeckId : -1;

    model.ReadFoundShades(Statement(BoundsOf(*reference, tolerance)),
                          [rememberedId, rememberedDeck](const ShadeList& found) {
                              for (int i = 0; i < found.size(); ++i) {
                                  if (found[i].id == rememberedId &&
                                      found[i].fanDeckId == rememberedDeck)
                                      return i;
                              }
                              return found.isEmpty() ? -1 : 0;
                          });
    if (variant == Variant::FreeColour && model.Shades.isEmpty())
        ErrorBox(prompts, ResultTitle, NothingFoundText);
    return Outcome::Finished;
}

} // namespace SimilarShades
