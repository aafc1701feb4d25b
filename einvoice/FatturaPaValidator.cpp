#include "einvoice/FatturaPaValidator.h"

#include "einvoice/EInvoiceRefusal.h"

#include "core/Money.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlIO.h>
#include <libxml/xmlschemas.h>

#include <map>
#include <mutex>
#include <optional>

namespace carvendo::einvoice {

using core::Money;

namespace {

QString textOf(const xmlNode* node)
{
    if (!node)
        return {};
    xmlChar* content = xmlNodeGetContent(node);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(content)).trimmed();
    xmlFree(content);
    return text;
}

bool named(const xmlNode* node, const char* name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, BAD_CAST name) == 0;
}

const xmlNode* child(const xmlNode* parent, const char* name)
{
    for (const xmlNode* node = parent ? parent->children : nullptr; node; node = node->next) {
        if (named(node, name))
            return node;
    }
    return nullptr;
}

std::vector<const xmlNode*> children(const xmlNode* parent, const char* name)
{
    std::vector<const xmlNode*> found;
    for (const xmlNode* node = parent ? parent->children : nullptr; node; node = node->next) {
        if (named(node, name))
            found.push_back(node);
    }
    return found;
}

// The file's amounts have a decimal point and no thousands separator.
Money amountOf(const xmlNode* node)
{
    return Money::parse(textOf(node).replace(u'.', u',')).value_or(Money());
}

// "22", "5,5": a rate as the operator reads it.
QString rateLabel(Money rate)
{
    QString text = rate.toEditText();
    while (text.endsWith(u'0') && text.contains(u','))
        text.chop(1);
    if (text.endsWith(u','))
        text.chop(1);
    return text;
}

// How the rules name the two parties: the shop is "l'azienda" whichever side of the invoice it is on.
struct PartyWords
{
    QString seller;   // "l'azienda"
    QString sellerOf; // "dell'azienda"
    QString buyer;    // "il cliente"
    QString buyerOf;  // "del cliente"
};

PartyWords wordsFor(FatturaPaValidator::Issuer issuer)
{
    if (issuer == FatturaPaValidator::Issuer::Supplier)
        return {QStringLiteral("il fornitore"), QStringLiteral("del fornitore"), QStringLiteral("l'azienda"),
                QStringLiteral("dell'azienda")};
    return {QStringLiteral("l'azienda"), QStringLiteral("dell'azienda"), QStringLiteral("il cliente"),
            QStringLiteral("del cliente")};
}

// A rule broken: what is wrong, and the body it is in (null for the header).
struct Broken
{
    QString problem;
    const xmlNode* body = nullptr;
};

// The exchange system's consistency rules over the parsed file; the first one broken, in Italian.
class Rules
{
public:
    Rules(const xmlNode* root, PartyWords words) : m_root(root), m_words(std::move(words)) {}

    std::optional<Broken> firstBroken() const
    {
        const xmlNode* header = child(m_root, "FatturaElettronicaHeader");
        if (auto broken = transmission(header))
            return Broken{*broken};
        const xmlNode* seller = child(header, "CedentePrestatore");
        if (textOf(child(child(child(seller, "DatiAnagrafici"), "IdFiscaleIVA"), "IdCodice")).isEmpty())
            return Broken{QStringLiteral("%1 non ha la partita IVA").arg(m_words.seller)};
        if (auto broken = party(seller, m_words.sellerOf))
            return Broken{*broken};
        const xmlNode* buyer = child(header, "CessionarioCommittente");
        const xmlNode* buyerData = child(buyer, "DatiAnagrafici");
        if (!child(buyerData, "IdFiscaleIVA") && textOf(child(buyerData, "CodiceFiscale")).isEmpty())
            return Broken{QStringLiteral("%1 non ha né partita IVA né codice fiscale").arg(m_words.buyer)};
        if (auto broken = party(buyer, m_words.buyerOf))
            return Broken{*broken};
        for (const xmlNode* body : children(m_root, "FatturaElettronicaBody")) {
            if (auto broken = goodsAndServices(child(body, "DatiBeniServizi")))
                return Broken{*broken, body};
        }
        return std::nullopt;
    }

private:
    std::optional<QString> transmission(const xmlNode* header) const
    {
        const xmlNode* data = child(header, "DatiTrasmissione");
        if (textOf(child(child(data, "IdTrasmittente"), "IdCodice")).isEmpty())
            return QStringLiteral("manca il codice fiscale del trasmittente");
        const QString code = textOf(child(data, "CodiceDestinatario"));
        if (textOf(child(data, "FormatoTrasmissione")) == QLatin1String("FPA12")) {
            if (code.size() != 6)
                return QStringLiteral(
                           "il codice destinatario \"%1\" di una pubblica amministrazione deve avere "
                           "6 caratteri")
                    .arg(code);
        } else if (code.size() != 7) {
            return QStringLiteral("il codice destinatario \"%1\" deve avere 7 caratteri").arg(code);
        }
        return std::nullopt;
    }

