// The electronic invoice at shop scale: 1,000 issued invoices of 50 rows each exported to their
// FatturaPA files in one command, as "Fattura elettronica" of the invoice list does it: every invoice
// read, its file made and checked against the exchange system's rules and the official schema, then
// each numbered, recorded and written. Reports invoices per second and where the time goes: reading
// the invoice, making the XML, validating it and writing the file, each timed on its own over the
// same invoices.
//
// Goal: at least 200 invoices per second.
// Runs against its own private (durable) server in a temporary folder.
#include "bench/BenchMeasures.h"
#include "bench/BenchServer.h"
#include "core/CompanyDirectory.h"
#include "core/Db.h"
#include "core/Paths.h"
#include "einvoice/FatturaPaExport.h"
#include "einvoice/FatturaPaValidator.h"
#include "einvoice/FatturaPaWriter.h"
#include "einvoice/InvoiceFigures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>

#include <iostream>
#include <memory>
#include <stdexcept>

using namespace carvendo;
using namespace carvendo::bench;

namespace {

std::unique_ptr<core::Db> g_db;
constexpr int kInvoices = 1000;
constexpr int kRowsPerInvoice = 50;

core::CompanyRecord shop()
{
    core::CompanyRecord company;
    company.ragionesociale = QStringLiteral("Telefonia Bianchi Snc");
    company.indirizzo = QStringLiteral("Via Roma 12");
    company.cap = QStringLiteral("20121");
    company.citta = QStringLiteral("Milano");
    company.piva = QStringLiteral("01234567890");
    company.codfisc = QStringLiteral("01234567890");
    return company;
}

// Business customers with a recipient code, and their invoices: 50 rows at four rates each, three
// instalments by bank transfer to the shop's bank.
void generateInvoices(core::Db& db)
{
    db.execDirect(QStringLiteral(
        "UPDATE fatturapa_configurazione SET RegimeFiscale = 'RF01', Provincia = 'MI', Nazione = 'IT', "
        "REAUfficio = 'MI', REANumero = '1234567', REACapitale = 10000, REASocioUnico = 'SU', "
        "REALiquidazione = 'LN', ProssimoProgressivo = 1"));
    db.execDirect(QStringLiteral("UPDATE iva SET Natura = 'N4' WHERE Iva = 0"));
    db.execDirect(QStringLiteral(
        "INSERT INTO banche (Descrizione, Codice) VALUES ('Banca Popolare', 'IT60X0542811101000000123456')"));
    db.execDirect(QStringLiteral(
        "INSERT INTO clienti (CodiceCliente, TipoCliente, RagioneSociale, Indirizzo, Cap, Citta, ProvRes, "
        "pIva, CodiceDestinatario, Listino) SELECT seq, 'AZ', CONCAT('Cliente ', seq, ' Srl'), "
        "CONCAT('Via Garibaldi ', seq), '20121', 'Milano', 'MI', LPAD(seq, 11, '0'), 'M5UXCR1', 'LISTINO1' "
        "FROM seq_1_to_200"));
    db.execDirect(QStringLiteral(
        "INSERT INTO fatture (idFattura, NumDoc, Anno, Mese, data, TipoFattura, TipoDoc, DocProven, Causale, "
        "idCliente, RagioneSociale, Indirizzo, Cap, Citta, Provincia, PIVA, idMagazzino, Magazzino, "
        "imponibile, ivatotale, totaledocumento, Totalearticoli, Suffisso, Scadenzario, ScadGenerata, Colli, "
        "tipopagamento, idbanca, NRATE, PRATA1, DRATA1, PRATA2, DRATA2, PRATA3, DRATA3) "
        "SELECT seq, seq, '2026', 'Marzo', '2026-03-15', 'I', 'Fattura', 'I', 'Vendita', 1 + seq % 200, "
        "CONCAT('Cliente ', 1 + seq % 200, ' Srl'), CONCAT('Via Garibaldi ', 1 + seq % 200), '20121', "
        "'Milano', 'MI', LPAD(1 + seq % 200, 11, '0'), 1, 'SEDE', 1000, 152.50, 1152.50, 50, '', 0, 0, 1, "
        "'RI.BA. 30/60/90 GG F.M.', (SELECT MIN(idBanca) FROM banche), 3, 384.17, '2026-04-30', 384.17, "
        "'2026-05-31', 384.16, "
        "'2026-06-30' FROM seq_1_to_1000"));
    // Rows at 22%, 10%, 5% and 4%: 20 x 10,00 + 10 x 20,00 + 10 x 30,00 + 10 x 30,00 of taxable.
    db.execDirect(QStringLiteral(
        "INSERT INTO dettfattura (idFattura, NumDoc, idarticolo, Codice, Descrizione, UnitaMisura, quantita, "
        "QFISICA, Aliquota, Sconto, PrezzoVendita, SubTotale, SubTotaleIvato, IvaSubtotale, SN, TC) "
        "SELECT f.seq, f.seq, r.seq, CONCAT('ART', LPAD(r.seq, 5, '0')), CONCAT('Articolo venduto ', r.seq), "
        "'PZ', 1, 1, ELT(1 + r.seq DIV 10, 22, 22, 10, 5, 4), 0, "
        "ELT(1 + r.seq DIV 10, 10, 10, 20, 30, 30), ELT(1 + r.seq DIV 10, 10, 10, 20, 30, 30), 0, 0, 0, 0 "
        "FROM seq_1_to_1000 f JOIN seq_0_to_49 r"));
    db.execDirect(QStringLiteral("ANALYZE TABLE clienti, fatture, dettfattura"));
}

QList<int> invoiceIds()
{
    QList<int> ids;
    for (int id = 1; id <= kInvoices; ++id)
        ids << id;
    return ids;
}

const einvoice::FatturaPaValidator& validator()
{
    return einvoice::FatturaPaValidator::shared();
}

// The whole command, as the operator waits for it.
void BM_ExportThousand(benchmark::State& state)
{
    const QTemporaryDir folder;
    const core::Paths paths(folder.path(), folder.path());
    const core::CompanyRecord company = shop();
    SilentDialogs dialogs;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        g_db->execDirect(QStringLiteral("UPDATE fatture SET FilePA = NULL, ProgressivoPA = NULL"));
        g_db->execDirect(QStringLiteral("DELETE FROM fatturapa_file"));
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        einvoice::FatturaPaExport exporter(*g_db, paths, company, validator());
        const auto files = exporter.exportInvoices(exporter.choose(dialogs, invoiceIds()));
        seconds += double(timer.nsecsElapsed()) / 1e9;
        if (files.size() != kInvoices)
            throw std::runtime_error("not every invoice was exported");
    }
    const double perSecond = double(kInvoices) * double(state.iterations()) / seconds;
    state.counters["invoices_per_s"] = perSecond;
    record("einvoice: export 1,000 invoices of 50 rows", seconds * 1000 / double(state.iterations()), 0,
           QString(), QStringLiteral(">= 200 invoices/s (%1/s)").arg(perSecond, 0, 'f', 0));
}
BENCHMARK(BM_ExportThousand)->Unit(benchmark::kMillisecond)->Iterations(3);

