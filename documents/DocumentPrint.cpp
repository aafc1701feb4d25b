#include "documents/DocumentPrint.h"

#include "accounts/DocumentInstalments.h"
#include "documents/DocumentRows.h"
#include "documents/RowPricing.h"

#include "einvoice/InvoiceFigures.h"

#include "core/Db.h"

namespace carvendo::documents {

namespace {

const QString DateFormat = QStringLiteral("dd/MM/yyyy");

// "10" for 10 %, "12,5" for 12.5 %.
QString percentText(Money percent)
{
    QString text = percent.toEditText();
    while (text.contains(u',') && (text.endsWith(u'0') || text.endsWith(u',')))
        text.chop(1);
    return text;
}

QString text(const core::Row& header, const char* column)
{
    return header.has(QLatin1String(column)) ? header[QLatin1String(column)].toString().trimmed() : QString();
}

// The goods go elsewhere than the customer's own address.
bool hasOwnDestination(const core::Row& header)
{
    const QString name = text(header, "RagSocDest");
    const QString address = text(header, "IndirizzoDest");
    const QString city = text(header, "CittaDest");
    if (name.isEmpty() && address.isEmpty() && city.isEmpty())
        return false;
    return name != text(header, "RagioneSociale") || address != text(header, "Indirizzo") ||
           city != text(header, "Citta");
}

// The instalments the header holds: number, due date, amount in cents adding up to the total.
core::Rows instalments(const core::Row& header)
{
    std::vector<std::vector<QVariant>> data;
    const QList<accounts::Instalment> rate = accounts::inCents(accounts::instalmentsOf(header));
    for (int i = 0; i < rate.size(); ++i)
        data.push_back({i + 1, rate[i].scadenza, rate[i].importo.toDouble()});
    return core::Rows({QStringLiteral("Rata"), QStringLiteral("Scadenza"), QStringLiteral("Importo")},
                      std::move(data));
}

} // namespace

QStringList DocumentPrint::withholdingMemos()
{
    return {QStringLiteral("Memo_Ra_Importo"), QStringLiteral("Memo_RA_Desc"),
            QStringLiteral("Memo_TotDaPagare")};
}

core::Rows DocumentPrint::rows(int documentId) const
{
    // The unit price printed is the one the discount column applies to: before the row discount.
    const core::Rows stored = DocumentRows(m_db, m_kind).printedRows(documentId);
    QStringList columns = stored.columns();
    columns << QStringLiteral("PrezzoUnitario") << QStringLiteral("ScontoRiga");
    std::vector<std::vector<QVariant>> data;
    data.reserve(size_t(stored.size()));
    for (const core::Row& row : stored) {
        std::vector<QVariant> values;
        values.reserve(size_t(columns.size()));
        for (int c = 0; c < stored.columnCount(); ++c)
            values.push_back(row.at(c).variant());
        const int discount = row["Sconto"].toInt();
        const Money unit = discount == 0 || row["Pubblico"].isNull()
                               ? row["PrezzoVendita"].toMoney()
                               : row["Pubblico"].toMoney().dividedBy(vatFactor(row["Aliquota"].toInt()));
        values.push_back(unit.toDouble());
        values.push_back(discount == 0 ? QVariant() : QVariant(discount));
        data.push_back(std::move(values));
    }
    return core::Rows(std::move(columns), std::move(data));
}

core::Rows DocumentPrint::vatSummary(int documentId, const core::Row& header) const
{
    // The document discount is taken off every rate as off the totals; the last rate gets what is left,
    // so the lines add up to the header's figures to the ten-thousandth.
    const QList<VatLine> lines = DocumentRows(m_db, m_kind).vatSummary(documentId);
    const Money discount = m_kind.adjustments ? header["scontoperc"].toMoney() : Money();
    Money imponibileLeft = header[QLatin1String(m_kind.imponibileColumn)].toMoney();
    Money ivaLeft = header[QLatin1String(m_kind.ivaColumn)].toMoney();
    std::vector<std::vector<QVariant>> data;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const VatLine& line = lines[i];
        const bool last = i + 1 == lines.size();
        const Money imponibile = last ? imponibileLeft : line.imponibile - line.imponibile.percent(discount);
        const Money iva = last ? ivaLeft : line.iva - line.iva.percent(discount);
        imponibileLeft -= imponibile;
        ivaLeft -= iva;
        data.push_back({line.aliquota, QStringLiteral("IVA %1%").arg(line.aliquota), imponibile.toDouble(),
                        iva.toDouble()});
    }
    return core::Rows({QStringLiteral("Aliquota"), QStringLiteral("Descrizione"),
                       QStringLiteral("Imponibile"), QStringLiteral("Iva")},
                      std::move(data));
}

