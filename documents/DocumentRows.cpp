#include "documents/DocumentRows.h"

#include "core/Db.h"

namespace carvendo::documents {

namespace {

const QString KeyCondition = QStringLiteral(
    "idarticolo = :IDARTICOLO AND IFNULL(Codice, '') = :CODICE AND IFNULL(Seriale, '') = :SERIALE");

core::Params keyParams(int documentId, const RowKey& key)
{
    return {{QStringLiteral("IDDOC"), documentId},
            {QStringLiteral("IDARTICOLO"), key.itemId},
            {QStringLiteral("CODICE"), key.code},
            {QStringLiteral("SERIALE"), key.serial}};
}

DocumentRow rowOf(const core::Row& r)
{
    DocumentRow row;
    row.key = {r["idarticolo"].toInt(), r["Codice"].toString(), r["Seriale"].toString()};
    row.barcode = r["Barcode"].toString();
    row.description = r["Descrizione"].toString();
    row.unit = r["UnitaMisura"].toString();
    row.quantity = r["quantita"].toDouble();
    row.aliquota = r["Aliquota"].toInt();
    row.discountPercent = r["Sconto"].toInt();
    row.amounts = {r["Pubblico"].toMoney(),       r["PrezzoVendita"].toMoney(), r["SubTotale"].toMoney(),
                   r["SubTotaleIvato"].toMoney(), r["IvaSubtotale"].toMoney(),  r["SubtotaleAcq"].toMoney(),
                   r["UtileSubtotale"].toMoney(), r["QFISICA"].toInt()};
    row.bySerial = r["SN"].toInt() != 0;
    row.bySize = r["TC"].toInt() != 0;
    return row;
}

const QString RowColumns = QStringLiteral(
    "idarticolo, Codice, Seriale, Barcode, Descrizione, UnitaMisura, quantita, Aliquota, Sconto, "
    "Pubblico, PrezzoVendita, SubTotale, SubTotaleIvato, IvaSubtotale, SubtotaleAcq, "
    "UtileSubtotale, QFISICA, SN, TC");

void bindAmounts(core::Params& params, const DocumentRow& row)
{
    params.insert(QStringLiteral("QUANTITA"), row.quantity);
    params.insert(QStringLiteral("SCONTO"), row.discountPercent);
    params.insert(QStringLiteral("PUBBLICO"), row.amounts.pubblico.toDouble());
    params.insert(QStringLiteral("PREZZO"), row.amounts.prezzoVendita.toDouble());
    params.insert(QStringLiteral("SUBTOTALE"), row.amounts.subTotale.toDouble());
    params.insert(QStringLiteral("IVATO"), row.amounts.subTotaleIvato.toDouble());
    params.insert(QStringLiteral("IVA"), row.amounts.ivaSubtotale.toDouble());
    params.insert(QStringLiteral("ACQ"), row.amounts.subtotaleAcq.toDouble());
    params.insert(QStringLiteral("UTILE"), row.amounts.utileSubtotale.toDouble());
    params.insert(QStringLiteral("QFISICA"), row.amounts.qfisica);
}

// A 0% row's nature, in the row's own statement: the zero rate named by the row's VAT code, else the
// first one with a nature, as rows that kept no nature are read. Other rates keep none.
const QString NatureOfRate = QStringLiteral(
    "IF(:ALIQUOTA = 0, (SELECT i.Natura FROM iva i WHERE i.Iva = 0 AND TRIM(IFNULL(i.Natura, '')) <> '' "
    "ORDER BY IFNULL(i.`Desc` = :CODICEIVA OR i.Codice = :CODICEIVA, 0) DESC, i.idIva LIMIT 1), NULL)");

} // namespace

QString DocumentRows::table() const
{
    return QLatin1String(m_kind.rowTable);
}

QString DocumentRows::link() const
{
    return QLatin1String(m_kind.rowLink);
}

QList<DocumentRow> DocumentRows::list(int documentId) const
{
    QList<DocumentRow> rows;
    for (const core::Row& r :
         m_db.query(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :IDDOC").arg(RowColumns, table(), link()),
                    {{QStringLiteral("IDDOC"), documentId}}))
        rows.append(rowOf(r));
    return rows;
}

std::optional<DocumentRow> DocumentRows::find(int documentId, const RowKey& key) const
{
    const core::Rows found = m_db.query(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :IDDOC AND %4 LIMIT 1")
                                            .arg(RowColumns, table(), link(), KeyCondition),
                                        keyParams(documentId, key));
    if (found.isEmpty())
        return std::nullopt;
    return rowOf(found.first());
}

bool DocumentRows::codeTaken(int documentId, const QString& code) const
{
    return !m_db.query(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = :IDDOC AND Codice = :CODICE LIMIT 1")
                           .arg(table(), link()),
                       {{QStringLiteral("IDDOC"), documentId}, {QStringLiteral("CODICE"), code}})
                .isEmpty();
}

void DocumentRows::insert(int documentId, const RowOwner& owner, const DocumentRow& row)
{
    core::Params params = keyParams(documentId, row.key);
    bindAmounts(params, row);
    params.insert(QStringLiteral("NUMDOC"), owner.number);
    params.insert(QStringLiteral("BARCODE"), row.barcode);
    params.insert(QStringLiteral("DESCRIZIONE"), row.description);
    params.insert(QStringLiteral("UNITA"), row.unit);
    params.insert(QStringLiteral("ALIQUOTA"), row.aliquota);
    params.insert(QStringLiteral("SN"), row.bySerial ? 1 : 0);
    params.insert(QStringLiteral("TC"), row.bySize ? 1 : 0);
    params.insert(QStringLiteral("IDCLIENTE"), owner.counterpartId);
    params.insert(QStringLiteral("CLIENTE"), owner.counterpartName);
    params.insert(QStringLiteral("IDOPERATORE"), owner.operatorId);
    params.insert(QStringLiteral("OPERATORE"), owner.operatorName);
    QString natureColumn, natureValue;
    if (m_kind.rowNature) {
        natureColumn = QStringLiteral(", ") + QLatin1String(m_kind.rowNature);
        natureValue = QStringLiteral(", ") + NatureOfRate;
        params.insert(QStringLiteral("CODICEIVA"), row.vatCode.trimmed());
    }
    m_db.exec(
        QStringLiteral("INSERT INTO %1 (%2, %3, %4, idCliente, Cliente, idOperatore, Operatore%5) VALUES "
                       "(:IDDOC, :NUMDOC, :IDARTICOLO, :CODICE, :SERIALE, :BARCODE, :DESCRIZIONE, :UNITA, "
                       ":QUANTITA, :ALIQUOTA, :SCONTO, :PUBBLICO, :PREZZO, :SUBTOTALE, :IVATO, :IVA, :ACQ, "
                       ":UTILE, :QFISICA, :SN, :TC, :IDCLIENTE, LEFT(:CLIENTE, 50), :IDOPERATORE, "
                       "LEFT(:OPERATORE, 50)%6)")
            .arg(table(), link(), QLatin1String(m_kind.rowNumber), RowColumns, natureColumn, natureValue),
        params);
}

void DocumentRows::update(int documentId, const DocumentRow& row)
{
    core::Params params = keyParams(documentId, row.key);
    bindAmounts(params, row);
    m_db.exec(QStringLiteral("UPDATE %1 SET quantita = :QUANTITA, Sconto = :SCONTO, Pubblico = :PUBBLICO, "
                             "PrezzoVendita = :PREZZO, SubTotale = :SUBTOTALE, SubTotaleIvato = :IVATO, "
                             "IvaSubtotale = :IVA, SubtotaleAcq = :ACQ, UtileSubtotale = :UTILE, QFISICA = "
                             ":QFISICA WHERE %2 = :IDDOC AND %3 LIMIT 1")
                  .arg(table(), link(), KeyCondition),
              params);
}

void DocumentRows::remove(int documentId, const RowKey& key)
{
    m_db.exec(
        QStringLiteral("DELETE FROM %1 WHERE %2 = :IDDOC AND %3 LIMIT 1").arg(table(), link(), KeyCondition),
        keyParams(documentId, key));
}

void DocumentRows::removeAll(int documentId)
{
    m_db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = :IDDOC").arg(table(), link()),
              {{QStringLiteral("IDDOC"), documentId}});
}

