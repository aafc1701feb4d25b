#include "report/ReportDocument.h"

#include "report/BarcodeImage.h"
#include "report/BarcodeObjectHandler.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QUrl>

namespace carvendo::report {

namespace {

const QString BarcodeScheme = QStringLiteral("barcode");

bool asksForLandscape(const QString& html)
{
    static const QRegularExpression landscape(
        QStringLiteral("<meta\\s+name\\s*=\\s*\"orientation\"\\s+content\\s*=\\s*\"landscape\""),
        QRegularExpression::CaseInsensitiveOption);
    return landscape.match(html).hasMatch();
}

} // namespace

ReportDocument::ReportDocument(const QString& html, QByteArray logo, const QString& reportDir,
                               QObject* parent)
    : QTextDocument(parent), m_logo(std::move(logo)), m_landscape(asksForLandscape(html))
{
    setUp(QUrl::fromLocalFile(QDir(reportDir).absolutePath() + u'/'));
    m_list = HtmlListSplit::split(html);
    if (!m_list)
        setHtml(html);
}

ReportDocument::ReportDocument(Whole, const QString& html, QByteArray logo, const QUrl& baseUrl,
                               bool landscape)
    : m_logo(std::move(logo)), m_landscape(landscape)
{
    setUp(baseUrl);
    setHtml(html);
}

void ReportDocument::setUp(const QUrl& baseUrl)
{
    setDocumentMargin(0);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9.5);
    setDefaultFont(font);
    setBaseUrl(baseUrl);
    BarcodeObjectHandler::install(*this);
}

std::unique_ptr<QTextDocument> ReportDocument::page(const QString& html) const
{
    return std::unique_ptr<QTextDocument>(new ReportDocument(Whole{}, html, m_logo, baseUrl(), m_landscape));
}

void ReportDocument::fillWhole()
{
    if (m_list && isEmpty())
        setHtml(m_list->pageHtml(HtmlListSplit::Head::Document, -1, 0, m_list->rowCount() - 1,
                                 HtmlListSplit::Tail::Document));
}

QVariant ReportDocument::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::ImageResource) {
        // The name arrives resolved against the Report folder.
        // Kept with the document: the layout asks for a picture more than once.
        if (name.fileName() == u"picture1") {
            QImage logo;
            logo.loadFromData(m_logo);
            addResource(type, name, logo);
            return logo; // null when there is no logo or it is unreadable: nothing is drawn
        }
        if (name.scheme() == BarcodeScheme) {
            const QImage barcode = BarcodeImage::render(name.toString().mid(BarcodeScheme.size() + 1));
            addResource(type, name, barcode);
            return barcode;
        }
    }
    return QTextDocument::loadResource(type, name);
}

} // namespace carvendo::report
