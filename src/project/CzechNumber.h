#pragma once

#include <QString>

#include <optional>

// Decimal numbers as a Czech user types and reads them: a decimal comma ("1,25"),
// though a point is taken too.
namespace CzechNumber {

// The number of text, blanks around it ignored; none when it is not a finite number.
std::optional<double> Parse(QString text);

// value with the given number of decimals and a decimal comma, no thousands
// separator: 42.46 with 1 decimal is "42,5".
QString Format(double value, int decimals);

} // namespace CzechNumber
