#include "catalogue/CatalogueWindow.h"

#include "catalogue/CatalogueRowDelegates.h"
#include "widgets/Artwork.h"
#include "widgets/DialogButtons.h"
#include "widgets/GradientStrip.h"
#include "workspace/ErrorGuard.h"
#include "workspace/Prompts.h"

#include <QActionGroup>
#include <QBoxLayout>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <cstdlib>

namespace {

const QColor Background(255, 203, 151);

GradientStrip* Strip(Artwork::Gradient gradient, int height, QWidget* parent,
                     const QString& caption = QString()) {
    auto* strip = new GradientStrip(Artwork::GradientPicture(gradient, height), Background, parent);
    strip->setFixedHeight(height);
    if (!caption.isEmpty()) {
        auto* label = new QLabel(strip);
        label->setPixmap(Artwork::StripCaption(caption));
        label->move(17, 0);
    }
    return strip;
}

QListWidget* List(QWidget* parent, const QString& name, const QString& hint, const QColor& back) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setToolTip(hint);
    list->setFrameShape(QFrame::NoFrame);
    list->setUniformItemSizes(true);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->setStyleSheet(
        QStringLiteral("QListWidget { background: %1; color: rgb(31, 50, 69); }").arg(back.name()));
    return list;
}

QLineEdit* FramedField(QWidget* parent, QRect frame, QRect field, const QString& text,
                       const QString& hint) {
    auto* box = new QFrame(parent);
    box->setGeometry(frame);
    box->setStyleSheet(
        QStringLiteral("QFrame { background: white; border: 1px solid rgb(150, 150, 150); }"));
    auto* edit = new QLineEdit(text, parent);
    edit->setGeometry(field);
    edit->setFrame(false);
    edit->setToolTip(hint);
    return edit;
}

// The row the user selected, -1 when none is. Giving a list the focus makes a row
// current without selecting it; only a selected row counts.
int SelectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.constFirst());
}

bool IsNavigationKey(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

QLineEdit* Overlay(QWidget* parent, QPoint at) {
    auto* overlay = new QLineEdit(parent);
    overlay->setGeometry(QRect(at, QSize(105, 19)));
    overlay->setEnabled(false);
    overlay->setFocusPolicy(Qt::NoFocus);
    overlay->setStyleSheet(QStringLiteral(
        "QLineEdit { border: 1px solid rgb(120, 120, 120); background: rgb(255, 255, 225); }"));
    overlay->hide();
    return overlay;
}

} // namespace

Tbarvy::Tbarvy(const QString& appDir, Prompts& prompts, QWidget* parent,
               std::function<void()> exitProgram)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      prompts_(prompts), exitProgram_(std::move(exitProgram)) {
    setObjectName(QStringLiteral("barvy"));
    setWindowTitle(QStringLiteral("barvy"));
    if (!exitProgram_)
        exitProgram_ = [] { std::exit(0); };
    resize(216, 506);
    move(858, 243);
    SetToolWindowLook(this, Background);

    BuildLayout();
    BuildMenus();
    ConnectModel();
    Model.VersionRejected = [this] {
        prompts_.Message(QStringLiteral("Špatná databáze! Kontaktujte výrobce programu."),
                         QString(), Prompts::Icon::None, Prompts::Ok);
        exitProgram_();
    };

    // Until the window is first shown the type-ahead timers run once with 1000 ms.
    for (QTimer* timer : {&Timer1, &Timer2}) {
        timer->setSingleShot(true);
        timer->setInterval(1000);
    }
    connect(&Timer1, &QTimer::timeout, this, [this] {
        fanDeckTyped_.clear();
        FanDeckTypeAhead->clear();
        FanDeckTypeAhead->hide();
        ListBoxFirmyClick();
    });
    connect(&Timer2, &QTimer::timeout, this, [this] {
        shadeTyped_.clear();
        ShadeTypeAhead->clear();
        ShadeTypeAhead->hide();
        ListBoxOdstinyClick();
    });

    // odrex.tom beside the program, or the catalogue that tintora.ini names there.
    if (RunGuarded(prompts_, [this, &appDir] { Database.Open(CatalogueSettings::Read(appDir)); })) {
        RunGuarded(prompts_, [this] { Model.LoadFanDecks(); });
        Timer1.start();
        Timer2.start();
    }
}

