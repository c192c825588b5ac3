#pragma once

#include "widgets/ArtworkSymbols.h"

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>

// The program's artwork, drawn in code: button faces carrying their Czech words,
// title pictures, the logo, the splash picture and the narrow gradient pictures.
namespace Artwork {

enum class Face { Normal, Over, Fixed };

// A large button of the top band (56 × 52, or 57 wide): symbol above, word below.
QPixmap TopButton(const QString& word, Symbol symbol, Face face, int width = 56);
// A 26 × 26 tool button: a light-blue rounded square, orange when over or latched.
QPixmap ToolButton(Symbol symbol, Face face);
// A text button of a panel or dialog (114 × 18 unless told otherwise).
QPixmap PanelButton(const QString& word, Face face, QSize size = QSize(114, 18));
// A heading picture such as VRSTVY; warm for the left column, cool for the editing bar.
QPixmap TitlePicture(const QString& word, QSize size, bool cool = false);
QPixmap Logo();         // 319 × 52
QPixmap Splash();       // 460 × 338
QPixmap TopBandStrip(); // 25 × 52, the decorative strip at the left of the top band
// A caption picture of the catalogue window's header strips (VĚJÍŘE, ODSTÍNY, …).
QPixmap StripCaption(const QString& word);
// The 38 × 15 fan-deck badge: Alkyd in blue or Disper in green, deeper when selected.
QPixmap FanDeckBadge(bool alkyd, bool selected);
// The badge's word ("Disp." for dispersion paints), and the font it fits in with.
QString FanDeckBadgeWord(bool alkyd);
QFont FanDeckBadgeFont(const QString& word);
constexpr int FanDeckBadgeRoom = 34; // pixels inside the badge's rounded edge
// The layer list's 15 × 15 icons: 0 shown, 1 hidden, 2 locked, 3 unlocked.
QPixmap LayerIcon(int index);

// One-pixel-wide gradient pictures; a strip takes the colour of pixel (0, y) per row.
enum class Gradient {
    TopBand,
    LayerPanel,
    EditingBar,
    SchemePanel,
    Dialog,
    CatalogueHeader,
    PaintKindPanel,
    CatalogueBottom,
    HintBar // the palette's hint bar: light blues
};
QImage GradientPicture(Gradient gradient, int rows);

} // namespace Artwork
