#pragma once

#include "report/DeviceMetrics.h"
#include "report/HtmlListSplit.h"

#include <QSizeF>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;
class QTextDocument;

namespace carvendo::report {

// One printed page of a long list: rows first..last with the template's start (the first page) or
// the repeated heading, and the template's end (the last rows) or just the closed table; or a page
// of what follows the list when it does not fit under the last rows (tailPage >= 0).
struct ListPage
{
    int first = 0;
    int last = -1;
    bool opening = false;
    bool ending = false;
    int tailPage = -1;

    bool operator==(const ListPage&) const = default;
};

// Cuts a long list into pages so that every row is printed once, whole, in order, under the
// heading, and each page is laid out on its own: the time grows with the number of rows and the
// memory with the rows of one page. The row heights are measured once, a few hundred rows at a
// time (on every processor the machine has: the documents measured are the workers' own); the pages
// are then filled with as many rows as their height allows. Documents are laid out for the
// device's measures (DeviceMetrics), painted on the device itself.
class ListPagination
{
public:
    // Makes the document of a piece of HTML (fonts, images and base folder of the print); called
    // from several threads at once.
    using DocumentMaker = std::function<std::unique_ptr<QTextDocument>(const QString& html)>;

    ListPagination(const HtmlListSplit& list, DocumentMaker maker, QPaintDevice& device, const QSizeF& body);

    // The pages; nothing when the list cannot start on the first page (its heading and first row
    // do not fit under what precedes it) or its table cannot be measured.
    std::optional<std::vector<ListPage>> pages();

    // The document of a page, laid out at the page width without page breaks.
    std::unique_ptr<QTextDocument> pageDocument(const ListPage& page) const;
    // What follows the list, laid out on pages of its own.
    std::unique_ptr<QTextDocument> tailDocument() const;
    // Lays a document out at the body's width without page breaks; gives its height.
    qreal layOut(QTextDocument& document) const;

    static constexpr int MeasuredRows = 200; // rows laid out together while measuring

private:
    // A block of rows laid out after the row before it: the document's height and the bottom of
    // each of its rows, that row first.
    struct Block
    {
        int first = 0;
        int last = 0;
        qreal height = 0;
        std::vector<qreal> bottoms;
    };

    // Bottoms of the list table's rows after the heading; nothing when they are not `expected`.
    std::optional<std::vector<qreal>> rowBottoms(QTextDocument& document, int expected) const;
    bool measureBlock(Block& block) const;
    bool measure();

    const HtmlListSplit& m_list;
    DocumentMaker m_maker;
    mutable DeviceMetrics m_device; // laid out for, never painted on
    QSizeF m_body;
    std::vector<qreal> m_heights; // what each row adds to a page
    qreal m_firstPage = 0;        // a page's height without rows: the first page,
    qreal m_nextPage = 0;         // the following ones,
    qreal m_tail = 0;             // and what follows the list
};

} // namespace carvendo::report
