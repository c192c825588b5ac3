#pragma once

#include "catalogue/CatalogueRecords.h"
#include "project/Colour.h"

#include <QList>
#include <QString>
#include <vector>

// Likeness of shades to a colour as the eye judges it: sRGB colours are converted to
// CIELAB (D65 white) and compared with the CIEDE2000 colour difference ΔE00, both
// through LittleCMS.
namespace ShadeRanking {

struct Lab {
    double L = 0;
    double a = 0;
    double b = 0;
};

// The CIELAB value of an sRGB colour value (red in the low byte).
Lab ToLab(Colour colour);
// The CIELAB values of the shades, converted in one pass; a shade without colour
// gets a value that is never read.
std::vector<Lab> ToLab(const ShadeList& shades);

double DeltaE00(const Lab& first, const Lab& second);
double DeltaE00(Colour first, Colour second);

// The shades' rows ordered by ΔE00 to the reference, nearest first; shades without
// colour last; equal differences keep their order. order[i] is the row that comes i-th.
QList<int> RankOrder(const ShadeList& shades, Colour reference);

// "ΔE 2,4": one decimal, with a decimal comma.
QString DeltaEText(double deltaE);

} // namespace ShadeRanking
