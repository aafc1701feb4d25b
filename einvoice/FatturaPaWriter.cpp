#include "einvoice/FatturaPaWriter.h"

#include "einvoice/FileText.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>

namespace carvendo::einvoice {

namespace {

// A VAT number may carry its country in front ("IT01234567890"); else it is the given country's.
std::pair<QString, QString> vatId(const QString& vatNumber, const QString& country)
{
    static const QRegularExpression prefixed(QStringLiteral("^([A-Za-z]{2})([0-9A-Za-z+*.]+)$"));
    const QString compact = QString(vatNumber).remove(u' ');
    if (const auto match = prefixed.match(compact); match.hasMatch())
        return {match.captured(1).toUpper(), match.captured(2).toUpper()};
    return {country, compact.toUpper()};
}

class Writer
{
public:
    Writer(const InvoiceData& invoice, const InvoiceFigures& figures, QByteArray& out)
        : m_invoice(invoice), m_figures(figures), m_xml(&out)
    {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(2);
    }

    void write(const QString& progressive)
    {
        const bool publicAdministration = m_invoice.buyer.kind == BuyerKind::PublicAdministration;
        m_xml.writeStartDocument(QStringLiteral("1.0"));
        m_xml.writeNamespace(QLatin1String(FatturaPaWriter::Namespace), QStringLiteral("p"));
        m_xml.writeStartElement(QLatin1String(FatturaPaWriter::Namespace),
                                QStringLiteral("FatturaElettronica"));
        m_xml.writeAttribute(QStringLiteral("versione"),
                             publicAdministration ? QStringLiteral("FPA12") : QStringLiteral("FPR12"));
        m_xml.writeStartElement(QStringLiteral("FatturaElettronicaHeader"));
        transmission(progressive, publicAdministration);
        seller();
        buyer();
        m_xml.writeEndElement();
        m_xml.writeStartElement(QStringLiteral("FatturaElettronicaBody"));
        generalData();
        goodsAndServices();
        payment();
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

private:
    void text(const QString& element, const QString& value) { m_xml.writeTextElement(element, value); }
    void optional(const QString& element, const QString& value)
    {
        if (!value.isEmpty())
            text(element, value);
    }

    void transmission(const QString& progressive, bool publicAdministration)
    {
        const Buyer& buyer = m_invoice.buyer;
        m_xml.writeStartElement(QStringLiteral("DatiTrasmissione"));
        m_xml.writeStartElement(QStringLiteral("IdTrasmittente"));
        text(QStringLiteral("IdPaese"), QStringLiteral("IT"));
        text(QStringLiteral("IdCodice"), asciiText(m_invoice.seller.trasmittente, 28));
        m_xml.writeEndElement();
        text(QStringLiteral("ProgressivoInvio"), progressive);
        text(QStringLiteral("FormatoTrasmissione"),
             publicAdministration ? QStringLiteral("FPA12") : QStringLiteral("FPR12"));
        // A customer abroad has no recipient code: the exchange system's "XXXXXXX".
        const bool abroad = buyer.nazione != QLatin1String("IT");
        text(QStringLiteral("CodiceDestinatario"),
             abroad ? QStringLiteral("XXXXXXX") : asciiText(buyer.codiceDestinatario, 7));
        if (!abroad && buyer.codiceDestinatario == QLatin1String("0000000"))
            optional(QStringLiteral("PECDestinatario"), asciiText(buyer.pec, 256));
        m_xml.writeEndElement();
    }

    void idFiscaleIva(const QString& vatNumber, const QString& country)
    {
        const auto [idPaese, idCodice] = vatId(vatNumber, country);
        m_xml.writeStartElement(QStringLiteral("IdFiscaleIVA"));
        text(QStringLiteral("IdPaese"), idPaese);
        text(QStringLiteral("IdCodice"), asciiText(idCodice, 28));
        m_xml.writeEndElement();
    }

    void address(const QString& street, const QString& cap, const QString& town, const QString& province,
                 const QString& country)
    {
        m_xml.writeStartElement(QStringLiteral("Sede"));
        text(QStringLiteral("Indirizzo"), latinText(street, 60));
        // Abroad the postcode is not an Italian one: the file states "00000".
        static const QRegularExpression fiveDigits(QStringLiteral("^[0-9]{5}$"));
        text(QStringLiteral("CAP"), country != QLatin1String("IT") && !fiveDigits.match(cap).hasMatch()
                                        ? QStringLiteral("00000")
                                        : cap);
        text(QStringLiteral("Comune"), latinText(town, 60));
        if (country == QLatin1String("IT"))
            optional(QStringLiteral("Provincia"), province);
        text(QStringLiteral("Nazione"), country);
        m_xml.writeEndElement();
    }

    void seller()
    {
        const Seller& s = m_invoice.seller;
        m_xml.writeStartElement(QStringLiteral("CedentePrestatore"));
        m_xml.writeStartElement(QStringLiteral("DatiAnagrafici"));
        idFiscaleIva(s.partitaIva, s.nazione);
        optional(QStringLiteral("CodiceFiscale"), s.codiceFiscale);
        m_xml.writeStartElement(QStringLiteral("Anagrafica"));
        text(QStringLiteral("Denominazione"), latinText(s.denominazione, 80));
        m_xml.writeEndElement();
        text(QStringLiteral("RegimeFiscale"), s.regimeFiscale);
        m_xml.writeEndElement();
        address(s.indirizzo, s.cap, s.comune, s.provincia, s.nazione);
        if (!s.reaUfficio.isEmpty() && !s.reaNumero.isEmpty()) {
            m_xml.writeStartElement(QStringLiteral("IscrizioneREA"));
            text(QStringLiteral("Ufficio"), s.reaUfficio);
            text(QStringLiteral("NumeroREA"), asciiText(s.reaNumero, 20));
            if (!s.reaCapitale.isZero())
                text(QStringLiteral("CapitaleSociale"), fileAmount(s.reaCapitale));
            optional(QStringLiteral("SocioUnico"), s.reaSocioUnico);
            text(QStringLiteral("StatoLiquidazione"), s.reaLiquidazione);
            m_xml.writeEndElement();
        }
        m_xml.writeEndElement();
    }

    void buyer()
    {
        const Buyer& b = m_invoice.buyer;
        m_xml.writeStartElement(QStringLiteral("CessionarioCommittente"));
        m_xml.writeStartElement(QStringLiteral("DatiAnagrafici"));
        if (!b.partitaIva.isEmpty())
            idFiscaleIva(b.partitaIva, b.nazione);
        optional(QStringLiteral("CodiceFiscale"), b.codiceFiscale);
        m_xml.writeStartElement(QStringLiteral("Anagrafica"));
        if (b.kind == BuyerKind::Private && !b.nome.isEmpty() && !b.cognome.isEmpty()) {
            text(QStringLiteral("Nome"), latinText(b.nome, 60));
            text(QStringLiteral("Cognome"), latinText(b.cognome, 60));
        } else {
            text(QStringLiteral("Denominazione"), latinText(b.denominazione, 80));
        }
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        address(b.indirizzo, b.cap, b.comune, b.provincia, b.nazione);
        m_xml.writeEndElement();
    }

    void generalData()
    {
        m_xml.writeStartElement(QStringLiteral("DatiGenerali"));
        m_xml.writeStartElement(QStringLiteral("DatiGeneraliDocumento"));
        text(QStringLiteral("TipoDocumento"), m_invoice.tipoDocumento);
        text(QStringLiteral("Divisa"), QStringLiteral("EUR"));
        text(QStringLiteral("Data"), m_invoice.date.toString(Qt::ISODate));
        text(QStringLiteral("Numero"), asciiText(m_invoice.number, 20));
        if (m_invoice.withholding) {
            m_xml.writeStartElement(QStringLiteral("DatiRitenuta"));
            text(QStringLiteral("TipoRitenuta"), m_invoice.withholding->kind);
            text(QStringLiteral("ImportoRitenuta"), fileAmount(m_figures.withholding));
            text(QStringLiteral("AliquotaRitenuta"), fileRate(m_invoice.withholding->percent));
            text(QStringLiteral("CausalePagamento"), m_invoice.withholding->reason);
            m_xml.writeEndElement();
        }
        if (m_figures.stampDuty) {
            m_xml.writeStartElement(QStringLiteral("DatiBollo"));
            text(QStringLiteral("BolloVirtuale"), QStringLiteral("SI"));
            text(QStringLiteral("ImportoBollo"), fileAmount(m_invoice.stampDuty.amount));
            m_xml.writeEndElement();
        }
        if (!m_figures.discount.isZero()) {
            m_xml.writeStartElement(QStringLiteral("ScontoMaggiorazione"));
            text(QStringLiteral("Tipo"), QStringLiteral("SC"));
            text(QStringLiteral("Percentuale"), fileRate(m_invoice.discountPercent));
            text(QStringLiteral("Importo"), fileAmount(m_figures.discount));
            m_xml.writeEndElement();
        }
        text(QStringLiteral("ImportoTotaleDocumento"), fileAmount(m_figures.total));
        m_xml.writeEndElement();
        m_xml.writeEndElement();
    }

    void goodsAndServices()
    {
        m_xml.writeStartElement(QStringLiteral("DatiBeniServizi"));
        int number = 0;
        for (const FileLine& line : m_figures.lines)
            detailLine(++number, line);
        for (const FileSummary& summary : m_figures.summaries) {
            m_xml.writeStartElement(QStringLiteral("DatiRiepilogo"));
            text(QStringLiteral("AliquotaIVA"), fileRate(Money::fromInt(summary.rate)));
            optional(QStringLiteral("Natura"), summary.nature);
            text(QStringLiteral("ImponibileImporto"), fileAmount(summary.taxable));
            text(QStringLiteral("Imposta"), fileAmount(summary.tax));
            if (summary.rate != 0)
                text(QStringLiteral("EsigibilitaIVA"), QStringLiteral("I"));
            if (!summary.nature.isEmpty())
                optional(QStringLiteral("RiferimentoNormativo"), latinText(summary.legalReference, 100));
            m_xml.writeEndElement();
        }
        m_xml.writeEndElement();
    }

    void detailLine(int number, const FileLine& line)
    {
        m_xml.writeStartElement(QStringLiteral("DettaglioLinee"));
        text(QStringLiteral("NumeroLinea"), QString::number(number));
        const InvoiceLine* source = line.source;
        if (source && !source->code.trimmed().isEmpty()) {
            m_xml.writeStartElement(QStringLiteral("CodiceArticolo"));
            text(QStringLiteral("CodiceTipo"), QStringLiteral("INTERNO"));
            text(QStringLiteral("CodiceValore"), latinText(source->code, 35));
            m_xml.writeEndElement();
        }
        const QString description = latinText(line.description, 1000);
        text(QStringLiteral("Descrizione"), description.isEmpty() ? QStringLiteral("-") : description);
        if (source) {
            text(QStringLiteral("Quantita"), fileQuantity(source->quantity));
            optional(QStringLiteral("UnitaMisura"), asciiText(source->unit, 10));
            text(QStringLiteral("PrezzoUnitario"), fileAmount(source->unitPrice, 2, 8));
            if (!m_figures.discount.isZero()) {
                m_xml.writeStartElement(QStringLiteral("ScontoMaggiorazione"));
                text(QStringLiteral("Tipo"), QStringLiteral("SC"));
                text(QStringLiteral("Percentuale"), fileRate(m_invoice.discountPercent));
                m_xml.writeEndElement();
            }
        } else {
            text(QStringLiteral("PrezzoUnitario"), fileAmount(line.total, 2, 8));
        }
        text(QStringLiteral("PrezzoTotale"), fileAmount(line.total, 2, 8));
        text(QStringLiteral("AliquotaIVA"), fileRate(Money::fromInt(line.rate)));
        if (line.withheld)
            text(QStringLiteral("Ritenuta"), QStringLiteral("SI"));
        optional(QStringLiteral("Natura"), line.nature);
        m_xml.writeEndElement();
    }

    void payment()
    {
        if (m_figures.payments.isEmpty())
            return;
        m_xml.writeStartElement(QStringLiteral("DatiPagamento"));
        // TP01 is payment in instalments, TP02 payment in full.
        text(QStringLiteral("CondizioniPagamento"),
             m_figures.payments.size() > 1 ? QStringLiteral("TP01") : QStringLiteral("TP02"));
        for (const FilePayment& instalment : m_figures.payments) {
            m_xml.writeStartElement(QStringLiteral("DettaglioPagamento"));
            text(QStringLiteral("ModalitaPagamento"), m_invoice.paymentCode);
            if (instalment.due.isValid())
                text(QStringLiteral("DataScadenzaPagamento"), instalment.due.toString(Qt::ISODate));
            text(QStringLiteral("ImportoPagamento"), fileAmount(instalment.amount));
            if (!m_invoice.iban.isEmpty()) {
                optional(QStringLiteral("IstitutoFinanziario"), latinText(m_invoice.bankName, 80));
                text(QStringLiteral("IBAN"), m_invoice.iban);
            }
            m_xml.writeEndElement();
        }
        m_xml.writeEndElement();
    }

    const InvoiceData& m_invoice;
    const InvoiceFigures& m_figures;
    QXmlStreamWriter m_xml;
};

} // namespace

QString FatturaPaWriter::transmitterId(const InvoiceData& invoice)
{
    return QStringLiteral("IT") + asciiText(invoice.seller.trasmittente, 28);
}

QString FatturaPaWriter::fileName(const InvoiceData& invoice, const QString& progressive)
{
    return transmitterId(invoice) + u'_' + progressive + QStringLiteral(".xml");
}

QString FatturaPaWriter::progressiveOf(qint64 counter)
{
    return QString::number(counter, 36).toUpper().rightJustified(5, u'0');
}

QByteArray FatturaPaWriter::write(const InvoiceData& invoice, const InvoiceFigures& figures,
                                  const QString& progressive)
{
    QByteArray out;
    Writer(invoice, figures, out).write(progressive);
    return out;
}

} // namespace carvendo::einvoice
