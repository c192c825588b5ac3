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

// The modal project list "Seznam vytvořených projektů": exteriors from `domy` on the
// left, interiors from `interier` on the right, each with a thumbnail, its name and
// its size. It only chooses; the main window opens what was chosen.
class TOpenList : public QDialog, public ProjectChooser {
    Q_OBJECT
public:
    TOpenList(const QString& appDir, Prompts& prompts, QWidget* parent = nullptr);

    // Rebuilds both lists from their folders and forgets the last choice.
    void FillProjectLists();
    QString ChooseProject() override;

    QString ChosenProjectPath;
    // Runs an import into the given folder; the main window sets it.
    std::function<void(const QString& folder)> ImportInto;
    // The open project's photograph, which may not be deleted.
    std::function<QString()> OpenProjectPath;

    QListWidget* ListBox1 = nullptr; // domy
    QListWidget* ListBox2 = nullptr; // interier
    TGlintImage* GlintImage1 = nullptr;
    TGlintImage* GlintImage2 = nullptr;
    QMenu* PopupMenu1 = nullptr;

    void ListDoubleClick(QListWidget* list);
    void Vybratprojekt1Click();
    void Smazatprojekt1Click();

    // A row's picture, read once while the window is open; null when unreadable.
    struct Thumbnail {
        QImage image;
        QSize size;
    };
    const Thumbnail& ThumbnailOf(const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString FolderOf(const QListWidget* list) const;
    void FillList(QListWidget* list);

    QString appDir_;
    Prompts& prompts_;
    GradientStrip* header_ = nullptr;
    GradientStrip* footer_ = nullptr;
    QFrame* leftFrame_ = nullptr;
    QFrame* rightFrame_ = nullptr;
    QHash<QString, Thumbnail> thumbnails_;
};
