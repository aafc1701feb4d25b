#include "report/HtmlListSplit.h"

#include <QRegularExpression>
#include <QStringList>
#include <QStringView>

namespace carvendo::report {

namespace {

bool isVoidElement(QStringView name)
{
    static const char* const names[] = {"area",  "base", "br",   "col",   "embed",  "hr",    "img",
                                        "input", "link", "meta", "param", "source", "track", "wbr"};
    for (const char* each : names)
        if (name == QLatin1String(each))
            return true;
    return false;
}

// One tag of the text: where it is and its lower-case name.
struct Tag
{
    qsizetype begin = 0;
    qsizetype end = 0; // one past '>'
    QString name;
    bool closing = false;
    bool selfClosing = false;
};

// The next tag at or after `from`, comments skipped; false at the end of the text.
bool nextTag(const QString& html, qsizetype from, Tag& tag)
{
    qsizetype at = from;
    while ((at = html.indexOf(u'<', at)) >= 0) {
        if (QStringView(html).mid(at, 4) == u"<!--") {
            const qsizetype close = html.indexOf(QStringLiteral("-->"), at + 4);
            if (close < 0)
                return false;
            at = close + 3;
            continue;
        }
        const qsizetype close = html.indexOf(u'>', at);
        if (close < 0)
            return false;
        qsizetype nameStart = at + 1;
        tag.closing = nameStart < close && html.at(nameStart) == u'/';
        if (tag.closing)
            ++nameStart;
        qsizetype nameEnd = nameStart;
        while (nameEnd < close && html.at(nameEnd).isLetterOrNumber())
            ++nameEnd;
        if (nameEnd == nameStart) { // "<!DOCTYPE", a stray "<"
            at = close + 1;
            continue;
        }
        tag.begin = at;
        tag.end = close + 1;
        tag.name = html.mid(nameStart, nameEnd - nameStart).toLower();
        tag.selfClosing = html.at(close - 1) == u'/';
        return true;
    }
    return false;
}

// A top-level table while it is read.
struct TableScan
{
    qsizetype begin = 0;
    QString openTag;
    QString surroundings; // the open tags around it
    QStringList surroundingNames;
    QString heading;
    qsizetype rowStart = -1;
    qsizetype firstRow = -1;
    qsizetype end = -1;      // where </table> starts
    qsizetype afterEnd = -1; // one past </table>
    bool spansRows = false;
    bool inHeading = false;
    qsizetype headingStart = -1;
    std::vector<std::pair<qsizetype, qsizetype>> rows;

