#pragma once

#include "project/Progress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QDialog;
class QProgressBar;
class QWidget;

// The progress of long work as the user sees it: once the work has lasted half a
// second, a small modal window over owner with the text, a bar and "Zrušit". While
// the work runs the windows repaint; until the window shows, no click or key reaches
// them (the work must not be started again from under itself).
class ProgressDialog : public Progress {
public:
    ProgressDialog(const QString& text, QWidget* owner);
    ~ProgressDialog() override;

    void Report(double done) override;
    bool CancelRequested() override;

    // Whether the window has been shown (tests).
    bool Shown() const;

private:
    void Show();

    QString text_;
    QPointer<QWidget> owner_;
    QDialog* dialog_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QElapsedTimer started_;
    qint64 lastEvents_ = -1;
    bool cancelled_ = false;
};
