#include "stock/loads/SupplierLineMatcher.h"

#include "stock/ItemCodeGuard.h"

#include "core/Db.h"

#include <QStringList>

#include <algorithm>

namespace carvendo::stock {

namespace {

QString comparable(const QString& code)
{
    return ItemCodeGuard::comparable(code);
}

} // namespace

QList<std::optional<int>> SupplierLineMatcher::match(const QList<const einvoice::SupplierInvoiceLine*>& lines,
                                                     const std::function<void(int)>& progress)
{
    static const QString steps[] = {
        QStringLiteral("SELECT f.CodiceF AS CODICE, f.idArticolo AS ID, 0 AS ORDINE FROM articoli_fornitori "
                       "f JOIN articoli a ON a.ID = f.idArticolo WHERE f.CodiceF IN (%1) AND "
                       "f.idFornitore = :IDFORNITORE UNION ALL SELECT codartforn, ID, 1 FROM articoli "
                       "WHERE codartforn IN (%1) ORDER BY ORDINE, ID"),
        QStringLiteral("SELECT BarcodeFull AS CODICE, ID, 0 AS ORDINE FROM articoli WHERE BarcodeFull IN "
                       "(%1) UNION ALL SELECT Barcode, ID, 1 FROM articoli WHERE Barcode IN (%1) ORDER BY "
                       "ORDINE, ID"),
        QStringLiteral(
            "SELECT CodArticolo AS CODICE, ID FROM articoli WHERE CodArticolo IN (%1) ORDER BY ID")};
    QList<std::optional<int>> found(lines.size());
    int step = 0;
    for (const QString& sql : steps) {
        progress(++step * 100 / 3);
        QStringList codes;
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (!found[i])
                for (const auto& code : lines[i]->codici)
                    if (const QString key = comparable(code.valore); !key.isEmpty())
                        codes.append(key);
        codes.removeDuplicates();
        if (codes.isEmpty())
            break;
        const QHash<QString, int> items = lookUp(sql, codes, step == 1);
        for (qsizetype i = 0; i < lines.size(); ++i)
            for (const auto& code : lines[i]->codici)
                if (const QString key = comparable(code.valore); !found[i] && items.contains(key))
                    found[i] = items.value(key);
    }
    return found;
}

QHash<QString, int> SupplierLineMatcher::lookUp(const QString& sql, const QStringList& codes, bool bySupplier)
{
    QStringList names;
    for (int i = 0; i < Chunk; ++i)
        names.append(QStringLiteral(":C%1").arg(i));
    const QString statement = sql.arg(names.join(QStringLiteral(", ")));
    QHash<QString, int> items;
    for (qsizetype from = 0; from < codes.size(); from += Chunk) {
        core::Params params;
        // A short last chunk repeats its last code.
        for (int i = 0; i < Chunk; ++i)
            params.insert(QStringLiteral("C%1").arg(i), codes[std::min(from + i, codes.size() - 1)]);
        if (bySupplier)
            params.insert(QStringLiteral("IDFORNITORE"), m_idFornitore);
        for (const core::Row row : m_db.query(statement, params)) {
            const QString code = comparable(row["CODICE"].toString());
            if (!items.contains(code))
                items.insert(code, row["ID"].toInt());
        }
    }
    return items;
}

} // namespace carvendo::stock
