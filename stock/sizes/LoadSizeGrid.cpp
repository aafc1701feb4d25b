#include "stock/sizes/LoadSizeGrid.h"

#include "core/Db.h"
#include "core/Dialogs.h"

#include <algorithm>
#include <numeric>

namespace carvendo::stock {

LoadSizeGrid::LoadSizeGrid(core::Db& db, core::Dialogs& dialogs, int itemId)
    : m_dialogs(dialogs), m_item(ItemSizeGroup::of(db, itemId))
{
    for (const core::Row row :
         db.query(QStringLiteral("SELECT Descrizione, Colore FROM colori ORDER BY Descrizione"))) {
        const QString name = row["Descrizione"].toString().trimmed();
        if (!name.isEmpty())
            m_colours.push_back({name, row["Colore"].toInt()});
    }
}

QStringList LoadSizeGrid::sizeLabels() const
{
    return m_item.group.shownLabels();
}

QStringList LoadSizeGrid::colourChoices() const
{
    QStringList names;
    for (const Colour& colour : m_colours)
        names << colour.name;
    return names;
}

bool LoadSizeGrid::holds(const QString& colour) const
{
    return std::any_of(m_rows.begin(), m_rows.end(), [&](const SizeColourRow& row) {
        return row.colour.compare(colour, Qt::CaseInsensitive) == 0;
    });
}

void LoadSizeGrid::append(const Colour& colour)
{
    SizeColourRow row;
    row.colour = colour.name;
    row.colourValue = colour.value;
    m_rows.push_back(row);
}

bool LoadSizeGrid::addColour(const QString& colour)
{
    const QString name = colour.trimmed();
    const auto known = std::find_if(m_colours.begin(), m_colours.end(), [&](const Colour& c) {
        return c.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (known == m_colours.end()) {
        m_dialogs.warning(QStringLiteral("Scegliere un colore dall'elenco dei colori"));
        return false;
    }
    if (holds(known->name)) {
        m_dialogs.warning(QStringLiteral("Il colore %1 è già presente nella griglia").arg(known->name));
        return false;
    }
    append(*known);
    return true;
}

void LoadSizeGrid::addAllColours()
{
    for (const Colour& colour : m_colours)
        if (!holds(colour.name))
            append(colour);
}

void LoadSizeGrid::removeRow(int row)
{
    if (row >= 0 && row < int(m_rows.size()))
        m_rows.erase(m_rows.begin() + row);
}

void LoadSizeGrid::setQuantity(int row, int size, int quantity)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    if (size < 1 || size > sizeLabels().size()) {
        m_dialogs.warning(QStringLiteral("Taglia non prevista dal gruppo taglie dell'articolo"));
        return;
    }
    if (quantity < 0) {
        m_dialogs.warning(QStringLiteral("La quantità non può essere negativa"));
        return;
    }
    m_rows[row].quantities[size - 1] = quantity;
}

int LoadSizeGrid::totalQuantity() const
{
    int total = 0;
    for (const SizeColourRow& row : m_rows)
        total = std::accumulate(row.quantities.begin(), row.quantities.end(), total);
    return total;
}

void LoadSizeGrid::writeWorkRows(core::Db& db, const QString& owner, int loadId) const
{
    const QString sql =
        QStringLiteral("INSERT INTO caricotc (idarticolo, idgruppotaglia, Gruppotaglia, Colore, "
                       "ColoreCodice, idcarico, proprietario, %1) VALUES (:IDARTICOLO, "
                       ":IDGRUPPOTAGLIA, :GRUPPOTAGLIA, :COLORE, :COLORECODICE, :IDCARICO, "
                       ":PROPRIETARIO, %2)")
            .arg(quantityColumnList(), quantityColumnList(QStringLiteral(":")));
    for (const SizeColourRow& row : m_rows) {
        if (std::all_of(row.quantities.begin(), row.quantities.end(), [](int q) { return q == 0; }))
            continue;
        core::Params params{{QStringLiteral("IDARTICOLO"), m_item.itemId},
                            {QStringLiteral("IDGRUPPOTAGLIA"), m_item.groupId},
                            {QStringLiteral("GRUPPOTAGLIA"), m_item.group.name},
                            {QStringLiteral("COLORE"), row.colour},
                            {QStringLiteral("COLORECODICE"), row.colourValue},
                            {QStringLiteral("IDCARICO"), loadId},
                            {QStringLiteral("PROPRIETARIO"), owner}};
        for (int size = 1; size <= kSizeCount; ++size)
            params.insert(quantityColumn(size), row.quantities[size - 1]);
        db.exec(sql, params);
    }
}

} // namespace carvendo::stock