void Tbarvy::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    using Artwork::Gradient;
    layout->addWidget(Strip(Gradient::CatalogueHeader, 24, this, QStringLiteral("VĚJÍŘE")));
    ListBoxFirmy = List(this, QStringLiteral("ListBoxFirmy"), QStringLiteral("Seznam vějířů"),
                        QColor(223, 247, 253));
    ListBoxFirmy->setFixedHeight(100);
    ListBoxFirmy->setItemDelegate(new FanDeckRowDelegate(Model, ListBoxFirmy));
    layout->addWidget(ListBoxFirmy);
    layout->addWidget(Strip(Gradient::CatalogueHeader, 24, this, QStringLiteral("ODSTÍNY")));
    ListBoxOdstiny = List(this, QStringLiteral("ListBoxOdstiny"), QStringLiteral("Seznam odstínů"),
                          QColor(235, 250, 254));
    ListBoxOdstiny->setItemDelegate(new ShadeRowDelegate(Model, ListBoxOdstiny));
    layout->addWidget(ListBoxOdstiny, 1);

    LabelNotice = new QLabel(this);
    LabelNotice->setObjectName(QStringLiteral("LabelNotice"));
    LabelNotice->setFixedHeight(20);
    LabelNotice->setAlignment(Qt::AlignCenter);
    LabelNotice->setAutoFillBackground(true);
    LabelNotice->setStyleSheet(
        QStringLiteral("QLabel { background: rgb(187, 207, 225); color: red; }"));
    layout->addWidget(LabelNotice);
    layout->addWidget(Strip(Gradient::CatalogueHeader, 24, this, QStringLiteral("DRUH BARVY")));

    GradientStrip* kindPanel = Strip(Gradient::PaintKindPanel, 40, this);
    ComboBoxDruhBarvy = new QComboBox(kindPanel);
    ComboBoxDruhBarvy->setObjectName(QStringLiteral("ComboBoxDruhBarvy"));
    ComboBoxDruhBarvy->setToolTip(QStringLiteral("Druh barvy"));
    ComboBoxDruhBarvy->setItemDelegate(new PaintKindRowDelegate(ComboBoxDruhBarvy));
    ComboBoxDruhBarvy->setStyleSheet(
        QStringLiteral("QComboBox { background: rgb(230, 242, 255); }"));
    // The box grows with the window's width, 24 pixels from the left, 17 from the right.
    auto* kindLayout = new QHBoxLayout(kindPanel);
    kindLayout->setContentsMargins(24, 8, 17, 10);
    ComboBoxDruhBarvy->setFixedHeight(22);
    kindLayout->addWidget(ComboBoxDruhBarvy);
    layout->addWidget(kindPanel);
    layout->addWidget(Strip(Gradient::CatalogueHeader, 24, this, QStringLiteral("EXTRA")));

    GradientStrip* bottom = Strip(Gradient::CatalogueBottom, 62, this);
    QFont labelFont = font();
    labelFont.setPixelSize(10);
    bottom->setFont(labelFont);
    const QString labelStyle = QStringLiteral("QLabel { color: rgb(65, 65, 65); }");
    auto* quantityLabel = new QLabel(QStringLiteral("Množství potřebné barvy:"), bottom);
    quantityLabel->setStyleSheet(labelStyle);
    quantityLabel->move(8, 11);
    EditQuantity = FramedField(bottom, QRect(136, 8, 57, 20), QRect(139, 11, 52, 15),
                               QStringLiteral("0"), QStringLiteral("Odhadované potřebné množství"));
    EditQuantity->setObjectName(QStringLiteral("EditQuantity"));
    LabelUnit = new QLabel(QStringLiteral("Kg"), bottom);
    LabelUnit->setObjectName(QStringLiteral("LabelUnit"));
    LabelUnit->setStyleSheet(labelStyle);
    LabelUnit->move(198, 11);
    auto* searchLabel = new QLabel(QStringLiteral("Vyhledat v odstínech:"), bottom);
    searchLabel->move(8, 40);
    EditSearch = FramedField(bottom, QRect(115, 36, 78, 20), QRect(117, 39, 74, 16),
                             QStringLiteral("E"), QStringLiteral("Vložte řetězec pro vyhledávání"));
    EditSearch->setObjectName(QStringLiteral("EditSearch"));
    layout->addWidget(bottom);

    FanDeckTypeAhead = Overlay(this, QPoint(88, 104));
    ShadeTypeAhead = Overlay(this, QPoint(88, 296));
    for (QListWidget* list : {ListBoxFirmy, ListBoxOdstiny}) {
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
}

