#pragma once

#include "einvoice/FatturaPaExport.h"
#include "einvoice/FatturaPaValidator.h"

#include "core/CompanyDirectory.h"
#include "core/Paths.h"
#include "tests/documents/SalesDocumentFixture.h"
#include "tests/support/QtPrinters.h"

#include <QDir>
#include <QTemporaryDir>

#include <functional>

namespace carvendo::testing {

// A manual row of a test invoice.
struct Line
{
    const char* code;
    const char* description;
    int rate;
    const char* net; // unit price, VAT excluded
    double quantity = 1;
};

// A test invoice as data: its customer (kind PF/AZ/PA and columns), its rows, what is set on the
// document before it is saved and what is done to it after.
struct TestInvoice
{
    const char* kind;
    core::Params customer;
    std::vector<Line> lines;
    std::function<void(documents::SalesDocument&)> adjust = {};
    std::function<void(int invoiceId)> after = {};
};

// A shop that exports its invoices: invoices made through the sales document model, dated
// 15/03/2026 so their files do not depend on the day the tests run.
template <typename Suite> class EInvoiceFixture : public SalesDocumentFixture<Suite>
{
protected:
    using Base = SalesDocumentFixture<Suite>;
    using Base::db;
    using Base::emptyTables;
    using Base::insert;

    void SetUp() override
    {
        Base::SetUp();
        emptyTables({"banche", "ritenute_acconto", "fatturapa_file"});
        db().exec(QStringLiteral("UPDATE iva SET Natura = NULL WHERE Iva <> 0"));
        db().exec(QStringLiteral("UPDATE iva SET Natura = 'N4' WHERE Iva = 0"));
        db().exec(QStringLiteral(
            "UPDATE fatturapa_configurazione SET RegimeFiscale = 'RF01', Provincia = 'RM', Nazione = 'IT', "
            "REAUfficio = 'RM', REANumero = '1234567', REACapitale = 10000, REASocioUnico = 'SU', "
            "REALiquidazione = 'LN', CodFiscTrasmittente = NULL, ProssimoProgressivo = 1, BolloImporto = 2, "
            "BolloSoglia = 77.47, BolloACaricoCliente = 0"));
        m_folder = std::make_unique<QTemporaryDir>();
        m_paths = std::make_unique<core::Paths>(m_folder->path(), m_folder->path());
        m_company.ragionesociale = QStringLiteral("Telefonia Rossi S.r.l.");
        m_company.indirizzo = QStringLiteral("Via Roma 1");
        m_company.cap = QStringLiteral("00184");
        m_company.citta = QStringLiteral("Roma");
        m_company.piva = QStringLiteral("01234567890");
        m_company.codfisc = QStringLiteral("01234567890");
    }

    // A customer: kind PF/AZ/PA and the columns given.
    int customer(const char* kind, const core::Params& columns)
    {
        core::Params all{{QStringLiteral("TipoCliente"), QLatin1String(kind)},
                         {QStringLiteral("Listino"), QStringLiteral("LISTINO1")},
                         {QStringLiteral("Indirizzo"), QStringLiteral("Via Garibaldi 10")},
                         {QStringLiteral("Citta"), QStringLiteral("Milano")},
                         {QStringLiteral("Cap"), QStringLiteral("20121")},
                         {QStringLiteral("ProvRes"), QStringLiteral("MI")}};
        for (auto it = columns.begin(); it != columns.end(); ++it)
            all[it.key()] = it.value();
        return insert("clienti", all);
    }

    static core::Params business(const char* codiceDestinatario = "M5UXCR1")
    {
        return {{QStringLiteral("RagioneSociale"), QStringLiteral("Bianchi S.p.A.")},
                {QStringLiteral("pIva"), QStringLiteral("09876543210")},
                {QStringLiteral("CodiceDestinatario"), QLatin1String(codiceDestinatario)}};
    }
    int businessCustomer(const char* codiceDestinatario = "M5UXCR1")
    {
        return customer("AZ", business(codiceDestinatario));
    }

    // A saved invoice of the lines; `adjust` runs on the document before it is saved.
    int invoice(int customerId, const std::vector<Line>& lines,
                const std::function<void(documents::SalesDocument&)>& adjust = {})
    {
        auto document = this->newInvoice(db(), customerId);
        for (const Line& line : lines) {
            documents::ManualLine manual;
            manual.code = QLatin1String(line.code);
            manual.description = QString::fromUtf8(line.description);
            manual.unit = QStringLiteral("PZ");
            manual.aliquota = line.rate;
            manual.quantity = line.quantity;
            manual.price = euros(line.net);
            manual.priceIncludesVat = false;
            document.addManualLine(manual);
        }
        if (adjust)
            adjust(document);
        EXPECT_TRUE(document.save());
        const int id = document.header().id;
        db().exec(
            QStringLiteral("UPDATE fatture SET data = '2026-03-15', Anno = '2026' WHERE idFattura = :ID"),
            {{QStringLiteral("ID"), id}});
        return id;
    }

    int invoice(const TestInvoice& made)
    {
        const int id = invoice(customer(made.kind, made.customer), made.lines, made.adjust);
        if (made.after)
            made.after(id);
        return id;
    }

    // Paid by the seeded term "RI.BA. 30/60/90 GG F.M." in three instalments to the shop's bank.
    void threeInstalments(int invoiceId, const char* first, const char* second, const char* third)
    {
        const int bank = insert(
            "banche", {{QStringLiteral("Descrizione"), QStringLiteral("Banca Popolare")},
                       {QStringLiteral("Codice"), QStringLiteral("IT60 X054 2811 1010 0000 0123 456")}});
        db().exec(
            QStringLiteral(
                "UPDATE fatture SET tipopagamento = 'RI.BA. 30/60/90 GG F.M.', idbanca = :BANCA, NRATE = 3, "
                "PRATA1 = :P1, DRATA1 = '2026-04-30', PRATA2 = :P2, DRATA2 = '2026-05-31', PRATA3 = :P3, "
                "DRATA3 = '2026-06-30' WHERE idFattura = :ID"),
            {{QStringLiteral("BANCA"), bank},
             {QStringLiteral("P1"), euros(first).toDouble()},
             {QStringLiteral("P2"), euros(second).toDouble()},
             {QStringLiteral("P3"), euros(third).toDouble()},
             {QStringLiteral("ID"), invoiceId}});
    }

    void withholdingKind(const char* description, const char* kind, const char* reason)
    {
        insert("ritenute_acconto", {{QStringLiteral("codice"), QStringLiteral("RA")},
                                    {QStringLiteral("descrizione"), QLatin1String(description)},
                                    {QStringLiteral("causale"), QLatin1String(reason)},
                                    {QStringLiteral("TipoRitenuta"), QLatin1String(kind)},
                                    {QStringLiteral("percentuale"), 20}});
    }

    einvoice::FatturaPaExport exporter(core::Db& connection)
    {
        return einvoice::FatturaPaExport(connection, *m_paths, m_company, validator());
    }
    // The export as a command runs it: the questions about earlier files first, then the export.
    QList<einvoice::ExportedFile> exportNow(const QList<int>& invoiceIds)
    {
        auto exporting = exporter(db());
        return exporting.exportInvoices(exporting.choose(this->m_dialogs, invoiceIds));
    }

    static const einvoice::FatturaPaValidator& validator() { return einvoice::FatturaPaValidator::shared(); }

    QString folder() const { return m_paths->documentsDir(core::DocumentFolder::FattureElettroniche); }
    QStringList files() const
    {
        return QDir(folder()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    }
    QByteArray contents(const QString& fileName) const
    {
        QFile file(QDir(folder()).filePath(fileName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int nextProgressive()
    {
        return db()
            .scalar(QStringLiteral("SELECT ProssimoProgressivo FROM fatturapa_configurazione"))
            .toInt();
    }
    QString exportedAs(int invoiceId)
    {
        return db()
            .scalar(QStringLiteral("SELECT CONCAT_WS('|', FilePA, ProgressivoPA, DataExportPA IS NOT NULL) "
                                   "FROM fatture WHERE idFattura = :ID"),
                    {{QStringLiteral("ID"), invoiceId}})
            .toString();
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<core::Paths> m_paths;
    core::CompanyRecord m_company;
};

} // namespace carvendo::testing
