#include "documents/QuantityEntry.h"

#include "core/Db.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "documents/SalesDocument.h"
#include "stock/serials/SerialStock.h"

namespace carvendo::documents {

namespace {

std::optional<core::Money> set(const core::Field& field)
{
    const core::Money price = field.toMoney();
    return price.isZero() ? std::nullopt : std::optional<core::Money>(price);
}

// A whole number typed in a field; nothing when the text is not one.
std::optional<int> whole(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

QuantityEntry::QuantityEntry(SalesDocument& document, core::Db& db, core::Dialogs& dialogs, int itemId)
    : m_db(db), m_dialogs(dialogs), m_itemId(itemId)
{
    const core::Rows found =
        m_db.query(QStringLiteral("SELECT CodArticolo, Descrizione, IFNULL(Seriale, FALSE) AS Seriale, "
                                  "IFNULL(TC, FALSE) AS TC, Pubblico, "
                                  "Listino2, Listino3 FROM articoli WHERE ID = :IDARTICOLO"),
                   {{QStringLiteral("IDARTICOLO"), itemId}});
    if (found.isEmpty())
        throw core::Error(QStringLiteral("Articolo inesistente!"), core::Error::Kind::Refusal);
    const core::Row item = found.first();
    m_code = item["CodArticolo"].toString();
    m_description = item["Descrizione"].toString();
    m_bySerial = item["Seriale"].toBool();
    m_bySize = item["TC"].toBool();
    m_lists[0] = set(item["Pubblico"]);
    m_lists[1] = set(item["Listino2"]);
    m_lists[2] = set(item["Listino3"]);
    m_start = document.priceOf(itemId).gross;
    if (m_bySerial)
        m_serials = m_db.query(
            QStringLiteral("SELECT Seriale, idCarico FROM seriali WHERE idArticolo = :IDARTICOLO AND "
                           "idMagazzino = :IDMAGAZZINO AND ") +
                stock::SerialStock::sellableCondition() + QStringLiteral(" ORDER BY Seriale"),
            {{QStringLiteral("IDARTICOLO"), itemId},
             {QStringLiteral("IDMAGAZZINO"), document.header().warehouseId}});
}

QStringList QuantityEntry::listPrices() const
{
    QStringList texts;
    for (const std::optional<core::Money>& price : m_lists)
        texts << (price ? QStringLiteral("€ ") + price->toItalian() : notSet());
    return texts;
}

std::optional<core::Money> QuantityEntry::takeList(int list)
{
    if (list < 1 || list > 3 || !m_lists[list - 1]) {
        m_dialogs.warning(QStringLiteral("Nessun prezzo impostato su Questo listino!"));
        return std::nullopt;
    }
    return m_lists[list - 1];
}

std::optional<int> QuantityEntry::searchSerial()
{
    const std::optional<QString> typed = m_dialogs.askText(QStringLiteral("Ricerca seriale"),
                                                           QStringLiteral("Inserire un seriale da cercare"));
    if (!typed || typed->trimmed().isEmpty())
        return std::nullopt;
    for (int row = 0; row < m_serials.size(); ++row)
        if (m_serials.value(row, "Seriale").toString().compare(typed->trimmed(), Qt::CaseInsensitive) == 0)
            return row;
    m_dialogs.warning(QStringLiteral("Seriale non trovato, riprovare"));
    return std::nullopt;
}

std::optional<QuantityEntryValues> QuantityEntry::confirm(const QString& quantity, const QString& price,
                                                          const QString& discount, const QStringList& serials)
{
    QuantityEntryValues values;
    values.serials = serials;
    const QString typedQuantity = m_bySerial ? QString::number(serials.size()) : quantity.trimmed();
    if (typedQuantity.isEmpty() || typedQuantity == u"0") {
        m_dialogs.warning(
            QStringLiteral("Operazione non consentita. Inserire almeno una quantità da scaricare"));
        return std::nullopt;
    }
    const std::optional<core::Money> gross = core::Money::parse(price.trimmed());
    if (!gross || gross->isZero() || gross->isNegative()) {
        m_dialogs.warning(QStringLiteral("Inserire il prezzo di vendita!"));
        return std::nullopt;
    }
    // The quantity goes out in whole pieces: a text that is no whole number is asked again.
    const std::optional<int> pieces = whole(typedQuantity);
    if (!pieces || *pieces <= 0) {
        m_dialogs.warning(QStringLiteral("Inserire la Quantità!"));
        return std::nullopt;
    }
    const std::optional<int> percent = discount.trimmed().isEmpty() ? 0 : whole(discount);
    if (!percent || *percent < 0 || *percent > 100) {
        m_dialogs.warning(QStringLiteral("Lo sconto deve essere compreso tra 0 e 100"));
        return std::nullopt;
    }
    values.quantity = *pieces;
    values.discountPercent = *percent;
    values.grossPrice = *gross;
    return values;
}

} // namespace carvendo::documents
