#pragma once

#include "catalogue/CatalogueDatabase.h"

#include <QDialog>

class QPushButton;

// What the program does while the catalogue has not answered: the windows go on
// repainting (nothing the user does reaches them meanwhile), and once a second has
// passed a small dialog above the program says so and offers to go on without the
// catalogue. A signal asking the program to end stops the waiting too.
class CatalogueWaitingDialog : public QDialog, public CatalogueWaiting {
    Q_OBJECT
public:
    explicit CatalogueWaitingDialog(QWidget* parent = nullptr);

    static constexpr std::chrono::milliseconds ShownAfter{1000};

    bool KeepWaiting(std::chrono::milliseconds waited) override;
    void WaitingEnded() override;

    QPushButton* leaveButton = nullptr; // "Pracovat bez katalogu"

private:
    bool leave_ = false;
};
