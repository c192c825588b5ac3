#include "catalogue/CatalogueWindow.h"

#include "catalogue/CatalogueRowDelegates.h"
#include "catalogue/CatalogueWaitingDialog.h"
#include "catalogue/PaintKindChange.h"
#include "widgets/Artwork.h"
#include "widgets/DialogButtons.h"
#include "widgets/GradientStrip.h"
#include "workspace/ErrorGuard.h"
#include "workspace/Prompts.h"

#include <QActionGroup>
#include <QBoxLayout>
#include <QComboBox>
#include <QFontMetrics>
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

CatalogueWindow::CatalogueWindow(const QString& appDir, Prompts& prompts, QWidget* parent,
                                 std::function<void()> exitProgram)
    // A tool window of the main window's, which a window manager keeps above it (not
    // above other programs or the program's dialogs), not one that stays on top of
    // everything.
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      prompts_(prompts), exitProgram_(std::move(exitProgram)) {
    setObjectName(QStringLiteral("CatalogueWindow"));
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
    for (QTimer* timer : {&fanDeckTypeAheadTimer, &shadeTypeAheadTimer}) {
        timer->setSingleShot(true);
        timer->setInterval(1000);
    }
    connect(&fanDeckTypeAheadTimer, &QTimer::timeout, this, [this] {
        fanDeckTyped_.clear();
        fanDeckTypeAhead->clear();
        fanDeckTypeAhead->hide();
        onFanDeckListClicked();
    });
    connect(&shadeTypeAheadTimer, &QTimer::timeout, this, [this] {
        shadeTyped_.clear();
        shadeTypeAhead->clear();
        shadeTypeAhead->hide();
        onShadeListClicked();
    });

    // A catalogue that does not answer is waited for with the windows repainting and
    // a way out for the user.
    waitingDialog = new CatalogueWaitingDialog(this);
    Database.SetWaiting(waitingDialog);
    // odrex.tom beside the program, or the catalogue that tintora.ini names there.
    if (RunGuarded(prompts_, [this, &appDir] { Database.Open(CatalogueSettings::Read(appDir)); })) {
        RunGuarded(prompts_, [this] { Model.LoadFanDecks(); });
        fanDeckTypeAheadTimer.start();
        shadeTypeAheadTimer.start();
    }
}