    static std::optional<QString> party(const xmlNode* party, const QString& whose)
    {
        const xmlNode* seat = child(party, "Sede");
        if (textOf(child(seat, "Indirizzo")).isEmpty())
            return QStringLiteral("manca l'indirizzo %1").arg(whose);
        if (textOf(child(seat, "Comune")).isEmpty())
            return QStringLiteral("manca il comune %1").arg(whose);
        static const QRegularExpression fiveDigits(QStringLiteral("^[0-9]{5}$"));
        const QString cap = textOf(child(seat, "CAP"));
        if (textOf(child(seat, "Nazione")) == QLatin1String("IT") && !fiveDigits.match(cap).hasMatch())
            return QStringLiteral("il CAP \"%1\" %2 non ha 5 cifre").arg(cap, whose);
        return std::nullopt;
    }

    static std::optional<QString> natureRule(Money rate, const QString& nature, const QString& subject)
    {
        if (rate.isZero() && nature.isEmpty())
            return QStringLiteral("%1 ha aliquota 0% senza natura IVA").arg(subject);
        if (!rate.isZero() && !nature.isEmpty())
            return QStringLiteral("%1 ha aliquota %2% con natura IVA %3")
                .arg(subject, rateLabel(rate), nature);
        return std::nullopt;
    }

    static std::optional<QString> goodsAndServices(const xmlNode* goods)
    {
        using Key = std::pair<qint64, QString>; // rate, nature
        std::map<Key, Money> rowSums;
        for (const xmlNode* line : children(goods, "DettaglioLinee")) {
            const Money rate = amountOf(child(line, "AliquotaIVA"));
            const QString nature = textOf(child(line, "Natura"));
            if (auto broken = natureRule(
                    rate, nature, QStringLiteral("la riga %1").arg(textOf(child(line, "NumeroLinea")))))
                return broken;
            rowSums[{rate.units(), nature}] += amountOf(child(line, "PrezzoTotale"));
        }
        const Money cent = Money::fromUnits(Money::Scale / 100);
        for (const xmlNode* summary : children(goods, "DatiRiepilogo")) {
            const Money rate = amountOf(child(summary, "AliquotaIVA"));
            const QString nature = textOf(child(summary, "Natura"));
            const QString subject = QStringLiteral("il riepilogo IVA %1%").arg(rateLabel(rate));
            if (auto broken = natureRule(rate, nature, subject))
                return broken;
            const Money taxable = amountOf(child(summary, "ImponibileImporto"));
            const Money tax = amountOf(child(summary, "Imposta"));
            const Money expected = taxable.percent(rate).roundedToCents();
            if (tax - expected > cent || expected - tax > cent)
                return QStringLiteral("%1 ha imposta %2 invece di %3 (imponibile %4)")
                    .arg(subject, tax.toItalian(), expected.toItalian(), taxable.toItalian());
            const auto rows = rowSums.find({rate.units(), nature});
            const Money rowsTotal = rows == rowSums.end() ? Money() : rows->second;
            const Money rounding = amountOf(child(summary, "Arrotondamento"));
            const Money difference = rowsTotal + rounding - taxable;
            if (difference >= cent || -difference >= cent)
                return QStringLiteral("le righe con aliquota %1% sommano %2 ma il riepilogo ha imponibile %3")
                    .arg(rateLabel(rate), rowsTotal.toItalian(), taxable.toItalian());
            if (rows != rowSums.end())
                rowSums.erase(rows);
        }
        if (!rowSums.empty())
            return QStringLiteral("le righe con aliquota %1% non hanno un riepilogo IVA")
                .arg(rateLabel(Money::fromUnits(rowSums.begin()->first.first)));
        return std::nullopt;
    }

    const xmlNode* m_root;
    PartyWords m_words;
};

