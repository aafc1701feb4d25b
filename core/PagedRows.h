#pragma once

#include "core/Rows.h"

#include <functional>
#include <optional>

namespace carvendo::core {

// The rows a list has shown so far when it reads them a page at a time. Each page is asked for after
// the last row shown (a keyset: no page counts the rows before it, and rows added or removed meanwhile
// are neither repeated nor skipped); one row more than a page tells whether another follows. The list
// keeps its own statement, ordering and filters, and gives them as a Fetch.
class PagedRows
{
public:
    // At most `limit` rows of the list in its order: those after `after`, or from the first.
    using Fetch = std::function<Rows(const std::optional<Row>& after, int limit)>;

    explicit PagedRows(int pageSize = 200) : m_pageSize(pageSize) {}

    void setPageSize(int rows) { m_pageSize = rows; }
    int pageSize() const { return m_pageSize; }

    // The first page, in place of what was shown.
    void first(const Fetch& fetch);
    // The page after the last row shown, appended; false when there was none.
    bool next(const Fetch& fetch);
    // From the first row again, as many rows as were shown (at least a page) in one read: a list
    // refreshed after a command keeps the pages the operator had loaded.
    void reload(const Fetch& fetch);

    const Rows& rows() const { return m_rows; }
    bool hasMore() const { return m_hasMore; }

private:
    // Up to count rows after `after`, and whether more follow.
    Rows read(const Fetch& fetch, const std::optional<Row>& after, int count);

    Rows m_rows;
    bool m_hasMore = false;
    int m_pageSize;
};

} // namespace carvendo::core
