#include "einvoice/SupplierInvoiceReader.h"

#include "einvoice/FatturaPaValidator.h"

#include <QFile>
#include <QXmlStreamReader>

#include <openssl/bio.h>
#include <openssl/cms.h>

#include <memory>

namespace carvendo::einvoice {

namespace {

// The file as a small tree of elements by local name: the FatturaPA blocks are few and nested, and
// the namespace prefix of the root varies from one sender to another.
struct Element
{
    QString name;
    QString text;
    std::vector<Element> children;

    const Element* child(QStringView childName) const
    {
        for (const Element& c : children)
            if (c.name == childName)
                return &c;
        return nullptr;
    }
    std::vector<const Element*> all(QStringView childName) const
    {
        std::vector<const Element*> found;
        for (const Element& c : children)
            if (c.name == childName)
                found.push_back(&c);
        return found;
    }
    // The text at a path of children ("Sede/CAP"); empty when any step is missing.
    QString at(QStringView path) const
    {
        const Element* node = this;
        for (const QStringView step : path.split(u'/')) {
            node = node->child(step);
            if (!node)
                return {};
        }
        return node->text.trimmed();
    }
};

Element parse(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    Element root;
    std::vector<Element*> open{&root};
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            open.back()->children.push_back({reader.name().toString(), {}, {}});
            open.push_back(&open.back()->children.back());
            break;
        case QXmlStreamReader::EndElement:
            open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            open.back()->text += reader.text();
            break;
        default:
            break;
        }
    }
    if (reader.hasError() || root.children.size() != 1)
        throw NotAnEInvoice(QStringLiteral("non è un documento XML leggibile"));
    return std::move(root.children.front());
}

// The file's amounts: a decimal point, up to eight decimals, kept to the ten-thousandth (half to
// even) without passing through a double. An element left out is zero.
core::Money money(const QString& text)
{
    if (text.isEmpty())
        return {};
    const std::optional<core::Money> amount = core::Money::parse(text);
    if (!amount || text.contains(u','))
        throw NotAnEInvoice(QStringLiteral("l'importo \"%1\" non è scritto come vuole il formato").arg(text));
    return *amount;
}

std::optional<core::Money> optionalMoney(const Element& parent, QStringView name)
{
    const QString text = parent.at(name);
    if (text.isEmpty())
        return std::nullopt;
    return money(text);
}

SupplierParty seller(const Element& header)
{
    const Element* cedente = header.child(u"CedentePrestatore");
    if (!cedente)
        throw NotAnEInvoice(QStringLiteral("manca il cedente/prestatore"));
    SupplierParty party;
    party.idPaese = cedente->at(u"DatiAnagrafici/IdFiscaleIVA/IdPaese");
    party.partitaIva = cedente->at(u"DatiAnagrafici/IdFiscaleIVA/IdCodice");
    party.codiceFiscale = cedente->at(u"DatiAnagrafici/CodiceFiscale");
    party.denominazione = cedente->at(u"DatiAnagrafici/Anagrafica/Denominazione");
    if (party.denominazione.isEmpty())
        party.denominazione = (cedente->at(u"DatiAnagrafici/Anagrafica/Nome") + QLatin1Char(' ') +
                               cedente->at(u"DatiAnagrafici/Anagrafica/Cognome"))
                                  .trimmed();
    party.indirizzo =
        (cedente->at(u"Sede/Indirizzo") + QLatin1Char(' ') + cedente->at(u"Sede/NumeroCivico")).trimmed();
    party.cap = cedente->at(u"Sede/CAP");
    party.comune = cedente->at(u"Sede/Comune");
    party.provincia = cedente->at(u"Sede/Provincia");
    party.nazione = cedente->at(u"Sede/Nazione");
    return party;
}

SupplierInvoiceLine line(const Element& linea)
{
    SupplierInvoiceLine read;
    read.numero = linea.at(u"NumeroLinea").toInt();
    for (const Element* code : linea.all(u"CodiceArticolo"))
        read.codici.append({code->at(u"CodiceTipo"), code->at(u"CodiceValore")});
    read.descrizione = linea.at(u"Descrizione");
    if (const QString q = linea.at(u"Quantita"); !q.isEmpty())
        read.quantita = q.toDouble();
    read.unitaMisura = linea.at(u"UnitaMisura");
    read.prezzoUnitario = money(linea.at(u"PrezzoUnitario"));
    for (const Element* adjustment : linea.all(u"ScontoMaggiorazione"))
        read.sconti.append({adjustment->at(u"Tipo") == QLatin1String("MG"),
                            optionalMoney(*adjustment, u"Percentuale"),
                            optionalMoney(*adjustment, u"Importo")});
    read.prezzoTotale = money(linea.at(u"PrezzoTotale"));
    read.aliquota = money(linea.at(u"AliquotaIVA"));
    read.natura = linea.at(u"Natura");
    return read;
}

