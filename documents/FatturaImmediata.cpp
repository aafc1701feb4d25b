#include "documents/FatturaImmediata.h"

#include "accounts/DocumentInstalments.h"
#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/Paths.h"
#include "core/ReportOutput.h"
#include "core/Session.h"
#include "documents/DocumentPdf.h"
#include "documents/DocumentPrint.h"
#include "documents/InvoiceCashBook.h"
#include "documents/InvoiceElectronicExport.h"
#include "documents/RepairHandOver.h"
#include "foundation/PrintSettings.h"
#include "messaging/DocumentMail.h"
#include "registry/RegistryCodes.h"
#include "stock/ItemLifecycle.h"
#include "stock/sizes/ScaricoTC.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace carvendo::documents {

namespace {

const DocumentKind& invoiceKind()
{
    return DocumentKind::of(DocumentKindId::FatturaImmediata);
}

QString caller()
{
    return QLatin1String(invoiceKind().counterpartCaller);
}

// Services carry no VAT rate of their own: they are sold at the ordinary rate (the customer's own
// rate, when it has one, still wins).
constexpr int ServiceRate = 22;

} // namespace

FatturaImmediata::FatturaImmediata(core::Db& db, const core::Session& session, const core::Paths& paths,
                                   core::Dialogs& dialogs, core::Navigator& navigator,
                                   core::ReportOutput& reports, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_paths(paths), m_dialogs(dialogs),
      m_navigator(navigator), m_reports(reports), m_document(invoiceKind(), db, dialogs, session), m_lists(db)
{
}

bool FatturaImmediata::open(const core::NavigationRequest& request)
{
    m_caller = request.caller;
    m_repairTicket =
        request.caller == repairCaller() ? request.values.value(QStringLiteral("idScheda")).toInt() : 0;
    m_new = request.key.isNull() || request.key.toInt() <= 0 ||
            request.values.value(QStringLiteral("nuovo")).toBool();
    try {
        if (request.key.isNull() || request.key.toInt() <= 0)
            m_document.openNew();
        else
            m_document.load(request.key.toInt());
    } catch (const core::Error& error) {
        m_dialogs.warning(error.message());
        return false;
    }
    m_opened = InvoiceFieldStore(m_db).read(m_document.header().id);
    m_fields = m_opened;
    emit changed();
    return true;
}

QString FatturaImmediata::title() const
{
    const DocumentHeader& header = m_document.header();
    if (!m_document.isNumbered())
        return QStringLiteral("Nuova Fattura");
    return QStringLiteral("Fattura Nr. %1%2 del %3")
        .arg(header.number)
        .arg(header.suffix.isEmpty() ? QString() : QStringLiteral("/") + header.suffix,
             header.date.toString(QStringLiteral("dd/MM/yyyy")));
}

void FatturaImmediata::setFields(const InvoiceFields& fields)
{
    if (fields.suffisso != m_fields.suffisso)
        m_document.setSeries(fields.suffisso);
    m_fields = fields;
}

bool FatturaImmediata::addCarrier()
{
    m_dialogs.information(
        QStringLiteral("Attenzione! Per inserire la sede andare nel menu di configurazione."));
    const std::optional<QString> name =
        m_dialogs.askText(QStringLiteral("Nuovo Vettore"), QStringLiteral("Inserire la Ragione Sociale"));
    if (!name || name->trimmed().isEmpty())
        return false;
    m_lists.addCarrier(*name);
    m_fields.vettore = name->trimmed().left(50);
    emit changed();
    return true;
}

bool FatturaImmediata::addReason()
{
    const std::optional<QString> text =
        m_dialogs.askText(QStringLiteral("Nuova Causale"), QStringLiteral("Inserire la descrizione"));
    if (!text || text->trimmed().isEmpty())
        return false;
    m_lists.addReason(*text);
    m_fields.causale = text->trimmed().left(50);
    emit changed();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Customer

void FatturaImmediata::setCustomer(int customerId)
{
    m_document.setCustomer(customerId);
    // The customer's own payment and address came with it.
    const InvoiceFields stored = InvoiceFieldStore(m_db).read(m_document.header().id);
    m_fields.tipoPagamento = stored.tipoPagamento;
    m_fields.ragSocDest = stored.ragSocDest;
    m_fields.indirizzoDest = stored.indirizzoDest;
    m_fields.capDest = stored.capDest;
    m_fields.cittaDest = stored.cittaDest;
    m_fields.provinciaDest = stored.provinciaDest;
    m_opened.tipoPagamento = stored.tipoPagamento;
    m_opened.ragSocDest = stored.ragSocDest;
    m_opened.indirizzoDest = stored.indirizzoDest;
    m_opened.capDest = stored.capDest;
    m_opened.cittaDest = stored.cittaDest;
    m_opened.provinciaDest = stored.provinciaDest;
    emit changed();
    const bool unpaid = !m_db.query(QStringLiteral("SELECT id FROM sospesi WHERE idCliente = :IDCLIENTE AND "
                                                   "IFNULL(Saldato, FALSE) = FALSE LIMIT 1"),
                                    {{QStringLiteral("IDCLIENTE"), customerId}})
                             .isEmpty();
    if (unpaid && m_dialogs.confirm(unpaidQuestion()))
        m_navigator.open(QStringLiteral("TSospesi"), {}, windowName(),
                         {{QStringLiteral("idCliente"), customerId}});
}

bool FatturaImmediata::chooseCustomer(const QString& typed)
{
    const core::NavigationResult chosen = m_navigator.open(QStringLiteral("TClientiPreleva"), {}, caller(),
                                                           {{QStringLiteral("testo"), typed.trimmed()}});
    if (!chosen.accepted || chosen.value.toInt() <= 0)
        return false;
    setCustomer(chosen.value.toInt());
    return true;
}

bool FatturaImmediata::createCustomer(const QString& name)
{
    QString customer = name.trimmed();
    if (customer.isEmpty()) {
        const std::optional<QString> typed =
            m_dialogs.askText(QStringLiteral("Nuovo cliente"), QStringLiteral("Inserire la Ragione Sociale"));
        if (!typed || typed->trimmed().isEmpty())
            return false;
        customer = typed->trimmed();
    }
    int id = 0;
    registry::RegistryCodes(m_db).insertCustomerWithNewCode([&](int code) {
        m_db.exec(QStringLiteral("INSERT INTO clienti (CodiceCliente, RagioneSociale, Listino) VALUES "
                                 "(:CODICE, LEFT(:RAGSOC, 50), 'LISTINO1')"),
                  {{QStringLiteral("CODICE"), code}, {QStringLiteral("RAGSOC"), customer}});
        id = int(m_db.lastInsertId());
    });
    setCustomer(id);
    return true;
}

bool FatturaImmediata::chooseDestination()
{
    if (!requireCustomer())
        return false;
    const core::NavigationResult chosen =
        m_navigator.open(QStringLiteral("TClientiPrelDest"), m_document.header().customerId, caller());
    if (!chosen.accepted)
        return false;
    const auto value = [&](const char* column) {
        return chosen.values.value(QLatin1String(column)).toString();
    };
    m_fields.ragSocDest = value("RagioneSociale");
    m_fields.indirizzoDest = value("Indirizzo");
    m_fields.capDest = value("Cap");
    m_fields.cittaDest = value("Citta");
    m_fields.provinciaDest = value("ProvRes");
    emit changed();
    return true;
}

bool FatturaImmediata::requireCustomer()
{
    if (m_document.header().customerId != 0)
        return true;
    m_dialogs.warning(SalesDocument::noCustomerForRowMessage());
    return false;
}

// ---------------------------------------------------------------------------------------------
// Rows

std::unique_ptr<QuantityEntry> FatturaImmediata::entryFor(int itemId)
{
    if (!requireCustomer() || itemId <= 0)
        return nullptr;
    return std::make_unique<QuantityEntry>(m_document, m_db, m_dialogs, itemId);
}

std::unique_ptr<QuantityEntry> FatturaImmediata::entryFromPicker()
{
    if (!requireCustomer())
        return nullptr;
    const core::NavigationResult chosen =
        m_navigator.open(QStringLiteral("TArticoliPreleva"), {}, QLatin1String(invoiceKind().itemCaller));
    if (!chosen.accepted)
        return nullptr;
    return entryFor(chosen.value.toInt());
}

std::unique_ptr<QuantityEntry> FatturaImmediata::entryForNewItem()
{
    if (!requireCustomer())
        return nullptr;
    const int id = stock::ItemLifecycle(m_db).createNew(m_session.warehouse());
    const core::NavigationResult card =
        m_navigator.open(QStringLiteral("TArticolo"), id, windowName(), {{QStringLiteral("nuovo"), true}});
    if (!card.accepted) {
        stock::ItemLifecycle(m_db).discardNew(id);
        return nullptr;
    }
    return entryFor(id);
}

std::unique_ptr<QuantityEntry> FatturaImmediata::scan(const QString& text)
{
    if (!requireCustomer())
        return nullptr;
    switch (m_document.scan(text)) {
    case ScanOutcome::Added:
        emit changed();
        return nullptr;
    case ScanOutcome::NeedsEntry:
        return entryFor(m_document.scannedItem());
    case ScanOutcome::CreateItem:
        return entryForNewItem();
    case ScanOutcome::Refused:
        break;
    }
    return nullptr;
}

bool FatturaImmediata::confirmEntry(QuantityEntry& entry, const QuantityEntryValues& values)
{
    const bool added =
        entry.bySerial()
            ? m_document.addSerials(values.serials, values.grossPrice, values.discountPercent)
            : m_document.addItem(entry.itemId(), values.quantity, values.discountPercent, values.grossPrice);
    emit changed();
    return added;
}

std::unique_ptr<stock::ScaricoTC> FatturaImmediata::sizesFor(const QuantityEntry& entry)
{
    auto sizes = std::make_unique<stock::ScaricoTC>(m_db, m_dialogs, m_document.sizeDocument());
    sizes->open(entry.itemId());
    sizes->setPrice(entry.startPrice()); // the customer's price, as the quantity dialog starts with
    return sizes;
}

bool FatturaImmediata::confirmSizes(stock::ScaricoTC& sizes)
{
    const bool added = m_document.addSizes(sizes);
    emit changed();
    return added;
}

bool FatturaImmediata::addManualLine(const ManualLine& line)
{
    if (!requireCustomer())
        return false;
    m_document.addManualLine(line);
    emit changed();
    return true;
}

bool FatturaImmediata::addService()
{
    if (!requireCustomer())
        return false;
    const core::NavigationResult chosen = m_navigator.open(QStringLiteral("TLavori"), {}, windowName());
    if (!chosen.accepted || chosen.value.toInt() <= 0)
        return false;
    const core::Rows found =
        m_db.query(QStringLiteral("SELECT Codice, Descrizione, Prezzo FROM lavori WHERE idLavori = :ID"),
                   {{QStringLiteral("ID"), chosen.value.toInt()}});
    if (found.isEmpty()) {
        m_dialogs.warning(QStringLiteral("Il servizio scelto non esiste più."));
        return false;
    }
    ManualLine line;
    line.code = found.first()["Codice"].toString();
    line.description = found.first()["Descrizione"].toString();
    line.unit = QStringLiteral("PZ");
    line.aliquota = ServiceRate;
    line.quantity = 1;
    line.price = found.first()["Prezzo"].toMoney();
    line.priceIncludesVat = true;
    return addManualLine(line);
}

bool FatturaImmediata::removeRow(int rowIndex)
{
    const QList<DocumentRow> rows = m_document.rows();
    if (rowIndex < 0 || rowIndex >= rows.size())
        return false;
    m_document.removeRow(rows[rowIndex].key);
    emit changed();
    return true;
}

bool FatturaImmediata::editRow(int rowIndex, int quantity, int discountPercent, core::Money grossPrice)
{
    const QList<DocumentRow> rows = m_document.rows();
    if (rowIndex < 0 || rowIndex >= rows.size())
        return false;
    try {
        m_document.editRow(rows[rowIndex].key, quantity, discountPercent, grossPrice);
    } catch (...) {
        emit changed(); // the grid shows the row as it stayed
        throw;
    }
    emit changed();
    return true;
}

bool FatturaImmediata::applyDiscount()
{
    const bool applied = m_document.applyDiscount();
    emit changed();
    return applied;
}

bool FatturaImmediata::removeDiscount()
{
    m_document.removeDiscount();
    emit changed();
    return true;
}

bool FatturaImmediata::chooseWithholding()
{
    const core::NavigationResult chosen = m_navigator.open(
        QStringLiteral("TRitenutaAccontoLista"), QLatin1String(invoiceKind().withholdingKey), windowName());
    if (!chosen.accepted)
        return false;
    m_document.setWithholding(
        core::Money::fromDouble(chosen.values.value(QStringLiteral("percentuale")).toDouble()),
        chosen.values.value(QStringLiteral("descrizione")).toString());
    emit changed();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Payment

void FatturaImmediata::createPaymentTerm()
{
    m_navigator.open(QStringLiteral("TPagamento"), {}, windowName(), {{QStringLiteral("nuovo"), true}});
}

bool FatturaImmediata::assignInstalments()
{
    const DocumentTotals& totals = m_document.totals();
    {
        core::Transaction transaction(m_db);
        InvoiceFieldStore(m_db).write(m_document.header().id, m_opened, m_fields);
        accounts::DocumentInstalments(m_db, accounts::InstalmentTable::fatture())
            .assign(m_document.header().id, m_fields.tipoPagamento,
                    {m_fields.data.isValid() ? m_fields.data : m_document.header().date, totals.imponibile,
                     totals.ivatotale, totals.totaledocumento});
        transaction.commit();
    }
    // The fields went with the instalments: leaving has nothing of them to lose any more.
    m_opened = m_fields;
    emit changed();
    return true;
}

QList<accounts::Instalment> FatturaImmediata::instalments()
{
    return accounts::DocumentInstalments(m_db, accounts::InstalmentTable::fatture())
        .stored(m_document.header().id);
}

bool FatturaImmediata::requireSaved()
{
    if (m_document.isNumbered())
        return true;
    m_dialogs.warning(QStringLiteral("Attenzione! Salvare prima la fattura."));
    return false;
}

bool FatturaImmediata::schedule()
{
    if (!requireSaved())
        return false;
    const DocumentHeader& header = m_document.header();
    accounts::DeadlineDocument document;
    document.tipoDoc = invoiceKind().deadlineDocument();
    document.tipo = accounts::DeadlineDocument::credit();
    document.nrDoc = header.number;
    document.anno = header.year;
    document.mese = header.month;
    document.dataDoc = header.date;
    document.pagamento = m_fields.tipoPagamento;
    document.note = accounts::DeadlineDocument::saleNote(QString::number(header.number));
    document.soggetto = header.customerName;
    document.idSoggetto = header.customerId;
    document.idMagazzino = header.warehouseId;
    document.magazzino = header.warehouseName;
    const bool written = accounts::DocumentInstalments(m_db, accounts::InstalmentTable::fatture())
                             .schedule(header.id, document);
    m_dialogs.information(written ? QStringLiteral("Scadenze registrate nello scadenzario.")
                                  : QStringLiteral("Le scadenze erano già registrate."));
    return true;
}

// ---------------------------------------------------------------------------------------------
// Save and leave

bool FatturaImmediata::save()
{
    const int id = m_document.header().id;
    bool courtesyDevice = false;
    const bool saved = m_document.save([&](const DocumentHeader& header, const DocumentTotals&) {
        InvoiceFieldStore(m_db).write(id, m_opened, m_fields);
        if (m_repairTicket > 0)
            courtesyDevice = RepairHandOver(m_db, m_session)
                                 .handOver(m_repairTicket, QStringLiteral("Fattura"), header.number, id);
        InvoiceCashBook(m_db, QLatin1String(invoiceKind().cashBookDocument)).write(id);
    });
    if (!saved)
        return false;
    // The window closes on a save: the document is not read back for it. The stored fields are, so a
    // save again writes only what changes after this one.
    m_opened = InvoiceFieldStore(m_db).read(id);
    m_fields = m_opened;
    m_new = false;
    if (courtesyDevice)
        m_dialogs.information(RepairHandOver::courtesyDeviceMessage());
    return true;
}

bool FatturaImmediata::leave()
{
    if (m_new) {
        m_document.discard();
        return true;
    }
    return m_dialogs.confirm(leaveQuestion());
}

// ---------------------------------------------------------------------------------------------
// Print, PDF, mail

core::ReportRequest FatturaImmediata::request(InvoicePrint variant)
{
    return DocumentPrint(m_db, invoiceKind(), m_heading)
        .request(m_document.header().id, invoiceTemplate(variant));
}

void FatturaImmediata::preview(InvoicePrint variant)
{
    m_reports.preview(request(variant));
}

void FatturaImmediata::print(InvoicePrint variant)
{
    m_reports.print(request(variant));
}

QString FatturaImmediata::createPdf()
{
    if (!requireSaved())
        return {};
    return DocumentPdf(m_db, m_paths, m_reports, m_heading)
        .write(m_document, invoiceTemplate(InvoicePrint::Plain));
}

bool FatturaImmediata::sendMail()
{
    const QString path = createPdf();
    if (path.isEmpty())
        return false;
    messaging::DocumentMail(m_db, m_navigator).open(m_document.mailDocument(m_paths), windowName());
    return true;
}

bool FatturaImmediata::sendToDropbox()
{
    const QString folder = foundation::PrintSettings(m_db, m_paths.impostazioniIni()).dropboxPath().trimmed();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        m_dialogs.warning(dropboxMissingMessage());
        return false;
    }
    const QString path = createPdf();
    if (path.isEmpty())
        return false;
    const QString target = QDir(folder).filePath(QFileInfo(path).fileName());
    QFile::remove(target);
    if (!QFile::copy(path, target))
        throw core::Error(QStringLiteral("Impossibile copiare il documento in %1").arg(folder));
    m_dialogs.information(QStringLiteral("Documento copiato in %1").arg(folder));
    return true;
}

// ---------------------------------------------------------------------------------------------
// Electronic invoice

// The file is made from what is stored: typed header fields not saved yet would not be in it.
bool FatturaImmediata::requireSavedForExport()
{
    if (!m_new && m_document.isNumbered() && m_fields == m_opened)
        return true;
    m_dialogs.warning(exportUnsavedMessage());
    return false;
}

bool FatturaImmediata::exportElectronic(InvoiceElectronicExport& exporter)
{
    if (!requireSavedForExport())
        return false;
    const QList<einvoice::ExportedFile> files = exporter.exportInvoices({m_document.header().id});
    return !files.isEmpty() && files.first().written();
}

bool FatturaImmediata::sendByPec(InvoiceElectronicExport& exporter)
{
    if (!requireSavedForExport())
        return false;
    return exporter.sendByPec(m_document.header().id, windowName());
}

} // namespace carvendo::documents
