#include "stock/loads/SupplierInvoiceImport.h"

#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/NamedLock.h"
#include "core/Navigator.h"
#include "core/Numbering.h"
#include "core/Session.h"
#include "einvoice/FatturaPaValidator.h"
#include "einvoice/SupplierInvoiceReader.h"
#include "stock/ItemCodeGuard.h"
#include "stock/ItemCodes.h"
#include "stock/ItemLifecycle.h"
#include "stock/loads/LoadDeadlines.h"
#include "stock/loads/LoadHeader.h"
#include "stock/loads/LoadPosting.h"
#include "stock/loads/LoadSaving.h"
#include "stock/loads/LoadTracking.h"
#include "stock/loads/SupplierLineMatcher.h"

#include <QHash>

#include <algorithm>

namespace carvendo::stock {

using einvoice::SupplierInvoice;
using einvoice::SupplierInvoiceLine;

// What reading the file found: its invoices, the supplier when known, each line's item as matched
// and then as the operator settled it, and the lines no item matched.
struct SupplierInvoiceImport::Plan
{
    QList<SupplierInvoice> invoices;
    std::optional<int> idFornitore;
    QList<QList<LineResolution>> items; // per invoice, per line
    QList<SupplierInvoiceLine> unmatched;
};

namespace {

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
    return einvoice::FatturaPaValidator::supplierDocumentLabel(invoice.numero, invoice.data);
}

// What a load needs of its supplier: the name items made from the file carry, and the load's term.
struct SupplierTerms
{
    QString name;
    QString pagamento;
};

// The import's reads and writes on one connection.
class ImportWork
{
public:
    ImportWork(core::Db& db, const core::Session& session) : m_db(db), m_session(session) {}

    std::optional<int> findSupplier(const einvoice::SupplierParty& party)
    {
        // The VAT number with or without its country, then the fiscal code.
        const core::Rows found = m_db.query(
            QStringLiteral(
                "SELECT id_fornitore FROM fornitori WHERE (:PIVA <> '' AND (PIva = :PIVA OR PIva = "
                "CONCAT(:PAESE, :PIVA))) OR (:CODFISC <> '' AND CodFisc = :CODFISC) "
                "ORDER BY (PIva = :PIVA OR PIva = CONCAT(:PAESE, :PIVA)) DESC, id_fornitore LIMIT 1"),
            {{QStringLiteral("PIVA"), party.partitaIva.trimmed()},
             {QStringLiteral("PAESE"), party.idPaese.trimmed()},
             {QStringLiteral("CODFISC"), party.codiceFiscale.trimmed()}});
        if (found.isEmpty())
            return std::nullopt;
        return found.first()["id_fornitore"].toInt();
    }

    // By the document's key; a load imported before loads kept it has none, and is found by its
    // supplier, number and date.
    bool alreadyImported(std::optional<int> idFornitore, const SupplierInvoice& invoice)
    {
        return !m_db.query(
                        QStringLiteral("SELECT idCarico FROM carichi WHERE FatturaElettronica = :CHIAVE OR "
                                       "(FatturaElettronica IS NULL AND idFornitore = :IDFORNITORE AND "
                                       "NumDoc = :NUMDOC AND Datadoc = :DATADOC) LIMIT 1"),
                        {{QStringLiteral("CHIAVE"), einvoice::documentKey(invoice)},
                         {QStringLiteral("IDFORNITORE"), idFornitore.value_or(-1)},
                         {QStringLiteral("NUMDOC"), invoice.numero.left(50)},
                         {QStringLiteral("DATADOC"), invoice.data}})
                    .isEmpty();
    }

