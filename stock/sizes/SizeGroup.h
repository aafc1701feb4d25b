#pragma once

#include "stock/sizes/SizeColumns.h"

#include <QString>
#include <QStringList>

#include <array>

namespace carvendo::core {
class Db;
} // namespace carvendo::core

namespace carvendo::stock {

// A size group of `taglie_tc`: its name and up to 30 ordered size labels. Column i of a grid row is
// size TGi of its item's group.
struct SizeGroup
{
    int id = 0; // `IDTAGLIA`, 0 when the group is not in `taglie_tc`
    QString name;
    std::array<QString, kSizeCount> labels{};

    // The labels shown: every label up to the last non-empty one.
    QStringList shownLabels() const;
    // The label of size 1..30 ("" outside).
    QString label(int size) const;

    // The group of that name; a name not in `taglie_tc` gives a group without labels.
    static SizeGroup byName(core::Db& db, const QString& name);
};

// The size group an item belongs to, with the item's own key and name of it (`articoli`).
struct ItemSizeGroup
{
    int itemId = 0;
    QString description;
    int groupId = 0; // `idgruppoTaglia` as the item holds it
    SizeGroup group;

    // Throws a refusal when the item is gone or has no size group.
    static ItemSizeGroup of(core::Db& db, int itemId);
};

} // namespace carvendo::stock
