#include "stock/ArticoliPreleva.h"

#include "core/Db.h"
#include "core/Dialogs.h"

#include <vector>

namespace carvendo::stock {

namespace {

QStringList words(const char* text)
{
    return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

// Columns by use; `ID` first in each.
// A sale row of a document: what prices, taxes and unloads it.
const QStringList& saleRowColumns()
{
    static const QStringList columns = words(
        "ID CodArticolo BarcodeFull Descrizione UM UMVENDITA Porzioni PorzValore Pubblico Listino2 Listino3 "
        "PrezzoVendnoiva PrezzoAcqnoiva PrezzoAcquisto Aliquota AliquotaDesc idreparto reparto repartodesc "
        "Seriale "
        "TC Categoria SubCategoria ClasseMerc Fornitore");
    return columns;
}

// A part or service of a repair ticket: description, price and cost.
const QStringList& repairColumns()
{
    static const QStringList columns = words(
        "ID CodArticolo BarcodeFull Descrizione UM Pubblico PrezzoAcqnoiva PrezzoAcquisto Aliquota Seriale");
    return columns;
}

// A goods-in row: the purchase side of the item.
const QStringList& loadColumns()
{
    static const QStringList columns = words("ID CodArticolo BarcodeFull Descrizione UM Fornitore CODARTFORN "
                                             "PrezzoAcqnoiva PrezzoAcquisto scontoacq1 "
                                             "scontoacq2 acquistoscontato Aliquota Pubblico Listino2 "
                                             "Listino3 RICARICO1 RICARICO2 RICARICO3 Seriale TC "
                                             "idgruppoTaglia GruppoTaglia");
    return columns;
}

// An order check: what is ordered from whom and how much is in stock.
const QStringList& orderCheckColumns()
{
    static const QStringList columns = words("ID CodArticolo BarcodeFull Descrizione Fornitore CODARTFORN UM "
                                             "PrezzoAcqnoiva Aliquota Scorta giacenza "
                                             "Disponibilita");
    return columns;
}

struct CallerColumns
{
    const char* caller;
    const QStringList& (*columns)();
};

const std::vector<CallerColumns>& callerTable()
{
    static const std::vector<CallerColumns> table{
        {"PREVENTIVO_CAT", repairColumns},                           // repair estimate
        {"ARTICOLI_CAT", repairColumns},                             // parts of a repair ticket
        {"CANTIERE", saleRowColumns},                                // job-site materials
        {"FATTURA_I", saleRowColumns},                               // immediate invoice
        {"ORDINE_CECK", orderCheckColumns}, {"CARICO", loadColumns}, // goods-in
    };
    return table;
}

} // namespace

QStringList ItemPickerContract::callers()
{
    QStringList out;
    for (const CallerColumns& entry : callerTable())
        out << QString::fromLatin1(entry.caller);
    return out;
}

QStringList ItemPickerContract::columns(const QString& caller)
{
    for (const CallerColumns& entry : callerTable())
        if (caller == QLatin1String(entry.caller))
            return entry.columns();
    return {};
}

ArticoliPreleva::ArticoliPreleva(const QString& caller, core::Db& db, const core::Session& session,
                                 const core::Paths& paths, core::Dialogs& dialogs, core::Navigator& navigator)
    : m_caller(caller), m_db(db), m_dialogs(dialogs),
      m_list(db, session, paths, dialogs, navigator, Articoli::Options{windowName(), false})
{
}

QString ArticoliPreleva::unknownCallerMessage(const QString& caller)
{
    return QStringLiteral("Questa finestra non può consegnare l'articolo a \"%1\".").arg(caller);
}

bool ArticoliPreleva::confirm()
{
    m_result = {};
    const QStringList columns = ItemPickerContract::columns(m_caller);
    if (columns.isEmpty()) {
        m_dialogs.error(unknownCallerMessage(m_caller));
        return false;
    }
    const int id = m_list.currentItem();
    if (id <= 0)
        return false;
    QStringList quoted;
    for (const QString& column : columns)
        quoted << u'`' + column + u'`';
    const core::Rows found = m_db.query(QStringLiteral("SELECT %1 FROM articoli WHERE ID = :IDARTICOLO")
                                            .arg(quoted.join(QStringLiteral(", "))),
                                        {{QStringLiteral("IDARTICOLO"), id}});
    if (found.isEmpty()) {
        m_dialogs.warning(itemGoneMessage());
        m_list.search().refresh();
        return false;
    }
    m_result.accepted = true;
    m_result.value = found.value(0, "ID").variant();
    for (int c = 0; c < found.columnCount(); ++c)
        m_result.values.insert(found.columns().at(c), found.at(0, c).variant());
    return true;
}

} // namespace carvendo::stock
