#pragma once

#include <QMap>
#include <QString>

#include <cstdint>
#include <limits>
#include <optional>

// How far a paint kind goes: square metres per unit of the kind (its firma_jednotka,
// a litre or a kilogram) for one coat, and how many coats are painted.
struct Coverage {
    double rate = 0;
    int coats = 1;

    bool operator==(const Coverage&) const = default;
};

// By paint kind (firma_id).
using CoverageTable = QMap<std::int32_t, Coverage>;

// The spreading rates the user entered, kept per paint kind in the user's own
// settings (the catalogue is the manufacturer's and stays as it is).
namespace PaintCoverage {

inline constexpr double MaxRate = 1000.0;
inline constexpr int MaxCoats = 20;
// The most units suggested: what a layer's quantity can hold.
inline constexpr std::int64_t MaxSuggested = std::numeric_limits<std::int32_t>::max();

// The user's settings file: Tintora/Tintora.conf in the user's configuration folder.
QString SettingsPath();

// What the file holds; entries that are not a usable rate and coats are left out.
CoverageTable Load(const QString& path = SettingsPath());
// Keeps a paint kind's coverage, or forgets it; IoError when the file cannot be written.
void Store(std::int32_t paintKind, const Coverage& coverage, const QString& path = SettingsPath());
void Forget(std::int32_t paintKind, const QString& path = SettingsPath());

// A rate ("8,5" m² per unit) and a number of coats as the user types them;
// TintoraError with a Czech message for anything else.
Coverage Parse(const QString& rateText, const QString& coatsText);

// The whole units to buy for an area: area × coats / rate, rounded up, at most
// MaxSuggested. None for a coverage that is not usable.
std::optional<std::int64_t> Suggested(double area, const Coverage& coverage);

} // namespace PaintCoverage
