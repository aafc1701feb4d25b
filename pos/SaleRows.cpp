#include "pos/SaleRows.h"

#include "core/Db.h"

namespace carvendo::pos {

namespace {

QVariant money(core::Money value)
{
    return QVariant::fromValue(value);
}

// The row of a sale by what it sells (its item, and the cell of a size/colour row): a repeated scan
// finds its row so.
const QString kRowCondition = QStringLiteral(
    "idBanco = :IDBANCO AND idarticolo = :IDARTICOLO AND COALESCE(bar_etichetta, '') = :ETICHETTA");

// One row of the sale by its own key, for the statements that change it.
const QString kRowById = QStringLiteral("ID = :ID AND idBanco = :IDBANCO");

core::Params rowParams(int saleId, const SaleRowKey& key)
{
    return {{QStringLiteral("IDBANCO"), saleId},
            {QStringLiteral("IDARTICOLO"), key.itemId},
            {QStringLiteral("ETICHETTA"), key.cellBarcode}};
}

const QString kRowColumns = QStringLiteral("ID, idarticolo, bar_etichetta, Codice, descrizione, reparto, "
                                           "Barcode, Seriale, taglia, colore, quantita, "
                                           "Sconto, PrezzoVendita, Pubblico, SubTotale, SubPubblico, SN, TC");

SaleRow rowFrom(const core::Row& row)
{
    SaleRow r;
    r.id = row["ID"].toInt();
    r.key = {row["idarticolo"].toInt(), row["bar_etichetta"].toString()};
    r.code = row["Codice"].toString();
    r.description = row["descrizione"].toString();
    r.department = row["reparto"].toString();
    r.barcode = row["Barcode"].toString();
    r.serial = row["Seriale"].toString();
    r.size = row["taglia"].toString();
    r.colour = row["colore"].toString();
    r.quantity = row["quantita"].toInt();
    r.discountPercent = row["Sconto"].toInt();
    r.netPrice = row["PrezzoVendita"].toMoney();
    r.publicPrice = row["Pubblico"].toMoney();
    r.subTotal = row["SubTotale"].toMoney();
    r.subPublic = row["SubPubblico"].toMoney();
    r.bySerial = row["SN"].toInt() == 1;
    r.bySize = row["TC"].toInt() == 1;
    return r;
}

// A row's amount: the unit price less its discount, times the quantity.
core::Money lineAmount(core::Money unitPrice, int discountPercent, int quantity)
{
    return (unitPrice - unitPrice.percent(core::Money::fromInt(discountPercent)))
        .multipliedBy(qint64(quantity));
}

} // namespace

QString SaleItem::columns()
{
    return QStringLiteral(
        "ID, CodArticolo, Descrizione, repartodesc, BarcodeFull, PrezzoVendnoiva, Pubblico, Seriale, TC, "
        "vodafone_pack");
}

SaleItem SaleItem::fromRow(const core::Row& row)
{
    return {row["ID"].toInt(),
            row["CodArticolo"].toString(),
            row["Descrizione"].toString(),
            row["repartodesc"].toString(),
            row["BarcodeFull"].toString(),
            row["PrezzoVendnoiva"].toMoney(),
            row["Pubblico"].toMoney(),
            row["Seriale"].toBool(),
            row["TC"].toBool(),
            row["vodafone_pack"].toBool()};
}

QList<SaleRow> SaleRows::all() const
{
    QList<SaleRow> rows;
    for (const core::Row& row : m_db.query(QStringLiteral("SELECT ") + kRowColumns +
                                               QStringLiteral(" FROM dettbanco WHERE idBanco = :IDBANCO "
                                                              "AND descrizione IS NOT NULL"),
                                           {{QStringLiteral("IDBANCO"), m_saleId}}))
        rows.append(rowFrom(row));
    return rows;
}

std::optional<SaleRow> SaleRows::find(const SaleRowKey& key) const
{
    const core::Rows rows =
        m_db.query(QStringLiteral("SELECT ") + kRowColumns + QStringLiteral(" FROM dettbanco WHERE ") +
                       kRowCondition + QStringLiteral(" LIMIT 1"),
                   rowParams(m_saleId, key));
    if (rows.isEmpty())
        return std::nullopt;
    return rowFrom(rows.first());
}

bool SaleRows::holdsPack() const
{
    return m_db.scalar(
                   QStringLiteral("SELECT COUNT(*) FROM dettbanco d JOIN articoli a ON a.ID = d.idarticolo "
                                  "WHERE d.idBanco = :IDBANCO AND a.vodafone_pack = 1"),
                   {{QStringLiteral("IDBANCO"), m_saleId}})
               .toInt() > 0;
}

void SaleRows::append(const SaleItem& item, const SaleRowKey& key, const QString& serial, const QString& size,
                      const QString& colour)
{
    core::Params params = rowParams(m_saleId, key);
    params.insert(QStringLiteral("CODICE"), item.code);
    params.insert(QStringLiteral("DESCRIZIONE"), item.description);
    params.insert(QStringLiteral("REPARTO"), item.department);
    params.insert(QStringLiteral("BARCODE"), item.barcode);
    params.insert(QStringLiteral("PREZZO"), money(item.netPrice));
    params.insert(QStringLiteral("PUBBLICO"), money(item.publicPrice));
    params.insert(QStringLiteral("SN"), item.bySerial ? 1 : 0);
    params.insert(QStringLiteral("TC"), key.cellBarcode.isEmpty() ? 0 : 1);
    params.insert(QStringLiteral("SERIALE"), serial.isEmpty() ? QVariant() : QVariant(serial));
    params.insert(QStringLiteral("TAGLIA"), size.isEmpty() ? QVariant() : QVariant(size.left(6)));
    params.insert(QStringLiteral("COLORE"), colour.isEmpty() ? QVariant() : QVariant(colour.left(30)));
    m_db.exec(
        QStringLiteral(
            "INSERT INTO dettbanco (idBanco, idarticolo, bar_etichetta, Codice, descrizione, reparto, "
            "Barcode, quantita, QFISICA, PrezzoVendita, Pubblico, SubTotale, SubPubblico, Sconto, SN, TC, "
            "Seriale, taglia, colore, vendita_sospesa) VALUES (:IDBANCO, :IDARTICOLO, "
            "NULLIF(:ETICHETTA, ''), :CODICE, :DESCRIZIONE, :REPARTO, :BARCODE, 1, 1, :PREZZO, "
            ":PUBBLICO, :PREZZO, :PUBBLICO, 0, :SN, :TC, :SERIALE, :TAGLIA, :COLORE, 0)"),
        params);
}

void SaleRows::setPricing(const SaleRow& row, int quantity, int discountPercent, core::Money netPrice,
                          core::Money publicPrice)
{
    core::Params params{{QStringLiteral("ID"), row.id}, {QStringLiteral("IDBANCO"), m_saleId}};
    params.insert(QStringLiteral("QUANTITA"), quantity);
    params.insert(QStringLiteral("SCONTO"), discountPercent);
    params.insert(QStringLiteral("PREZZO"), money(netPrice));
    params.insert(QStringLiteral("PUBBLICO"), money(publicPrice));
    params.insert(QStringLiteral("SUBTOTALE"), money(lineAmount(netPrice, discountPercent, quantity)));
    params.insert(QStringLiteral("SUBPUBBLICO"), money(lineAmount(publicPrice, discountPercent, quantity)));
    m_db.exec(
        QStringLiteral("UPDATE dettbanco SET quantita = :QUANTITA, QFISICA = :QUANTITA, Sconto = :SCONTO, "
                       "PrezzoVendita = :PREZZO, Pubblico = :PUBBLICO, SubTotale = :SUBTOTALE, "
                       "SubPubblico = :SUBPUBBLICO WHERE ") +
            kRowById,
        params);
}

void SaleRows::setItem(const SaleRow& row, const SaleItem& item, int quantity)
{
    core::Params params{{QStringLiteral("ID"), row.id}, {QStringLiteral("IDBANCO"), m_saleId}};
    params.insert(QStringLiteral("NUOVO"), item.id);
    params.insert(QStringLiteral("CODICE"), item.code);
    params.insert(QStringLiteral("DESCRIZIONE"), item.description);
    params.insert(QStringLiteral("REPARTO"), item.department);
    params.insert(QStringLiteral("BARCODE"), item.barcode);
    params.insert(QStringLiteral("PREZZO"), money(item.netPrice));
    params.insert(QStringLiteral("PUBBLICO"), money(item.publicPrice));
    params.insert(QStringLiteral("SUBTOTALE"), money(item.netPrice.multipliedBy(qint64(quantity))));
    params.insert(QStringLiteral("SUBPUBBLICO"), money(item.publicPrice.multipliedBy(qint64(quantity))));
    m_db.exec(QStringLiteral("UPDATE dettbanco SET idarticolo = :NUOVO, Codice = :CODICE, descrizione = "
                             ":DESCRIZIONE, reparto = :REPARTO, Barcode = :BARCODE, PrezzoVendita = :PREZZO, "
                             "Pubblico = :PUBBLICO, SubTotale = :SUBTOTALE, SubPubblico = :SUBPUBBLICO, "
                             "Sconto = 0 WHERE ") +
                  kRowById,
              params);
}

void SaleRows::remove(const SaleRow& row)
{
    m_db.exec(QStringLiteral("DELETE FROM dettbanco WHERE ") + kRowById,
              {{QStringLiteral("ID"), row.id}, {QStringLiteral("IDBANCO"), m_saleId}});
}

void SaleRows::removeAll()
{
    m_db.exec(QStringLiteral("DELETE FROM dettbanco WHERE idBanco = :IDBANCO"),
              {{QStringLiteral("IDBANCO"), m_saleId}});
}

void SaleRows::removeEmpty()
{
    m_db.exec(QStringLiteral("DELETE FROM dettbanco WHERE idBanco = :IDBANCO AND descrizione IS NULL"),
              {{QStringLiteral("IDBANCO"), m_saleId}});
}

void SaleRows::setSuspended(bool suspended)
{
    m_db.exec(QStringLiteral("UPDATE dettbanco SET vendita_sospesa = :SOSPESA WHERE idBanco = :IDBANCO"),
              {{QStringLiteral("SOSPESA"), suspended}, {QStringLiteral("IDBANCO"), m_saleId}});
}

SaleTotals SaleRows::recomputeTotals()
{
    const core::Row sums =
        m_db.query(
                QStringLiteral("SELECT COALESCE(SUM(SubTotale), 0) AS IMPONIBILE, COALESCE(SUM(SubPubblico), "
                               "0) AS TOTALE_CONTO, COALESCE(SUM(quantita), 0) AS TOTALE_ITEM FROM dettbanco "
                               "WHERE idBanco = :IDBANCO"),
                {{QStringLiteral("IDBANCO"), m_saleId}})
            .first();
    SaleTotals totals;
    totals.imponibile = sums["IMPONIBILE"].toMoney();
    totals.totaleConto = sums["TOTALE_CONTO"].toMoney();
    totals.ivaTotale = totals.totaleConto - totals.imponibile;
    totals.totaleArticoli = sums["TOTALE_ITEM"].toInt();
    m_db.exec(
        QStringLiteral("UPDATE banco SET imponibile = :IMPONIBILE, TotaleConto = :TOTALE, totaledocumento = "
                       ":TOTALE, DaPagare = :TOTALE, ivatotale = :IVA, Totalearticoli = :ARTICOLI WHERE id = "
                       ":IDBANCO"),
        {{QStringLiteral("IMPONIBILE"), money(totals.imponibile)},
         {QStringLiteral("TOTALE"), money(totals.totaleConto)},
         {QStringLiteral("IVA"), money(totals.ivaTotale)},
         {QStringLiteral("ARTICOLI"), totals.totaleArticoli},
         {QStringLiteral("IDBANCO"), m_saleId}});
    return totals;
}

} // namespace carvendo::pos
