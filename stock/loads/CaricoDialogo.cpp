#include "stock/loads/CaricoDialogo.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/Session.h"
#include "stock/NumberFields.h"
#include "stock/serials/LoadSerialCapture.h"
#include "stock/serials/SerialContext.h"
#include "stock/sizes/LoadSizeGrid.h"

namespace carvendo::stock {

namespace {

std::optional<double> quantityOf(const QString& text)
{
    const std::optional<core::Money> value = core::Money::parse(text.trimmed());
    if (!value || *value <= core::Money())
        return std::nullopt;
    return value->toDouble();
}

std::optional<core::Money> discountOf(const QString& text)
{
    if (text.trimmed().isEmpty())
        return core::Money();
    const std::optional<core::Money> value = core::Money::parse(text.trimmed());
    if (!value || value->isNegative() || *value > core::Money::fromInt(100))
        return std::nullopt;
    return value;
}

} // namespace

QString CaricoDialogo::itemQuery(const QString& condition)
{
    // With the load supplier's catalogue row of the item, when it has one: the dialog is filled from
    // one read.
    return QStringLiteral(
               "SELECT a.ID, a.CodArticolo, a.Descrizione, a.BarcodeFull, a.Fornitore, a.PrezzoAcqnoiva, "
               "a.scontoacq1, a.scontoacq2, a.Seriale, a.TC, f.id AS idcatalogo, f.Acquisto AS "
               "catalogoacquisto, f.Sconto1 AS catalogosconto1, f.Sconto2 AS catalogosconto2 FROM articoli a "
               "LEFT JOIN articoli_fornitori f ON f.id = (SELECT c.id FROM articoli_fornitori c "
               "WHERE c.idarticolo = a.ID AND c.idfornitore = :IDFORNITORE ORDER BY c.id LIMIT 1) WHERE %1")
        .arg(condition);
}

CaricoDialogo::CaricoDialogo(core::Db& db, core::Dialogs& dialogs, const core::Session& session,
                             const LoadHeader& load, int idArticolo)
    : CaricoDialogo(db, dialogs, session, load, readItem(db, load, idArticolo))
{
}

core::Row CaricoDialogo::readItem(core::Db& db, const LoadHeader& load, int idArticolo)
{
    const core::Rows items = db.query(
        itemQuery(QStringLiteral("a.ID = :IDARTICOLO")),
        {{QStringLiteral("IDARTICOLO"), idArticolo}, {QStringLiteral("IDFORNITORE"), load.idFornitore}});
    if (items.isEmpty())
        throw core::Error(QStringLiteral("L'articolo scelto non esiste più."), core::Error::Kind::Refusal);
    return items.first();
}

CaricoDialogo::CaricoDialogo(core::Db& db, core::Dialogs& dialogs, const core::Session& session,
                             const LoadHeader& load, const core::Row& item)
    : m_dialogs(dialogs), m_idArticolo(item["ID"].toInt())
{
    m_codice = item["CodArticolo"].toString();
    m_descrizione = item["Descrizione"].toString();
    prefill(load, item);
    if (item["Seriale"].toBool()) {
        m_kind = LoadRowKind::Serials;
        m_serials = std::make_unique<LoadSerialCapture>(
            db, dialogs, load.id, load.idFornitore,
            SerialItem{m_idArticolo, m_codice, m_descrizione, item["BarcodeFull"].toString()},
            SerialActor{session.currentOperator().id, session.currentOperator().nome, load.idMagazzino,
                        load.magazzino});
    } else if (item["TC"].toBool()) {
        m_kind = LoadRowKind::SizeColour;
        m_grid = std::make_unique<LoadSizeGrid>(db, dialogs, m_idArticolo);
    }
}

CaricoDialogo::~CaricoDialogo() = default;

void CaricoDialogo::prefill(const LoadHeader& load, const core::Row& item)
{
    core::Money cost = item["PrezzoAcqnoiva"].toMoney();
    core::Money discount1 = item["scontoacq1"].toMoney();
    core::Money discount2 = item["scontoacq2"].toMoney();
    const QString itemSupplier = item["Fornitore"].toString().trimmed();
    // Another supplier's prices come from its catalogue row, when it has one.
    if ((itemSupplier.isEmpty() || itemSupplier != load.fornitore.trimmed()) &&
        !item["idcatalogo"].isNull()) {
        cost = item["catalogoacquisto"].toMoney();
        discount1 = item["catalogosconto1"].toMoney();
        discount2 = item["catalogosconto2"].toMoney();
    }
    m_price = cost.toEditText();
    m_discount1 = discount1.isZero() ? QStringLiteral("0") : discount1.toEditText();
    m_discount2 = discount2.isZero() ? QStringLiteral("0") : discount2.toEditText();
}

std::optional<LoadRowValues> CaricoDialogo::values()
{
    LoadRowValues values;
    values.idArticolo = m_idArticolo;
    std::optional<double> quantity;
    if (m_serials)
        quantity = m_serials->count() > 0 ? std::optional<double>(m_serials->count()) : std::nullopt;
    else if (m_grid)
        quantity =
            m_grid->totalQuantity() > 0 ? std::optional<double>(m_grid->totalQuantity()) : std::nullopt;
    else
        quantity = quantityOf(m_quantity);
    if (!quantity) {
        m_dialogs.warning(quantityMessage());
        return std::nullopt;
    }
    values.quantita = *quantity;
    const std::optional<core::Money> price = NumberFields::cost(m_price);
    if (!price) {
        m_dialogs.warning(NumberFields::costRefusal());
        return std::nullopt;
    }
    values.prezzo = *price;
    const std::optional<core::Money> discount1 = discountOf(m_discount1);
    const std::optional<core::Money> discount2 = discountOf(m_discount2);
    if (!discount1 || !discount2) {
        m_dialogs.warning(NumberFields::discountRefusal());
        return std::nullopt;
    }
    values.sconto1 = *discount1;
    values.sconto2 = *discount2;
    return values;
}

void CaricoDialogo::discard()
{
    if (m_serials)
        m_serials->discard();
}

} // namespace carvendo::stock
