#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace carvendo::report {

// The long list of a filled template, cut into the pieces its pages are made of. The list is the
// top-level table with the most rows (at least two, none spanning rows); its <thead> is the
// heading every page repeats. A page is a small HTML document of its own:
//   - the first page: everything before the list's first row, then its rows;
//   - a following page: the template's <head>, the elements around the list (<body> with its
//     style, ...), the list's <table> tag and heading, then its rows;
//   - the last rows also carry what follows the list (totals, notes); that part can also stand
//     alone on pages of its own (tailHtml()).
// The rows are kept as positions in the one filled text.
class HtmlListSplit
{
public:
    enum class Head
    {
        Document,    // what precedes the list in the template
        Continuation // only the list's surroundings and heading
    };
    enum class Tail
    {
        Document, // what follows the list in the template
        Close     // only the closing tags
    };

    // The split of the filled HTML; nothing when it holds no list.
    static std::optional<HtmlListSplit> split(QString html);

    int rowCount() const { return int(m_rows.size()); }
    // A page of rows first..last (inclusive), after `anchor` when it is not negative (a row
    // repeated in front, for measuring).
    QString pageHtml(Head head, int anchor, int first, int last, Tail tail) const;
    // What follows the list, alone.
    QString tailHtml() const;
    // Whether anything but closing tags and blanks follows the list.
    bool hasTail() const;
    // The text of one row (<tr>...</tr>).
    QString rowHtml(int row) const;

private:
    struct Range
    {
        qsizetype begin = 0;
        qsizetype end = 0;
    };

    QString m_html;
    QString m_continuation; // head, surrounding open tags, the table tag and its heading
    QString m_surroundings; // head and surrounding open tags only
    QString m_closing;      // </table> and the surrounding closing tags
    qsizetype m_firstRow = 0;
    qsizetype m_tableEnd = 0;   // where </table> starts
    qsizetype m_afterTable = 0; // one past </table>
    std::vector<Range> m_rows;
};

} // namespace carvendo::report
