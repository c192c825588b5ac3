#include "catalogue/CatalogueWaitingDialog.h"

#include "project/EndRequest.h"
#include "widgets/WindowPlacement.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CatalogueWaitingDialog::CatalogueWaitingDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CatalogueWaitingDialog"));
    setWindowTitle(QStringLiteral("Katalog barev"));
    // Modal while shown: the user may only leave the waiting, nothing else.
    setWindowModality(Qt::ApplicationModal);
    KeepAboveOtherWindows(this);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        QStringLiteral("Katalog barev zatím neodpovídá. Program na jeho odpověď čeká."), this);
    text->setTextFormat(Qt::PlainText);
    layout->addWidget(text);
    leaveButton = new QPushButton(QStringLiteral("Pracovat bez katalogu"), this);
    leaveButton->setObjectName(QStringLiteral("leaveButton"));
    layout->addWidget(leaveButton, 0, Qt::AlignRight);
    connect(leaveButton, &QPushButton::clicked, this, [this] { leave_ = true; });
    // Closing the dialog leaves the waiting as well.
    connect(this, &QDialog::rejected, this, [this] { leave_ = true; });
}

bool CatalogueWaitingDialog::KeepWaiting(std::chrono::milliseconds waited) {
    if (EndRequest::Signal() != 0)
        return false;
    if (waited >= ShownAfter && !isVisible() && !leave_)
        show();
    // Until the dialog is there, what the user does waits for the answer; with the
    // dialog shown, its modality keeps the other windows out of reach.
    QCoreApplication::processEvents(isVisible() ? QEventLoop::AllEvents
                                                : QEventLoop::ExcludeUserInputEvents);
    return !leave_ && EndRequest::Signal() == 0;
}

void CatalogueWaitingDialog::WaitingEnded() {
    hide();
    leave_ = false;
}