void CatalogueWindow::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    using Artwork::Gradient;
    layout->addWidget(Strip(Gradient::CatalogueHeader, 24, this, QStringLiteral("VĚJÍŘE")));
    fanDeckList = List(this, QStringLiteral("fanDeckList"), QStringLiteral("Seznam vějířů"),
                       QColor(223, 247, 253));
    fanDeckList->setFixedHeight(100);
    fanDeckList->setItemDelegate(new FanDeckRowDelegate(Model, fanDeckList));
    layout->addWidget(fanDeckList);
    layout->addWidget(Strip(Gradient::CatalogueHeader, 24, this, QStringLiteral("ODSTÍNY")));
    shadeList = List(this, QStringLiteral("shadeList"), QStringLiteral("Seznam odstínů"),
                     QColor(235, 250, 254));
    shadeList->setItemDelegate(new ShadeRowDelegate(Model, shadeList));
    layout->addWidget(shadeList, 1);

    // Texts of the catalogue are shown as they are, never as markup: a remark such as
    // <img src="/dev/zero"> made the label read the device until memory ran out.
    noticeLabel = new QLabel(this);
    noticeLabel->setObjectName(QStringLiteral("noticeLabel"));
    noticeLabel->setTextFormat(Qt::PlainText);
    // One line high; a longer notice (a paint kind of another unit) wraps onto more
    // lines rather than being cut at the window's edges.
    noticeLabel->setMinimumHeight(20);
    noticeLabel->setWordWrap(true);
    noticeLabel->setAlignment(Qt::AlignCenter);
    noticeLabel->setAutoFillBackground(true);
    noticeLabel->setStyleSheet(
        QStringLiteral("QLabel { background: rgb(187, 207, 225); color: red; }"));
    layout->addWidget(noticeLabel);
    layout->addWidget(Strip(Gradient::CatalogueHeader, 24, this, QStringLiteral("DRUH BARVY")));

    GradientStrip* kindPanel = Strip(Gradient::PaintKindPanel, 40, this);
    paintKindCombo = new QComboBox(kindPanel);
    paintKindCombo->setObjectName(QStringLiteral("paintKindCombo"));
    paintKindCombo->setToolTip(QStringLiteral("Druh barvy"));
    paintKindCombo->setItemDelegate(new PaintKindRowDelegate(paintKindCombo));
    paintKindCombo->setStyleSheet(QStringLiteral("QComboBox { background: rgb(230, 242, 255); }"));
    // The box grows with the window's width, 24 pixels from the left, 17 from the right.
    auto* kindLayout = new QHBoxLayout(kindPanel);
    kindLayout->setContentsMargins(24, 8, 17, 10);
    paintKindCombo->setFixedHeight(22);
    kindLayout->addWidget(paintKindCombo);
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
    quantityEdit = FramedField(bottom, QRect(136, 8, 57, 20), QRect(139, 11, 52, 15),
                               QStringLiteral("0"), QStringLiteral("Odhadované potřebné množství"));
    quantityEdit->setObjectName(QStringLiteral("quantityEdit"));
    unitLabel = new QLabel(QStringLiteral("Kg"), bottom);
    unitLabel->setObjectName(QStringLiteral("unitLabel"));
    unitLabel->setTextFormat(Qt::PlainText);
    unitLabel->setStyleSheet(labelStyle);
    unitLabel->move(198, 11);
    auto* searchLabel = new QLabel(QStringLiteral("Vyhledat v odstínech:"), bottom);
    searchLabel->setObjectName(QStringLiteral("searchLabel"));
    searchLabel->move(8, 40);
    // Each caption ends before its field's frame, its colon in sight: a font wider than
    // the design's takes a pixel less.
    for (const auto& [label, frameLeft] : {std::pair{quantityLabel, 136}, {searchLabel, 115}}) {
        QFont fitted = label->font();
        while (fitted.pixelSize() > 8 &&
               QFontMetrics(fitted).horizontalAdvance(label->text()) > frameLeft - 2 - label->x())
            fitted.setPixelSize(fitted.pixelSize() - 1);
        label->setFont(fitted);
        label->adjustSize();
    }
    searchEdit = FramedField(bottom, QRect(115, 36, 78, 20), QRect(117, 39, 74, 16),
                             QStringLiteral("E"), QStringLiteral("Vložte řetězec pro vyhledávání"));
    searchEdit->setObjectName(QStringLiteral("searchEdit"));
    layout->addWidget(bottom);

    fanDeckTypeAhead = Overlay(this, QPoint(88, 104));
    shadeTypeAhead = Overlay(this, QPoint(88, 296));
    for (QListWidget* list : {fanDeckList, shadeList}) {
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
}