    void closeRow(qsizetype at)
    {
        if (rowStart < 0)
            return;
        rows.emplace_back(rowStart, at);
        rowStart = -1;
    }
};

} // namespace

std::optional<HtmlListSplit> HtmlListSplit::split(QString html)
{
    struct Open
    {
        QString name;
        qsizetype begin;
        qsizetype end;
    };
    std::vector<Open> open;
    qsizetype headEnd = 0; // the document's start up to its </head> (or <html> tag)
    int tableDepth = 0;
    TableScan current;
    TableScan best;
    Tag tag;
    qsizetype at = 0;
    while (nextTag(html, at, tag)) {
        at = tag.end;
        const QString& name = tag.name;
        if (name == u"html" && !tag.closing && headEnd == 0)
            headEnd = tag.end;
        if (name == u"head" && tag.closing)
            headEnd = tag.end;

        if (name == u"table" && !tag.closing) {
            if (tableDepth++ == 0) {
                current = TableScan{};
                current.begin = tag.begin;
                current.openTag = html.mid(tag.begin, tag.end - tag.begin);
                for (const Open& each : open) {
                    if (each.name == u"html" || each.name == u"head")
                        continue;
                    current.surroundings += QStringView(html).mid(each.begin, each.end - each.begin);
                    current.surroundingNames.append(each.name);
                }
            }
        } else if (name == u"table" && tag.closing && tableDepth > 0) {
            if (--tableDepth == 0) {
                current.closeRow(tag.begin);
                current.end = tag.begin;
                current.afterEnd = tag.end;
                if (!current.spansRows && current.rows.size() > best.rows.size())
                    best = std::move(current);
                current = TableScan{};
            }
        } else if (tableDepth == 1) {
            if (name == u"thead") {
                if (!tag.closing) {
                    current.closeRow(tag.begin);
                    current.inHeading = true;
                    current.headingStart = tag.begin;
                } else if (current.inHeading) {
                    current.inHeading = false;
                    current.heading = html.mid(current.headingStart, tag.end - current.headingStart);
                }
            } else if (!current.inHeading) {
                if (name == u"tr" && !tag.closing) {
                    current.closeRow(tag.begin);
                    current.rowStart = tag.begin;
                    if (current.firstRow < 0)
                        current.firstRow = tag.begin;
                } else if (name == u"tr") {
                    current.closeRow(tag.end);
                } else if (name == u"tbody" || name == u"tfoot") {
                    current.closeRow(tag.begin);
                } else if ((name == u"td" || name == u"th") && !tag.closing &&
                           QStringView(html)
                               .mid(tag.begin, tag.end - tag.begin)
                               .contains(u"rowspan", Qt::CaseInsensitive)) {
                    current.spansRows = true;
                }
            }
        }

        if (isVoidElement(name) || tag.selfClosing)
            continue;
        if (!tag.closing) {
            open.push_back({name, tag.begin, tag.end});
        } else {
            for (auto it = open.rbegin(); it != open.rend(); ++it) {
                if (it->name == name) {
                    open.erase(std::next(it).base(), open.end());
                    break;
                }
            }
        }
    }
    if (best.rows.size() < 2)
        return std::nullopt;

    HtmlListSplit split;
    const QString head = html.left(headEnd < best.begin ? headEnd : 0);
    split.m_surroundings = head + best.surroundings;
    split.m_continuation = split.m_surroundings + best.openTag + best.heading;
    split.m_closing = QStringLiteral("</table>");
    for (auto it = best.surroundingNames.crbegin(); it != best.surroundingNames.crend(); ++it)
        split.m_closing += QStringLiteral("</") + *it + u'>';
    split.m_firstRow = best.firstRow;
    split.m_tableEnd = best.end;
    split.m_afterTable = best.afterEnd;
    split.m_rows.reserve(best.rows.size());
    for (const auto& [begin, end] : best.rows)
        split.m_rows.push_back({begin, end});
    split.m_html = std::move(html);
    return split;
}

QString HtmlListSplit::rowHtml(int row) const
{
    const Range& range = m_rows.at(std::size_t(row));
    return m_html.mid(range.begin, range.end - range.begin);
}

QString HtmlListSplit::pageHtml(Head head, int anchor, int first, int last, Tail tail) const
{
    const QStringView text(m_html);
    const QStringView start = head == Head::Document ? text.left(m_firstRow) : QStringView(m_continuation);
    const QStringView end = tail == Tail::Document ? text.mid(m_tableEnd) : QStringView(m_closing);
    qsizetype size = start.size() + end.size();
    for (int row = first; row <= last; ++row)
        size += m_rows[std::size_t(row)].end - m_rows[std::size_t(row)].begin + 1;
    QString page;
    page.reserve(size + (anchor >= 0 ? 4096 : 0));
    page += start;
    if (anchor >= 0)
        page += rowHtml(anchor);
    for (int row = first; row <= last; ++row) {
        const Range& range = m_rows[std::size_t(row)];
        page += text.mid(range.begin, range.end - range.begin);
        page += u'\n';
    }
    page += end;
    return page;
}

bool HtmlListSplit::hasTail() const
{
    static const QRegularExpression closingTagsAndBlanks(QStringLiteral("^(\\s|</[^>]*>|<!--.*?-->)*$"),
                                                         QRegularExpression::DotMatchesEverythingOption);
    return !closingTagsAndBlanks.match(QStringView(m_html).mid(m_afterTable)).hasMatch();
}

QString HtmlListSplit::tailHtml() const
{
    return m_surroundings + m_html.mid(m_afterTable);
}

} // namespace carvendo::report
