#include "core/PagedRows.h"

#include <algorithm>

namespace carvendo::core {

namespace {

// The rows of a followed by those of b, which has the same columns.
Rows appendRows(const Rows& a, const Rows& b)
{
    if (a.isEmpty())
        return b;
    std::vector<std::vector<QVariant>> data;
    data.reserve(size_t(a.size() + b.size()));
    for (const Rows* part : {&a, &b})
        for (int r = 0; r < part->size(); ++r) {
            std::vector<QVariant> row;
            row.reserve(size_t(part->columnCount()));
            for (int c = 0; c < part->columnCount(); ++c)
                row.push_back(part->at(r, c).variant());
            data.push_back(std::move(row));
        }
    return Rows(a.columns(), std::move(data));
}

} // namespace

Rows PagedRows::read(const Fetch& fetch, const std::optional<Row>& after, int count)
{
    const Rows found = fetch(after, count + 1);
    m_hasMore = found.size() > count;
    return m_hasMore ? found.head(count) : found;
}

void PagedRows::first(const Fetch& fetch)
{
    m_rows = read(fetch, std::nullopt, m_pageSize);
}

bool PagedRows::next(const Fetch& fetch)
{
    if (!m_hasMore || m_rows.isEmpty())
        return false;
    m_rows = appendRows(m_rows, read(fetch, m_rows[m_rows.size() - 1], m_pageSize));
    return true;
}

void PagedRows::reload(const Fetch& fetch)
{
    m_rows = read(fetch, std::nullopt, std::max(m_rows.size(), m_pageSize));
}

} // namespace carvendo::core
