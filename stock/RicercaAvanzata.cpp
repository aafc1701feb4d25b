#include "stock/RicercaAvanzata.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "stock/ItemSearch.h"

namespace carvendo::stock {

QStringList RicercaAvanzata::attributes()
{
    return ItemSearch::attributes();
}

QStringList RicercaAvanzata::captions()
{
    return {QStringLiteral("Categoria"),        QStringLiteral("Genere"),  QStringLiteral("Editore"),
            QStringLiteral("Autore"),           QStringLiteral("Collana"), QStringLiteral("ISBN"),
            QStringLiteral("Codice produttore")};
}

void RicercaAvanzata::setAttribute(const QString& attribute)
{
    const QString column = attribute.toLower();
    if (attributes().contains(column))
        m_attribute = column;
}

bool RicercaAvanzata::search(const QString& value)
{
    m_result = {};
    if (value.trimmed().isEmpty()) {
        m_dialogs.warning(emptyValueMessage());
        return false;
    }
    // The column comes from the fixed list above; the value is bound.
    const bool found =
        !m_db.query(QStringLiteral("SELECT ID FROM articoli WHERE `%1` = :VALORE LIMIT 1").arg(m_attribute),
                    {{QStringLiteral("VALORE"), value}})
             .isEmpty();
    if (!found) {
        m_dialogs.information(notFoundMessage());
        return false;
    }
    m_result.accepted = true;
    m_result.values = {{QStringLiteral("attributo"), m_attribute}, {QStringLiteral("valore"), value}};
    return true;
}

} // namespace carvendo::stock