void CatalogueWindow::BuildMenus() {
    fanDeckMenu = new QMenu(this);
    onlyAlkydAction = fanDeckMenu->addAction(QStringLiteral("Zobrazit pouze alkydové vějíře"));
    onlyDispersionAction =
        fanDeckMenu->addAction(QStringLiteral("Zobrazit pouze disperzní vějíře"));
    alkydAndDispersionAction =
        fanDeckMenu->addAction(QStringLiteral("Zobrazit alkydové i disperzní vějíře"));
    fanDeckMenu->addSeparator();
    showOwnFanDecksAction = fanDeckMenu->addAction(QStringLiteral("Zobrazit vlastní vějíře"));
    fanDeckMenu->addSeparator();
    fanDeckMenu->addAction(QStringLiteral("Zobrazit paletu odstínů vějíře"), this,
                           &CatalogueWindow::onShowFanDeckPaletteTriggered);
    fanDeckMenu->addSeparator();
    QAction* reload = fanDeckMenu->addAction(QStringLiteral("Znovunačtení všech vějířů"));

    shadeMenu = new QMenu(this);
    shadeMenu->addAction(QStringLiteral("Zobrazit odstíny v paletě [Dvojklik]"), this,
                         &CatalogueWindow::onShadeListDoubleClicked);
    shadeMenu->addAction(QStringLiteral("Zobrazit celý vějíř podle zvoleného odstínu"), this,
                         &CatalogueWindow::onShowWholeFanDeckTriggered);
    shadeMenu->addSeparator();
    sortByNameAction = shadeMenu->addAction(QStringLiteral("Setřídit odstíny podle jména"));
    sortByInsertionAction =
        shadeMenu->addAction(QStringLiteral("Setřídit odstíny podle vložení v databázi"));
    sortByColourAction =
        shadeMenu->addAction(QStringLiteral("Setřídit odstíny podle barvy odstínu"));
    for (QAction* action :
         {onlyAlkydAction, onlyDispersionAction, alkydAndDispersionAction, showOwnFanDecksAction,
          sortByNameAction, sortByInsertionAction, sortByColourAction})
        action->setCheckable(true);
    SyncCheckMarks();

    const auto guarded = [this](auto operation) {
        return [this, operation] { RunGuarded(prompts_, operation); };
    };
    connect(onlyAlkydAction, &QAction::triggered, this,
            guarded([this] { Model.SetTypeFilter(TypeFilter::OnlyAlkyd); }));
    connect(onlyDispersionAction, &QAction::triggered, this,
            guarded([this] { Model.SetTypeFilter(TypeFilter::OnlyDispersion); }));
    connect(alkydAndDispersionAction, &QAction::triggered, this,
            guarded([this] { Model.SetTypeFilter(TypeFilter::Both); }));
    connect(showOwnFanDecksAction, &QAction::triggered, this,
            guarded([this] { Model.ToggleShowOwn(); }));
    connect(reload, &QAction::triggered, this, guarded([this] { Model.ReloadAllFanDecks(); }));
    connect(sortByNameAction, &QAction::triggered, this, guarded([this] { Model.SortByName(); }));
    connect(sortByInsertionAction, &QAction::triggered, this,
            guarded([this] { Model.SortByInsertion(); }));
    connect(sortByColourAction, &QAction::triggered, this,
            guarded([this] { Model.SortShadesByColour(); }));
    // Triggering toggles the check by itself; the model's marks are what counts.
    for (QAction* action : fanDeckMenu->actions() + shadeMenu->actions())
        connect(action, &QAction::triggered, this, &CatalogueWindow::SyncCheckMarks);

    connect(fanDeckList, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { fanDeckMenu->popup(fanDeckList->viewport()->mapToGlobal(at)); });
    connect(shadeList, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { shadeMenu->popup(shadeList->viewport()->mapToGlobal(at)); });
}

void CatalogueWindow::ConnectModel() {
    connect(&Model, &CatalogueModel::FanDecksChanged, this, &CatalogueWindow::SyncFanDecks);
    connect(&Model, &CatalogueModel::PaintKindsChanged, this, &CatalogueWindow::SyncPaintKinds);
    connect(&Model, &CatalogueModel::ShadesCleared, this, [this] { shadeList->clear(); });
    connect(&Model, &CatalogueModel::ShadeAppended, this,
            [this](int row) { shadeList->addItem(Model.Shades[row].name); });
    connect(&Model, &CatalogueModel::ShadesChanged, this, &CatalogueWindow::SyncShades);
    connect(&Model, &CatalogueModel::CheckMarksChanged, this, &CatalogueWindow::SyncCheckMarks);
    connect(&Model, &CatalogueModel::ModeChanged, this, [this] { shadeList->doItemsLayout(); });
    connect(&Model, &CatalogueModel::UnitChanged, unitLabel, &QLabel::setText);

    // One left click is one choice; a move with the keys is one too (eventFilter).
    // Focus and the context menu choose nothing.
    connect(fanDeckList, &QListWidget::itemClicked, this, &CatalogueWindow::onFanDeckListClicked);
    connect(paintKindCombo, &QComboBox::activated, this, &CatalogueWindow::onPaintKindChanged);
    connect(shadeList, &QListWidget::itemClicked, this, &CatalogueWindow::onShadeListClicked);
    connect(shadeList, &QListWidget::itemDoubleClicked, this,
            &CatalogueWindow::onShadeListDoubleClicked);
    connect(quantityEdit, &QLineEdit::returnPressed, this, &CatalogueWindow::onQuantityEntered);
    connect(searchEdit, &QLineEdit::returnPressed, this, &CatalogueWindow::onSearchEntered);
}

void CatalogueWindow::SyncFanDecks() {
    fanDeckList->clear();
    fanDeckList->addItems(Model.FanDeckNames());
    fanDeckList->setCurrentRow(Model.SelectedFanDeck);
}

