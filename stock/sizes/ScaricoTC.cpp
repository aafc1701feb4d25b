#include "stock/sizes/ScaricoTC.h"

#include "core/Db.h"
#include "core/Dialogs.h"

namespace carvendo::stock {

ScaricoTC::ScaricoTC(core::Db& db, core::Dialogs& dialogs, SizeSaleDocument document)
    : m_db(db), m_dialogs(dialogs), m_document(std::move(document)), m_workRows(db, WorkTable::ScaricoTC)
{
}

void ScaricoTC::open(int itemId)
{
    m_item = ItemSizeGroup::of(m_db, itemId);
    const core::Row prices =
        m_db.query(QStringLiteral("SELECT Listino1, Listino2, Listino3 FROM articoli WHERE ID = :ID"),
                   {{QStringLiteral("ID"), itemId}})
            .first();
    for (int list = 0; list < 3; ++list)
        m_lists[list] = prices.at(list).toMoney();
    const core::Params params{{QStringLiteral("IDARTICOLO"), itemId},
                              {QStringLiteral("IDGRUPPOTAGLIA"), m_item.groupId},
                              {QStringLiteral("GRUPPOTAGLIA"), m_item.group.name},
                              {QStringLiteral("PROPRIETARIO"), owner()}};
    core::Transaction transaction(m_db);
    m_workRows.clear(m_db);
    // The colours the item is stocked in; an item not stocked yet offers every colour.
    const qint64 stocked = m_db.exec(
        QStringLiteral(
            "INSERT INTO scaricotc (idarticolo, idgruppotaglia, Gruppotaglia, Colore, ColoreCodice, "
            "proprietario) SELECT :IDARTICOLO, :IDGRUPPOTAGLIA, :GRUPPOTAGLIA, Colore, MIN(ColoreCodice), "
            ":PROPRIETARIO FROM disptc WHERE idarticolo = :IDARTICOLO GROUP BY Colore ORDER BY Colore"),
        params);
    if (stocked == 0)
        m_db.exec(
            QStringLiteral("INSERT INTO scaricotc (idarticolo, idgruppotaglia, Gruppotaglia, Colore, "
                           "ColoreCodice, proprietario) SELECT :IDARTICOLO, :IDGRUPPOTAGLIA, :GRUPPOTAGLIA, "
                           "Descrizione, Colore, :PROPRIETARIO FROM colori ORDER BY Descrizione"),
            params);
    transaction.commit();
    load();
}

void ScaricoTC::load()
{
    m_rows =
        m_db.query(QStringLiteral("SELECT id, Colore, %1 FROM scaricotc WHERE proprietario = :PROPRIETARIO "
                                  "ORDER BY id")
                       .arg(quantityColumnList()),
                   {{QStringLiteral("PROPRIETARIO"), owner()}});
}

bool ScaricoTC::setQuantity(int row, int size, int quantity)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    if (size < 1 || size > sizeLabels().size()) {
        m_dialogs.warning(QStringLiteral("Taglia non prevista dal gruppo taglie dell'articolo"));
        return false;
    }
    if (quantity < 0) {
        m_dialogs.warning(QStringLiteral("La quantità non può essere negativa"));
        return false;
    }
    m_db.exec(
        QStringLiteral("UPDATE scaricotc SET %1 = :QUANTITA WHERE id = :ID AND proprietario = :PROPRIETARIO")
            .arg(quantityColumn(size)),
        {{QStringLiteral("QUANTITA"), quantity},
         {QStringLiteral("ID"), m_rows.value(row, "id").toInt()},
         {QStringLiteral("PROPRIETARIO"), owner()}});
    load();
    return true;
}

int ScaricoTC::totalQuantity() const
{
    int total = 0;
    for (const core::Row row : m_rows)
        for (int size = 1; size <= kSizeCount; ++size)
            total += row[quantityColumn(size)].toInt();
    return total;
}

QString ScaricoTC::listCaption(int list) const
{
    if (list < 1 || list > 3 || m_lists[list - 1] == core::Money())
        return QStringLiteral("Non Impostato");
    return m_lists[list - 1].toItalian();
}