// A supplier's body named by its own document number and date.
QString supplierBodyLabel(const xmlNode* body)
{
    const xmlNode* document = child(child(body, "DatiGenerali"), "DatiGeneraliDocumento");
    return FatturaPaValidator::supplierDocumentLabel(
        textOf(child(document, "Numero")), QDate::fromString(textOf(child(document, "Data")), Qt::ISODate));
}

void collectFirstError(void* target, xmlErrorPtr error)
{
    auto* first = static_cast<QString*>(target);
    if (first->isEmpty() && error)
        *first = QStringLiteral("riga %1: %2")
                     .arg(error->line)
                     .arg(QString::fromUtf8(error->message ? error->message : "").trimmed());
}

struct DocFree
{
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

} // namespace

struct FatturaPaValidator::Schema
{
    xmlSchemaPtr schema = nullptr;
    ~Schema()
    {
        if (schema)
            xmlSchemaFree(schema);
    }
};

FatturaPaValidator::FatturaPaValidator() : m_schema(std::make_unique<Schema>())
{
    static std::once_flag initialised;
    std::call_once(initialised, [] {
        xmlInitParser();
        // Nothing this program reads through libxml2 may reach the network.
        xmlSetExternalEntityLoader(xmlNoNetExternalEntityLoader);
    });
    // The schema imports the signature schema by its file name: both are put side by side.
    QTemporaryDir folder;
    const auto copy = [&](const QString& name) {
        const QString target = folder.filePath(name);
        if (!QFile::copy(QStringLiteral(":/einvoice/") + name, target))
            throw core::Error(QStringLiteral("Schema della fattura elettronica mancante: %1").arg(name));
        return target;
    };
    const QString main = copy(QStringLiteral("FatturaPA_v1.2.2.xsd"));
    copy(QStringLiteral("xmldsig-core-schema.xsd"));

    QString firstError;
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(QFile::encodeName(main).constData());
    xmlSchemaSetParserStructuredErrors(parser, collectFirstError, &firstError);
    m_schema->schema = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    if (!m_schema->schema)
        throw core::Error(
            QStringLiteral("Schema della fattura elettronica non leggibile (%1)").arg(firstError));
}

FatturaPaValidator::~FatturaPaValidator() = default;

const FatturaPaValidator& FatturaPaValidator::shared()
{
    static const FatturaPaValidator validator;
    return validator;
}

QString FatturaPaValidator::supplierDocumentLabel(const QString& number, const QDate& date)
{
    return QStringLiteral("Fattura del fornitore %1 del %2")
        .arg(number, date.toString(QStringLiteral("dd/MM/yyyy")));
}

void FatturaPaValidator::validate(const QByteArray& xml, const QString& invoiceLabel) const
{
    check(xml, invoiceLabel, Issuer::Shop);
}

void FatturaPaValidator::validateSupplierFile(const QByteArray& xml) const
{
    check(xml, {}, Issuer::Supplier);
}

void FatturaPaValidator::check(const QByteArray& xml, QString invoiceLabel, Issuer issuer) const
{
    const std::unique_ptr<xmlDoc, DocFree> doc(
        xmlReadMemory(xml.constData(), int(xml.size()), "fattura.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc || !xmlDocGetRootElement(doc.get()))
        throw EInvoiceRefusal(issuer == Issuer::Supplier ? QStringLiteral("Fattura del fornitore")
                                                         : invoiceLabel,
                              QStringLiteral("il file non è un documento XML leggibile"));
    // A supplier's file is named by its first document when the fault is in none of them.
    if (issuer == Issuer::Supplier)
        invoiceLabel = supplierBodyLabel(child(xmlDocGetRootElement(doc.get()), "FatturaElettronicaBody"));
    if (const auto broken = Rules(xmlDocGetRootElement(doc.get()), wordsFor(issuer)).firstBroken())
        throw EInvoiceRefusal(issuer == Issuer::Supplier && broken->body ? supplierBodyLabel(broken->body)
                                                                         : invoiceLabel,
                              broken->problem);

    QString firstError;
    xmlSchemaValidCtxtPtr validation = xmlSchemaNewValidCtxt(m_schema->schema);
    xmlSchemaSetValidStructuredErrors(validation, collectFirstError, &firstError);
    const int outcome = xmlSchemaValidateDoc(validation, doc.get());
    xmlSchemaFreeValidCtxt(validation);
    if (outcome != 0)
        throw EInvoiceRefusal(
            invoiceLabel, QStringLiteral("il file non rispetta lo schema FatturaPA (%1)").arg(firstError));
}

} // namespace carvendo::einvoice