void Tbarvy::BuildMenus() {
    FanDeckMenu = new QMenu(this);
    OnlyAlkyd = FanDeckMenu->addAction(QStringLiteral("Zobrazit pouze alkydové vějíře"));
    OnlyDisperz = FanDeckMenu->addAction(QStringLiteral("Zobrazit pouze disperzní vějíře"));
    AlkydDisperz = FanDeckMenu->addAction(QStringLiteral("Zobrazit alkydové i disperzní vějíře"));
    FanDeckMenu->addSeparator();
    ShowVlastniVejire = FanDeckMenu->addAction(QStringLiteral("Zobrazit vlastní vějíře"));
    FanDeckMenu->addSeparator();
    FanDeckMenu->addAction(QStringLiteral("Zobrazit paletu odstínů vějíře"), this,
                           &Tbarvy::Zobrazitpaletuodstnvje1Click);
    FanDeckMenu->addSeparator();
    QAction* reload = FanDeckMenu->addAction(QStringLiteral("Znovunačtení všech vějířů"));

    ShadeMenu = new QMenu(this);
    ShadeMenu->addAction(QStringLiteral("Zobrazit odstíny v paletě [Dvojklik]"), this,
                         &Tbarvy::ListBoxOdstinyDblClick);
    ShadeMenu->addAction(QStringLiteral("Zobrazit celý vějíř podle zvoleného odstínu"), this,
                         &Tbarvy::ShowVejirFromOdstinClick);
    ShadeMenu->addSeparator();
    ShortOdstinName = ShadeMenu->addAction(QStringLiteral("Setřídit odstíny podle jména"));
    ShortOdstinDB =
        ShadeMenu->addAction(QStringLiteral("Setřídit odstíny podle vložení v databázi"));
    ShortOdstinColor = ShadeMenu->addAction(QStringLiteral("Setřídit odstíny podle barvy odstínu"));
    for (QAction* action : {OnlyAlkyd, OnlyDisperz, AlkydDisperz, ShowVlastniVejire,
                            ShortOdstinName, ShortOdstinDB, ShortOdstinColor})
        action->setCheckable(true);
    SyncCheckMarks();

    const auto guarded = [this](auto operation) {
        return [this, operation] { RunGuarded(prompts_, operation); };
    };
    connect(OnlyAlkyd, &QAction::triggered, this,
            guarded([this] { Model.SetTypeFilter(TypeFilter::OnlyAlkyd); }));
    connect(OnlyDisperz, &QAction::triggered, this,
            guarded([this] { Model.SetTypeFilter(TypeFilter::OnlyDispersion); }));
    connect(AlkydDisperz, &QAction::triggered, this,
            guarded([this] { Model.SetTypeFilter(TypeFilter::Both); }));
    connect(ShowVlastniVejire, &QAction::triggered, this,
            guarded([this] { Model.ToggleShowOwn(); }));
    connect(reload, &QAction::triggered, this, guarded([this] { Model.ReloadAllFanDecks(); }));
    connect(ShortOdstinName, &QAction::triggered, this, guarded([this] { Model.SortByName(); }));
    connect(ShortOdstinDB, &QAction::triggered, this, guarded([this] { Model.SortByInsertion(); }));
    connect(ShortOdstinColor, &QAction::triggered, this,
            guarded([this] { Model.SortShadesByColour(); }));
    // Triggering toggles the check by itself; the model's marks are what counts.
    for (QAction* action : FanDeckMenu->actions() + ShadeMenu->actions())
        connect(action, &QAction::triggered, this, &Tbarvy::SyncCheckMarks);

    connect(ListBoxFirmy, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { FanDeckMenu->popup(ListBoxFirmy->viewport()->mapToGlobal(at)); });
    connect(ListBoxOdstiny, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { ShadeMenu->popup(ListBoxOdstiny->viewport()->mapToGlobal(at)); });
}

