#pragma once

#include "workspace/ProjectOperations.h"

#include <QDialog>
#include <QHash>
#include <QImage>
#include <functional>

class GradientStrip;
class Prompts;
class QFrame;
class QListWidget;
class QMenu;
class TGlintImage;
class ThumbnailLoader;

// The modal project list "Seznam vytvořených projektů": exteriors from `domy` on the
// left, interiors from `interier` on the right, each with a thumbnail, its name and
// its size. It only chooses; the main window opens what was chosen.
class ProjectListWindow : public QDialog, public ProjectChooser {
    Q_OBJECT
public:
    ProjectListWindow(const QString& appDir, Prompts& prompts, QWidget* parent = nullptr);

    // Rebuilds both lists from their folders and forgets the last choice.
    void FillProjectLists();
    QString ChooseProject() override;

    QString ChosenProjectPath;
    // Runs an import into the given folder; the main window sets it.
    std::function<void(const QString& folder)> ImportInto;
    // The open project's photograph, which may not be deleted.
    std::function<QString()> OpenProjectPath;

    QListWidget* exteriorList = nullptr; // domy
    QListWidget* interiorList = nullptr; // interier
    TGlintImage* importExteriorButton = nullptr;
    TGlintImage* importInteriorButton = nullptr;
    QMenu* projectMenu = nullptr;

    void onProjectListDoubleClicked(QListWidget* list);
    void onChooseProjectTriggered();
    void onDeleteProjectTriggered();

    // What a row shows of its photograph: the size its header declares, read when
    // the row is first drawn, and the thumbnail once it has come from the loader
    // (asked for then too). Kept while the window is open.
    struct RowPicture {
        bool readable = false; // the header was read
        QSize size;
        QImage thumbnail;    // exactly the thumbnail rectangle's size; null until it comes
        bool failed = false; // the pixels could not be read
        bool requested = false;
    };
    const RowPicture& PictureOf(const QString& path);
    ThumbnailLoader& Loader() { return *loader_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QString FolderOf(const QListWidget* list) const;
    void FillList(QListWidget* list);
    void ThumbnailReady(const QString& path, const QImage& thumbnail);
    void CancelThumbnails();

    QString appDir_;
    Prompts& prompts_;
    GradientStrip* header_ = nullptr;
    GradientStrip* footer_ = nullptr;
    QFrame* leftFrame_ = nullptr;
    QFrame* rightFrame_ = nullptr;
    QHash<QString, RowPicture> pictures_;
    ThumbnailLoader* loader_ = nullptr;
};