bool ScaricoTC::chooseList(int list)
{
    if (list < 1 || list > 3 || m_lists[list - 1] == core::Money()) {
        m_dialogs.information(QStringLiteral("Nessun prezzo impostato su Questo listino!"));
        return false;
    }
    m_price = m_lists[list - 1];
    return true;
}

QString ScaricoTC::noQuantityMessage()
{
    return QStringLiteral("Inserire almeno una quantità da scaricare");
}

bool ScaricoTC::refusesEmpty()
{
    // Once confirmed, the rows shown are the document's: nothing is left to record.
    if (totalQuantity() > 0 && !m_confirmed)
        return false;
    m_dialogs.warning(noQuantityMessage());
    return true;
}

bool ScaricoTC::confirm()
{
    if (refusesEmpty())
        return false;
    core::Transaction transaction(m_db);
    const core::Params mine{{QStringLiteral("PROPRIETARIO"), owner()}};
    // Read again, locked: what is recorded is what this window's rows hold now, and a second Conferma
    // finds them gone.
    const core::Rows work = m_db.query(
        QStringLiteral(
            "SELECT Colore, %1 FROM scaricotc WHERE proprietario = :PROPRIETARIO ORDER BY id FOR UPDATE")
            .arg(quantityColumnList()),
        mine);
    QStringList values;
    core::Params params{{QStringLiteral("IDDOC"), m_document.id},
                        {QStringLiteral("TIPODOC"), m_document.kind},
                        {QStringLiteral("IDARTICOLO"), m_item.itemId},
                        {QStringLiteral("DESCRIZIONE"), m_item.description}};
    for (int index = 0; index < work.size(); ++index) {
        const core::Row row = work[index];
        QStringList lowered;
        core::Params lowering{{QStringLiteral("IDARTICOLO"), m_item.itemId},
                              {QStringLiteral("IDMAGAZZINO"), m_document.warehouseId},
                              {QStringLiteral("COLORE"), row["Colore"].toString()}};
        for (int size = 1; size <= kSizeCount; ++size) {
            const int quantity = row[quantityColumn(size)].toInt();
            if (quantity <= 0)
                continue;
            const QString suffix = QStringLiteral("%1_%2").arg(index).arg(size);
            values << QStringLiteral(
                          "(:IDDOC, :TIPODOC, :IDARTICOLO, :COLORE%1, :TAGLIA%1, :QUANTITA%1, :DESCRIZIONE)")
                          .arg(suffix);
            params.insert(QStringLiteral("COLORE") + suffix, row["Colore"].toString());
            params.insert(QStringLiteral("TAGLIA") + suffix, m_item.group.label(size));
            params.insert(QStringLiteral("QUANTITA") + suffix, quantity);
            lowered << QStringLiteral("%1 = COALESCE(%1, 0) - :%1").arg(quantityColumn(size));
            lowering.insert(quantityColumn(size), quantity);
        }
        if (m_document.lowersGrid && !lowered.isEmpty())
            m_db.exec(
                QStringLiteral(
                    "UPDATE disptc SET %1 WHERE idarticolo = :IDARTICOLO AND idmagazzino = :IDMAGAZZINO "
                    "AND Colore = :COLORE ORDER BY id LIMIT 1")
                    .arg(lowered.join(QStringLiteral(", "))),
                lowering);
    }
    if (values.isEmpty()) {
        // Emptied meanwhile by another window of this owner: nothing to record.
        return false;
    }
    m_db.exec(
        QStringLiteral("INSERT INTO scaricotcdoc (iddoc, tipodoc, idarticolo, colore, taglia, quantita, "
                       "Descrizione) VALUES %1")
            .arg(values.join(QStringLiteral(", "))),
        params);
    m_workRows.clear(m_db);
    transaction.commit();
    m_confirmed = true; // the rows stay shown as confirmed: the document row takes their total
    return true;
}

} // namespace carvendo::stock
