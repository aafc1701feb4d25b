#include "gridexport/GridExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <xlsxwriter.h>

namespace carvendo::gridexport {

namespace {

QStringList headersOf(const core::Rows& rows, const QStringList& captions)
{
    if (captions.isEmpty())
        return rows.columns();
    if (captions.size() != rows.columnCount())
        throw GridExportError(QStringLiteral(
            "Le intestazioni della griglia non corrispondono alle colonne: esportazione annullata."));
    return captions;
}

QString csvField(const QString& text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

void saveWhole(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw GridExportError(QStringLiteral("Impossibile scrivere il file %1: %2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace

QString GridExport::formatCaption(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Xml:
        return QStringLiteral("XML");
    case ExportFormat::Excel:
        return QStringLiteral("EXCEL");
    case ExportFormat::Html:
        return QStringLiteral("HTML");
    case ExportFormat::Text:
        return QStringLiteral("TXT");
    }
    return {};
}

QString GridExport::fileFilter(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Xml:
        return QStringLiteral("XML (*.xml)");
    case ExportFormat::Excel:
        return QStringLiteral("Excel (*.xlsx)");
    case ExportFormat::Html:
        return QStringLiteral("HTML (*.html *.htm)");
    case ExportFormat::Text:
        return QStringLiteral("Testo (*.txt *.csv)");
    }
    return {};
}

QString GridExport::fileExtension(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Xml:
        return QStringLiteral("xml");
    case ExportFormat::Excel:
        return QStringLiteral("xlsx");
    case ExportFormat::Html:
        return QStringLiteral("html");
    case ExportFormat::Text:
        return QStringLiteral("txt");
    }
    return {};
}

QString GridExport::cellText(const core::Field& field)
{
    if (field.isNull())
        return {};
    const QVariant& value = field.variant();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    default:
        return field.toString();
    }
}

void GridExport::write(const core::Rows& rows, ExportFormat format, const QString& path,
                       const QStringList& captions)
{
    const QStringList headers = headersOf(rows, captions);
    switch (format) {
    case ExportFormat::Text:
        saveWhole(path, csv(rows, headers));
        break;
    case ExportFormat::Html:
        saveWhole(path, html(rows, headers));
        break;
    case ExportFormat::Xml:
        saveWhole(path, xml(rows, headers));
        break;
    case ExportFormat::Excel:
        xlsx(rows, headers, path);
        break;
    }
}

QByteArray GridExport::csv(const core::Rows& rows, const QStringList& headers)
{
    QString out;
    QStringList line;
    for (const QString& header : headers)
        line << csvField(header);
    out += line.join(u';') + QStringLiteral("\r\n");
    for (int r = 0; r < rows.size(); ++r) {
        line.clear();
        for (int c = 0; c < rows.columnCount(); ++c)
            line << csvField(cellText(rows.at(r, c)));
        out += line.join(u';') + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

QByteArray GridExport::html(const core::Rows& rows, const QStringList& headers)
{
    QString out = QStringLiteral(
        "<!DOCTYPE html>\n<html>\n<head><meta charset=\"utf-8\"></head>\n<body>\n<table border=\"1\">\n<tr>");
    for (const QString& header : headers)
        out += QStringLiteral("<th>") + header.toHtmlEscaped() + QStringLiteral("</th>");
    out += QStringLiteral("</tr>\n");
    for (int r = 0; r < rows.size(); ++r) {
        out += QStringLiteral("<tr>");
        for (int c = 0; c < rows.columnCount(); ++c)
            out += QStringLiteral("<td>") + cellText(rows.at(r, c)).toHtmlEscaped() + QStringLiteral("</td>");
        out += QStringLiteral("</tr>\n");
    }
    out += QStringLiteral("</table>\n</body>\n</html>\n");
    return out.toUtf8();
}

QByteArray GridExport::xml(const core::Rows& rows, const QStringList& headers)
{
    QByteArray out;
    QXmlStreamWriter writer(&out);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("righe"));
    for (int r = 0; r < rows.size(); ++r) {
        writer.writeStartElement(QStringLiteral("riga"));
        for (int c = 0; c < rows.columnCount(); ++c) {
            writer.writeStartElement(QStringLiteral("campo"));
            writer.writeAttribute(QStringLiteral("nome"), headers.at(c));
            writer.writeCharacters(cellText(rows.at(r, c)));
            writer.writeEndElement();
        }
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return out;
}

void GridExport::xlsx(const core::Rows& rows, const QStringList& headers, const QString& path)
{
    // Written beside the target and renamed over it, so a failure leaves the old file alone.
    const QString partial = path + QStringLiteral(".part");
    const QByteArray partialName = QFile::encodeName(partial);
    lxw_workbook* workbook = workbook_new(partialName.constData());
    if (!workbook)
        throw GridExportError(
            QStringLiteral("Impossibile scrivere il file %1").arg(QDir::toNativeSeparators(path)));
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    for (int c = 0; c < headers.size(); ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), headers.at(c).toUtf8().constData(), bold);
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.columnCount(); ++c) {
            const core::Field field = rows.at(r, c);
            if (field.isNull())
                continue;
            const int type = field.variant().typeId();
            const bool number = type == QMetaType::Int || type == QMetaType::LongLong ||
                                type == QMetaType::UInt || type == QMetaType::ULongLong ||
                                type == QMetaType::Double;
            if (number)
                worksheet_write_number(sheet, lxw_row_t(r + 1), lxw_col_t(c), field.toDouble(), nullptr);
            else
                worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(c),
                                       cellText(field).toUtf8().constData(), nullptr);
        }
    }
    const lxw_error result = workbook_close(workbook);
    if (result != LXW_NO_ERROR) {
        QFile::remove(partial);
        throw GridExportError(
            QStringLiteral("Impossibile scrivere il file %1: %2")
                .arg(QDir::toNativeSeparators(path), QString::fromUtf8(lxw_strerror(result))));
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw GridExportError(
            QStringLiteral("Impossibile scrivere il file %1").arg(QDir::toNativeSeparators(path)));
    }
}

} // namespace carvendo::gridexport
