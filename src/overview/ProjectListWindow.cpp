#include "overview/ProjectListWindow.h"

#include "overview/ProjectListing.h"
#include "overview/ProjectRowDelegate.h"
#include "overview/ThumbnailLoader.h"
#include "project/PhotoFiles.h"
#include "project/RecoveryFile.h"
#include "widgets/Artwork.h"
#include "widgets/GlintImage.h"
#include "widgets/GradientStrip.h"
#include "workspace/ErrorGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

namespace {

QListWidget* ProjectList(QWidget* parent, const QString& name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setToolTip(QStringLiteral("Dvojklikem vyber projekt"));
    list->setFrameShape(QFrame::NoFrame);
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->setStyleSheet(QStringLiteral("QListWidget { background: rgb(235, 250, 254); }"));
    return list;
}

QFrame* GreyFrame(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    frame->setStyleSheet(QStringLiteral("QFrame { border: 1px solid rgb(160, 160, 160); }"));
    return frame;
}

} // namespace

ProjectListWindow::ProjectListWindow(const QString& appDir, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowStaysOnTopHint),
      appDir_(appDir), prompts_(prompts) {
    setObjectName(QStringLiteral("ProjectListWindow"));
    setWindowTitle(QStringLiteral("Seznam vytvořených projektů"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(235, 235, 235));
    setPalette(palette);

    header_ = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::TopBand, 52),
                                QColor(235, 235, 235), this);
    AddBandTitle(header_, QStringLiteral("Otevřít uložený projekt"));
    footer_ = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::TopBand, 50),
                                QColor(235, 235, 235), this);

    leftFrame_ = GreyFrame(this);
    rightFrame_ = GreyFrame(this);
    exteriorList = ProjectList(this, QStringLiteral("exteriorList"));
    interiorList = ProjectList(this, QStringLiteral("interiorList"));
    loader_ = new ThumbnailLoader(this);
    connect(loader_, &ThumbnailLoader::Ready, this, &ProjectListWindow::ThumbnailReady);
    exteriorList->setItemDelegate(
        new ProjectRowDelegate(*this, FolderOf(exteriorList), exteriorList));
    interiorList->setItemDelegate(
        new ProjectRowDelegate(*this, FolderOf(interiorList), interiorList));

    using Artwork::Face;
    const QSize size(125, 18);
    const QString exterior = QStringLiteral("Import exteriéru ...");
    const QString interior = QStringLiteral("Import interiéru ...");
    importExteriorButton =
        MakeGlintImage(this, QStringLiteral("importExteriorButton"),
                       Artwork::PanelButton(exterior, Face::Normal, size),
                       Artwork::PanelButton(exterior, Face::Over, size), QString());
    importInteriorButton =
        MakeGlintImage(this, QStringLiteral("importInteriorButton"),
                       Artwork::PanelButton(interior, Face::Normal, size),
                       Artwork::PanelButton(interior, Face::Over, size), QString());

    projectMenu = new QMenu(this);
    projectMenu->addAction(QStringLiteral("Vybrat projekt"), this,
                           &ProjectListWindow::onChooseProjectTriggered);
    projectMenu->addSeparator();
    projectMenu->addAction(QStringLiteral("Smazat projekt"), this,
                           &ProjectListWindow::onDeleteProjectTriggered);

    for (QListWidget* list : {exteriorList, interiorList}) {
        QListWidget* other = list == exteriorList ? interiorList : exteriorList;
        // At most one project is selected across both lists.
        connect(list, &QListWidget::itemPressed, this, [other] { other->clearSelection(); });
        connect(list, &QListWidget::itemDoubleClicked, this,
                [this, list] { onProjectListDoubleClicked(list); });
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](QPoint at) {
            if (QListWidgetItem* item = list->itemAt(at)) {
                list->setCurrentItem(item);
                (list == exteriorList ? interiorList : exteriorList)->clearSelection();
            }
            projectMenu->popup(list->viewport()->mapToGlobal(at));
        });
    }
    connect(importExteriorButton, &TGlintImage::Click, this, [this] {
        if (ImportInto)
            ImportInto(appDir_ + QStringLiteral("/domy"));
    });
    connect(importInteriorButton, &TGlintImage::Click, this, [this] {
        if (ImportInto)
            ImportInto(appDir_ + QStringLiteral("/interier"));
    });
    resize(582, 517);
}

QString ProjectListWindow::FolderOf(const QListWidget* list) const {
    return appDir_ + (list == exteriorList ? QStringLiteral("/domy") : QStringLiteral("/interier"));
}

