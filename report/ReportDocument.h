#pragma once

#include <QByteArray>
#include <QTextDocument>

namespace carvendo::report {

// A filled template ready to lay out. Its images come from the print itself: "picture1" is the
// caller's logo, "barcode:VALUE" the barcode of VALUE (BarcodeImage); any other image is a file
// of the Report folder. A template with <meta name="orientation" content="landscape"> is printed
// on landscape pages.
class ReportDocument : public QTextDocument
{
    Q_OBJECT

public:
    ReportDocument(const QString& html, QByteArray logo, const QString& reportDir, QObject* parent = nullptr);

    bool landscape() const { return m_landscape; }

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QByteArray m_logo;
    bool m_landscape = false;
};

} // namespace carvendo::report
