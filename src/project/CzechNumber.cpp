#include "project/CzechNumber.h"

#include <QLocale>

#include <cmath>

namespace CzechNumber {

std::optional<double> Parse(QString text) {
    text = text.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    // Only digits, one point and a sign: "1e3", "inf" and "0x10" are no lengths a
    // person types, and a thousands separator would be taken for a decimal one.
    int points = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('.'))
            ++points;
        else if (!(c.isDigit() && c.unicode() < 128) &&
                 !(i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'))))
            return std::nullopt;
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || points > 1 || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString Format(double value, int decimals) {
    QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    czech.setNumberOptions(QLocale::OmitGroupSeparator);
    // -0,0 is no number a person expects.
    const double rounded = std::round(value * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
    return czech.toString(rounded == 0.0 ? 0.0 : value, 'f', decimals);
}

} // namespace CzechNumber