void CatalogueWindow::SyncPaintKinds() {
    const QSignalBlocker blocker(paintKindCombo);
    paintKindCombo->clear();
    for (const PaintKindRecord& kind : Model.PaintKinds)
        paintKindCombo->addItem(kind.name);
    paintKindCombo->setCurrentIndex(Model.SelectedPaintKind);
    // The quantity is typed in the unit shown beside it: always the selected paint
    // kind's, also when a fan-deck choice selected the first one.
    if (Model.SelectedPaintKind >= 0 && Model.SelectedPaintKind < Model.PaintKinds.size())
        unitLabel->setText(Model.PaintKinds[Model.SelectedPaintKind].unit);
}

void CatalogueWindow::SyncShades() {
    if (shadeList->count() != Model.Shades.size() || Model.Sort == SortOrder::ByColour) {
        shadeList->clear();
        shadeList->addItems(Model.ShadeNames());
    }
    // The selected row number stays; after a colour sort it may show another shade.
    if (Model.SelectedShade < 0)
        shadeList->setCurrentRow(-1);
    else
        shadeList->setCurrentRow(Model.SelectedShade);
    shadeList->doItemsLayout();
    shadeList->viewport()->update();
}

void CatalogueWindow::SyncCheckMarks() {
    onlyAlkydAction->setChecked(Model.Types == TypeFilter::OnlyAlkyd);
    onlyDispersionAction->setChecked(Model.Types == TypeFilter::OnlyDispersion);
    alkydAndDispersionAction->setChecked(Model.Types == TypeFilter::Both);
    showOwnFanDecksAction->setChecked(Model.ShowOwn);
    sortByNameAction->setChecked(Model.Sort == SortOrder::ByName);
    sortByInsertionAction->setChecked(Model.Sort == SortOrder::ByInsertion);
    sortByColourAction->setChecked(Model.Sort == SortOrder::ByColour);
}

void CatalogueWindow::onFanDeckListClicked() {
    RunGuarded(prompts_, [this] { Model.ChooseFanDeck(SelectedRow(fanDeckList)); });
}

void CatalogueWindow::onPaintKindChanged(int index) {
    RunGuarded(prompts_, [this, index] { Model.ChoosePaintKind(index); });
}

void CatalogueWindow::onSearchEntered() {
    RunGuarded(prompts_, [this] { Model.SearchShades(searchEdit->text()); });
}

void CatalogueWindow::TypeAhead(QListWidget* list, QLineEdit* overlay, QTimer& timer, QString& text,
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

void CatalogueWindow::onFanDeckListKeyPressed(QChar key) {
    TypeAhead(fanDeckList, fanDeckTypeAhead, fanDeckTypeAheadTimer, fanDeckTyped_, key);
}

void CatalogueWindow::onShadeListKeyPressed(QChar key) {
    TypeAhead(shadeList, shadeTypeAhead, shadeTypeAheadTimer, shadeTyped_, key);
}

void CatalogueWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fanDeckTypeAheadTimer.setInterval(TypeAheadInterval);
    shadeTypeAheadTimer.setInterval(TypeAheadInterval);
}

