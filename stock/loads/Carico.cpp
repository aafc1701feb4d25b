#include "stock/loads/Carico.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/NamedLock.h"
#include "core/Navigator.h"
#include "core/ReportOutput.h"
#include "core/Session.h"
#include "stock/NumberFields.h"
#include "stock/loads/LoadDeadlines.h"
#include "stock/loads/LoadPrint.h"
#include "stock/loads/LoadSaving.h"
#include "stock/sizes/LoadSizeGrid.h"

#include <QUuid>

namespace carvendo::stock {

Carico::Carico(core::Db& db, const core::Session& session, const core::Paths& paths, core::Dialogs& dialogs,
               core::Navigator& navigator, core::ReportOutput& reports, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_paths(paths), m_dialogs(dialogs),
      m_navigator(navigator), m_reports(reports),
      m_tracking(session, QUuid::createUuid().toString(QUuid::WithoutBraces)),
      m_posting(db, session, m_tracking), m_items(db, dialogs, navigator, windowName())
{
}

Carico::~Carico() = default;

bool Carico::open(int idCarico, Mode mode)
{
    try {
        m_header = LoadStore(m_db).read(idCarico);
    } catch (const core::Error& gone) {
        m_dialogs.warning(gone.message());
        return false;
    }
    m_mode = mode;
    m_fields =
        LoadHeaderFields{m_header.idFornitore, m_header.numDoc,        m_header.tipoDoc, m_header.dataDoc,
                         m_header.causale,     m_header.tipoPagamento, m_header.note};
    m_openedFields = m_fields;
    m_rows = m_posting.rows(idCarico);
    emit changed();
    return true;
}

bool Carico::openNew(const QString& tipoDoc)
{
    return open(LoadStore(m_db).create(m_session, tipoDoc), Mode::New);
}

void Carico::reload()
{
    const LoadHeader fresh = LoadStore(m_db).read(m_header.id);
    // What the operator typed in the header stays; figures and supplier come from the database.
    m_header = fresh;
    m_rows = m_posting.rows(m_header.id);
    emit changed();
}

bool Carico::chooseSupplier()
{
    const core::NavigationResult chosen =
        m_navigator.open(QStringLiteral("TFornitoriPreleva"), {}, QStringLiteral("Carico"));
    if (!chosen.accepted || chosen.value.toInt() <= 0)
        return false;
    setSupplier(chosen.value.toInt());
    return true;
}

void Carico::setSupplier(int idFornitore)
{
    // The rows copy the supplier from the header: it is stored at once.
    m_fields.idFornitore = idFornitore;
    const QString payment =
        m_db.scalar(QStringLiteral("SELECT Pagamento FROM fornitori WHERE id_fornitore = :ID"),
                    {{QStringLiteral("ID"), idFornitore}})
            .toString();
    if (m_fields.tipoPagamento.isEmpty())
        m_fields.tipoPagamento = payment;
    core::Transaction transaction(m_db);
    LoadStore store(m_db);
    store.read(m_header.id, true);
    store.write(m_header.id, m_fields, m_session);
    transaction.commit();
    m_supplierWanted = false;
    reload();
}

QStringList Carico::warehouses()
{
    QStringList names;
    for (const core::Row row :
         m_db.query(QStringLiteral("SELECT Descrizione FROM magazzini ORDER BY Descrizione")))
        names << row["Descrizione"].toString();
    return names;
}

bool Carico::chooseWarehouse(const QString& name)
{
    const core::Rows rows =
        m_db.query(QStringLiteral("select idMagazzino, Descrizione from magazzini where "
                                  "descrizione = :DESCRIZIONE ORDER BY idMagazzino LIMIT 1"),
                   {{QStringLiteral("DESCRIZIONE"), name}});
    if (rows.isEmpty())
        return false;
    try {
        LoadStore(m_db).moveToWarehouse(m_header.id, rows.value(0, "idMagazzino").toInt(),
                                        rows.value(0, "Descrizione").toString());
    } catch (const core::Error& refused) {
        m_dialogs.warning(refused.message());
        emit changed(); // the chooser shows the load's warehouse again
        return false;
    }
    reload();
    return true;
}

QStringList Carico::reasons()
{
    QStringList names;
    for (const core::Row row : m_db.query(QStringLiteral(
             "SELECT DISTINCT Causale FROM causaligeneriche WHERE Causale <> '' ORDER BY Causale")))
        names << row["Causale"].toString();
    return names;
}

std::optional<QString> Carico::addReason()
{
    const std::optional<QString> typed = m_dialogs.askText(
        QStringLiteral("Nuova Causale"), QStringLiteral("Inserire la descrizione della causale"));
    if (!typed || typed->trimmed().isEmpty())
        return std::nullopt;
    const QString reason = typed->trimmed().toUpper().left(50);
    core::addLookupValue(m_db, QStringLiteral("causaligeneriche"), QStringLiteral("Causale"), reason);
    m_fields.causale = reason;
    emit changed();
    return reason;
}

QStringList Carico::payments()
{
    QStringList names;
    for (const core::Row row : m_db.query(QStringLiteral(
             "SELECT DISTINCT Descrizione FROM pagamenti WHERE Descrizione <> '' ORDER BY Descrizione")))
        names << row["Descrizione"].toString();
    return names;
}

std::unique_ptr<CaricoDialogo> Carico::rowFor(std::optional<int> idArticolo)
{
    if (!idArticolo || !supplierChosen())
        return nullptr;
    return std::make_unique<CaricoDialogo>(m_db, m_dialogs, m_session, m_header, *idArticolo);
}

bool Carico::supplierChosen()
{
    if (m_header.idFornitore > 0)
        return true;
    m_supplierWanted = true;
    m_dialogs.warning(supplierFirstMessage());
    emit changed();
    return false;
}

std::unique_ptr<CaricoDialogo> Carico::rowForBarcode(const QString& barcode)
{
    if (barcode.trimmed().isEmpty())
        return nullptr;
    const std::optional<core::Row> item = m_items.byBarcode(barcode, m_header.idFornitore);
    if (!item) {
        m_dialogs.warning(QStringLiteral("Articolo non trovato"));
        return nullptr;
    }
    if (!supplierChosen())
        return nullptr;
    return std::make_unique<CaricoDialogo>(m_db, m_dialogs, m_session, m_header, *item);
}

std::unique_ptr<CaricoDialogo> Carico::rowForItem(int idArticolo)
{
    return rowFor(idArticolo);
}

std::unique_ptr<CaricoDialogo> Carico::rowFromPicker()
{
    if (m_header.idFornitore <= 0)
        return rowFor(0);
    const core::NavigationResult chosen =
        m_navigator.open(QStringLiteral("TArticoliPreleva"), {}, QStringLiteral("CARICO"));
    if (!chosen.accepted || chosen.value.toInt() <= 0)
        return nullptr;
    return rowFor(chosen.value.toInt());
}

std::unique_ptr<CaricoDialogo> Carico::rowForNewItem()
{
    if (m_header.idFornitore <= 0)
        return rowFor(0);
    return rowFor(m_items.createThroughCard(core::Warehouse{m_header.idMagazzino, m_header.magazzino}));
}

core::Rows Carico::searchItems(LoadItemSearch column, const QString& text)
{
    return m_items.search(column, text);
}

bool Carico::confirmRow(CaricoDialogo& row)
{
    const std::optional<LoadRowValues> values = row.values();
    if (!values)
        return false;
    PostedRow posted;
    try {
        LoadSizeGrid* grid = row.grid();
        const QString owner = m_tracking.owner();
        posted = m_posting.addRow(m_header.id, *values, [grid, owner](core::Db& db, const LoadHeader& load) {
            if (grid)
                grid->writeWorkRows(db, owner, load.id);
        });
    } catch (...) {
        row.discard();
        reload();
        throw;
    }
    // Only the totals of the header changed: the rows are read again, the header is not.
    m_header.setTotals(posted.totals);
    m_rows = m_posting.rows(m_header.id);
    emit changed();
    m_items.offerCostUpdate(values->idArticolo, posted.netCost, posted.previousCost);
    return true;
}

void Carico::cancelRow(CaricoDialogo& row)
{
    row.discard();
}

bool Carico::removeRow(int rowId)
{
    m_posting.removeRow(m_header.id, rowId);
    reload();
    return true;
}

bool Carico::varyQuantity(int rowId)
{
    const std::optional<QString> typed =
        m_dialogs.askText(QStringLiteral("Quantità (+/-)"), QStringLiteral("Inserire la Quantità da variare"),
                          QStringLiteral("0"));
    if (!typed)
        return false;
    const std::optional<core::Money> d = NumberFields::amount(*typed);
    if (!d) {
        m_dialogs.warning(NumberFields::amountRefusal());
        return false;
    }
    m_posting.varyQuantity(m_header.id, rowId, d->toDouble());
    reload();
    return true;
}

bool Carico::addShipping()
{
    const std::optional<QString> typed = m_dialogs.askText(
        QStringLiteral("Spese di spedizione"), QStringLiteral("Inserire l'importo"), QStringLiteral("0"));
    if (!typed)
        return false;
    const std::optional<core::Money> amount = NumberFields::amount(*typed);
    if (!amount) {
        m_dialogs.warning(NumberFields::amountRefusal());
        return false;
    }
    m_posting.addShipping(m_header.id, *amount);
    reload();
    return true;
}

bool Carico::save()
{
    if (m_fields.idFornitore <= 0) {
        m_supplierWanted = true;
        m_dialogs.warning(QStringLiteral("Attenzione! Scegliere un Fornitore"));
        return false;
    }
    if (!m_posting.hasRows(m_header.id)) {
        m_dialogs.warning(QStringLiteral("Attenzione! Inserire almeno un'articolo"));
        return false;
    }
    // Asked before the save's transaction: no lock is held while the operator thinks.
    const bool labels =
        m_mode == Mode::FromOrderCheck &&
        m_dialogs.confirm(QStringLiteral(
            "Vuoi trasferire le etichette per gli articoli caricati nel modulo \"ETICHETTE\"?"));
    LoadSaving(m_db, m_session, m_tracking).save(m_header.id, m_fields, labels);
    reload();
    return true;
}

bool Carico::scadenze()
{
    if (m_fields.idFornitore <= 0) {
        m_supplierWanted = true;
        m_dialogs.warning(QStringLiteral("Attenzione! Scegliere un Fornitore"));
        emit changed();
        return false;
    }
    if (m_fields.tipoPagamento.trimmed().isEmpty()) {
        m_dialogs.warning(LoadDeadlines::noTermMessage());
        return false;
    }
    if (!m_posting.hasRows(m_header.id)) {
        m_dialogs.warning(QStringLiteral("Attenzione! Inserire almeno un'articolo"));
        return false;
    }
    QList<accounts::Instalment> rate;
    {
        core::Transaction transaction(m_db);
        LoadStore store(m_db);
        const LoadHeader before = store.read(m_header.id, true);
        store.write(m_header.id, m_fields, m_session);
        rate = LoadDeadlines(m_db).write(store.read(m_header.id), before.tipoDoc);
        transaction.commit();
    }
    // The header fields went with the deadlines: leaving has nothing of them to lose any more.
    m_openedFields = m_fields;
    reload();
    QStringList lines{QStringLiteral("Scadenze registrate:")};
    for (const accounts::Instalment& rata : rate)
        lines << QStringLiteral("%1   € %2")
                     .arg(rata.scadenza.toString(QStringLiteral("dd/MM/yyyy")), rata.importo.toItalian());
    m_dialogs.information(lines.join(QLatin1Char('\n')));
    return true;
}

bool Carico::leave()
{
    // A load being modified has its rows posted already: only header fields typed since opening
    // can be lost.
    if (m_mode == Mode::Modify && m_fields == m_openedFields)
        return true;
    if (!m_dialogs.confirm(QStringLiteral(
            "Eventuali modifiche effettuate non saranno salvate. Vuoi uscire senza salvare ?")))
        return false;
    if (m_mode != Mode::Modify)
        m_posting.discard(m_header.id);
    return true;
}

// A print that fails is told by the window's command, like any other failure.
bool Carico::print()
{
    LoadPrint(m_db, m_paths, m_reports, m_heading).preview(m_header.id);
    return true;
}

QString Carico::savePdf()
{
    return LoadPrint(m_db, m_paths, m_reports, m_heading).exportPdf(m_header.id);
}

} // namespace carvendo::stock
