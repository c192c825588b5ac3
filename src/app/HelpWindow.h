#pragma once

#include <QWidget>

class QTextBrowser;

// The help page in a window of the program ("Nápověda"), with its pictures and its
// links between sections, so that help shows where no browser is installed. A link
// to another program's page still goes to the desktop's handler.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    QTextBrowser* browser = nullptr;

    // Loads the page (pictures beside it) and shows the window; false when the page
    // cannot be read, and then nothing is shown.
    bool ShowPage(const QString& path);
};
