#pragma once

#include "core/Db.h"

#include <QString>
#include <QVariantList>

#include <functional>

namespace carvendo::core {

// A list of values bound one placeholder each (":S0, :S1, ..."): the SQL text holds only the
// generated names, never the values.
struct BoundList
{
    QString placeholders;
    Params params;
};

BoundList boundList(const QString& prefix, const QVariantList& values);

// Statements over long lists go in slices of this many values, so thousands of serials or invoices are a
// handful of round trips and no statement grows without bound.
constexpr int kBoundSlice = 500;

// Calls slice(list) for each slice of the values, in order.
void forEachSlice(const QString& prefix, const QVariantList& values,
                  const std::function<void(const BoundList&)>& slice);

} // namespace carvendo::core
