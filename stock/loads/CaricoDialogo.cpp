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

CaricoDialogo::CaricoDialogo(core::Db& db, core::Dialogs& dialogs, const core::Session& session,
                             const LoadHeader& load, int idArticolo)
    : m_dialogs(dialogs), m_idArticolo(idArticolo)
{
    const core::Rows items = db.query(
        QStringLiteral("SELECT CodArticolo, Descrizione, BarcodeFull, Fornitore, PrezzoAcqnoiva, scontoacq1, "
                       "scontoacq2, Seriale, TC FROM articoli WHERE ID = :IDARTICOLO"),
        {{QStringLiteral("IDARTICOLO"), idArticolo}});
    if (items.isEmpty())
        throw core::Error(QStringLiteral("L'articolo scelto non esiste più."), core::Error::Kind::Refusal);
    const core::Row item = items.first();
    m_codice = item["CodArticolo"].toString();
    m_descrizione = item["Descrizione"].toString();
    prefill(db, load, item["Fornitore"].toString(), item["PrezzoAcqnoiva"].toMoney(), item["scontoacq1"].toMoney(),
            item["scontoacq2"].toMoney());
    if (item["Seriale"].toBool()) {
        m_kind = LoadRowKind::Serials;
        m_serials = std::make_unique<LoadSerialCapture>(
            db, dialogs, load.id, load.idFornitore,
            SerialItem{idArticolo, m_codice, m_descrizione, item["BarcodeFull"].toString()},
            SerialActor{session.currentOperator().id, session.currentOperator().nome, load.idMagazzino,
                        load.magazzino});
    } else if (item["TC"].toBool()) {
        m_kind = LoadRowKind::SizeColour;
        m_grid = std::make_unique<LoadSizeGrid>(db, dialogs, idArticolo);
    }
}

CaricoDialogo::~CaricoDialogo() = default;

void CaricoDialogo::prefill(core::Db& db, const LoadHeader& load, const QString& itemSupplier, core::Money cost,
                            core::Money discount1, core::Money discount2)
{
    if (itemSupplier.trimmed().isEmpty() || itemSupplier.trimmed() != load.fornitore.trimmed()) {
        // Another supplier's prices come from its catalogue row, when it has one.
        const core::Rows catalogue = db.query(
            QStringLiteral("select Acquisto, Sconto1, Sconto2 from articoli_fornitori where idarticolo = :IDARTICOLO "
                           "and idfornitore = :IDFORNITORE ORDER BY id LIMIT 1"),
            {{QStringLiteral("IDARTICOLO"), m_idArticolo}, {QStringLiteral("IDFORNITORE"), load.idFornitore}});
        if (!catalogue.isEmpty()) {
            cost = catalogue.value(0, "Acquisto").toMoney();
            discount1 = catalogue.value(0, "Sconto1").toMoney();
            discount2 = catalogue.value(0, "Sconto2").toMoney();
        }
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
        quantity = m_grid->totalQuantity() > 0 ? std::optional<double>(m_grid->totalQuantity()) : std::nullopt;
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
