#pragma once

#include <QAbstractItemModel>
#include <QStringList>

// The first `columns` cells of each row of a table, joined by "|".
inline QStringList tableRows(const QAbstractItemModel *model, int columns)
{
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < columns; ++column)
            cells << model->index(row, column).data().toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}
