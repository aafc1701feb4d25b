#include "stock/loads/LoadPrint.h"

#include "core/Db.h"
#include "core/Paths.h"
#include "core/ReportOutput.h"
#include "stock/loads/LoadHeader.h"

#include <QDir>

namespace carvendo::stock {

core::ReportRequest LoadPrint::request(int idCarico)
{
    const core::Params load{{QStringLiteral("IDCARICO"), idCarico}};
    const LoadHeader header = LoadStore(m_db).read(idCarico);
    core::ReportRequest request;
    request.templateName = QStringLiteral("carico");
    request.title = QStringLiteral("Carico di Magazzino nr. %1").arg(header.numero);
    request.datasets.emplace(
        QStringLiteral("righe"),
        m_db.query(
            QStringLiteral("SELECT Codice, Descrizione, Barcode, UnitaMisura, quantita, PrezzoAcquisto, "
                           "sconto_perc1, sconto_perc2, Aliquota, SubtotaleAcq, SubTotaleIvato "
                           "FROM dettcarico WHERE idCarico = :IDCARICO ORDER BY id"),
            load));
    request.setColumnKind(QStringLiteral("righe"), core::PrintedNumber::Quantity, {"quantita"});
    const core::Rows supplier = m_db.query(
        QStringLiteral("SELECT RagSoc, IndirizzoLeg, CapLeg, CittaLeg, ProvLeg, PIva, CodFisc FROM fornitori "
                       "WHERE id_fornitore = :IDFORNITORE"),
        {{QStringLiteral("IDFORNITORE"), header.idFornitore}});
    if (!supplier.isEmpty()) {
        const core::Row row = supplier.first();
        request.values.insert(QStringLiteral("fornitore"), row["RagSoc"].toString());
        request.values.insert(QStringLiteral("fornitoreindirizzo"), row["IndirizzoLeg"].toString());
        request.values.insert(QStringLiteral("fornitorecitta"),
                              QStringLiteral("%1 %2 %3")
                                  .arg(row["CapLeg"].toString(), row["CittaLeg"].toString(),
                                       row["ProvLeg"].toString().isEmpty()
                                           ? QString()
                                           : QStringLiteral("(%1)").arg(row["ProvLeg"].toString()))
                                  .simplified());
        request.values.insert(QStringLiteral("fornitorepiva"), row["PIva"].toString());
        request.values.insert(QStringLiteral("fornitorecodfisc"), row["CodFisc"].toString());
    } else {
        request.values.insert(QStringLiteral("fornitore"), header.fornitore);
    }
    const QString date = QStringLiteral("dd/MM/yyyy");
    m_heading.addTo(request);
    request.values.insert(QStringLiteral("numero"), QString::number(header.numero));
    request.values.insert(QStringLiteral("data"), header.data.toString(date));
    request.values.insert(QStringLiteral("magazzino"), header.magazzino);
    request.values.insert(QStringLiteral("numdoc"), header.numDoc);
    request.values.insert(QStringLiteral("tipodoc"), header.tipoDoc);
    request.values.insert(QStringLiteral("datadoc"), header.dataDoc.toString(date));
    request.values.insert(QStringLiteral("causale"), header.causale);
    request.values.insert(QStringLiteral("pagamento"), header.tipoPagamento);
    request.values.insert(QStringLiteral("note"), header.note);
    request.values.insert(QStringLiteral("imponibile"), header.imponibile.toItalian());
    request.values.insert(QStringLiteral("ivatotale"), header.ivaTotale.toItalian());
    request.values.insert(QStringLiteral("totaledocumento"), header.totaleDocumento.toItalian());
    request.values.insert(QStringLiteral("totalearticoli"), QString::number(header.totaleArticoli));
    return request;
}

void LoadPrint::preview(int idCarico)
{
    m_reports.preview(request(idCarico));
}

QString LoadPrint::pdfPath(int numero) const
{
    return QDir(m_paths.documentsDir(core::DocumentFolder::Acquisti))
        .filePath(QStringLiteral("Carico_Nr.%1.pdf").arg(numero));
}

QString LoadPrint::exportPdf(int idCarico)
{
    const core::ReportRequest printed = request(idCarico);
    const QString path = pdfPath(printed.values.value(QStringLiteral("numero")).toInt());
    m_reports.exportPdf(printed, path);
    return path;
}

} // namespace carvendo::stock
