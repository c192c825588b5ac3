#pragma once

#include <QListWidget>

class OverviewWindow;

// The overview's list of layers. Before a paint the window looks up the rows that the
// paint shows, all in one call to the catalogue, and forgets them after it: the rows
// are still asked anew on every paint, but the program waits for the catalogue once
// per paint instead of three times per row.
class OverviewList : public QListWidget {
public:
    OverviewList(OverviewWindow& window, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    OverviewWindow& window_;
};
