#include "ui/common/RowsTableModel.h"

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

int RowsTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int RowsTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RowsTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() ||
        (role != Qt::DisplayRole && role != Qt::TextAlignmentRole && role != Qt::EditRole))
        return {};
    const int column = m_indexes.value(index.column(), -1);
    if (column < 0)
        return {};
    if (role != Qt::TextAlignmentRole && isEditable(index.column())) {
        if (const auto typed = m_edits.value(keyOf(index.row()), m_columns[index.column()].name))
            return *typed;
    }
    const core::Field field = m_rows.at(index.row(), column);
    if (role == Qt::EditRole) {
        if (field.isNull())
            return QString();
        // What the operator edits: an amount with a decimal comma, without thousands dots.
        if (m_columns[index.column()].money)
            return field.toMoney().toEditText();
        return field.toString();
    }
    const int type = field.variant().typeId();
    const bool numeric =
        type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::ULongLong;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(numeric ? (Qt::AlignRight | Qt::AlignVCenter)
                                           : (Qt::AlignLeft | Qt::AlignVCenter));
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
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_columns[section].caption;
}

void RowsTableModel::setEditable(const QString& keyColumn, const QStringList& columns)
{
    m_keyColumn = keyColumn;
    m_editable = columns;
}

void RowsTableModel::clearEdits()
{
    if (m_edits.isEmpty())
        return;
    m_edits.clear();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QModelIndex RowsTableModel::indexOf(const core::EditedCell& cell) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (keyOf(row) != cell.key)
            continue;
        for (int column = 0; column < m_columns.size(); ++column)
            if (m_columns[column].name.compare(cell.column, Qt::CaseInsensitive) == 0)
                return index(row, column);
        return index(row, 0);
    }
    return {};
}

qint64 RowsTableModel::keyOf(int row) const
{
    return m_keyColumn.isEmpty() ? -1 : m_rows.value(row, m_keyColumn).toInt64();
}

bool RowsTableModel::isEditable(int column) const
{
    return column >= 0 && column < m_columns.size() &&
           m_editable.contains(m_columns[column].name, Qt::CaseInsensitive);
}

Qt::ItemFlags RowsTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() && isEditable(index.column()) ? flags | Qt::ItemIsEditable : flags;
}

bool RowsTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !isEditable(index.column()))
        return false;
    if (data(index, Qt::EditRole).toString() == value.toString())
        return false; // left as it was: nothing to save
    m_edits.set(keyOf(index.row()), m_columns[index.column()].name, value.toString());
    emit dataChanged(index, index);
    emit edited();
    return true;
}

} // namespace carvendo::ui
