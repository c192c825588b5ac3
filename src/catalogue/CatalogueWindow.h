#pragma once

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "project/LayerRecord.h"

#include <QTimer>
#include <QWidget>
#include <functional>

class Prompts;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;

// The catalogue window "barvy": fan decks, the paint kinds that carry the chosen
// one and its shades, with filters, sort orders, a name search and type-ahead. It
// owns the catalogue's connection and its one query object. Stays on top.
class CatalogueWindow : public QWidget {
    Q_OBJECT
public:
    // Opens AppDir/odrex.tom, or the catalogue that AppDir/tintora.ini names (a file or
    // a database on a Firebird server); a catalogue that cannot be opened is reported
    // once and the window stays empty. exitProgram ends the program for a wrong version.
    CatalogueWindow(const QString& appDir, Prompts& prompts, QWidget* parent = nullptr,
                    std::function<void()> exitProgram = {});

    static constexpr int TypeAheadInterval = 1500;

    CatalogueDatabase Database;
    CatalogueModel Model{Database};

    QListWidget* fanDeckList = nullptr;
    QListWidget* shadeList = nullptr;
    QComboBox* paintKindCombo = nullptr;
    QLineEdit* quantityEdit = nullptr;
    QLabel* unitLabel = nullptr;
    QLineEdit* searchEdit = nullptr;
    QLabel* noticeLabel = nullptr;
    QLineEdit* fanDeckTypeAhead = nullptr;
    QLineEdit* shadeTypeAhead = nullptr;
    QTimer fanDeckTypeAheadTimer;
    QTimer shadeTypeAheadTimer;
    QMenu* fanDeckMenu = nullptr;
    QMenu* shadeMenu = nullptr;
    QAction* onlyAlkydAction = nullptr;
    QAction* onlyDispersionAction = nullptr;
    QAction* alkydAndDispersionAction = nullptr;
    QAction* showOwnFanDecksAction = nullptr;
    QAction* sortByNameAction = nullptr;
    QAction* sortByInsertionAction = nullptr;
    QAction* sortByColourAction = nullptr;

    void onFanDeckListClicked();
    void onPaintKindChanged(int index);
    void onSearchEntered();
    void onFanDeckListKeyPressed(QChar key);
    void onShadeListKeyPressed(QChar key);
    // The layer the catalogue was last shown for; -1 when the link was dropped.
    int CurrentLayerIndex = 0;
    // Shows the window for a layer: its name as title and, when it has a shade, its
    // fan deck, paint kind, shade and quantity.
    void ShowForLayer(int index, const LayerRecord& layer);
    // Drops the link to the layer (another project, the layer removed) and hides.
    void DropLayerLink();
    // A shade row chosen: it goes into the linked layer at once.
    void onShadeListClicked();
    void onShadeListDoubleClicked();
    void onQuantityEntered();
    void onShowWholeFanDeckTriggered();
    void onShowFanDeckPaletteTriggered();

    // The main window's side of the link.
    std::function<void(int layer, Colour colour, int shadeId, int fanDeckId, int paintKindId,
                       const QString& quantity)>
        AssignShade;
    std::function<void(int layer, int quantity)> StoreQuantity;
    // The palette window: opened on the selected shade (double click, "Zobrazit odstíny
    // v paletě [Dvojklik]") or on the whole list ("Zobrazit paletu odstínů vějíře").
    std::function<void()> ShowPalette;
    std::function<void()> ShowPaletteOnList;

    // Selects a shade row in the model and the list (-1 for none): only the
    // selection, no click action runs and nothing is assigned.
    void SelectShadeRow(int row);

signals:
    // A shade row was chosen and assigned (the palette follows it).
    void ShadeChosen();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void BuildMenus();
    void ConnectModel();
    void SyncFanDecks();
    void SyncPaintKinds();
    void SyncShades();
    void SyncCheckMarks();
    void TypeAhead(QListWidget* list, QLineEdit* overlay, QTimer& timer, QString& text, QChar key);

    Prompts& prompts_;
    std::function<void()> exitProgram_;
    QString fanDeckTyped_;
    QString shadeTyped_;
};
