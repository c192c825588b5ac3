#include "catalogue/CatalogueModel.h"

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/ColourSort.h"
#include "project/Errors.h"
#include "project/TextField.h"

#include <optional>

namespace {

// The columns of a shade row, looked up once per statement.
struct ShadeColumns {
    int id, name, red, green, blue, notice, deckId, deckType, deckName;
    int lastDeck = -1;
    QString lastLabel;
    explicit ShadeColumns(const CatalogueRow& row)
        : id(row.IndexOf(QStringLiteral("odstin_id"))),
          name(row.IndexOf(QStringLiteral("odstin_jmeno"))),
          red(row.IndexOf(QStringLiteral("odstin_R"))),
          green(row.IndexOf(QStringLiteral("odstin_G"))),
          blue(row.IndexOf(QStringLiteral("odstin_B"))),
          notice(row.IndexOf(QStringLiteral("odstin_notice"))),
          deckId(row.IndexOf(QStringLiteral("vejir_id"))),
          deckType(row.IndexOf(QStringLiteral("vejir_typ"))),
          deckName(row.IndexOf(QStringLiteral("vejir_jmeno"))) {}
};

ShadeRecord ReadShade(const CatalogueRow& row, ShadeColumns& c) {
    ShadeRecord shade;
    shade.id = row.IntAt(c.id);
    shade.name = row.TextAt(c.name);
    const auto component = [&row](int index) {
        return row.IsNullAt(index) ? NoComponent : row.IntAt(index);
    };
    shade.red = component(c.red);
    shade.green = component(c.green);
    shade.blue = component(c.blue);
    shade.notice = row.IsNullAt(c.notice) ? QString() : row.TextAt(c.notice);
    shade.fanDeckId = row.IntAt(c.deckId);
    // Rows of one fan deck share their label: build it once per fan deck and statement.
    if (shade.fanDeckId != c.lastDeck || c.lastLabel.isEmpty()) {
        c.lastDeck = shade.fanDeckId;
        c.lastLabel = QStringLiteral("[") + row.TextAt(c.deckType).toUpper() +
                      QStringLiteral("] ") + row.TextAt(c.deckName);
    }
    shade.fanDeckLabel = c.lastLabel;
    return shade;
}

// A fan-deck row; the list of every fan-deck name has no ids and gives 0.
FanDeckRecord ReadFanDeck(const CatalogueRow& row, bool withId) {
    return FanDeckRecord{withId ? row.Int(QStringLiteral("vejir_id")) : 0,
                         row.Text(QStringLiteral("vejir_jmeno")),
                         row.Text(QStringLiteral("vejir_typ")) == QLatin1String("a"),
                         row.Int(QStringLiteral("vejir_vlastni")) == 1};
}

QChar UpperAscii(QChar c) {
    return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 32) : c;
}

QString UpperAscii(const QString& text) {
    QString upper = text;
    for (QChar& c : upper)
        c = UpperAscii(c);
    return upper;
}

} // namespace

CatalogueModel::CatalogueModel(CatalogueDatabase& database) : db_(database) {}

bool CatalogueModel::Available() const {
    return db_.IsOpen();
}

bool CatalogueModel::Refused() const {
    return !Available() || loading_ || db_.Busy();
}

void CatalogueModel::SetMode(ShadeListMode mode) {
    if (Mode == mode)
        return;
    Mode = mode;
    emit ModeChanged();
}

void CatalogueModel::ClearShades() {
    Shades.clear();
    SelectedShade = -1;
    emit ShadesCleared();
}

void CatalogueModel::LoadFanDecks() {
    if (Refused())
        return;
    if (db_.Version() != CatalogueDatabase::RequiredVersion) {
        if (VersionRejected)
            VersionRejected();
        return;
    }
    FanDecks.clear();
    const QString filter = Statements::FanDeckFilter(Types == TypeFilter::OnlyAlkyd,
                                                     Types == TypeFilter::OnlyDispersion, ShowOwn);
    db_.Run(Statements::FanDecksStatement(filter), [this](const CatalogueRow& row) {
        FanDecks.append(ReadFanDeck(row, true));
        return true;
    });
    SelectedFanDeck = FanDecks.isEmpty() ? -1 : 0;
    emit FanDecksChanged();
    ChooseFanDeck(SelectedFanDeck);
}

