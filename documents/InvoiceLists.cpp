#include "documents/InvoiceLists.h"

#include "core/Db.h"
#include "core/NamedLock.h"

namespace carvendo::documents {

QStringList InvoiceLists::texts(HeaderList list)
{
    QString sql;
    switch (list) {
    case HeaderList::Suffissi:
        sql = QStringLiteral("SELECT DISTINCT suffisso FROM suffissi_doc WHERE suffisso <> '' ORDER BY 1");
        break;
    case HeaderList::Causali:
        sql = QStringLiteral("SELECT DISTINCT Causale FROM causaligeneriche WHERE Causale <> '' ORDER BY 1");
        break;
    case HeaderList::Pagamenti:
        sql = QStringLiteral("SELECT DISTINCT Descrizione FROM pagamenti WHERE Descrizione <> '' ORDER BY 1");
        break;
    case HeaderList::Vettori:
        sql = QStringLiteral("SELECT DISTINCT RagioneSoc FROM vettori WHERE RagioneSoc <> '' ORDER BY 1");
        break;
    case HeaderList::Aspetti:
        sql = QStringLiteral("SELECT DISTINCT Aspetto FROM aspettomerci WHERE Aspetto <> '' ORDER BY 1");
        break;
    case HeaderList::Spedizioni:
        sql = QStringLiteral(
            "SELECT DISTINCT MezzoSpedizione FROM spedizionemezzo WHERE MezzoSpedizione <> '' ORDER BY 1");
        break;
    case HeaderList::Porti:
        sql = QStringLiteral("SELECT DISTINCT Porto FROM porto WHERE Porto <> '' ORDER BY 1");
        break;
    }
    QStringList texts;
    for (const core::Row row : m_db.query(sql))
        texts << row.at(0).toString();
    return texts;
}

core::Rows InvoiceLists::banks()
{
    return m_db.query(QStringLiteral(
        "SELECT idBanca, TRIM(CONCAT(IFNULL(Descrizione, ''), ' ', IFNULL(Sede, ''))) AS banca FROM banche "
        "ORDER BY Descrizione"));
}

core::Rows InvoiceLists::withholdings()
{
    return m_db.query(QStringLiteral(
        "SELECT id, codice, descrizione, percentuale FROM ritenute_acconto ORDER BY descrizione"));
}

core::NavigationResult InvoiceLists::withholdingChoice(const core::Rows& rows, int row)
{
    if (row < 0 || row >= rows.size())
        return {};
    core::NavigationResult chosen;
    chosen.accepted = true;
    chosen.value = rows.value(row, "id").toInt();
    chosen.values.insert(QStringLiteral("percentuale"), rows.value(row, "percentuale").toDouble());
    chosen.values.insert(QStringLiteral("descrizione"), rows.value(row, "descrizione").toString());
    chosen.values.insert(QStringLiteral("codice"), rows.value(row, "codice").toString());
    return chosen;
}

// A value added twice, or by two workstations at once, is kept once.
void InvoiceLists::addCarrier(const QString& name)
{
    core::addLookupValue(m_db, QStringLiteral("vettori"), QStringLiteral("RagioneSoc"),
                         name.trimmed().left(50));
}

void InvoiceLists::addReason(const QString& text)
{
    core::addLookupValue(m_db, QStringLiteral("causaligeneriche"), QStringLiteral("Causale"),
                         text.trimmed().left(50));
}

} // namespace carvendo::documents