void Tbarvy::ConnectModel() {
    connect(&Model, &CatalogueModel::FanDecksChanged, this, &Tbarvy::SyncFanDecks);
    connect(&Model, &CatalogueModel::PaintKindsChanged, this, &Tbarvy::SyncPaintKinds);
    connect(&Model, &CatalogueModel::ShadesCleared, this, [this] { ListBoxOdstiny->clear(); });
    connect(&Model, &CatalogueModel::ShadeAppended, this,
            [this](int row) { ListBoxOdstiny->addItem(Model.Shades[row].name); });
    connect(&Model, &CatalogueModel::ShadesChanged, this, &Tbarvy::SyncShades);
    connect(&Model, &CatalogueModel::CheckMarksChanged, this, &Tbarvy::SyncCheckMarks);
    connect(&Model, &CatalogueModel::ModeChanged, this,
            [this] { ListBoxOdstiny->doItemsLayout(); });
    connect(&Model, &CatalogueModel::UnitChanged, LabelUnit, &QLabel::setText);

    // One left click is one choice; a move with the keys is one too (eventFilter).
    // Focus and the context menu choose nothing.
    connect(ListBoxFirmy, &QListWidget::itemClicked, this, &Tbarvy::ListBoxFirmyClick);
    connect(ComboBoxDruhBarvy, &QComboBox::activated, this, &Tbarvy::ComboBoxDruhBarvyChange);
    connect(ListBoxOdstiny, &QListWidget::itemClicked, this, &Tbarvy::ListBoxOdstinyClick);
    connect(ListBoxOdstiny, &QListWidget::itemDoubleClicked, this, &Tbarvy::ListBoxOdstinyDblClick);
    connect(EditQuantity, &QLineEdit::returnPressed, this, &Tbarvy::EditQuantityEnter);
    connect(EditSearch, &QLineEdit::returnPressed, this, &Tbarvy::EditSearchEnter);
}

void Tbarvy::SyncFanDecks() {
    ListBoxFirmy->clear();
    ListBoxFirmy->addItems(Model.FanDeckNames());
    ListBoxFirmy->setCurrentRow(Model.SelectedFanDeck);
}

void Tbarvy::SyncPaintKinds() {
    const QSignalBlocker blocker(ComboBoxDruhBarvy);
    ComboBoxDruhBarvy->clear();
    for (const PaintKindRecord& kind : Model.PaintKinds)
        ComboBoxDruhBarvy->addItem(kind.name);
    ComboBoxDruhBarvy->setCurrentIndex(Model.SelectedPaintKind);
    // The quantity is typed in the unit shown beside it: always the selected paint
    // kind's, also when a fan-deck choice selected the first one.
    if (Model.SelectedPaintKind >= 0 && Model.SelectedPaintKind < Model.PaintKinds.size())
        LabelUnit->setText(Model.PaintKinds[Model.SelectedPaintKind].unit);
}

