#include "stock/sizes/SizeGroup.h"

#include "core/Db.h"

namespace carvendo::stock {

QStringList SizeGroup::shownLabels() const
{
    int shown = kSizeCount;
    while (shown > 0 && labels[shown - 1].trimmed().isEmpty())
        --shown;
    QStringList result;
    for (int i = 0; i < shown; ++i)
        result << labels[i].trimmed();
    return result;
}

QString SizeGroup::label(int size) const
{
    if (size < 1 || size > kSizeCount)
        return {};
    return labels[size - 1].trimmed();
}

SizeGroup SizeGroup::byName(core::Db& db, const QString& name)
{
    SizeGroup group;
    group.name = name;
    const core::Rows rows = db.query(
        QStringLiteral("SELECT * FROM taglie_tc WHERE DESCRIZIONE = :GRUPPOTG ORDER BY IDTAGLIA LIMIT 1"),
        {{QStringLiteral("GRUPPOTG"), name}});
    if (rows.isEmpty())
        return group;
    group.id = rows.first()["IDTAGLIA"].toInt();
    for (int size = 1; size <= kSizeCount; ++size)
        group.labels[size - 1] = rows.first()[quantityColumn(size)].toString();
    return group;
}

ItemSizeGroup ItemSizeGroup::of(core::Db& db, int itemId)
{
    const core::Rows item = db.query(
        QStringLiteral("SELECT Descrizione, idgruppoTaglia, GruppoTaglia FROM articoli WHERE ID = :ID"),
        {{QStringLiteral("ID"), itemId}});
    if (item.isEmpty())
        throw core::Error(QStringLiteral("Articolo non trovato"), core::Error::Kind::Refusal);
    ItemSizeGroup result;
    result.itemId = itemId;
    result.description = item.first()["Descrizione"].toString();
    result.groupId = item.first()["idgruppoTaglia"].toInt();
    const QString name = item.first()["GruppoTaglia"].toString().trimmed();
    result.group = SizeGroup::byName(db, name);
    if (name.isEmpty() || result.group.shownLabels().isEmpty())
        throw core::Error(
            QStringLiteral("L'articolo non ha un gruppo taglie con delle taglie: impostarlo nella "
                           "scheda articolo"),
            core::Error::Kind::Refusal);
    return result;
}

} // namespace carvendo::stock