SupplierInvoice invoice(const Element& body, const SupplierParty& cedente)
{
    SupplierInvoice read;
    read.cedente = cedente;
    const Element* documento =
        body.child(u"DatiGenerali") ? body.child(u"DatiGenerali")->child(u"DatiGeneraliDocumento") : nullptr;
    if (!documento)
        throw NotAnEInvoice(QStringLiteral("mancano i dati generali del documento"));
    read.tipoDocumento = documento->at(u"TipoDocumento");
    read.divisa = documento->at(u"Divisa");
    read.data = QDate::fromString(documento->at(u"Data"), Qt::ISODate);
    read.numero = documento->at(u"Numero");
    read.totale = money(documento->at(u"ImportoTotaleDocumento"));
    if (const Element* beni = body.child(u"DatiBeniServizi"))
        for (const Element* linea : beni->all(u"DettaglioLinee"))
            read.righe.append(line(*linea));
    for (const Element* pagamento : body.all(u"DatiPagamento"))
        for (const Element* dettaglio : pagamento->all(u"DettaglioPagamento"))
            read.rate.append({QDate::fromString(dettaglio->at(u"DataScadenzaPagamento"), Qt::ISODate),
                              money(dettaglio->at(u"ImportoPagamento")),
                              dettaglio->at(u"ModalitaPagamento")});
    return read;
}

struct BioFree
{
    void operator()(BIO* bio) const { BIO_free(bio); }
};
struct CmsFree
{
    void operator()(CMS_ContentInfo* cms) const { CMS_ContentInfo_free(cms); }
};

// The signed content of a CMS structure in DER; nullopt when the bytes are not one.
std::optional<QByteArray> signedContent(const QByteArray& der)
{
    const std::unique_ptr<BIO, BioFree> in(BIO_new_mem_buf(der.constData(), int(der.size())));
    const std::unique_ptr<CMS_ContentInfo, CmsFree> cms(d2i_CMS_bio(in.get(), nullptr));
    if (!cms)
        return std::nullopt;
    const std::unique_ptr<BIO, BioFree> out(BIO_new(BIO_s_mem()));
    // The digest and signature are checked against the content; the signer's certificate was the
    // exchange system's business.
    if (CMS_verify(cms.get(), nullptr, nullptr, nullptr, out.get(), CMS_NO_SIGNER_CERT_VERIFY | CMS_BINARY) !=
        1)
        throw NotAnEInvoice(QStringLiteral("la firma del file non corrisponde al suo contenuto"));
    char* data = nullptr;
    const long size = BIO_get_mem_data(out.get(), &data);
    return QByteArray(data, int(size));
}

bool looksLikeXml(const QByteArray& file)
{
    const QByteArray start = file.left(64).trimmed();
    return start.startsWith('<') || start.startsWith("\xEF\xBB\xBF");
}

} // namespace

QString documentKey(const SupplierInvoice& invoice)
{
    const SupplierParty& seller = invoice.cedente;
    const QString who =
        seller.partitaIva.isEmpty() ? seller.codiceFiscale : seller.idPaese + seller.partitaIva;
    return QStringList{who, invoice.numero, invoice.data.toString(Qt::ISODate)}.join(u'|').toUpper().left(
        120);
}

QByteArray SupplierInvoiceReader::unwrap(const QByteArray& file)
{
    if (looksLikeXml(file))
        return file;
    if (const auto content = signedContent(file))
        return *content;
    // Some senders deliver the signed file in base64.
    const auto decoded = QByteArray::fromBase64Encoding(file.simplified().replace(' ', QByteArray()));
    if (decoded) {
        if (const auto content = signedContent(*decoded))
            return *content;
    }
    throw NotAnEInvoice(QStringLiteral("non è un file XML né un file firmato (.p7m)"));
}

QList<SupplierInvoice> SupplierInvoiceReader::read(const QByteArray& file) const
{
    const QByteArray xml = unwrap(file);
    const Element root = parse(xml);
    if (root.name != QLatin1String("FatturaElettronica"))
        throw NotAnEInvoice(QStringLiteral("il documento XML è un <%1>").arg(root.name));
    const Element* header = root.child(u"FatturaElettronicaHeader");
    const std::vector<const Element*> bodies = root.all(u"FatturaElettronicaBody");
    if (!header || bodies.empty())
        throw NotAnEInvoice(QStringLiteral("mancano l'intestazione o il corpo della fattura"));
    // Checked before its values are taken: the schema vouches for the format of every amount.
    FatturaPaValidator::shared().validateSupplierFile(xml);

    const SupplierParty cedente = seller(*header);
    QList<SupplierInvoice> invoices;
    for (const Element* body : bodies)
        invoices.append(invoice(*body, cedente));
    return invoices;
}

QList<SupplierInvoice> SupplierInvoiceReader::readFile(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw core::Error(QStringLiteral("Impossibile leggere il file %1: %2").arg(path, file.errorString()));
    return read(file.readAll());
}

} // namespace carvendo::einvoice
