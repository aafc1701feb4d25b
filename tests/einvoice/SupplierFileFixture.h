#pragma once

#include "core/Money.h"
#include "einvoice/FatturaPaWriter.h"

#include <QByteArray>
#include <QDate>
#include <QList>

#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <vector>

// Supplier e-invoice files for the import's tests, as a supplier's program would send them.
namespace carvendo::testing {

// A supplier's line at 22%: its code, description, quantity, unit price (up to four decimals), its own
// percentage discount, and an EAN code besides the supplier's.
struct SupplierLine
{
    const char* code;
    const char* description;
    int quantity;
    double price;
    int discount = 0;
    const char* ean = nullptr;
};

// A supplier's document and the lines it was made of.
struct SupplierDocument
{
    einvoice::InvoiceData data;
    std::vector<SupplierLine> lines;
};

// A supplier's document, written as any supplier's program would write it: through our own writer,
// the supplier as seller and the shop as buyer, paid by bank transfer (MP05) in two instalments.
inline SupplierDocument supplierDocument(const QString& number, const std::vector<SupplierLine>& lines)
{
    einvoice::InvoiceData document;
    document.number = number;
    document.date = QDate(2026, 3, 10);
    document.tipoDocumento = QStringLiteral("TD01");
    document.seller.denominazione = QStringLiteral("Distribuzione Telefonia S.p.A.");
    document.seller.partitaIva = document.seller.codiceFiscale = document.seller.trasmittente =
        QStringLiteral("07654321098");
    document.seller.indirizzo = QStringLiteral("Via dei Mille 12");
    document.seller.cap = QStringLiteral("20121");
    document.seller.comune = QStringLiteral("Milano");
    document.seller.provincia = QStringLiteral("MI");
    document.seller.nazione = document.buyer.nazione = QStringLiteral("IT");
    document.seller.regimeFiscale = QStringLiteral("RF01");
    document.buyer.kind = einvoice::BuyerKind::Company;
    document.buyer.denominazione = QStringLiteral("Telefonia Rossi S.r.l.");
    document.buyer.partitaIva = QStringLiteral("01234567890");
    document.buyer.indirizzo = QStringLiteral("Via Roma 1");
    document.buyer.cap = QStringLiteral("00184");
    document.buyer.comune = QStringLiteral("Roma");
    document.buyer.codiceDestinatario = QStringLiteral("M5UXCR1");
    for (const SupplierLine& line : lines) {
        einvoice::InvoiceLine row;
        row.code = QLatin1String(line.code);
        row.description = QLatin1String(line.description);
        row.quantity = line.quantity;
        row.unit = QStringLiteral("PZ");
        row.unitPrice = core::Money::fromDouble(line.price);
        const core::Money gross = row.unitPrice.multipliedBy(line.quantity);
        row.total = (gross - gross.percent(core::Money::fromInt(line.discount))).roundedToCents();
        row.rate = 22;
        document.lines.append(row);
    }
    document.paymentCode = QStringLiteral("MP05");
    document.instalments = {{core::Money::fromInt(20), QDate(2026, 4, 30)}, {{}, QDate(2026, 5, 31)}};
    return {document, lines};
}

// Our writer's file with what it does not write put into each line: the EAN code, the discount.
inline QByteArray fileOf(const SupplierDocument& document)
{
    QByteArray file = einvoice::FatturaPaWriter::write(
        document.data, einvoice::InvoiceFigures::of(document.data), QStringLiteral("00042"));
    for (std::size_t i = 0; i < document.lines.size(); ++i) {
        const SupplierLine& line = document.lines[i];
        const qsizetype at = file.indexOf("<NumeroLinea>" + QByteArray::number(qsizetype(i + 1)) + "<");
        const auto after = [&](const QByteArray& tag, const QByteArray& what) {
            file.insert(file.indexOf(tag, at) + tag.size(), what);
        };
        if (line.discount)
            after("</PrezzoUnitario>", "<ScontoMaggiorazione><Tipo>SC</Tipo><Percentuale>" +
                                           QByteArray::number(line.discount) +
                                           ".00</Percentuale></ScontoMaggiorazione>");
        if (line.ean)
            after("</CodiceArticolo>",
                  QByteArray("<CodiceArticolo><CodiceTipo>EAN</CodiceTipo><CodiceValore>") + line.ean +
                      "</CodiceValore></CodiceArticolo>");
    }
    return file;
}

// A lot: the bodies of the other documents added to the first one's file.
inline QByteArray lotOf(const QList<SupplierDocument>& documents)
{
    QByteArray lot = fileOf(documents.first());
    for (qsizetype i = 1; i < documents.size(); ++i) {
        const QByteArray file = fileOf(documents[i]);
        const qsizetype from = file.indexOf("<FatturaElettronicaBody>");
        const QByteArray end = "</FatturaElettronicaBody>";
        lot.insert(lot.lastIndexOf(end) + end.size(),
                   file.mid(from, file.lastIndexOf(end) + end.size() - from));
    }
    return lot;
}

// The file signed as a `.p7m`, with a key and certificate made here.
inline QByteArray signedFile(const QByteArray& xml)
{
    EVP_PKEY* key = EVP_RSA_gen(2048);
    X509* cert = X509_new();
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), 0);
    X509_gmtime_adj(X509_getm_notAfter(cert), 3600);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("Fornitore"),
                               -1, -1, 0);
    X509_set_issuer_name(cert, name);
    X509_sign(cert, key, EVP_sha256());
    BIO* in = BIO_new_mem_buf(xml.constData(), int(xml.size()));
    CMS_ContentInfo* cms = CMS_sign(cert, key, nullptr, in, CMS_BINARY);
    BIO* out = BIO_new(BIO_s_mem());
    i2d_CMS_bio(out, cms);
    char* data = nullptr;
    const long size = BIO_get_mem_data(out, &data);
    const QByteArray der(data, int(size));
    BIO_free(out);
    BIO_free(in);
    CMS_ContentInfo_free(cms);
    X509_free(cert);
    EVP_PKEY_free(key);
    return der;
}

} // namespace carvendo::testing