bool CatalogueWindow::eventFilter(QObject* watched, QEvent* event) {
    // A right click opens the menu and leaves the selection where it was.
    if ((watched == fanDeckList->viewport() || watched == shadeList->viewport()) &&
        (event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick ||
         event->type() == QEvent::MouseButtonRelease) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
        return true;
    if (event->type() == QEvent::KeyPress && (watched == fanDeckList || watched == shadeList)) {
        auto* list = static_cast<QListWidget*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsNavigationKey(key->key())) {
            // The list moves its selection; a move is one choice.
            const int before = SelectedRow(list);
            static_cast<QObject*>(list)->event(event);
            if (SelectedRow(list) != before && SelectedRow(list) >= 0) {
                if (list == fanDeckList)
                    onFanDeckListClicked();
                else
                    onShadeListClicked();
            }
            return true;
        }
        const QString text = key->text();
        const bool backspace = key->key() == Qt::Key_Backspace;
        if (backspace || (text.size() == 1 && text[0].isPrint())) {
            const QChar typed = backspace ? QLatin1Char('\b') : text[0];
            if (watched == fanDeckList)
                onFanDeckListKeyPressed(typed);
            else
                onShadeListKeyPressed(typed);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CatalogueWindow::ShowForLayer(int index, const LayerRecord& layer) {
    CurrentLayerIndex = index;
    setWindowTitle(layer.Name);
    show();
    raise();
    emit LayerLinkChanged();
    // The layer's own quantity, never the one shown for the layer before: the next
    // shade chosen writes the field into this layer.
    quantityEdit->setText(QString::number(layer.Quantity));
    if (layer.ShadeId == -1 || layer.FanDeckId == -1 || layer.PaintKindId == -1) {
        SelectShadeRow(-1);
        return;
    }
    RunGuarded(prompts_,
               [&] { Model.ShowLayerShade(layer.FanDeckId, layer.PaintKindId, layer.ShadeId); });
}

void CatalogueWindow::DropLayerLink() {
    CurrentLayerIndex = -1;
    hide();
    emit LayerLinkChanged();
}

void CatalogueWindow::onShadeListClicked() {
    const int row = SelectedRow(shadeList);
    if (row < 0 || row >= Model.Shades.size() || Model.Loading())
        return;
    Model.SelectedShade = row;
    if (Model.Mode == ShadeListMode::FoundShades)
        RunGuarded(prompts_, [this, row] { Model.LoadPaintKindsOfShade(row); });
    const ShadeRecord shade = Model.Shades[row];
    noticeLabel->setText(shade.notice);
    const bool kindSelected =
        Model.SelectedPaintKind >= 0 && Model.SelectedPaintKind < Model.PaintKinds.size();
    const PaintKindRecord kind =
        kindSelected ? Model.PaintKinds[Model.SelectedPaintKind] : PaintKindRecord{-1, {}, {}};
    if (AssignShade && CurrentLayerIndex >= 0) {
        // A paint kind of another unit: the quantity typed for the old one is cleared
        // and the notice line says so.
        QuantityAfterChoice quantity{quantityEdit->text(), QString()};
        if (kindSelected && PaintKindOfLayer)
            RunGuarded(prompts_, [&] {
                quantity = QuantityForPaintKind(Database, PaintKindOfLayer(CurrentLayerIndex), kind,
                                                quantityEdit->text());
            });
        if (!quantity.notice.isEmpty()) {
            quantityEdit->setText(quantity.quantityText);
            noticeLabel->setText(quantity.notice);
        }
        AssignShade(CurrentLayerIndex, shade.ColourValue(), shade.id, shade.fanDeckId, kind.id,
                    quantity.quantityText);
    }
    emit ShadeChosen();
}

void CatalogueWindow::SelectShadeRow(int row) {
    Model.SelectedShade = row >= 0 && row < Model.Shades.size() ? row : -1;
    shadeList->setCurrentRow(Model.SelectedShade); // selects; chooses nothing
}

void CatalogueWindow::onShadeListDoubleClicked() {
    const int row = SelectedRow(shadeList);
    if (row < 0 || row >= Model.Shades.size())
        return;
    SelectShadeRow(row);
    if (ShowPalette)
        ShowPalette();
}

void CatalogueWindow::onShowFanDeckPaletteTriggered() {
    if (Model.Shades.isEmpty()) {
        prompts_.Message(QStringLiteral("Paletu nelze zobrazit. Vějíř neobsahuje žádný odstín."),
                         QString(), Prompts::Icon::Warning, Prompts::Ok);
        return;
    }
    // Row 0 when none is selected, in the model as in the list.
    const int row = SelectedRow(shadeList);
    SelectShadeRow(row >= 0 && row < Model.Shades.size() ? row : 0);
    if (ShowPaletteOnList)
        ShowPaletteOnList();
}

void CatalogueWindow::onShowWholeFanDeckTriggered() {
    const int row = SelectedRow(shadeList);
    if (row < 0)
        return;
    RunGuarded(prompts_, [this, row] { Model.ShowWholeFanDeckOf(row); });
}

void CatalogueWindow::onQuantityEntered() {
    bool ok = false;
    const int quantity = quantityEdit->text().trimmed().toInt(&ok);
    if (!ok) {
        prompts_.Message(QStringLiteral("Vkládaná hodnota musí být celé číslo."),
                         QStringLiteral("Chyba při vkládání parametru"), Prompts::Icon::Error,
                         Prompts::Ok);
        return;
    }
    if (StoreQuantity && CurrentLayerIndex >= 0)
        StoreQuantity(CurrentLayerIndex, quantity);
}
