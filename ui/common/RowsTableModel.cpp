#include "RowsTableModel.h"

namespace carvendo::ui {

void RowsTableModel::setColumns(QList<Column> columns)
{
    beginResetModel();
    m_wanted = std::move(columns);
    resolveColumns();
    endResetModel();
}

void RowsTableModel::setRows(const core::Rows& rows)
{
    beginResetModel();
    m_rows = rows;
    resolveColumns();
    endResetModel();
}

void RowsTableModel::resolveColumns()
{
    m_columns.clear();
    m_indexes.clear();
    if (m_wanted.isEmpty()) {
        for (int i = 0; i < m_rows.columnCount(); ++i) {
            m_columns << Column{m_rows.columns()[i], m_rows.columns()[i], false};
            m_indexes << i;
        }
        return;
    }
    for (const Column& column : m_wanted) {
        m_columns << column;
        m_indexes << m_rows.columnIndex(column.name); // -1 until rows with that column arrive
    }
}

int RowsTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows.size(); }

int RowsTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_columns.size()); }

QVariant RowsTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole))
        return {};
    const int column = m_indexes.value(index.column(), -1);
    if (column < 0)
        return {};
    const core::Field field = m_rows.at(index.row(), column);
    const int type = field.variant().typeId();
    const bool numeric = type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::ULongLong;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(numeric ? (Qt::AlignRight | Qt::AlignVCenter) : (Qt::AlignLeft | Qt::AlignVCenter));
    if (field.isNull())
        return {};
    if (m_columns[index.column()].money)
        return field.toMoney().toItalian();
    if (type == QMetaType::QByteArray)
        return QStringLiteral("(dati)");
    return field.toString();
}

QVariant RowsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_columns[section].caption;
}

} // namespace carvendo::ui
