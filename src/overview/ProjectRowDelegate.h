#pragma once

#include <QStyledItemDelegate>

class ProjectListWindow;

// The words a row of a project with kept unsaved changes carries.
inline const QString KeptChangesText = QStringLiteral("Uschované neuložené změny");

// Draws a project row: selection colour, thumbnail, bold name, the size lines and
// whether unsaved changes are kept for the project.
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
