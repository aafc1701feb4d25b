#pragma once

#include "Rows.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace carvendo::ui {

// Shows a query result in a grid. Columns are those of the result, or the chosen ones with their
// captions; money-like doubles show as "#,##0.00" when asked, dates as dd/MM/yyyy.
class RowsTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column
    {
        QString name;    // result column (any letter case)
        QString caption; // header text
        bool money = false;
    };

    explicit RowsTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setColumns(QList<Column> columns); // empty: every result column, captioned by its name
    void setRows(const core::Rows& rows);
    const core::Rows& rows() const { return m_rows; }
    // The row under a view index, or -1.
    int rowOf(const QModelIndex& index) const { return index.isValid() ? index.row() : -1; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void resolveColumns();

    core::Rows m_rows;
    QList<Column> m_wanted;
    QList<Column> m_columns;
    QList<int> m_indexes; // result column of each shown column
};

} // namespace carvendo::ui