void ProjectListWindow::FillList(QListWidget* list) {
    list->clear();
    list->addItems(ProjectListing::ProjectFiles(FolderOf(list)));
}

void ProjectListWindow::FillProjectLists() {
    ChosenProjectPath.clear();
    CancelThumbnails();
    pictures_.clear();
    FillList(exteriorList);
    FillList(interiorList);
}

QString ProjectListWindow::ChooseProject() {
    FillProjectLists();
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
    exec();
    return ChosenProjectPath;
}

const ProjectListWindow::RowPicture& ProjectListWindow::PictureOf(const QString& path) {
    auto found = pictures_.find(path);
    if (found == pictures_.end()) {
        RowPicture picture;
        picture.keptChanges = RecoveryFile::Exists(path);
        try {
            // Only the header: the sizes show at once, whatever the photograph weighs.
            picture.size = PhotoFiles::BmpSize(path);
            picture.readable = true;
        } catch (const TintoraError&) {
            picture.readable = false;
        }
        found = pictures_.insert(path, picture);
    }
    if (found->readable && found->thumbnail.isNull() && !found->failed && !found->requested) {
        found->requested = true;
        loader_->Request(path, ProjectListing::ThumbnailRect(QRect(), found->size).size());
    }
    return *found;
}

void ProjectListWindow::ThumbnailReady(const QString& path, const QImage& thumbnail) {
    const auto found = pictures_.find(path);
    if (found == pictures_.end())
        return;
    found->thumbnail = thumbnail;
    found->failed = thumbnail.isNull();
    exteriorList->viewport()->update();
    interiorList->viewport()->update();
}

void ProjectListWindow::CancelThumbnails() {
    loader_->Cancel();
    // Rows still waiting ask again when they are next drawn.
    for (RowPicture& picture : pictures_)
        picture.requested = !picture.thumbnail.isNull() || picture.failed;
}

void ProjectListWindow::onProjectListDoubleClicked(QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    ChosenProjectPath = QDir(FolderOf(list)).filePath(selected.constFirst()->text());
    accept();
}

void ProjectListWindow::onChooseProjectTriggered() {
    if (!exteriorList->selectedItems().isEmpty())
        onProjectListDoubleClicked(exteriorList);
    if (!interiorList->selectedItems().isEmpty())
        onProjectListDoubleClicked(interiorList);
}

void ProjectListWindow::onDeleteProjectTriggered() {
    QListWidget* list = !exteriorList->selectedItems().isEmpty()   ? exteriorList
                        : !interiorList->selectedItems().isEmpty() ? interiorList
                                                                   : nullptr;
    if (!list)
        return;
    const QString path = QDir(FolderOf(list)).filePath(list->selectedItems().constFirst()->text());
    const QString open = OpenProjectPath ? OpenProjectPath() : QString();
    if (!open.isEmpty() && QFileInfo(open) == QFileInfo(path)) {
        prompts_.Error(QStringLiteral("Otevřený projekt nelze smazat."));
        return;
    }
    // A destructive question names what it destroys, and No is its default.
    if (prompts_.Message(QStringLiteral("Opravdu chcete smazat projekt „%1“?")
                             .arg(ProjectListing::DisplayName(QFileInfo(path).fileName())),
                         QStringLiteral("Potvrzení"), Prompts::Icon::Question,
                         Prompts::Yes | Prompts::No, Prompts::No) != Prompts::Yes)
        return;
    QString reason;
    if (!ProjectListing::DeleteProject(path, &reason))
        prompts_.Error(reason);
    FillProjectLists();
}

void ProjectListWindow::hideEvent(QHideEvent* event) {
    // A closed list waits for nothing: what has not started never will.
    CancelThumbnails();
    QDialog::hideEvent(event);
}

void ProjectListWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const auto c = ProjectListing::ColumnsFor(width());
    const int listHeight = height() - 61 - 63; // from y 61 down to 63 px above the bottom
    header_->setGeometry(0, 0, width(), 52);
    footer_->setGeometry(0, height() - 50, width(), 50);
    leftFrame_->setGeometry(7, 60, c.leftFrameWidth, listHeight + 2);
    exteriorList->setGeometry(8, 61, c.leftListWidth, listHeight);
    rightFrame_->setGeometry(c.rightFrameX, 60, c.rightFrameWidth, listHeight + 2);
    interiorList->setGeometry(c.rightListX, 61, c.rightListWidth, listHeight);
    importExteriorButton->move(c.leftButtonX, height() - 37);
    importInteriorButton->move(c.rightButtonX, height() - 37);
}
