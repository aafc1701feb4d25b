#include "report/ListPagination.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QThread>

#include <algorithm>
#include <atomic>

namespace carvendo::report {

namespace {

// Rounding of the layout's fixed-point arithmetic.
constexpr qreal Tolerance = 0.5;

QTextTable* firstTable(QTextFrame* frame)
{
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            return table;
        if (QTextTable* inside = firstTable(child))
            return inside;
    }
    return nullptr;
}

} // namespace

ListPagination::ListPagination(const HtmlListSplit& list, DocumentMaker maker, QPaintDevice& device,
                               const QSizeF& body)
    : m_list(list), m_maker(std::move(maker)), m_device(device), m_body(body)
{
}

qreal ListPagination::layOut(QTextDocument& document) const
{
    document.documentLayout()->setPaintDevice(&m_device);
    document.setPageSize(QSizeF(m_body.width(), -1));
    return document.documentLayout()->documentSize().height();
}

std::optional<std::vector<qreal>> ListPagination::rowBottoms(QTextDocument& document, int expected) const
{
    QTextTable* table = firstTable(document.rootFrame());
    if (!table)
        return std::nullopt;
    const int heading = table->format().headerRowCount();
    if (table->rows() != heading + expected)
        return std::nullopt;
    const QAbstractTextDocumentLayout* layout = document.documentLayout();
    std::vector<qreal> bottoms(std::size_t(expected), 0);
    for (int row = 0; row < expected; ++row) {
        qreal bottom = 0;
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(heading + row, column);
            bottom = std::max(bottom, layout->blockBoundingRect(cell.lastCursorPosition().block()).bottom());
        }
        bottoms[std::size_t(row)] = bottom;
    }
    return bottoms;
}

bool ListPagination::measureBlock(Block& block) const
{
    const int anchor = block.first == 0 ? 0 : block.first - 1;
    const auto document = m_maker(m_list.pageHtml(HtmlListSplit::Head::Continuation, anchor, block.first,
                                                  block.last, HtmlListSplit::Tail::Close));
    block.height = layOut(*document);
    auto bottoms = rowBottoms(*document, block.last - block.first + 2);
    if (!bottoms)
        return false;
    block.bottoms = std::move(*bottoms);
    return true;
}

// A row adds to a page the distance from the previous row's bottom to its own, the same in any
// page: each block of rows is measured after the row before it (the first after itself).
bool ListPagination::measure()
{
    const int count = m_list.rowCount();
    std::vector<Block> blocks;
    for (int first = 0; first < count; first += MeasuredRows)
        blocks.push_back({first, std::min(count, first + MeasuredRows) - 1, 0, {}});

    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    const auto work = [&] {
        for (std::size_t index; !failed && (index = next++) < blocks.size();) {
            try {
                if (!measureBlock(blocks[index]))
                    failed = true;
            } catch (...) {
                failed = true;
            }
        }
    };
    // QThreads: the layout starts timers, which need a thread with an event dispatcher.
    std::vector<std::unique_ptr<QThread>> workers;
    const int threads = std::clamp(QThread::idealThreadCount(), 1, 4);
    for (int each = 1; each < threads && std::size_t(each) < blocks.size(); ++each) {
        workers.emplace_back(QThread::create(work));
        workers.back()->start();
    }
    work();
    for (const auto& worker : workers)
        worker->wait();
    if (failed)
        return false;

    m_heights.assign(std::size_t(count), 0);
    for (const Block& block : blocks)
        for (int row = block.first; row <= block.last; ++row)
            m_heights[std::size_t(row)] = block.bottoms[std::size_t(row - block.first + 1)] -
                                          block.bottoms[std::size_t(row - block.first)];
    const Block& opening = blocks.front(); // its first row twice
    qreal rows = m_heights.front();
    for (int row = opening.first; row <= opening.last; ++row)
        rows += m_heights[std::size_t(row)];
    m_nextPage = opening.height - rows;

    const auto first =
        m_maker(m_list.pageHtml(HtmlListSplit::Head::Document, -1, 0, 0, HtmlListSplit::Tail::Close));
    m_firstPage = layOut(*first) - m_heights.front();
    const auto tail = m_maker(m_list.pageHtml(HtmlListSplit::Head::Continuation, -1, count - 1, count - 1,
                                              HtmlListSplit::Tail::Document));
    m_tail = layOut(*tail) - m_nextPage - m_heights.back();
    return true;
}

std::optional<std::vector<ListPage>> ListPagination::pages()
{
    if (!measure())
        return std::nullopt;
    const qreal room = m_body.height() + Tolerance;
    const int count = m_list.rowCount();
    // A row that does not fit under the heading of an empty page is not a list row (a table that
    // holds the whole document): that document is laid out in one piece.
    if (m_firstPage + m_heights.front() > room)
        return std::nullopt;
    for (const qreal height : m_heights)
        if (m_nextPage + height > room)
            return std::nullopt;

    std::vector<ListPage> pages;
    int first = 0;
    while (first < count) {
        ListPage page;
        page.first = first;
        page.opening = pages.empty();
        qreal used = (page.opening ? m_firstPage : m_nextPage) + m_heights[std::size_t(first)];
        int last = first;
        while (last + 1 < count && used + m_heights[std::size_t(last + 1)] <= room)
            used += m_heights[std::size_t(++last)];
        page.last = last;
        page.ending = last == count - 1 && (used + m_tail <= room || !m_list.hasTail());
        pages.push_back(page);
        first = last + 1;
    }
    if (!pages.back().ending) {
        const auto tail = tailDocument();
        for (int index = 0; index < tail->pageCount(); ++index) {
            ListPage page;
            page.tailPage = index;
            pages.push_back(page);
        }
    }
    return pages;
}

std::unique_ptr<QTextDocument> ListPagination::pageDocument(const ListPage& page) const
{
    auto document = m_maker(m_list.pageHtml(
        page.opening ? HtmlListSplit::Head::Document : HtmlListSplit::Head::Continuation, -1, page.first,
        page.last, page.ending ? HtmlListSplit::Tail::Document : HtmlListSplit::Tail::Close));
    layOut(*document);
    return document;
}

std::unique_ptr<QTextDocument> ListPagination::tailDocument() const
{
    auto document = m_maker(m_list.tailHtml());
    document->documentLayout()->setPaintDevice(&m_device);
    document->setPageSize(m_body);
    return document;
}

} // namespace carvendo::report
