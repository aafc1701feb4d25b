#include "ui/pos/SaleRowsModel.h"

namespace carvendo::ui {

void SaleRowsModel::setRows(const QList<pos::SaleRow>& rows)
{
    // The same rows with new values (an edit, one more unit): the grid keeps its current row, and an
    // editor committing its value is not pulled from under it.
    if (rows.size() == m_rows.size() && !rows.isEmpty()) {
        m_rows = rows;
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int SaleRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SaleRowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SaleRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const pos::SaleRow& row = m_rows.at(index.row());
    if (role == Qt::TextAlignmentRole)
        return index.column() >= Quantita ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const bool editing = role == Qt::EditRole;
    switch (index.column()) {
    case Codice:
        return row.code;
    case Descrizione: {
        QString text = row.description;
        if (!row.serial.isEmpty())
            text += QStringLiteral(" - S/N ") + row.serial;
        if (!row.size.isEmpty() || !row.colour.isEmpty())
            text +=
                QStringLiteral(" - ") + QStringList{row.size, row.colour}.join(QLatin1Char(' ')).trimmed();
        return text;
    }
    case Quantita: // edited as text, like the amounts
        return editing ? QVariant(QString::number(row.quantity)) : QVariant(row.quantity);
    case Importo:
        return editing ? row.publicPrice.toEditText() : row.publicPrice.toItalian();
    case Sconto:
        return editing ? QVariant(QString::number(row.discountPercent)) : QVariant(row.discountPercent);
    case SubTotale:
        return row.subPublic.toItalian();
    default:
        return {};
    }
}

QVariant SaleRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList captions{QStringLiteral("Codice"),   QStringLiteral("Descrizione"),
                                      QStringLiteral("Quantità"), QStringLiteral("Importo"),
                                      QStringLiteral("Sconto"),   QStringLiteral("Sub-Totale")};
    return captions.value(section);
}

Qt::ItemFlags SaleRowsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const int column = index.column();
    if (m_editor && (column == Quantita || column == Importo || column == Sconto))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool SaleRowsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!m_editor || role != Qt::EditRole || !index.isValid() || index.row() >= m_rows.size())
        return false;
    const pos::SaleRow& row = m_rows.at(index.row());
    int quantity = row.quantity;
    int discount = row.discountPercent;
    core::Money price = row.publicPrice;
    bool ok = true;
    switch (index.column()) {
    case Quantita:
        quantity = value.toString().trimmed().toInt(&ok);
        break;
    case Sconto:
        discount = value.toString().trimmed().toInt(&ok);
        break;
    case Importo: {
        const std::optional<core::Money> typed = core::Money::parse(value.toString().trimmed());
        ok = typed.has_value();
        if (typed)
            price = *typed;
        break;
    }
    default:
        return false;
    }
    if (!ok)
        return false;
    // The editor stores the row and hands the stored rows back (setRows), also when it refused.
    m_editor(index.row(), quantity, discount, price);
    return true;
}

} // namespace carvendo::ui
