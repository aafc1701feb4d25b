#pragma once

#include "report/HtmlListSplit.h"

#include <QByteArray>
#include <QTextDocument>

#include <memory>
#include <optional>

namespace carvendo::report {

// A filled template ready to lay out. Its images come from the print itself: "picture1" is the
// caller's logo, "barcode:VALUE" the barcode of VALUE (BarcodeImage); any other image is a file
// of the Report folder. A template with <meta name="orientation" content="landscape"> is printed
// on landscape pages.
// A template holding a list (HtmlListSplit) is not laid out as one document: its pages are made
// one at a time when it is painted (PagedDocumentPainter), each a small document of its own
// (page()); the document itself stays empty.
class ReportDocument : public QTextDocument
{
    Q_OBJECT

public:
    ReportDocument(const QString& html, QByteArray logo, const QString& reportDir, QObject* parent = nullptr);

    bool landscape() const { return m_landscape; }
    // The list the pages are made of; null when the document is laid out whole.
    const HtmlListSplit* list() const { return m_list ? &*m_list : nullptr; }
    // A document of a piece of this print (a page of its list), with its fonts and images; may be
    // called from any thread.
    std::unique_ptr<QTextDocument> page(const QString& html) const;
    // Fills the document itself with the whole print, when its list cannot be paged row by row.
    void fillWhole();

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    struct Whole
    {
    };
    ReportDocument(Whole, const QString& html, QByteArray logo, const QUrl& baseUrl, bool landscape);
    void setUp(const QUrl& baseUrl);

    QByteArray m_logo;
    bool m_landscape = false;
    std::optional<HtmlListSplit> m_list;
};

} // namespace carvendo::report