QList<int> CatalogueModel::SelectedFanDeckIds() {
    QList<int> ids;
    if (SelectedFanDeck < 0 || SelectedFanDeck >= FanDecks.size())
        return ids;
    const FanDeckRecord& deck = FanDecks[SelectedFanDeck];
    db_.Run(Statements::FanDeckIdsStatement(deck.alkyd, deck.name),
            [&ids](const CatalogueRow& row) {
                ids.append(row.Int(QStringLiteral("vejir_id")));
                return true;
            });
    return ids;
}

void CatalogueModel::ChooseFanDeck(int row) {
    if (Refused())
        return;
    SelectedFanDeck = row >= 0 && row < FanDecks.size() ? row : -1;
    Sort = SortOrder::ByInsertion;
    emit CheckMarksChanged();
    PaintKinds.clear();
    SelectedPaintKind = -1;
    ClearShades();
    if (SelectedFanDeck < 0) {
        emit PaintKindsChanged();
        emit ShadesChanged();
        return;
    }
    const QList<int> ids = SelectedFanDeckIds();
    if (!ids.isEmpty())
        ReadPaintKinds(Statements::PaintKindsOfFanDecksStatement(Statements::IdCondition(ids)));
    emit PaintKindsChanged();
    SetMode(ShadeListMode::FanDeckShades);
    LoadShades(Statements::Order::Unordered);
}

void CatalogueModel::ChoosePaintKind(int index) {
    if (Refused() || index < 0 || index >= PaintKinds.size())
        return;
    SelectedPaintKind = index;
    emit UnitChanged(PaintKinds[index].unit);
    SetMode(ShadeListMode::FanDeckShades);
    ClearShades();
    LoadShades(Statements::Order::Unordered);
}

void CatalogueModel::ReadPaintKinds(const QString& statement) {
    db_.Run(statement, [this](const CatalogueRow& row) {
        PaintKinds.append(PaintKindRecord{row.Int(QStringLiteral("firma_id")),
                                          row.Text(QStringLiteral("firma_jmeno")),
                                          row.Text(QStringLiteral("firma_jednotka"))});
        return true;
    });
    if (!PaintKinds.isEmpty())
        SelectedPaintKind = 0;
}

void CatalogueModel::ReadShades(const QString& statement, bool yield) {
    loading_ = yield;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{loading_};
    std::optional<ShadeColumns> columns;
    db_.Run(
        statement,
        [this, &columns, yield](const CatalogueRow& row) {
            if (!columns)
                columns.emplace(row);
            Shades.append(ReadShade(row, *columns));
            // Rows shown one by one only while window events run between them.
            if (yield)
                emit ShadeAppended(int(Shades.size()) - 1);
            return true;
        },
        yield);
}

void CatalogueModel::LoadShades(Statements::Order order) {
    if (loading_ || db_.Busy() || !Available())
        return;
    // Without a fan deck or a paint kind, or when the paint kind does not carry the
    // fan deck, there are no shades to show.
    int fanDeckId = -1;
    if (SelectedPaintKind >= 0 && SelectedPaintKind < PaintKinds.size()) {
        const QList<int> ids = SelectedFanDeckIds();
        if (!ids.isEmpty()) {
            db_.Run(Statements::FanDeckOfPaintKindStatement(PaintKinds[SelectedPaintKind].id,
                                                            Statements::IdCondition(ids)),
                    [&fanDeckId](const CatalogueRow& row) {
                        fanDeckId = row.Int(QStringLiteral("FIV_vejir_id"));
                        return false;
                    });
        }
    }
    ClearShades();
    if (fanDeckId >= 0)
        ReadShades(Statements::ShadesOfFanDeckStatement(fanDeckId, PaintKinds[SelectedPaintKind].id,
                                                        order),
                   true);
    SelectedShade = -1;
    emit ShadesChanged();
}

