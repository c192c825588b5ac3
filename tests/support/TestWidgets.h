#pragma once

#include <QListWidget>
#include <QStringList>

// The texts of a list's rows, in order.
inline QStringList Rows(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}
