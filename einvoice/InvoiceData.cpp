#include "einvoice/InvoiceData.h"

#include "einvoice/DocumentTypes.h"
#include "einvoice/EInvoiceRefusal.h"
#include "einvoice/InvoiceFigures.h"

#include "accounts/DocumentInstalments.h"

#include "core/CompanyDirectory.h"
#include "core/Db.h"

namespace carvendo::einvoice {

namespace {

// The header with what it points at: its customer, its payment term's method, its bank, its
// withholding kind (by the description the invoice keeps) and the electronic invoice settings.
QString headerQuery()
{
    return QStringLiteral(
               "SELECT f.idFattura, f.NumDoc, f.Suffisso, f.Anno, f.data, f.TipoFattura, f.RagioneSociale, "
               "f.Indirizzo, f.Cap, f.Citta, f.Provincia, f.PIVA, f.CodFisc, f.scontoperc, f.ra, f.ra_perc, "
               "f.ritenuta_desc, f.tipopagamento, %1, f.FilePA, f.ImportoBollo, f.BolloACaricoCliente, "
               "c.TipoCliente, c.Nome, c.Cognome, "
               "c.CodiceDestinatario, c.PEC, c.Nazione, b.Codice AS IBAN, b.Descrizione AS Banca, "
               "p.modalita, "
               "m.CodiceMP, r.id AS idRitenuta, r.TipoRitenuta, r.causale, cfg.RegimeFiscale, "
               "cfg.Provincia AS ProvinciaAzienda, cfg.Nazione AS NazioneAzienda, cfg.REAUfficio, "
               "cfg.REANumero, cfg.REACapitale, cfg.REASocioUnico, cfg.REALiquidazione, "
               "cfg.CodFiscTrasmittente, cfg.BolloImporto, cfg.BolloSoglia, "
               "cfg.BolloACaricoCliente AS BolloACaricoClienteConfig "
               "FROM fatture f "
               "LEFT JOIN clienti c ON c.idCliente = f.idCliente "
               "LEFT JOIN banche b ON b.idBanca = f.idbanca "
               "LEFT JOIN pagamenti p ON p.id = (SELECT MIN(id) FROM pagamenti WHERE Descrizione = "
               "f.tipopagamento) "
               "LEFT JOIN modalita_pagamenti m ON m.id = "
               "(SELECT MIN(id) FROM modalita_pagamenti WHERE descrizione = p.modalita) "
               "LEFT JOIN ritenute_acconto r ON r.id = "
               "(SELECT MIN(id) FROM ritenute_acconto WHERE descrizione = f.ritenuta_desc) "
               "LEFT JOIN fatturapa_configurazione cfg ON cfg.id = (SELECT MIN(id) FROM "
               "fatturapa_configurazione) "
               "WHERE f.idFattura = :IDFATTURA")
        .arg(accounts::instalmentColumns(QStringLiteral("f.")));
}

// A 0% row states the nature it was sold under, with the legal reference of the zero rate of that
// nature; a row made before rows kept one takes the first zero rate's, one with a nature first.
const QString RowsQuery = QStringLiteral(
    "SELECT d.Codice, d.Descrizione, d.quantita, d.UnitaMisura, d.PrezzoVendita, d.SubTotale, "
    "IFNULL(d.Aliquota, 0) AS Aliquota, "
    "IFNULL(NULLIF(TRIM(d.Natura), ''), (SELECT i.Natura FROM iva i WHERE i.Iva = IFNULL(d.Aliquota, 0) "
    "ORDER BY TRIM(IFNULL(i.Natura, '')) = '', i.idIva LIMIT 1)) AS Natura, "
    "(SELECT i.RiferimentoNormativo FROM iva i WHERE i.Iva = IFNULL(d.Aliquota, 0) AND "
    "(NULLIF(TRIM(d.Natura), '') IS NULL OR i.Natura = TRIM(d.Natura)) "
    "ORDER BY TRIM(IFNULL(i.Natura, '')) = '', i.idIva LIMIT 1) AS Riferimento "
    "FROM dettfattura d WHERE d.idFattura = :IDFATTURA");

BuyerKind buyerKindOf(const QString& code)
{
    if (code.compare(QLatin1String("PA"), Qt::CaseInsensitive) == 0)
        return BuyerKind::PublicAdministration;
    if (code.compare(QLatin1String("AZ"), Qt::CaseInsensitive) == 0)
        return BuyerKind::Company;
    return BuyerKind::Private;
}

QString orDefault(const QString& value, const QString& fallback)
{
    const QString trimmed = value.trimmed();
    return trimmed.isEmpty() ? fallback : trimmed;
}

Seller sellerOf(const core::CompanyRecord& company, const core::Row& h)
{
    Seller seller;
    seller.denominazione = company.ragionesociale;
    seller.partitaIva = company.piva.trimmed();
    seller.codiceFiscale = company.codfisc.trimmed().toUpper();
    seller.indirizzo = company.indirizzo;
    seller.cap = company.cap.trimmed();
    seller.comune = company.citta;
    seller.provincia = h[u"ProvinciaAzienda"].toString().trimmed().toUpper();
    seller.nazione = orDefault(h[u"NazioneAzienda"].toString(), QStringLiteral("IT")).toUpper();
    seller.regimeFiscale = orDefault(h[u"RegimeFiscale"].toString(), QStringLiteral("RF01"));
    seller.reaUfficio = h[u"REAUfficio"].toString().trimmed().toUpper();
    seller.reaNumero = h[u"REANumero"].toString().trimmed();
    seller.reaCapitale = h[u"REACapitale"].toMoney();
    seller.reaSocioUnico = h[u"REASocioUnico"].toString().trimmed().toUpper();
    seller.reaLiquidazione = orDefault(h[u"REALiquidazione"].toString(), QStringLiteral("LN")).toUpper();
    seller.trasmittente =
        orDefault(h[u"CodFiscTrasmittente"].toString(), orDefault(seller.codiceFiscale, seller.partitaIva))
            .toUpper();
    return seller;
}

Buyer buyerOf(const core::Row& h)
{
    Buyer buyer;
    buyer.kind = buyerKindOf(h[u"TipoCliente"].toString());
    buyer.denominazione = h[u"RagioneSociale"].toString();
    buyer.nome = h[u"Nome"].toString().trimmed();
    buyer.cognome = h[u"Cognome"].toString().trimmed();
    buyer.partitaIva = h[u"PIVA"].toString().trimmed();
    buyer.codiceFiscale = h[u"CodFisc"].toString().trimmed().toUpper();
    buyer.indirizzo = h[u"Indirizzo"].toString();
    buyer.cap = h[u"Cap"].toString().trimmed();
    buyer.comune = h[u"Citta"].toString();
    buyer.provincia = h[u"Provincia"].toString().trimmed().toUpper();
    buyer.nazione = orDefault(h[u"Nazione"].toString(), QStringLiteral("IT")).toUpper();
    buyer.codiceDestinatario =
        orDefault(h[u"CodiceDestinatario"].toString(), QStringLiteral("0000000")).toUpper();
    buyer.pec = h[u"PEC"].toString().trimmed();
    return buyer;
}

QList<Instalment> instalmentsOf(const core::Row& h)
{
    QList<Instalment> instalments;
    for (const accounts::Instalment& stored : accounts::instalmentsOf(h))
        instalments << Instalment{stored.importo, stored.scadenza};
    return instalments;
}

QList<InvoiceLine> linesOf(core::Db& db, int invoiceId)
{
    QList<InvoiceLine> lines;
    for (const core::Row r : db.query(RowsQuery, {{QStringLiteral("IDFATTURA"), invoiceId}})) {
        lines << InvoiceLine{r[u"Codice"].toString(),       r[u"Descrizione"].toString(),
                             r[u"quantita"].toDouble(),     r[u"UnitaMisura"].toString(),
                             r[u"PrezzoVendita"].toMoney(), r[u"SubTotale"].toMoney(),
                             r[u"Aliquota"].toInt(),        r[u"Natura"].toString().trimmed().toUpper(),
                             r[u"Riferimento"].toString()};
    }
    return lines;
}

// The settings' amount and threshold; whether the customer pays it is the invoice's own, decided
// when it was made (the settings' for one made before invoices kept it).
StampDuty stampDutySettingsOf(const core::Row& row)
{
    const core::Field charged = row[u"BolloACaricoCliente"].isNull() ? row[u"BolloACaricoClienteConfig"]
                                                                     : row[u"BolloACaricoCliente"];
    return StampDuty{row[u"BolloImporto"].toMoney(), row[u"BolloSoglia"].toMoney(), charged.toBool()};
}

// What the invoice kept at its last save; the settings for one saved before it kept it.
StampDuty stampDutyOf(const core::Row& h, const StampDuty& settings)
{
    const std::optional<StampDutyDue> kept = StampDutyDue::keptBy(h);
    if (!kept)
        return settings;
    return StampDuty{kept->amount, settings.threshold, kept->chargedToCustomer, true};
}

// The method's code; a term without a method is paid in cash (as the cash book takes it). Instalments
// without a term, or a method without its code, leave the file's payment without its mode: refused.
QString paymentCodeOf(const core::Row& h, const QString& label, bool instalments)
{
    const auto missing = [&label] {
        return EInvoiceRefusal(label, QStringLiteral("manca la modalità di pagamento (codice MP)"));
    };
    if (h[u"tipopagamento"].toString().trimmed().isEmpty()) {
        if (instalments)
            throw missing();
        return {};
    }
    if (h[u"modalita"].toString().trimmed().isEmpty())
        return QStringLiteral("MP01");
    const QString code = h[u"CodiceMP"].toString().trimmed().toUpper();
    if (code.isEmpty())
        throw missing();
    return code;
}

} // namespace

QString invoiceLabel(const QString& number, const QString& suffix, const QString& year)
{
    const QString trimmed = suffix.trimmed();
    return QStringLiteral("Fattura %1/%2").arg(trimmed.isEmpty() ? number : number + u'-' + trimmed, year);
}

InvoiceData InvoiceReader::read(int invoiceId) const
{
    const core::Rows headers = m_db.query(headerQuery(), {{QStringLiteral("IDFATTURA"), invoiceId}});
    if (headers.isEmpty())
        throw core::Error(QStringLiteral("La fattura non esiste più."), core::Error::Kind::Refusal);
    const core::Row h = headers.first();

    InvoiceData invoice;
    invoice.id = invoiceId;
    const QString suffix = h[u"Suffisso"].toString().trimmed();
    const QString number = h[u"NumDoc"].toString();
    invoice.number = suffix.isEmpty() ? number : number + u'/' + suffix;
    invoice.label = invoiceLabel(number, suffix, h[u"Anno"].toString());
    invoice.date = h[u"data"].toDate();

    const DocumentType* type = documentTypeOf(h[u"TipoFattura"].toString());
    if (!type)
        throw EInvoiceRefusal(invoice.label,
                              QStringLiteral("questo tipo di documento non ha la fattura elettronica"));
    invoice.tipoDocumento = QLatin1String(type->tipoDocumento);

    invoice.seller = sellerOf(m_company, h);
    invoice.buyer = buyerOf(h);
    invoice.discountPercent = h[u"scontoperc"].toMoney();
    if (h[u"ra"].toBool() && !h[u"ra_perc"].toMoney().isZero()) {
        const QString description = h[u"ritenuta_desc"].toString();
        if (h[u"idRitenuta"].isNull())
            throw EInvoiceRefusal(
                invoice.label, QStringLiteral("la ritenuta d'acconto \"%1\" non è tra le ritenute d'acconto")
                                   .arg(description));
        const QString reason = h[u"causale"].toString().trimmed().toUpper();
        if (reason.isEmpty())
            throw EInvoiceRefusal(
                invoice.label, QStringLiteral("la ritenuta d'acconto \"%1\" non ha la causale di pagamento")
                                   .arg(description));
        invoice.withholding =
            Withholding{h[u"ra_perc"].toMoney(), description,
                        orDefault(h[u"TipoRitenuta"].toString(), QStringLiteral("RT01")).toUpper(), reason};
    }
    invoice.stampDuty = stampDutyOf(h, stampDutySettingsOf(h));
    invoice.instalments = instalmentsOf(h);
    invoice.paymentCode = paymentCodeOf(h, invoice.label, !invoice.instalments.isEmpty());
    invoice.iban = h[u"IBAN"].toString().remove(u' ').toUpper();
    invoice.bankName = h[u"Banca"].toString();
    invoice.exportedFile = h[u"FilePA"].toString();

    invoice.lines = linesOf(m_db, invoiceId);
    return invoice;
}

StampDutyDue stampDutyByRule(core::Db& db, int invoiceId, Money discountPercent)
{
    const core::Rows found =
        db.query(QStringLiteral(
                     "SELECT cfg.BolloImporto, cfg.BolloSoglia, f.BolloACaricoCliente, "
                     "cfg.BolloACaricoCliente AS BolloACaricoClienteConfig FROM fatturapa_configurazione cfg "
                     "LEFT JOIN fatture f ON f.idFattura = :ID ORDER BY cfg.id LIMIT 1"),
                 {{QStringLiteral("ID"), invoiceId}});
    if (found.isEmpty())
        return {};
    return StampDutyDue::of(linesOf(db, invoiceId), discountPercent, stampDutySettingsOf(found.first()));
}

StampDutyDue invoiceStampDuty(core::Db& db, int invoiceId, Money discountPercent)
{
    const core::Rows found = db.query(
        QStringLiteral("SELECT ImportoBollo, BolloACaricoCliente FROM fatture WHERE idFattura = :ID"),
        {{QStringLiteral("ID"), invoiceId}});
    if (!found.isEmpty())
        if (const std::optional<StampDutyDue> kept = StampDutyDue::keptBy(found.first()))
            return *kept;
    return stampDutyByRule(db, invoiceId, discountPercent);
}

} // namespace carvendo::einvoice