void CatalogueModel::SearchShades(const QString& text) {
    if (Refused())
        return;
    // The catalogue holds Windows-1250 text: anything else can match nothing and
    // would only get the database's error. The list stays as it was.
    const QString outside = CharactersOutsideWindows1250(text);
    if (!outside.isEmpty())
        throw TintoraError(OutsideWindows1250Message(outside));
    SetMode(ShadeListMode::FoundShades);
    ClearShades();
    ReadShades(Statements::ShadesByNameStatement(text), true);
    emit ShadesChanged();
    if (Sort == SortOrder::ByColour) {
        SortShadesByColour();
    } else {
        Sort = SortOrder::ByInsertion;
        emit CheckMarksChanged();
    }
}

void CatalogueModel::SortShadesByColour() {
    if (loading_ || Shades.isEmpty())
        return;
    Sort = SortOrder::ByColour;
    emit CheckMarksChanged();
    Shades = ::SortShadesByColour(Shades);
    emit ShadesChanged();
}

void CatalogueModel::SortByName() {
    LoadSorted(SortOrder::ByName, Statements::Order::ByName);
}

void CatalogueModel::SortByInsertion() {
    LoadSorted(SortOrder::ByInsertion, Statements::Order::ByInsertion);
}

void CatalogueModel::LoadSorted(SortOrder sort, Statements::Order order) {
    if (Refused())
        return;
    Sort = sort;
    emit CheckMarksChanged();
    SetMode(ShadeListMode::FanDeckShades);
    LoadShades(order);
}

void CatalogueModel::SetTypeFilter(TypeFilter filter) {
    if (Refused())
        return;
    Types = filter;
    emit CheckMarksChanged();
    LoadFanDecks();
}

void CatalogueModel::ToggleShowOwn() {
    if (Refused())
        return;
    ShowOwn = !ShowOwn;
    emit CheckMarksChanged();
    LoadFanDecks();
}

void CatalogueModel::ReloadAllFanDecks() {
    if (Refused())
        return;
    Types = TypeFilter::Both;
    ShowOwn = true;
    emit CheckMarksChanged();
    LoadFanDecks();
}

void CatalogueModel::ShowLayerShade(int fanDeckId, int paintKindId, int shadeId) {
    if (Refused())
        return;
    QString deckName;
    db_.Run(Statements::FanDeckNameStatement(fanDeckId), [&deckName](const CatalogueRow& row) {
        deckName = row.Text(QStringLiteral("vejir_jmeno"));
        return false;
    });
    FanDecks.clear();
    SelectedFanDeck = -1;
    db_.Run(Statements::AllFanDeckNamesStatement(), [this, &deckName](const CatalogueRow& row) {
        FanDecks.append(ReadFanDeck(row, false));
        if (FanDecks.last().name == deckName)
            SelectedFanDeck = int(FanDecks.size()) - 1;
        return true;
    });
    emit FanDecksChanged();
    ChooseFanDeck(SelectedFanDeck);
    if (!PaintKinds.isEmpty()) {
        int kind = SelectedPaintKind;
        for (int i = 0; i < PaintKinds.size(); ++i) {
            if (PaintKinds[i].id == paintKindId)
                kind = i;
        }
        emit PaintKindsChanged();
        ChoosePaintKind(kind);
        emit PaintKindsChanged();
    }
    SelectedShade = -1;
    for (int i = 0; i < Shades.size(); ++i) {
        if (Shades[i].id == shadeId) {
            SelectedShade = i;
            break;
        }
    }
    emit ShadesChanged();
}

void CatalogueModel::LoadPaintKindsOfShade(int row) {
    if (Refused() || row < 0 || row >= Shades.size())
        return;
    PaintKinds.clear();
    SelectedPaintKind = -1;
    ReadPaintKinds(Statements::PaintKindsOfFanDeckStatement(Shades[row].fanDeckId));
    emit PaintKindsChanged();
}

