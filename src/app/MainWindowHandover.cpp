// Files handed to the main window from outside, dropped on it or named on the command
// line, and the hint bar that notes what the user should know of them.
#include "app/MainWindow.h"
#include "overview/ProjectListWindow.h"
#include "workspace/OpenOrImport.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QScrollArea>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int NoteShownMs = 12000;

QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (!data)
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // The questions and the progress run once the drop is over: the program that
    // dragged is not kept waiting for them.
    QTimer::singleShot(0, this, [this, files] { OpenOrImportFiles(files); });
}

void MainWindow::OpenOrImportFiles(const QStringList& paths, const QString& note) {
    QString leftOut;
    const QString path = FirstOf(paths, &leftOut);
    if (path.isEmpty())
        return;
    QString profileNote;
    const bool done = OpenOrImport(
        workspace_, prompts_, folders_.Houses(), path,
        [this] {
            if (projectList_ && projectList_->isVisible())
                projectList_->reject();
        },
        &profileNote);
    // A new document's tool shows on its button.
    if (done && workspace_.MaskEditMode)
        ChooseTool(workspace_.CurrentTool);
    QStringList notes;
    for (const QString& text : {note, leftOut, profileNote})
        if (!text.isEmpty())
            notes << text;
    ShowNote(notes.join(QLatin1Char(' ')));
}

void MainWindow::ShowNote(const QString& text) {
    if (text.isEmpty())
        return;
    if (!hintBar) {
        hintBar = new QLabel(this);
        hintBar->setObjectName(QStringLiteral("hintBar"));
        hintBar->setStyleSheet(QStringLiteral("QLabel { background: rgb(255, 245, 200); "
                                              "border: 1px solid rgb(200, 170, 90); "
                                              "padding: 3px 8px; }"));
        hintTimer_ = new QTimer(this);
        hintTimer_->setSingleShot(true);
        connect(hintTimer_, &QTimer::timeout, hintBar, &QLabel::hide);
    }
    hintBar->setText(text);
    hintBar->adjustSize();
    // At the foot of the picture, over it.
    const QPoint corner = pictureArea->mapTo(this, QPoint(0, pictureArea->height()));
    hintBar->move(corner.x(), corner.y() - hintBar->height());
    hintBar->show();
    hintBar->raise();
    hintTimer_->start(NoteShownMs);
}
