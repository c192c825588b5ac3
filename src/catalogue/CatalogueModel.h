#pragma once

#include "catalogue/CatalogueRecords.h"
#include "catalogue/CatalogueStatements.h"

#include <QObject>
#include <QStringList>
#include <functional>

class CatalogueDatabase;

enum class ShadeListMode { FanDeckShades = 0, FoundShades = 1 };
enum class TypeFilter { OnlyAlkyd, OnlyDispersion, Both };
// BySimilarity: the palette ranked the list by likeness to a colour; none of the
// three sort items is checked then.
enum class SortOrder { ByName, ByInsertion, ByColour, BySimilarity };

// The catalogue window's lists without the widgets: fan decks, paint kinds and
// shades with their records, the menu check marks, the list mode and the
// selections, and the statements behind each choice. While a load that lets window
// events run is reading rows, every other action is refused, so a click in the
// middle of a load cannot mix two results.
class CatalogueModel : public QObject {
    Q_OBJECT
public:
    explicit CatalogueModel(CatalogueDatabase& database);

    FanDeckList FanDecks;
    PaintKindList PaintKinds;
    ShadeList Shades;
    ShadeListMode Mode = ShadeListMode::FanDeckShades;
    TypeFilter Types = TypeFilter::Both;
    bool ShowOwn = true;
    SortOrder Sort = SortOrder::ByInsertion;
    int SelectedFanDeck = -1;
    int SelectedPaintKind = -1;
    int SelectedShade = -1;

    // Called when the version row is not 0; the window shows its message and ends.
    std::function<void()> VersionRejected;

    bool Available() const;
    bool Loading() const { return loading_; }

    void LoadFanDecks();
    void ChooseFanDeck(int row); // a fan deck chosen by mouse or keys
    void ChoosePaintKind(int index);
    void LoadShades(Statements::Order order);
    // Throws TintoraError with the names' message when text holds characters that
    // Windows-1250 cannot (the catalogue's text cannot hold them either).
    void SearchShades(const QString& text);
    void SortShadesByColour();
    void SortByName();
    void SortByInsertion();
    void SetTypeFilter(TypeFilter filter);
    void ToggleShowOwn();
    void ReloadAllFanDecks();

    // Showing the catalogue for a layer that has a shade: every fan deck once by name, the
    // layer's fan deck, paint kind and shade selected; nothing is assigned.
    void ShowLayerShade(int fanDeckId, int paintKindId, int shadeId);
    // A found shade was chosen: the paint kinds of its own fan deck.
    void LoadPaintKindsOfShade(int row);
    // All fan decks again, with the shade's fan deck and the shade selected.
    void ShowWholeFanDeckOf(int row);

    // Replaces the list with the rows of a statement, read without letting window
    // events run, in the mode FoundShades; chooseSelection picks the selected row
    // (-1 for none) from the rows read. Only the selection is set.
    void ReadFoundShades(const QString& statement,
                         const std::function<int(const ShadeList&)>& chooseSelection);
    // Puts the shades in a new order: order[i] is the old row of new row i (every old
    // row once). The selection stays on the same shade; nothing is assigned.
    void Reorder(const QList<int>& order);

    QStringList FanDeckNames() const;
    QStringList ShadeNames() const;

    // The fan-deck ids of the selected fan deck's name and type .
    QList<int> SelectedFanDeckIds();

signals:
    void FanDecksChanged();
    void PaintKindsChanged();
    void ShadesCleared();
    void ShadeAppended(int row);
    void ShadesChanged(); // loaded, reordered or emptied: redraw (and lay out the palette)
    void CheckMarksChanged();
    void ModeChanged();
    void UnitChanged(const QString& unit);

private:
    bool Refused() const;
    void ClearShades();
    // The selected fan deck's shades loaded again in a database order.
    void LoadSorted(SortOrder sort, Statements::Order order);
    // Appends the paint kinds a statement selects; the first is selected.
    void ReadPaintKinds(const QString& statement);
    void ReadShades(const QString& statement, bool yield);
    void SetMode(ShadeListMode mode);

    CatalogueDatabase& db_;
    bool loading_ = false;
};

// Type-ahead: the text after a key (Backspace takes the last character off).
QString TypeAheadText(const QString& text, QChar key);
// The first row whose text begins with the typed text (only a-z upper-cased on
// both sides); row 0 when none does; -1 for an empty list.
int TypeAheadRow(const QStringList& rows, const QString& typed);