void DocumentPrint::addTotals(core::ReportRequest& request, const core::Row& header) const
{
    const Money imponibile = header[QLatin1String(m_kind.imponibileColumn)].toMoney();
    request.values.insert(QStringLiteral("imponibile"), imponibile.toItalian());
    request.values.insert(QStringLiteral("ivatotale"),
                          header[QLatin1String(m_kind.ivaColumn)].toMoney().toItalian());
    request.values.insert(QStringLiteral("totaledocumento"),
                          header[QLatin1String(m_kind.totalColumn)].toMoney().toItalian());
    if (!m_kind.adjustments)
        return;
    const Money sconto = header["sconto"].toMoney();
    if (!sconto.isZero()) {
        request.values.insert(QStringLiteral("totalemerce"), (imponibile + sconto).toItalian());
        request.values.insert(QStringLiteral("sconto"), sconto.toItalian());
        request.values.insert(QStringLiteral("scontoperc"), percentText(header["scontoperc"].toMoney()));
    }
    if (header["ra"].toBool()) {
        request.values.insert(QStringLiteral("ritenuta"), header["ritenuta_importo"].toMoney().toItalian());
        request.values.insert(QStringLiteral("ritenutaperc"), percentText(header["ra_perc"].toMoney()));
        request.values.insert(QStringLiteral("ritenutadesc"), text(header, "ritenuta_desc"));
        request.values.insert(QStringLiteral("nettoapagare"),
                              header["totale_dapagare"].toMoney().toItalian());
    }
}

void DocumentPrint::addStampDuty(core::ReportRequest& request, int documentId, const core::Row& header) const
{
    if (m_kind.series != &core::Series::Fattura)
        return;
    // As the invoice kept it, as its file states it; charged to the customer, it is already in the total.
    const einvoice::StampDutyDue stampDuty =
        einvoice::invoiceStampDuty(m_db, documentId, header["scontoperc"].toMoney());
    if (stampDuty.applies())
        request.values.insert(QStringLiteral("bollo"), stampDuty.amount.toItalian());
}

core::ReportRequest DocumentPrint::request(int documentId, const QString& templateName) const
{
    const core::Params document{{QStringLiteral("IDDOC"), documentId}};
    const core::Rows header =
        m_db.query(QStringLiteral("SELECT * FROM %1 WHERE %2 = :IDDOC")
                       .arg(QLatin1String(m_kind.headerTable), QLatin1String(m_kind.headerKey)),
                   document);
    core::ReportRequest request;
    request.templateName = templateName;
    request.title = QLatin1String(m_kind.title);
    m_heading.addTo(request);
    request.datasets[QStringLiteral("Testata")] = header;
    request.datasets[QStringLiteral("Righe")] = rows(documentId);
    request.setColumnKind(QStringLiteral("Righe"), core::PrintedNumber::Quantity,
                          {QStringLiteral("quantita")});
    request.datasets[QStringLiteral("Seriali")] = m_db.query(
        QStringLiteral("SELECT * FROM serialidocumenti WHERE idDocumento = :IDDOC AND Documento = "
                       ":DOCUMENTO ORDER BY id"),
        {{QStringLiteral("IDDOC"), documentId},
         {QStringLiteral("DOCUMENTO"), QLatin1String(m_kind.serialDocument ? m_kind.serialDocument : "")}});
    // A document without a bank gets the empty bank row set, as the templates expect.
    const int bank =
        header.isEmpty() || header.columnIndex("idbanca") < 0 ? 0 : header.first()["idbanca"].toInt();
    const core::Rows banks = m_db.query(QStringLiteral("SELECT * FROM banche WHERE idBanca = :IDBANCA"),
                                        {{QStringLiteral("IDBANCA"), bank}});
    request.datasets[QStringLiteral("Banca")] = banks;
    const bool withholding = m_kind.adjustments && !header.isEmpty() && header.first()["ra"].toBool();
    if (!withholding)
        for (const QString& memo : withholdingMemos())
            request.hiddenMemos.insert(memo);
    if (header.isEmpty()) {
        request.datasets[QStringLiteral("Iva")] = core::Rows();
        return request;
    }
    const core::Row top = header.first();
    request.datasets[QStringLiteral("Iva")] = vatSummary(documentId, top);
    const core::Rows rates = instalments(top);
    request.datasets[QStringLiteral("Rate")] = rates;
    request.values.insert(QStringLiteral("rate"), !rates.isEmpty());

    const QString suffix = text(top, "Suffisso");
    const QString number = top[QLatin1String(m_kind.series->column)].toString();
    const QString numero = suffix.isEmpty() ? number : number + u'/' + suffix;
    const QString date = top["data"].toDate().toString(DateFormat);
    request.values.insert(QStringLiteral("numero"), numero);
    request.values.insert(QStringLiteral("data"), date);
    // The preview's title and the print job's name: "Fattura immediata n. 7/A del 07/12/2026".
    request.title = QStringLiteral("%1 n. %2 del %3").arg(QLatin1String(m_kind.title), numero, date);
    request.values.insert(QStringLiteral("pagamento"), text(top, "tipopagamento"));
    request.values.insert(QStringLiteral("destinazione"), hasOwnDestination(top));
    const QString bankName = banks.isEmpty() ? QString() : banks.first()["Descrizione"].toString().trimmed();
    request.values.insert(QStringLiteral("banca"),
                          bankName.isEmpty() ? text(top, "BancaAppoggio") : bankName);
    request.values.insert(QStringLiteral("iban"),
                          banks.isEmpty() ? QString() : banks.first()["Codice"].toString().trimmed());
    addTotals(request, top);
    addStampDuty(request, documentId, top);
    return request;
}

} // namespace carvendo::documents