void CatalogueModel::ShowWholeFanDeckOf(int row) {
    if (Refused() || row < 0 || row >= Shades.size())
        return;
    const int shadeId = Shades[row].id;
    const int deckId = Shades[row].fanDeckId;
    ReloadAllFanDecks();
    if (FanDecks.isEmpty())
        return;
    int deck = int(FanDecks.size()) - 1;
    for (int i = 0; i < FanDecks.size(); ++i) {
        if (FanDecks[i].id == deckId) {
            deck = i;
            break;
        }
    }
    SelectedFanDeck = deck;
    emit FanDecksChanged();
    ChooseFanDeck(deck);
    const auto find = [this, shadeId] {
        for (int i = 0; i < Shades.size(); ++i) {
            if (Shades[i].id == shadeId)
                return i;
        }
        return -1;
    };
    // A fan-deck name standing in several rows: the shade may belong to the row that
    // another paint kind carries, so look through the paint kinds before giving up.
    int found = find();
    for (int kind = 1; found < 0 && kind < PaintKinds.size(); ++kind) {
        ChoosePaintKind(kind);
        emit PaintKindsChanged();
        found = find();
    }
    if (found < 0 && SelectedPaintKind != 0 && !PaintKinds.isEmpty()) {
        ChoosePaintKind(0);
        emit PaintKindsChanged();
    }
    if (Shades.isEmpty())
        return;
    SelectedShade = found >= 0 ? found : int(Shades.size()) - 1;
    emit ShadesChanged();
}

void CatalogueModel::ReadFoundShades(const QString& statement,
                                     const std::function<int(const ShadeList&)>& chooseSelection) {
    if (Refused())
        return;
    SetMode(ShadeListMode::FoundShades);
    ClearShades();
    struct Publish {
        CatalogueModel& model;
        ~Publish() { emit model.ShadesChanged(); } // also when a row could not be read
    } publish{*this};
    ReadShades(statement, false);
    const int row = chooseSelection ? chooseSelection(Shades) : -1;
    SelectedShade = row >= 0 && row < Shades.size() ? row : -1;
}

void CatalogueModel::Reorder(const QList<int>& order) {
    if (loading_ || order.size() != Shades.size())
        return;
    QList<bool> taken(order.size(), false);
    for (int old : order) {
        if (old < 0 || old >= order.size() || taken[old])
            return; // not a reordering of these rows
        taken[old] = true;
    }
    ShadeList reordered;
    reordered.reserve(Shades.size());
    int selected = -1;
    for (int i = 0; i < order.size(); ++i) {
        reordered.append(Shades[order[i]]);
        if (order[i] == SelectedShade)
            selected = i;
    }
    Shades = std::move(reordered);
    SelectedShade = selected;
    Sort = SortOrder::BySimilarity;
    emit CheckMarksChanged();
    emit ShadesCleared(); // the rows' texts change: the list is filled again
    emit ShadesChanged();
}

QStringList CatalogueModel::FanDeckNames() const {
    QStringList names;
    for (const FanDeckRecord& deck : FanDecks)
        names << deck.name;
    return names;
}

QStringList CatalogueModel::ShadeNames() const {
    QStringList names;
    for (const ShadeRecord& shade : Shades)
        names << shade.name;
    return names;
}

QString TypeAheadText(const QString& text, QChar key) {
    if (key == QLatin1Char('\b'))
        return text.left(std::max<qsizetype>(0, text.size() - 1));
    return text + key;
}

int TypeAheadRow(const QStringList& rows, const QString& typed) {
    if (rows.isEmpty())
        return -1;
    const QString wanted = UpperAscii(typed);
    for (int i = 0; i < rows.size(); ++i) {
        if (UpperAscii(rows[i]).startsWith(wanted))
            return i;
    }
    return 0;
}