void DocumentRows::renumber(int documentId, int number)
{
    m_db.exec(QStringLiteral("UPDATE %1 SET %2 = :NUMDOC WHERE %3 = :IDDOC")
                  .arg(table(), QLatin1String(m_kind.rowNumber), link()),
              {{QStringLiteral("NUMDOC"), number}, {QStringLiteral("IDDOC"), documentId}});
}

RowSums DocumentRows::sums(int documentId) const
{
    const QString amount =
        m_kind.basis == AmountBasis::Purchase ? QStringLiteral("SubtotaleAcq") : QStringLiteral("SubTotale");
    const core::Row r =
        m_db.query(QStringLiteral(
                       "SELECT IFNULL(SUM(%1), 0) AS imponibile, IFNULL(SUM(IvaSubtotale), "
                       "0) AS iva, IFNULL(SUM(QFISICA), 0) AS pezzi, IFNULL(SUM(IFNULL(Aliquota, 0) = 0), 0) "
                       "AS zero FROM %2 WHERE %3 = :IDDOC")
                       .arg(amount, table(), link()),
                   {{QStringLiteral("IDDOC"), documentId}})
            .first();
    return {r["imponibile"].toMoney(), r["iva"].toMoney(), r["pezzi"].toInt(), r["zero"].toInt()};
}