// Each step on its own over the same invoices: the share of each in their sum.
void BM_Steps(benchmark::State& state)
{
    const QTemporaryDir folder;
    const core::CompanyRecord company = shop();
    const einvoice::InvoiceReader reader(*g_db, company);
    double reading = 0, making = 0, validating = 0, writing = 0;
    for (auto _ : state) {
        for (const int id : invoiceIds()) {
            QElapsedTimer timer;
            timer.start();
            const einvoice::InvoiceData invoice = reader.read(id);
            reading += double(timer.nsecsElapsed());
            timer.restart();
            const QByteArray xml = einvoice::FatturaPaWriter::write(
                invoice, einvoice::InvoiceFigures::of(invoice), QStringLiteral("00001"));
            making += double(timer.nsecsElapsed());
            timer.restart();
            validator().validate(xml, invoice.label);
            validating += double(timer.nsecsElapsed());
            timer.restart();
            QSaveFile out(QDir(folder.path()).filePath(QStringLiteral("%1.xml").arg(id)));
            if (!out.open(QIODevice::WriteOnly) || out.write(xml) != xml.size() || !out.commit())
                throw std::runtime_error("file not written");
            writing += double(timer.nsecsElapsed());
        }
    }
    const double sum = reading + making + validating + writing;
    const auto share = [sum](double part) { return 100.0 * part / sum; };
    state.counters["read_pct"] = share(reading);
    state.counters["xml_pct"] = share(making);
    state.counters["validate_pct"] = share(validating);
    state.counters["file_pct"] = share(writing);
    const double perInvoiceMs = sum / 1e6 / double(kInvoices) / double(state.iterations());
    std::cout << "einvoice steps per invoice: " << perInvoiceMs << " ms; reading " << share(reading)
              << "%, XML " << share(making) << "%, validation " << share(validating) << "%, file "
              << share(writing) << "%\n";
}
BENCHMARK(BM_Steps)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BenchServer server; // durable, as a shop's server
    const int status = server.runOnCompany(QStringLiteral("bench_einvoice"), generateInvoices, g_db);
    benchmark::Shutdown();
    return status;
}