void Tbarvy::SyncShades() {
    if (ListBoxOdstiny->count() != Model.Shades.size() || Model.Sort == SortOrder::ByColour) {
        ListBoxOdstiny->clear();
        ListBoxOdstiny->addItems(Model.ShadeNames());
    }
    // The selected row number stays; after a colour sort it may show another shade.
    if (Model.SelectedShade < 0)
        ListBoxOdstiny->setCurrentRow(-1);
    else
        ListBoxOdstiny->setCurrentRow(Model.SelectedShade);
    ListBoxOdstiny->doItemsLayout();
    ListBoxOdstiny->viewport()->update();
}

void Tbarvy::SyncCheckMarks() {
    OnlyAlkyd->setChecked(Model.Types == TypeFilter::OnlyAlkyd);
    OnlyDisperz->setChecked(Model.Types == TypeFilter::OnlyDispersion);
    AlkydDisperz->setChecked(Model.Types == TypeFilter::Both);
    ShowVlastniVejire->setChecked(Model.ShowOwn);
    ShortOdstinName->setChecked(Model.Sort == SortOrder::ByName);
    ShortOdstinDB->setChecked(Model.Sort == SortOrder::ByInsertion);
    ShortOdstinColor->setChecked(Model.Sort == SortOrder::ByColour);
}

void Tbarvy::ListBoxFirmyClick() {
    RunGuarded(prompts_, [this] { Model.ChooseFanDeck(SelectedRow(ListBoxFirmy)); });
}

void Tbarvy::ComboBoxDruhBarvyChange(int index) {
    RunGuarded(prompts_, [this, index] { Model.ChoosePaintKind(index); });
}

void Tbarvy::EditSearchEnter() {
    RunGuarded(prompts_, [this] { Model.SearchShades(EditSearch->text()); });
}

void Tbarvy::TypeAhead(QListWidget* list, QLineEdit* overlay, QTimer& timer, QString& text,
                       QChar key) {
    text = TypeAheadText(text, key);
    overlay->setText(text);
    overlay->show();
    overlay->raise();
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    list->setCurrentRow(TypeAheadRow(rows, text));
    timer.start(TypeAheadInterval);
}

void Tbarvy::ListBoxFirmyKeyPress(QChar key) {
    TypeAhead(ListBoxFirmy, FanDeckTypeAhead, Timer1, fanDeckTyped_, key);
}

void Tbarvy::ListBoxOdstinyKeyPress(QChar key) {
    TypeAhead(ListBoxOdstiny, ShadeTypeAhead, Timer2, shadeTyped_, key);
}

void Tbarvy::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Timer1.setInterval(TypeAheadInterval);
    Timer2.setInterval(TypeAheadInterval);
}

