#include "widgets/ProgressDialog.h"

#include <QApplication>

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr qint64 ShowAfterMs = 500;
// Events are let through this often: the windows repaint, the work hardly waits.
constexpr qint64 EventsEveryMs = 40;

} // namespace

ProgressDialog::ProgressDialog(const QString& text, QWidget* owner) : text_(text), owner_(owner) {
    started_.start();
}

ProgressDialog::~ProgressDialog() {
    delete dialog_;
}

bool ProgressDialog::Shown() const {
    return dialog_ && dialog_->isVisible();
}

void ProgressDialog::Show() {
    dialog_ = new QDialog(owner_);
    dialog_->setWindowTitle(text_);
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(dialog_);
    layout->addWidget(new QLabel(text_ + QStringLiteral("…"), dialog_));
    bar_ = new QProgressBar(dialog_);
    bar_->setRange(0, 1000);
    bar_->setMinimumWidth(320);
    layout->addWidget(bar_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* cancel = new QPushButton(QStringLiteral("Zrušit"), dialog_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    // The button, Esc and the close box all stop the work.
    QObject::connect(cancel, &QPushButton::clicked, dialog_, [this] { cancelled_ = true; });
    QObject::connect(dialog_, &QDialog::rejected, dialog_, [this] { cancelled_ = true; });
    dialog_->show();
}

void ProgressDialog::Report(double done) {
    const qint64 now = started_.elapsed();
    if (lastEvents_ >= 0 && now - lastEvents_ < EventsEveryMs && done < 1.0)
        return;
    lastEvents_ = now;
    if (!dialog_ && now >= ShowAfterMs && done < 1.0)
        Show();
    if (bar_)
        bar_->setValue(int(std::clamp(done, 0.0, 1.0) * 1000));
    // Shown and modal, the window takes the clicks and keys; before, none are let in.
    QCoreApplication::processEvents(dialog_ ? QEventLoop::AllEvents
                                            : QEventLoop::ExcludeUserInputEvents);
}

bool ProgressDialog::CancelRequested() {
    return cancelled_;
}
