#include "stock/Articoli.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/GridLayoutFile.h"
#include "core/Navigator.h"
#include "core/Paths.h"
#include "core/ReportOutput.h"
#include "stock/ItemLifecycle.h"

#include <stdexcept>

namespace carvendo::stock {

Articoli::Articoli(core::Db& db, const core::Session& session, const core::Paths& paths,
                   core::Dialogs& dialogs, core::Navigator& navigator, QObject* parent)
    : Articoli(db, session, paths, dialogs, navigator, Options{}, parent)
{
}

Articoli::Articoli(core::Db& db, const core::Session& session, const core::Paths& paths,
                   core::Dialogs& dialogs, core::Navigator& navigator, Options options, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_paths(paths), m_dialogs(dialogs),
      m_navigator(navigator), m_options(std::move(options)), m_search(db), m_warehouse(session.warehouse()),
      m_export(dialogs, db)
{
}

QString Articoli::realignQuestion()
{
    return QStringLiteral(
        "Attenzione! La Giacenza e la Disponibilità verranno riallineatein base alla differenza "
        "tra il caricato e il venduto dell'articolo selezionato, vuoi allineare adesso? ");
}

core::Rows Articoli::warehouses()
{
    return m_db.query(
        QStringLiteral("SELECT idMagazzino, Descrizione FROM magazzini ORDER BY Descrizione, idMagazzino"));
}

void Articoli::setWarehouse(const core::Warehouse& warehouse)
{
    m_warehouse = warehouse;
    const int keep = m_current;
    m_search.setWarehouse(warehouse.id);
    emit rowsChanged();
    setCurrentItem(m_search.rowOf(keep) >= 0 ? keep : firstItem());
}

void Articoli::open()
{
    m_warehouse = m_session.warehouse();
    m_search.setWarehouse(m_warehouse.id);
    m_search.showAll();
    afterSearch();
}

void Articoli::showAll()
{
    m_search.showAll();
    afterSearch();
}

void Articoli::find(ItemField field, MatchMode mode, const QString& text)
{
    m_search.byField(field, mode, text);
    afterSearch();
}

void Articoli::findSupplier(const QString& name)
{
    m_search.bySupplier(name);
    afterSearch();
}

bool Articoli::findSerial(const QString& serial)
{
    const bool found = m_search.bySerial(serial);
    afterSearch();
    if (!found)
        m_dialogs.information(serialNotFoundMessage());
    return found;
}

bool Articoli::advancedSearch()
{
    const core::NavigationResult chosen = m_navigator.open(advancedSearchWindow(), {}, m_options.windowName);
    if (!chosen.accepted)
        return false;
    m_search.byAttribute(chosen.values.value(QStringLiteral("attributo")).toString(),
                         chosen.values.value(QStringLiteral("valore")).toString());
    afterSearch();
    return true;
}

bool Articoli::loadMore()
{
    if (!m_search.loadMore())
        return false;
    emit rowsChanged();
    return true;
}

int Articoli::firstItem() const
{
    return m_search.rows().isEmpty() ? 0 : m_search.rows().at(0, 0).toInt();
}

void Articoli::afterSearch()
{
    emit rowsChanged();
    setCurrentItem(firstItem());
}

void Articoli::setCurrentItem(int idArticolo)
{
    m_current = idArticolo;
    m_stock = {};
    if (m_current > 0 && m_options.realignOnMove) {
        m_stock.figures = StockRealignment(m_db).realign(m_current, m_warehouse);
        m_stock.realigned = true;
    }
    readCurrentStock();
    emit currentChanged();
}

void Articoli::readCurrentStock()
{
    if (m_current <= 0)
        return;
    const core::Rows row = m_db.query(
        QStringLiteral("SELECT giacenza, disponibilita FROM giacenze WHERE idarticolo = :IDARTICOLO "
                       "AND idmagazzino = :IDMAGAZZINO"),
        {{QStringLiteral("IDARTICOLO"), m_current}, {QStringLiteral("IDMAGAZZINO"), m_warehouse.id}});
    m_stock.hasRow = !row.isEmpty();
    if (!m_stock.hasRow)
        return;
    m_stock.giacenza = row.value(0, "giacenza").toDouble();
    m_stock.disponibilita = row.value(0, "disponibilita").toDouble();
    // The grid shows what was read with the page; keep the current item's row in step.
    const int shown = m_search.rowOf(m_current);
    if (shown >= 0 &&
        (m_search.rows().value(shown, "Giacenza").variant() != row.value(0, "giacenza").variant() ||
         m_search.rows().value(shown, "Disponibilita").variant() !=
             row.value(0, "disponibilita").variant())) {
        m_search.setStock(m_current, row.value(0, "giacenza").variant(),
                          row.value(0, "disponibilita").variant());
        emit rowChanged(shown);
    }
}

int Articoli::newItem()
{
    ItemLifecycle items(m_db);
    const int id = items.createNew(m_session.warehouse());
    const core::NavigationResult card =
        m_navigator.open(cardWindow(), id, m_options.windowName, {{QStringLiteral("nuovo"), true}});
    if (!card.accepted) {
        // The card removes a new item it was left without saving; removing it here as well keeps
        // the database clean whatever closed the card.
        items.discardNew(id);
        m_search.showNothing();
        afterSearch();
        return 0;
    }
    m_search.byItem(id);
    afterSearch();
    return id;
}

bool Articoli::modifyCurrent()
{
    if (m_current <= 0)
        return false;
    const int id = m_current;
    const core::NavigationResult card = m_navigator.open(cardWindow(), id, m_options.windowName);
    m_search.refresh();
    emit rowsChanged();
    setCurrentItem(m_search.rowOf(id) >= 0 ? id : firstItem());
    return card.accepted;
}

int Articoli::duplicateCurrent()
{
    if (m_current <= 0)
        return 0;
    if (!m_dialogs.confirm(duplicateQuestion()))
        return 0;
    const int copy = ItemLifecycle(m_db).duplicate(m_current, m_session.warehouse());
    m_search.refresh();
    emit rowsChanged();
    setCurrentItem(copy > 0 && m_search.rowOf(copy) >= 0 ? copy : firstItem());
    return copy;
}

bool Articoli::deleteCurrent()
{
    if (m_current <= 0)
        return false;
    if (!core::requirePrivilege(m_session, core::Privilege::Cancellazione, m_dialogs))
        return false;
    if (!m_dialogs.confirm(deleteQuestion()))
        return false;
    ItemLifecycle(m_db).remove(m_current);
    const int row = m_search.rowOf(m_current);
    m_search.refresh();
    emit rowsChanged();
    const int next = m_search.rows().isEmpty()
                         ? 0
                         : m_search.rows().at(qBound(0, row, m_search.rows().size() - 1), 0).toInt();
    setCurrentItem(next);
    return true;
}

bool Articoli::realignCurrent()
{
    if (m_current <= 0)
        return false;
    if (!m_dialogs.confirm(realignQuestion()))
        return false;
    m_stock = {};
    m_stock.figures = StockRealignment(m_db).realign(m_current, m_warehouse);
    m_stock.realigned = true;
    readCurrentStock();
    emit currentChanged();
    return true;
}

void Articoli::runExportsWith(const core::ConnectionSettings& settings, core::JobRunner runner)
{
    m_export.runJobsWith(std::move(runner), settings);
}

bool Articoli::exportGrid(gridexport::ExportFormat format)
{
    const ItemSearch::Criteria criteria = m_search.criteria();
    return m_export
        .toChosenFile(format, QStringLiteral("Articoli"), ItemSearch::captions(),
                      QStringLiteral("Esportazione articoli in corso..."),
                      [criteria](core::Db& db) { return ItemSearch::allRows(db, criteria); })
        .has_value();
}

bool Articoli::printList(core::ReportOutput& reports)
{
    core::ReportRequest request;
    request.templateName = QStringLiteral("Articoli");
    request.title = QStringLiteral("Articoli");
    const core::Rows items = m_search.allRows();
    if (items.isEmpty()) {
        m_dialogs.information(QStringLiteral("Nessun articolo da stampare"));
        return false;
    }
    if (!core::mayPrintList(m_dialogs, items.size(), QStringLiteral("articoli")))
        return false;
    request.datasets.emplace(QStringLiteral("articoli"), items);
    request.setColumnKind(QStringLiteral("articoli"), core::PrintedNumber::Quantity, {"giacenza"});
    request.values.insert(QStringLiteral("magazzino"), m_warehouse.name);
    try {
        reports.preview(request);
    } catch (const core::ReportError& failure) {
        m_dialogs.error(failure.message());
        return false;
    }
    return true;
}

QByteArray Articoli::loadLayout() const
{
    return core::GridLayoutFile(m_paths, QStringLiteral("Articoli")).load();
}

bool Articoli::saveLayout(const QByteArray& state)
{
    return core::GridLayoutFile(m_paths, QStringLiteral("Articoli")).save(state, m_dialogs);
}

} // namespace carvendo::stock