bool Tbarvy::eventFilter(QObject* watched, QEvent* event) {
    // A right click opens the menu and leaves the selection where it was.
    if ((watched == ListBoxFirmy->viewport() || watched == ListBoxOdstiny->viewport()) &&
        (event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick ||
         event->type() == QEvent::MouseButtonRelease) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
        return true;
    if (event->type() == QEvent::KeyPress &&
        (watched == ListBoxFirmy || watched == ListBoxOdstiny)) {
        auto* list = static_cast<QListWidget*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsNavigationKey(key->key())) {
            // The list moves its selection; a move is one choice.
            const int before = SelectedRow(list);
            static_cast<QObject*>(list)->event(event);
            if (SelectedRow(list) != before && SelectedRow(list) >= 0) {
                if (list == ListBoxFirmy)
                    ListBoxFirmyClick();
                else
                    ListBoxOdstinyClick();
            }
            return true;
        }
        const QString text = key->text();
        const bool backspace = key->key() == Qt::Key_Backspace;
        if (backspace || (text.size() == 1 && text[0].isPrint())) {
            const QChar typed = backspace ? QLatin1Char('\b') : text[0];
            if (watched == ListBoxFirmy)
                ListBoxFirmyKeyPress(typed);
            else
                ListBoxOdstinyKeyPress(typed);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Tbarvy::ShowForLayer(int index, const LayerRecord& layer) {
    CurrentLayerIndex = index;
    setWindowTitle(layer.Name);
    show();
    raise();
    if (layer.ShadeId == -1 || layer.FanDeckId == -1 || layer.PaintKindId == -1)
        return;
    RunGuarded(prompts_,
               [&] { Model.ShowLayerShade(layer.FanDeckId, layer.PaintKindId, layer.ShadeId); });
    EditQuantity->setText(QString::number(layer.Quantity));
}

void Tbarvy::DropLayerLink() {
    CurrentLayerIndex = -1;
    hide();
}

void Tbarvy::ListBoxOdstinyClick() {
    const int row = SelectedRow(ListBoxOdstiny);
    if (row < 0 || row >= Model.Shades.size() || Model.Loading())
        return;
    Model.SelectedShade = row;
    if (Model.Mode == ShadeListMode::FoundShades)
        RunGuarded(prompts_, [this, row] { Model.LoadPaintKindsOfShade(row); });
    const ShadeRecord shade = Model.Shades[row];
    LabelNotice->setText(shade.notice);
    const int kind =
        Model.SelectedPaintKind >= 0 && Model.SelectedPaintKind < Model.PaintKinds.size()
            ? Model.PaintKinds[Model.SelectedPaintKind].id
            : -1;
    if (AssignShade && CurrentLayerIndex >= 0)
        AssignShade(CurrentLayerIndex, shade.ColourValue(), shade.id, shade.fanDeckId, kind,
                    EditQuantity->text());
    emit ShadeChosen();
}

void Tbarvy::SelectShadeRow(int row) {
    Model.SelectedShade = row >= 0 && row < Model.Shades.size() ? row : -1;
    ListBoxOdstiny->setCurrentRow(Model.SelectedShade); // selects; chooses nothing
}

void Tbarvy::ListBoxOdstinyDblClick() {
    const int row = SelectedRow(ListBoxOdstiny);
    if (row < 0 || row >= Model.Shades.size())
        return;
    SelectShadeRow(row);
    if (ShowPalette)
        ShowPalette();
}

void Tbarvy::Zobrazitpaletuodstnvje1Click() {
    if (Model.Shades.isEmpty()) {
        prompts_.Message(QStringLiteral("Paletu nelze zobrazit. Vějíř neobsahuje žádný odstín."),
                         QString(), Prompts::Icon::Warning, Prompts::Ok);
        return;
    }
    // Row 0 when none is selected, in the model as in the list.
    const int row = SelectedRow(ListBoxOdstiny);
    SelectShadeRow(row >= 0 && row < Model.Shades.size() ? row : 0);
    if (ShowPaletteOnList)
        ShowPaletteOnList();
}

void Tbarvy::ShowVejirFromOdstinClick() {
    const int row = SelectedRow(ListBoxOdstiny);
    if (row < 0)
        return;
    RunGuarded(prompts_, [this, row] { Model.ShowWholeFanDeckOf(row); });
}

void Tbarvy::EditQuantityEnter() {
    bool ok = false;
    const int quantity = EditQuantity->text().trimmed().toInt(&ok);
    if (!ok) {
        prompts_.Message(QStringLiteral("Vkládaná hodnota musí být celé číslo."),
                         QStringLiteral("Chyba při vkládání parametru"), Prompts::Icon::Error,
                         Prompts::Ok);
        return;
    }
    if (StoreQuantity && CurrentLayerIndex >= 0)
        StoreQuantity(CurrentLayerIndex, quantity);
}
