#include "overview/PaintCoverage.h"

#include "project/CzechNumber.h"
#include "project/Errors.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>

namespace PaintCoverage {

namespace {

QString Group(std::int32_t paintKind) {
    return QStringLiteral("PaintKind%1").arg(paintKind);
}

bool Usable(const Coverage& coverage) {
    return coverage.rate > 0 && coverage.rate <= MaxRate && coverage.coats >= 1 &&
           coverage.coats <= MaxCoats;
}

void Sync(QSettings& settings, const QString& path) {
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw IoError(QStringLiteral("Nastavení nelze uložit do souboru %1.")
                          .arg(QDir::toNativeSeparators(path)));
}

} // namespace

QString SettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tintora/Tintora.conf");
}

CoverageTable Load(const QString& path) {
    const QSettings settings(path, QSettings::IniFormat);
    CoverageTable table;
    for (const QString& group : settings.childGroups()) {
        if (!group.startsWith(QLatin1String("PaintKind")))
            continue;
        bool kindOk = false;
        const int kind = group.mid(9).toInt(&kindOk);
        bool rateOk = false, coatsOk = false;
        const Coverage coverage{
            settings.value(group + QStringLiteral("/SpreadingRate")).toDouble(&rateOk),
            settings.value(group + QStringLiteral("/Coats")).toInt(&coatsOk)};
        if (kindOk && rateOk && coatsOk && Usable(coverage))
            table.insert(kind, coverage);
    }
    return table;
}

void Store(std::int32_t paintKind, const Coverage& coverage, const QString& path) {
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(Group(paintKind));
    settings.setValue(QStringLiteral("SpreadingRate"), coverage.rate);
    settings.setValue(QStringLiteral("Coats"), coverage.coats);
    settings.endGroup();
    Sync(settings, path);
}

void Forget(std::int32_t paintKind, const QString& path) {
    QSettings settings(path, QSettings::IniFormat);
    settings.remove(Group(paintKind));
    Sync(settings, path);
}

Coverage Parse(const QString& rateText, const QString& coatsText) {
    const std::optional<double> rate = CzechNumber::Parse(rateText);
    if (!rate || !(*rate > 0) || *rate > MaxRate)
        throw TintoraError(QStringLiteral("Vydatnost „%1“ nelze použít: zadejte počet m² na "
                                          "jednotku barvy pro jeden nátěr, číslo větší než "
                                          "nula a nejvýše %2, například 8,5.")
                               .arg(rateText.trimmed(), CzechNumber::Format(MaxRate, 0)));
    bool ok = false;
    const int coats = coatsText.trimmed().toInt(&ok);
    if (!ok || coats < 1 || coats > MaxCoats)
        throw TintoraError(
            QStringLiteral("Počet nátěrů „%1“ nelze použít: zadejte celé číslo od 1 do %2.")
                .arg(coatsText.trimmed(), QString::number(MaxCoats)));
    return {*rate, coats};
}

std::optional<std::int64_t> Suggested(double area, const Coverage& coverage) {
    if (!Usable(coverage) || !(area >= 0) || !std::isfinite(area))
        return std::nullopt;
    const double units = area * coverage.coats / coverage.rate;
    // A quotient a rounding error above a whole number is that number (the error is
    // relative: well under 1e-12 of it, while a billion units still rounds up).
    const double whole = std::ceil(units - 1e-12 * std::max(1.0, units));
    // Clamped as a double: beyond the integer's range the conversion is undefined.
    return std::int64_t(std::min(whole, double(MaxSuggested)));
}

} // namespace PaintCoverage
