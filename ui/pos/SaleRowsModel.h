#pragma once

#include "pos/SaleRows.h"

#include <QAbstractTableModel>
#include <QList>

#include <functional>

namespace carvendo::ui {

// The rows of a sale as a till shows them: Codice, Descrizione, Quantità, Importo, Sconto,
// Sub-Totale. With an editor set, Quantità, Importo and Sconto are edited in place and handed to it
// with the row's other two values; the editor stores them and the model is given the rows again.
class SaleRowsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        Codice,
        Descrizione,
        Quantita,
        Importo,
        Sconto,
        SubTotale,
        ColumnCount
    };
    using Editor = std::function<void(int row, int quantity, int discountPercent, core::Money unitPrice)>;

    explicit SaleRowsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setRows(const QList<pos::SaleRow>& rows);
    void setEditor(Editor editor) { m_editor = std::move(editor); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QList<pos::SaleRow> m_rows;
    Editor m_editor;
};

} // namespace carvendo::ui
