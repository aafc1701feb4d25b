#pragma once

#include "core/RowEdits.h"
#include "core/Rows.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace carvendo::ui {

// Shows a query result in a grid. Columns are those of the result, or the chosen ones with their
// captions; money-like doubles show as "#,##0.00" when asked, dates as dd/MM/yyyy. Chosen columns
// may be edited in place: the typed values are kept as pending edits, shown over the rows, until
// the window's logic saved them (clearEdits) or the window is left.
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

    // In-place editing of the named columns; rows are told apart by keyColumn.
    void setEditable(const QString& keyColumn, const QStringList& columns);
    const core::RowEdits& edits() const { return m_edits; }
    bool hasEdits() const { return !m_edits.isEmpty(); }
    void clearEdits();
    QModelIndex indexOf(const core::EditedCell& cell) const; // invalid when not shown

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void edited();

private:
    void resolveColumns();
    qint64 keyOf(int row) const;
    bool isEditable(int column) const;

    core::Rows m_rows;
    QList<Column> m_wanted;
    QList<Column> m_columns;
    QList<int> m_indexes; // result column of each shown column
    QString m_keyColumn;
    QStringList m_editable;
    core::RowEdits m_edits;
};

} // namespace carvendo::ui