core::Rows DocumentRows::vatSummaryRows(int documentId) const
{
    return m_db.query(
        QStringLiteral("SELECT IFNULL(Aliquota, 0) AS Aliquota, CONCAT('IVA ', IFNULL(Aliquota, 0), "
                       "'%') AS Descrizione, SUM(SubTotale) AS Imponibile, SUM(IvaSubtotale) AS Iva "
                       "FROM %1 WHERE %2 = :IDDOC GROUP BY IFNULL(Aliquota, 0) ORDER BY IFNULL(Aliquota, "
                       "0)")
            .arg(table(), link()),
        {{QStringLiteral("IDDOC"), documentId}});
}

QList<VatLine> DocumentRows::vatSummary(int documentId) const
{
    QList<VatLine> lines;
    for (const core::Row& r : vatSummaryRows(documentId))
        lines.append({r["Aliquota"].toInt(), r["Imponibile"].toMoney(), r["Iva"].toMoney()});
    return lines;
}

core::Rows DocumentRows::printedRows(int documentId) const
{
    // Each row with the serials and the sizes it sold, for the print variants that list them under it.
    // A serial row names its own serial; a row of the item without one lists all its serials.
    const char* sizes = m_kind.serialDocument ? m_kind.serialDocument : m_kind.reportName;
    return m_db.query(
        QStringLiteral(
            "SELECT d.*, (SELECT GROUP_CONCAT(s.Seriale ORDER BY s.id SEPARATOR ', ') FROM "
            "serialidocumenti s WHERE s.Documento = :SERIALI AND s.idDocumento = d.%2 AND s.idArticolo = "
            "d.idarticolo AND (IFNULL(d.Seriale, '') = '' OR s.Seriale = d.Seriale)) AS Seriali, (SELECT "
            "GROUP_CONCAT(CONCAT_WS(' ', NULLIF(t.colore, ''), CONCAT('tg. ', t.taglia), CONCAT('x ', "
            "t.quantita)) ORDER BY t.id SEPARATOR ', ') FROM scaricotcdoc t WHERE t.tipodoc = :TAGLIE AND "
            "t.iddoc = d.%2 AND t.idarticolo = d.idarticolo) AS TaglieColori FROM %1 d WHERE d.%2 = :IDDOC")
            .arg(table(), link()),
        {{QStringLiteral("IDDOC"), documentId},
         {QStringLiteral("SERIALI"), QLatin1String(m_kind.serialDocument ? m_kind.serialDocument : "")},
         {QStringLiteral("TAGLIE"), QLatin1String(sizes)}});
}

} // namespace carvendo::documents
