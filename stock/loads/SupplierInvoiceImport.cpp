#include "stock/loads/SupplierInvoiceImport.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/NamedLock.h"
#include "core/Navigator.h"
#include "core/Numbering.h"
#include "core/Session.h"
#include "einvoice/SupplierInvoiceReader.h"
#include "stock/ItemLifecycle.h"
#include "stock/loads/LoadDeadlines.h"
#include "stock/loads/LoadHeader.h"
#include "stock/loads/LoadPosting.h"
#include "stock/loads/LoadSaving.h"
#include "stock/loads/LoadTracking.h"

#include <algorithm>

namespace carvendo::stock {

using einvoice::SupplierInvoice;
using einvoice::SupplierInvoiceLine;

struct SupplierInvoiceImport::PlannedRow
{
    const SupplierInvoiceLine* line = nullptr;
    LineResolution item;
};

namespace {

const QString Code = QStringLiteral("CODICE");

// Two imports check "already received" and then write: they take turns under this lock, so one file
// brought in at two workstations at once makes one load.
const QString ImportLock = QStringLiteral("importa-fattura-fornitore");

bool looksLikeBarcode(const einvoice::SupplierItemCode& code)
{
    return code.tipo.contains(QLatin1String("EAN"), Qt::CaseInsensitive) ||
           ((code.valore.size() == 8 || code.valore.size() == 13) &&
            std::all_of(code.valore.begin(), code.valore.end(), [](QChar c) { return c.isDigit(); }));
}

// The supplier's own code of a line: the first code that is not a barcode.
QString supplierCodeOf(const SupplierInvoiceLine& line)
{
    for (const auto& code : line.codici)
        if (!looksLikeBarcode(code))
            return code.valore;
    return {};
}

QString barcodeOf(const SupplierInvoiceLine& line)
{
    for (const auto& code : line.codici)
        if (looksLikeBarcode(code))
            return code.valore;
    return {};
}

// What a line costs as a load row: the unit price with its single percentage discount, as the row
// dialog takes them; with several discounts, surcharges or amounts, the line's net unit price.
LoadRowValues rowValues(const SupplierInvoiceLine& line, int idArticolo)
{
    LoadRowValues values;
    values.idArticolo = idArticolo;
    values.quantita = line.quantita.value_or(1);
    if (line.sconti.isEmpty()) {
        values.prezzo = line.prezzoUnitario;
    } else if (line.sconti.size() == 1 && !line.sconti.first().maggiorazione &&
               line.sconti.first().percentuale) {
        values.prezzo = line.prezzoUnitario;
        values.sconto1 = *line.sconti.first().percentuale;
    } else {
        values.prezzo = line.prezzoTotale.dividedBy(core::Money::fromDouble(values.quantita));
    }
    return values;
}

// The load keeps four instalments: a fifth and later ones are added to the fourth, due with the last.
QList<accounts::Instalment> instalmentsOf(const SupplierInvoice& invoice)
{
    QList<accounts::Instalment> rate;
    for (const auto& given : invoice.rate) {
        const QDate due = given.scadenza.isValid() ? given.scadenza : invoice.data;
        if (rate.size() < 4) {
            rate.append({given.importo, due});
        } else {
            rate.last().importo += given.importo;
            rate.last().scadenza = due;
        }
    }
    return rate;
}

QString invoiceLabel(const SupplierInvoice& invoice)
{
    return QStringLiteral("%1 del %2")
        .arg(invoice.numero, invoice.data.toString(QStringLiteral("dd/MM/yyyy")));
}

} // namespace

std::optional<int> SupplierInvoiceImport::findSupplier(const einvoice::SupplierParty& party)
{
    // The VAT number with or without its country, then the fiscal code.
    const QString vat = party.partitaIva.trimmed();
    const QString fiscal = party.codiceFiscale.trimmed();
    const core::Rows found = m_db.query(
        QStringLiteral("SELECT id_fornitore FROM fornitori WHERE (:PIVA <> '' AND (PIva = :PIVA OR PIva = "
                       "CONCAT(:PAESE, :PIVA))) OR (:CODFISC <> '' AND CodFisc = :CODFISC) "
                       "ORDER BY (PIva = :PIVA OR PIva = CONCAT(:PAESE, :PIVA)) DESC, id_fornitore LIMIT 1"),
        {{QStringLiteral("PIVA"), vat},
         {QStringLiteral("PAESE"), party.idPaese.trimmed()},
         {QStringLiteral("CODFISC"), fiscal}});
    if (found.isEmpty())
        return std::nullopt;
    return found.first()["id_fornitore"].toInt();
}

std::optional<int> SupplierInvoiceImport::matchItem(const SupplierInvoiceLine& line, int idFornitore,
                                                    const QString& fornitore)
{
    // The supplier's code (the supplier's catalogue of the item, found through the index on the
    // supplier's name, then the item's supplier code), then the barcode, then the item's own code;
    // each code of the line is tried at each step.
    struct Step
    {
        QString sql;
        bool bySupplier;
    };
    static const Step steps[] = {
        {QStringLiteral(
             "SELECT f.idArticolo AS ID FROM articoli_fornitori f JOIN articoli a ON a.ID = f.idArticolo "
             "WHERE f.Fornitore = :FORNITORE AND f.idFornitore = :IDFORNITORE AND f.CodiceF = :CODICE "
             "UNION ALL SELECT ID FROM articoli WHERE codartforn = :CODICE LIMIT 1"),
         true},
        {QStringLiteral("SELECT ID FROM articoli WHERE BarcodeFull = :CODICE OR Barcode = :CODICE LIMIT 1"),
         false},
        {QStringLiteral("SELECT ID FROM articoli WHERE CodArticolo = :CODICE LIMIT 1"), false}};
    for (const Step& step : steps)
        for (const auto& code : line.codici) {
            if (code.valore.isEmpty())
                continue;
            core::Params params{{Code, code.valore}};
            if (step.bySupplier) {
                params.insert(QStringLiteral("IDFORNITORE"), idFornitore);
                params.insert(QStringLiteral("FORNITORE"), fornitore);
            }
            const core::Rows found = m_db.query(step.sql, params);
            if (!found.isEmpty())
                return found.first()["ID"].toInt();
        }
    return std::nullopt;
}

bool SupplierInvoiceImport::alreadyImported(int idFornitore, const SupplierInvoice& invoice)
{
    return !m_db.query(QStringLiteral("SELECT idCarico FROM carichi WHERE idFornitore = :IDFORNITORE AND "
                                      "NumDoc = :NUMDOC AND Datadoc = :DATADOC LIMIT 1"),
                       {{QStringLiteral("IDFORNITORE"), idFornitore},
                        {QStringLiteral("NUMDOC"), invoice.numero.left(50)},
                        {QStringLiteral("DATADOC"), invoice.data}})
                .isEmpty();
}

int SupplierInvoiceImport::createSupplier(const einvoice::SupplierParty& party)
{
    // Inside the import's transaction: the code stays taken until it ends.
    core::NumberReservation code(m_db, core::Series::CodiceFornitore);
    m_db.exec(
        QStringLiteral("INSERT INTO fornitori (Codice, RagSoc, PIva, CodFisc, IndirizzoLeg, CapLeg, "
                       "CittaLeg, ProvLeg, Stato) VALUES (:CODICE, :RAGSOC, :PIVA, :CODFISC, :INDIRIZZO, "
                       ":CAP, :CITTA, :PROV, :STATO)"),
        {{Code, QString::number(code.number())},
         {QStringLiteral("RAGSOC"), party.denominazione.left(50)},
         {QStringLiteral("PIVA"), party.partitaIva.left(50)},
         {QStringLiteral("CODFISC"), party.codiceFiscale.left(50)},
         {QStringLiteral("INDIRIZZO"), party.indirizzo.left(50)},
         {QStringLiteral("CAP"), party.cap.left(50)},
         {QStringLiteral("CITTA"), party.comune.left(50)},
         {QStringLiteral("PROV"), party.provincia.left(50)},
         {QStringLiteral("STATO"), party.nazione.left(50)}});
    return int(m_db.lastInsertId());
}

int SupplierInvoiceImport::createItem(const SupplierInvoiceLine& line, const QString& supplierName)
{
    // A new card's defaults, then what the line tells: description, codes, unit and cost.
    const int id = ItemLifecycle(m_db).createNew(m_session.warehouse());
    const QString barcode = barcodeOf(line);
    const QString supplierCode = supplierCodeOf(line);
    const LoadRowValues values = rowValues(line, id);
    m_db.exec(
        QStringLiteral(
            "UPDATE articoli SET Descrizione = :DESCRIZIONE, codartforn = :CODFORN, "
            "CodArticolo = IF(:CODFORN = '', CodArticolo, :CODFORN), "
            "BarcodeFull = IF(:BARCODE = '', BarcodeFull, :BARCODE), UM = :UM, UMVENDITA = :UM, "
            "Fornitore = :FORNITORE, PrezzoAcqnoiva = :COSTO, Aliquota = :ALIQUOTA WHERE ID = :ID"),
        {{QStringLiteral("DESCRIZIONE"), line.descrizione.left(120)},
         {QStringLiteral("CODFORN"), supplierCode.left(50)},
         {QStringLiteral("BARCODE"), barcode.left(50)},
         {QStringLiteral("UM"),
          (line.unitaMisura.isEmpty() ? QStringLiteral("PZ") : line.unitaMisura).left(4)},
         {QStringLiteral("FORNITORE"), supplierName.left(50)},
         {QStringLiteral("COSTO"), QVariant::fromValue(LoadPosting::netCost(values.prezzo, values.sconto1))},
         {QStringLiteral("ALIQUOTA"), int(line.aliquota.toDouble())},
         {QStringLiteral("ID"), id}});
    return id;
}

int SupplierInvoiceImport::writeLoad(const SupplierInvoice& invoice, int idFornitore,
                                     const QList<PlannedRow>& rows)
{
    LoadStore store(m_db);
    const int id = store.create(m_session, documentKind());
    LoadHeaderFields fields;
    fields.idFornitore = idFornitore;
    fields.numDoc = invoice.numero.left(50);
    fields.tipoDoc = documentKind();
    fields.dataDoc = invoice.data;
    fields.tipoPagamento =
        m_db.scalar(QStringLiteral("SELECT Pagamento FROM fornitori WHERE id_fornitore = :ID"),
                    {{QStringLiteral("ID"), idFornitore}})
            .toString();
    fields.note = QStringLiteral("Fattura elettronica %1").arg(invoiceLabel(invoice));
    store.write(id, fields, m_session);

    const LoadTracking tracking(m_session, QStringLiteral("TCarichi"));
    LoadPosting posting(m_db, m_session, tracking);
    const QString supplierName = store.read(id).fornitore;
    for (const PlannedRow& row : rows) {
        int idArticolo = row.item.idArticolo;
        if (row.item.kind == LineResolution::Kind::Skip)
            continue;
        if (row.item.kind == LineResolution::Kind::Create)
            idArticolo = createItem(*row.line, supplierName);
        posting.addRow(id, rowValues(*row.line, idArticolo));
    }
    // As "Salva" of a load typed by hand: header, cash-book entry.
    LoadSaving(m_db, m_session, tracking).save(id, fields, false);
    const QList<accounts::Instalment> rate = instalmentsOf(invoice);
    if (!rate.isEmpty())
        LoadDeadlines(m_db).writeGiven(store.read(id), rate);
    return id;
}

QList<int> SupplierInvoiceImport::importInvoices(const QList<SupplierInvoice>& invoices,
                                                 UnmatchedLineResolver& resolver)
{
    if (invoices.isEmpty())
        return {};
    // A credit note takes goods back: it is not a receipt.
    for (const SupplierInvoice& invoice : invoices)
        if (invoice.tipoDocumento == QLatin1String("TD04") || invoice.tipoDocumento == QLatin1String("TD08"))
            throw core::Error(creditNoteMessage(invoiceLabel(invoice)), core::Error::Kind::Refusal);
    const einvoice::SupplierParty& seller = invoices.first().cedente;
    std::optional<int> supplier = findSupplier(seller);
    if (!supplier && !m_dialogs.confirm(newSupplierQuestion(seller.denominazione)))
        return {};
    // Refused before the operator settles any line; checked again under the lock.
    for (const SupplierInvoice& invoice : invoices)
        if (supplier && alreadyImported(*supplier, invoice))
            throw core::Error(alreadyImportedMessage(), core::Error::Kind::Refusal);

    const QString fornitore =
        m_db.scalar(QStringLiteral("SELECT IFNULL(RagSoc, '') FROM fornitori WHERE id_fornitore = :ID"),
                    {{QStringLiteral("ID"), supplier.value_or(0)}})
            .toString();
    QList<QList<PlannedRow>> planned;
    QList<SupplierInvoiceLine> unmatched;
    for (const SupplierInvoice& invoice : invoices) {
        QList<PlannedRow> rows;
        for (const SupplierInvoiceLine& line : invoice.righe) {
            const std::optional<int> item = matchItem(line, supplier.value_or(0), fornitore);
            rows.append({&line, item ? LineResolution::pick(*item) : LineResolution::skip()});
            if (!item)
                unmatched.append(line);
        }
        planned.append(rows);
    }
    if (!unmatched.isEmpty()) {
        const std::optional<QList<LineResolution>> decided = resolver.resolve(unmatched);
        if (!decided)
            return {};
        if (decided->size() != unmatched.size())
            throw std::logic_error("one decision per unmatched line");
        qsizetype next = 0;
        for (QList<PlannedRow>& rows : planned)
            for (PlannedRow& row : rows)
                if (row.item.kind == LineResolution::Kind::Skip)
                    row.item = decided->at(next++);
    }

    core::NamedLock lock(m_db, ImportLock);
    core::Transaction transaction(m_db);
    // Another workstation may have made the supplier or loaded the invoice meanwhile.
    supplier = findSupplier(seller);
    if (!supplier)
        supplier = createSupplier(seller);
    QList<int> loads;
    for (qsizetype i = 0; i < invoices.size(); ++i) {
        if (alreadyImported(*supplier, invoices[i]))
            throw core::Error(alreadyImportedMessage(), core::Error::Kind::Refusal);
        loads.append(writeLoad(invoices[i], *supplier, planned[i]));
    }
    transaction.commit();
    return loads;
}

QList<int> SupplierInvoiceImport::importFile(const QString& path, UnmatchedLineResolver& resolver)
{
    return importInvoices(einvoice::SupplierInvoiceReader().readFile(path), resolver);
}

QList<int> SupplierInvoiceImport::chooseAndImport(UnmatchedLineResolver& resolver)
{
    const std::optional<QString> path = m_dialogs.chooseFile(
        QStringLiteral("Importa fattura elettronica"),
        QStringLiteral("Fatture elettroniche (*.xml *.p7m *.XML *.P7M)"), core::FileMode::Open);
    if (!path)
        return {};
    return importFile(*path, resolver);
}

UnmatchedLinesChoice::UnmatchedLinesChoice(core::Db& db, core::Navigator& navigator,
                                           QList<SupplierInvoiceLine> lines)
    : m_db(db), m_navigator(navigator), m_lines(std::move(lines))
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        m_decisions.append(LineResolution::skip());
        m_texts.append(QStringLiteral("Non caricata"));
    }
}

bool UnmatchedLinesChoice::pickItem(int index)
{
    const core::NavigationResult chosen =
        m_navigator.open(QStringLiteral("TArticoliPreleva"), {}, QStringLiteral("CARICO"));
    if (!chosen.accepted || chosen.value.toInt() <= 0)
        return false;
    const int id = chosen.value.toInt();
    const QString item = m_db.scalar(QStringLiteral("SELECT CONCAT(IFNULL(CodArticolo, ''), ' - ', "
                                                    "IFNULL(Descrizione, '')) FROM articoli WHERE ID = :ID"),
                                     {{QStringLiteral("ID"), id}})
                             .toString();
    decide(index, LineResolution::pick(id), item);
    return true;
}

void UnmatchedLinesChoice::createItem(int index)
{
    decide(index, LineResolution::create(), QStringLiteral("Nuovo articolo"));
}

void UnmatchedLinesChoice::skip(int index)
{
    decide(index, LineResolution::skip(), QStringLiteral("Non caricata"));
}

void UnmatchedLinesChoice::decide(int index, LineResolution decision, QString text)
{
    if (index < 0 || index >= m_lines.size())
        return;
    m_decisions[index] = decision;
    m_texts[index] = std::move(text);
}

} // namespace carvendo::stock
