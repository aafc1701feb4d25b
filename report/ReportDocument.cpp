#include "ReportDocument.h"

#include "BarcodeImage.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QUrl>

namespace carvendo::report {

namespace {

const QString BarcodeScheme = QStringLiteral("barcode");

} // namespace

ReportDocument::ReportDocument(const QString& html, QByteArray logo, const QString& reportDir, QObject* parent)
    : QTextDocument(parent), m_logo(std::move(logo))
{
    setDocumentMargin(0);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9.5);
    setDefaultFont(font);
    setBaseUrl(QUrl::fromLocalFile(QDir(reportDir).absolutePath() + u'/'));
    static const QRegularExpression landscape(
        QStringLiteral("<meta\\s+name\\s*=\\s*\"orientation\"\\s+content\\s*=\\s*\"landscape\""),
        QRegularExpression::CaseInsensitiveOption);
    m_landscape = landscape.match(html).hasMatch();
    setHtml(html);
}

QVariant ReportDocument::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::ImageResource) {
        // The name arrives resolved against the Report folder.
        if (name.fileName() == u"picture1") {
            QImage logo;
            logo.loadFromData(m_logo);
            return logo; // null when there is no logo or it is unreadable: nothing is drawn
        }
        if (name.scheme() == BarcodeScheme)
            return BarcodeImage::render(name.toString().mid(BarcodeScheme.size() + 1));
    }
    return QTextDocument::loadResource(type, name);
}

} // namespace carvendo::report