    int createSupplier(const einvoice::SupplierParty& party)
    {
        // Inside the import's transaction: the code stays taken until it ends.
        core::NumberReservation code(m_db, core::Series::CodiceFornitore);
        m_db.exec(
            QStringLiteral("INSERT INTO fornitori (Codice, RagSoc, PIva, CodFisc, IndirizzoLeg, CapLeg, "
                           "CittaLeg, ProvLeg, Stato) VALUES (:CODICE, :RAGSOC, :PIVA, :CODFISC, :INDIRIZZO, "
                           ":CAP, :CITTA, :PROV, :STATO)"),
            {{QStringLiteral("CODICE"), QString::number(code.number())},
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

    int writeLoad(const SupplierInvoice& invoice, int idFornitore, const QList<LineResolution>& items,
                  const std::function<void()>& rowDone)
    {
        const SupplierTerms supplier = termsOf(idFornitore, invoice);
        LoadStore store(m_db);
        const int id = store.create(m_session, SupplierInvoiceImport::documentKind());
        LoadHeaderFields fields;
        fields.idFornitore = idFornitore;
        fields.numDoc = invoice.numero.left(50);
        fields.tipoDoc = SupplierInvoiceImport::documentKind();
        fields.dataDoc = invoice.data;
        fields.tipoPagamento = supplier.pagamento;
        fields.note = invoiceLabel(invoice);
        // Written before the rows: they take the supplier from the header.
        store.write(id, fields, m_session, einvoice::documentKey(invoice));

        const LoadTracking tracking(m_session, QStringLiteral("TCarichi"));
        LoadPosting posting(m_db, m_session, tracking);
        for (qsizetype i = 0; i < invoice.righe.size(); ++i) {
            const LineResolution& item = items[i];
            if (item.kind != LineResolution::Kind::Skip) {
                const int idArticolo = item.kind == LineResolution::Kind::Create
                                           ? createItem(invoice.righe[i], supplier.name)
                                           : item.idArticolo;
                posting.addRow(id, rowValues(invoice.righe[i], idArticolo));
            }
            rowDone();
        }
        // As "Salva" of a load typed by hand, its header already written: cash-book entry.
        const LoadHeader load = store.read(id);
        LoadSaving(m_db, m_session, tracking).completeSave(load, load.tipoDoc, false);
        const QList<accounts::Instalment> rate = instalmentsOf(invoice);
        if (!rate.isEmpty())
            LoadDeadlines(m_db).writeGiven(load, rate);
        return id;
    }

private:
    // A new card's defaults, then what the line tells: description, codes, unit and cost. Lines with the
    // same supplier's code or barcode make one item. Under the item card's lock (the caller's): a code or
    // barcode another workstation gave meanwhile is refused, and the operator tries again to find that
    // item.
    int createItem(const SupplierInvoiceLine& line, const QString& supplierName)
    {
        const QString supplierCode = supplierCodeOf(line).left(50);
        const QString barcode = barcodeOf(line).left(50);
        if (const std::optional<int> made = createdFor(supplierCode, barcode))
            return *made;
        const ItemCodeGuard guard(m_db);
        for (const auto& [column, value] : {std::pair{ItemCodeGuard::Column::CodArticolo, supplierCode},
                                            std::pair{ItemCodeGuard::Column::BarcodeFull, barcode}})
            if (!value.isEmpty() && guard.taken(column, value))
                throw core::Error(ItemCodeGuard::takenMessage(column, value), core::Error::Kind::Refusal);
        QString code = supplierCode;
        if (code.isEmpty()) {
            const std::optional<QString> drawn = ItemCodes(m_db).newCode();
            if (!drawn)
                throw core::Error(ItemCodes::codesExhaustedMessage(), core::Error::Kind::Refusal);
            code = *drawn;
        }
        const int id = ItemLifecycle(m_db).createNew(m_session.warehouse());
        const LoadRowValues values = rowValues(line, id);
        m_db.exec(
            QStringLiteral("UPDATE articoli SET Descrizione = :DESCRIZIONE, codartforn = :CODFORN, "
                           "CodArticolo = :CODICE, BarcodeFull = IF(:BARCODE = '', BarcodeFull, :BARCODE), "
                           "UM = :UM, UMVENDITA = :UM, Fornitore = :FORNITORE, PrezzoAcqnoiva = :COSTO, "
                           "Aliquota = :ALIQUOTA WHERE ID = :ID"),
            {{QStringLiteral("DESCRIZIONE"), line.descrizione.left(120)},
             {QStringLiteral("CODFORN"), supplierCode},
             {QStringLiteral("CODICE"), code},
             {QStringLiteral("BARCODE"), barcode},
             {QStringLiteral("UM"),
              (line.unitaMisura.isEmpty() ? QStringLiteral("PZ") : line.unitaMisura).left(4)},
             {QStringLiteral("FORNITORE"), supplierName.left(50)},
             {QStringLiteral("COSTO"),
              QVariant::fromValue(LoadPosting::netCost(values.prezzo, values.sconto1))},
             {QStringLiteral("ALIQUOTA"), int(line.aliquota.roundedTo(0).units() / core::Money::Scale)},
             {QStringLiteral("ID"), id}});
        if (!supplierCode.isEmpty())
            m_createdByCode.insert(ItemCodeGuard::comparable(supplierCode), id);
        if (!barcode.isEmpty())
            m_createdByBarcode.insert(ItemCodeGuard::comparable(barcode), id);
        return id;
    }

    // The supplier's name and the load's payment term: the supplier's own; else the shop's first term
    // whose payment mode carries the file's mode code (MP05: a bank transfer term); else none. Asked
    // once for all the invoices of a lot paid the same way.
    SupplierTerms termsOf(int idFornitore, const SupplierInvoice& invoice)
    {
        const QString mode = invoice.rate.isEmpty() ? QString() : invoice.rate.first().modalita;
        const QString key = QString::number(idFornitore) + u'|' + mode;
        if (m_terms.contains(key))
            return m_terms.value(key);
        const core::Rows found = m_db.query(
            QStringLiteral(
                "SELECT RagSoc, COALESCE(NULLIF(Pagamento, ''), (SELECT p.Descrizione FROM pagamenti p JOIN "
                "modalita_pagamenti m ON m.descrizione = p.modalita WHERE m.CodiceMP = :MP ORDER BY m.id, "
                "p.id LIMIT 1), '') AS Termine FROM fornitori WHERE id_fornitore = :IDFORNITORE"),
            {{QStringLiteral("IDFORNITORE"), idFornitore}, {QStringLiteral("MP"), mode}});
        SupplierTerms terms;
        if (!found.isEmpty())
            terms = {found.first()["RagSoc"].toString(), found.first()["Termine"].toString()};
        m_terms.insert(key, terms);
        return terms;
    }

    // The item this import made for a code, by the supplier's code or else the barcode, compared as
    // the server compares them.
    std::optional<int> createdFor(const QString& supplierCode, const QString& barcode) const
    {
        if (!supplierCode.isEmpty() && m_createdByCode.contains(ItemCodeGuard::comparable(supplierCode)))
            return m_createdByCode.value(ItemCodeGuard::comparable(supplierCode));
        if (!barcode.isEmpty() && m_createdByBarcode.contains(ItemCodeGuard::comparable(barcode)))
            return m_createdByBarcode.value(ItemCodeGuard::comparable(barcode));
        return std::nullopt;
    }

    core::Db& m_db;
    const core::Session& m_session;
    QHash<QString, SupplierTerms> m_terms;
    QHash<QString, int> m_createdByCode;
    QHash<QString, int> m_createdByBarcode;
};

} // namespace

SupplierInvoiceImport::SupplierInvoiceImport(core::Db& db, const core::Session& session,
                                             core::Dialogs& dialogs)
    : m_db(db), m_session(session), m_dialogs(dialogs)
{
}

SupplierInvoiceImport::~SupplierInvoiceImport() = default;

void SupplierInvoiceImport::runJobsWith(core::JobRunner runner, core::ConnectionSettings ownConnection)
{
    m_runner = std::move(runner);
    m_ownConnection = std::move(ownConnection);
}

void SupplierInvoiceImport::inJob(const QString& label,
                                  const std::function<void(core::Db&, const std::function<void(int)>&)>& work)
{
    if (!m_runner) {
        work(m_db, [](int) {});
        return;
    }
    const core::ConnectionSettings own = *m_ownConnection;
    m_runner(label, [own, &work](const std::function<void(int)>& progress) {
        core::Db jobDb(own);
        jobDb.open();
        work(jobDb, progress);
    });
}

QList<int> SupplierInvoiceImport::importFile(const QString& path, UnmatchedLineResolver& resolver)
{
    Plan plan;
    inJob(QStringLiteral("Lettura della fattura elettronica..."), [&](core::Db& db, const auto& progress) {
        plan.invoices = einvoice::SupplierInvoiceReader().readFile(path);
        progress(40);
        // A credit note takes goods back: it is not a receipt. Costs in another currency would be
        // loaded as if they were euro.
        for (const SupplierInvoice& invoice : plan.invoices) {
            if (invoice.tipoDocumento == QLatin1String("TD04") ||
                invoice.tipoDocumento == QLatin1String("TD08"))
                throw core::Error(creditNoteMessage(invoiceLabel(invoice)), core::Error::Kind::Refusal);
            if (!invoice.divisa.isEmpty() && invoice.divisa != QLatin1String("EUR"))
                throw core::Error(foreignCurrencyMessage(invoiceLabel(invoice), invoice.divisa),
                                  core::Error::Kind::Refusal);
        }
        ImportWork work(db, m_session);
        plan.idFornitore = work.findSupplier(plan.invoices.first().cedente);
        // Refused before the operator settles any line; checked again under the lock.
        for (const SupplierInvoice& invoice : plan.invoices)
            if (work.alreadyImported(plan.idFornitore, invoice))
                throw core::Error(alreadyImportedMessage(), core::Error::Kind::Refusal);
        QList<const SupplierInvoiceLine*> lines;
        for (const SupplierInvoice& invoice : plan.invoices)
            for (const SupplierInvoiceLine& line : invoice.righe)
                lines.append(&line);
        const QList<std::optional<int>> found =
            SupplierLineMatcher(db, plan.idFornitore.value_or(0)).match(lines, [&](int percent) {
                progress(40 + percent * 60 / 100);
            });
        qsizetype next = 0;
        for (const SupplierInvoice& invoice : plan.invoices) {
            QList<LineResolution> items;
            for (const SupplierInvoiceLine& line : invoice.righe) {
                const std::optional<int> item = found[next++];
                items.append(item ? LineResolution::pick(*item) : LineResolution::skip());
                if (!item)
                    plan.unmatched.append(line);
            }
            plan.items.append(items);
        }
    });

    const einvoice::SupplierParty& seller = plan.invoices.first().cedente;
    if (!plan.idFornitore && !m_dialogs.confirm(newSupplierQuestion(seller.denominazione)))
        return {};
    bool creates = false;
    if (!plan.unmatched.isEmpty()) {
        const std::optional<QList<LineResolution>> decided = resolver.resolve(plan.unmatched);
        if (!decided)
            return {};
        if (decided->size() != plan.unmatched.size())
            throw std::logic_error("one decision per unmatched line");
        qsizetype next = 0;
        for (QList<LineResolution>& items : plan.items)
            for (LineResolution& item : items)
                if (item.kind == LineResolution::Kind::Skip) {
                    item = decided->at(next++);
                    creates = creates || item.kind == LineResolution::Kind::Create;
                }
    }

    QList<int> loads;
    inJob(QStringLiteral("Importazione della fattura elettronica..."),
          [&](core::Db& db, const auto& progress) {
              qsizetype total = 0;
              for (const SupplierInvoice& invoice : plan.invoices)
                  total += invoice.righe.size();
              qsizetype done = 0;
              const auto rowDone = [&] { progress(int(++done * 100 / std::max<qsizetype>(total, 1))); };
              core::NamedLock lock(db, ImportLock);
              std::optional<core::NamedLock> codes;
              if (creates)
                  codes.emplace(db, ItemCodeGuard::lockName());
              core::Transaction transaction(db);
              ImportWork work(db, m_session);
              // Another workstation may have made the supplier or loaded the invoice meanwhile.
              std::optional<int> supplier = work.findSupplier(seller);
              if (!supplier)
                  supplier = work.createSupplier(seller);
              for (qsizetype i = 0; i < plan.invoices.size(); ++i) {
                  if (work.alreadyImported(supplier, plan.invoices[i]))
                      throw core::Error(alreadyImportedMessage(), core::Error::Kind::Refusal);
                  loads.append(work.writeLoad(plan.invoices[i], *supplier, plan.items[i], rowDone));
              }
              transaction.commit();
          });
    return loads;
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
