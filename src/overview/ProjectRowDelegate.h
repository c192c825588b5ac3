#pragma once

#include <QStyledItemDelegate>

class ProjectListWindow;

// Draws a project row: selection colour, thumbnail, bold name and the size lines.
class ProjectRowDelegate : public QStyledItemDelegate {
public:
    ProjectRowDelegate(ProjectListWindow& window, QString folder, QObject* parent)
        : QStyledItemDelegate(parent), window_(window), folder_(std::move(folder)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(200, 100);
    }

private:
    ProjectListWindow& window_;
    QString folder_;
};
