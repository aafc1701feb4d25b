#include "stock/loads/LoadPosting.h"

#include "accounts/CashBookWriter.h"
#include "accounts/Deadlines.h"
#include "core/Db.h"
#include "core/Error.h"
#include "core/Session.h"
#include "core/StoredProcedures.h"
#include "stock/loads/LoadHeader.h"
#include "stock/loads/LoadTracking.h"

#include <cmath>

namespace carvendo::stock {

namespace {

const QString IdCarico = QStringLiteral("IDCARICO");
const QString IdArticolo = QStringLiteral("IDARTICOLO");

struct RowAmounts
{
    core::Money subtotale;
    core::Money ivato;
    core::Money iva;
};

// Subtotal, with VAT and the VAT of a row: cost × quantity, × (100 + rate) / 100.
RowAmounts amountsOf(core::Money cost, double quantity, int aliquota)
{
    RowAmounts amounts;
    amounts.subtotale = cost.multipliedBy(core::Money::fromDouble(quantity));
    amounts.ivato = amounts.subtotale.percent(core::Money::fromInt(100 + aliquota));
    amounts.iva = amounts.ivato - amounts.subtotale;
    return amounts;
}

// Physical pieces of a row: the quantity for items sold by the piece, else one package.
int physicalPieces(const QString& umVendita, double quantity)
{
    if (umVendita.trimmed().compare(QLatin1String("PZ"), Qt::CaseInsensitive) == 0)
        return int(std::lround(quantity));
    return 1;
}

} // namespace

LoadPosting::LoadPosting(core::Db& db, const core::Session& session, const LoadTracking& tracking)
    : m_db(db), m_session(session), m_tracking(tracking)
{
}

core::Money LoadPosting::netCost(core::Money price, core::Money discount1)
{
    return price - price.percent(discount1);
}

PostedRow LoadPosting::addRow(int idCarico, const LoadRowValues& values,
                              const std::function<void(core::Db&, const LoadHeader&)>& alsoWrite)
{
    core::Transaction transaction(m_db);
    const LoadHeader load = LoadStore(m_db).read(idCarico, true);
    // The item and the load's row for it, when it has one, in one read. The load's row lock (read
    // above) keeps its rows to this command; no gap locks on dettcarico, which would make two
    // workstations adding rows to their own loads wait for each other.
    const core::Rows items = m_db.query(
        QStringLiteral(
            "SELECT CodArticolo, Descrizione, BarcodeFull, UM, UMVENDITA, Aliquota, PrezzoAcqnoiva, "
            "(SELECT r.id FROM dettcarico r WHERE r.idCarico = :IDCARICO AND r.idarticolo = a.ID "
            "ORDER BY r.id LIMIT 1) AS riga, "
            "(SELECT r.quantita FROM dettcarico r WHERE r.idCarico = :IDCARICO AND r.idarticolo = a.ID "
            "ORDER BY r.id LIMIT 1) AS quantitariga "
            "FROM articoli a WHERE a.ID = :IDARTICOLO"),
        {{IdCarico, idCarico}, {IdArticolo, values.idArticolo}});
    if (items.isEmpty())
        throw core::Error(QStringLiteral("L'articolo scelto non esiste più."), core::Error::Kind::Refusal);
    const core::Row item = items.first();

    PostedRow posted;
    posted.netCost = netCost(values.prezzo, values.sconto1);
    posted.previousCost = item["PrezzoAcqnoiva"].toMoney();
    posted.rowId = writeRow(load, item, values, posted.netCost);
    recordPurchase(load, item, values, posted.netCost);
    raiseStock(load, values.idArticolo, values.quantita, posted.netCost);
    if (alsoWrite)
        alsoWrite(m_db, load);
    posted.totals = updateTotals(idCarico);
    transaction.commit();
    return posted;
}

int LoadPosting::writeRow(const LoadHeader& load, const core::Row& item, const LoadRowValues& values,
                          core::Money cost)
{
    // The same item again adds to its row, which takes the new cost and discounts.
    const bool existing = !item["riga"].isNull();
    const double quantity = values.quantita + item["quantitariga"].toDouble();
    const int aliquota = item["Aliquota"].toInt();
    const RowAmounts amounts = amountsOf(cost, quantity, aliquota);
    core::Params row{{QStringLiteral("SCONTO1"), QVariant::fromValue(values.sconto1)},
                     {QStringLiteral("SCONTO2"), QVariant::fromValue(values.sconto2)},
                     {QStringLiteral("PREZZO"), QVariant::fromValue(cost)},
                     {QStringLiteral("QUANTITA"), quantity},
                     {QStringLiteral("QFISICA"), physicalPieces(item["UMVENDITA"].toString(), quantity)},
                     {QStringLiteral("SUBTOTALE"), QVariant::fromValue(amounts.subtotale)},
                     {QStringLiteral("IVATO"), QVariant::fromValue(amounts.ivato)},
                     {QStringLiteral("IVA"), QVariant::fromValue(amounts.iva)}};
    if (existing) {
        const int id = item["riga"].toInt();
        row.insert(QStringLiteral("ID"), id);
        m_db.exec(QStringLiteral("UPDATE dettcarico SET sconto_perc1 = :SCONTO1, sconto_perc2 = :SCONTO2, "
                                 "PrezzoAcquisto = :PREZZO, quantita = :QUANTITA, QFISICA = :QFISICA, "
                                 "SubtotaleAcq = :SUBTOTALE, SubTotaleIvato = :IVATO, IvaSubtotale = :IVA "
                                 "WHERE id = :ID"),
                  row);
        return id;
    }
    row.insert({{IdCarico, load.id},
                {QStringLiteral("ANNO"), load.anno.left(10)},
                {QStringLiteral("MESE"), load.mese.left(20)},
                {QStringLiteral("DATA"), load.data.toString(QStringLiteral("dd/MM/yyyy"))},
                {QStringLiteral("NUMDOC"), load.numero},
                {IdArticolo, values.idArticolo},
                {QStringLiteral("CODICE"), item["CodArticolo"].toString().left(50)},
                {QStringLiteral("DESCRIZIONE"), item["Descrizione"].toString().left(1000)},
                {QStringLiteral("BARCODE"), item["BarcodeFull"].toString().left(50)},
                {QStringLiteral("UM"), item["UM"].toString().left(50)},
                {QStringLiteral("ALIQUOTA"), aliquota},
                {QStringLiteral("IDOPERATORE"), m_session.currentOperator().id},
                {QStringLiteral("OPERATORE"), m_session.currentOperator().nome.left(50)},
                {QStringLiteral("IDFORNITORE"), load.idFornitore},
                {QStringLiteral("FORNITORE"), load.fornitore.left(50)}});
    m_db.exec(
        QStringLiteral("INSERT INTO dettcarico (idCarico, Anno, Mese, Data, NumDoc, idarticolo, Codice, "
                       "Descrizione, Barcode, UnitaMisura, Aliquota, sconto_perc1, sconto_perc2, "
                       "PrezzoAcquisto, quantita, QFISICA, SubtotaleAcq, SubTotaleIvato, IvaSubtotale, "
                       "idOperatore, Operatore, idFornitore, Fornitore, tc) "
                       "VALUES (:IDCARICO, :ANNO, :MESE, :DATA, :NUMDOC, :IDARTICOLO, :CODICE, "
                       ":DESCRIZIONE, :BARCODE, :UM, :ALIQUOTA, :SCONTO1, :SCONTO2, :PREZZO, :QUANTITA, "
                       ":QFISICA, :SUBTOTALE, :IVATO, :IVA, :IDOPERATORE, :OPERATORE, :IDFORNITORE, "
                       ":FORNITORE, FALSE)"),
        row);
    return int(m_db.lastInsertId());
}

void LoadPosting::recordPurchase(const LoadHeader& load, const core::Row& item, const LoadRowValues& values,
                                 core::Money cost)
{
    // The purchase history records what this receipt brought, whatever the row now holds.
    const int aliquota = item["Aliquota"].toInt();
    const RowAmounts received = amountsOf(cost, values.quantita, aliquota);
    m_db.exec(
        QStringLiteral("INSERT INTO acquisti (idcarico, anno, mese, Data, numerocarico, codice, descrizione, "
                       "barcode, um, aliquota, sconto, sconto2, idarticolo, prezzoacquisto, quantita, "
                       "subtotaleacq, subtotaleivato, ivasubtotale, idoperatore, operatore, idFornitore, "
                       "Fornitore, idMagazzino, Magazzino) "
                       "VALUES (:IDCARICO, :ANNO, :MESE, NOW(), :NUMERO, :CODICE, :DESCRIZIONE, :BARCODE, "
                       ":UM, :ALIQUOTA, :SCONTO1, :SCONTO2, :IDARTICOLO, :PREZZO, :QUANTITA, :SUBTOTALE, "
                       ":IVATO, :IVA, :IDOPERATORE, :OPERATORE, :IDFORNITORE, :FORNITORE, :IDMAGAZZINO, "
                       ":MAGAZZINO)"),
        {{IdCarico, load.id},
         {QStringLiteral("ANNO"), load.anno.left(4)},
         {QStringLiteral("MESE"), load.mese.left(20)},
         {QStringLiteral("NUMERO"), load.numero},
         {QStringLiteral("CODICE"), item["CodArticolo"].toString().left(120)},
         {QStringLiteral("DESCRIZIONE"), item["Descrizione"].toString().left(255)},
         {QStringLiteral("BARCODE"), item["BarcodeFull"].toString().left(13)},
         {QStringLiteral("UM"), item["UM"].toString().left(20)},
         {QStringLiteral("ALIQUOTA"), aliquota},
         {QStringLiteral("SCONTO1"), QVariant::fromValue(values.sconto1)},
         {QStringLiteral("SCONTO2"), QVariant::fromValue(values.sconto2)},
         {IdArticolo, values.idArticolo},
         {QStringLiteral("PREZZO"), QVariant::fromValue(cost)},
         {QStringLiteral("QUANTITA"), values.quantita},
         {QStringLiteral("SUBTOTALE"), QVariant::fromValue(received.subtotale)},
         {QStringLiteral("IVATO"), QVariant::fromValue(received.ivato)},
         {QStringLiteral("IVA"), QVariant::fromValue(received.iva)},
         {QStringLiteral("IDOPERATORE"), m_session.currentOperator().id},
         {QStringLiteral("OPERATORE"), m_session.currentOperator().nome.left(120)},
         {QStringLiteral("IDFORNITORE"), load.idFornitore},
         {QStringLiteral("FORNITORE"), load.fornitore.left(50)},
         {QStringLiteral("IDMAGAZZINO"), load.idMagazzino},
         {QStringLiteral("MAGAZZINO"), load.magazzino.left(120)}});
}

void LoadPosting::raiseStock(const LoadHeader& load, int idArticolo, double quantity, core::Money cost)
{
    m_db.exec(QStringLiteral("UPDATE articoli SET giacenza = IFNULL(giacenza, 0) + :QUANTITA, "
                             "Disponibilita = IFNULL(Disponibilita, 0) + :QUANTITA, LastAcquisto = :COSTO "
                             "WHERE ID = :IDARTICOLO"),
              {{QStringLiteral("QUANTITA"), quantity},
               {QStringLiteral("COSTO"), QVariant::fromValue(cost)},
               {IdArticolo, idArticolo}});
    // The warehouse stock of the LOAD's warehouse, whoever is logged in where. The procedure makes
    // the item's stock row there when it is missing and adds to it otherwise: nothing to read first.
    core::StoredProcedures(m_db).caricoMagazzinoInsert(idArticolo, load.idMagazzino, load.magazzino,
                                                       quantity);
}

void LoadPosting::removeRow(int idCarico, int rowId)
{
    core::Transaction transaction(m_db);
    const LoadHeader load = LoadStore(m_db).read(idCarico, true);
    const core::Rows rows = m_db.query(
        QStringLiteral("SELECT idarticolo, quantita FROM dettcarico WHERE id = :ID AND idCarico = :IDCARICO "
                       "FOR UPDATE"),
        {{QStringLiteral("ID"), rowId}, {IdCarico, idCarico}});
    if (rows.isEmpty())
        throw core::Error(rowGoneMessage(), core::Error::Kind::Refusal);
    const int idArticolo = rows.value(0, "idarticolo").toInt();
    const double quantity = rows.value(0, "quantita").toDouble();
    if (idArticolo > 0) {
        moveMirror(idArticolo, -quantity);
        core::StoredProcedures(m_db).scaricoMagazzino(idArticolo, load.idMagazzino, quantity);
        // The row's receipts go with it: the stock rebuilt from history must not count them.
        m_db.exec(
            QStringLiteral("DELETE FROM acquisti WHERE idcarico = :IDCARICO AND idarticolo = :IDARTICOLO"),
            {{IdCarico, idCarico}, {IdArticolo, idArticolo}});
        m_tracking.rowRemoved(m_db, load, idArticolo);
    }
    m_db.exec(QStringLiteral("DELETE FROM dettcarico WHERE id = :ID"), {{QStringLiteral("ID"), rowId}});
    updateTotals(idCarico);
    transaction.commit();
}

void LoadPosting::varyQuantity(int idCarico, int rowId, double d)
{
    core::Transaction transaction(m_db);
    LoadStore(m_db).read(idCarico, true);
    const core::Rows rows =
        m_db.query(QStringLiteral("SELECT idarticolo, quantita, PrezzoAcquisto, Aliquota FROM dettcarico "
                                  "WHERE id = :ID AND idCarico = :IDCARICO FOR UPDATE"),
                   {{QStringLiteral("ID"), rowId}, {IdCarico, idCarico}});
    if (rows.isEmpty())
        throw core::Error(rowGoneMessage(), core::Error::Kind::Refusal);
    const core::Row row = rows.first();
    if (row["idarticolo"].toInt() > 0)
        moveMirror(row["idarticolo"].toInt(), d);
    const RowAmounts amounts =
        amountsOf(row["PrezzoAcquisto"].toMoney(), row["quantita"].toDouble(), row["Aliquota"].toInt());
    m_db.exec(QStringLiteral("UPDATE dettcarico SET SubtotaleAcq = :SUBTOTALE, SubTotaleIvato = :IVATO, "
                             "IvaSubtotale = :IVA WHERE id = :ID"),
              {{QStringLiteral("SUBTOTALE"), QVariant::fromValue(amounts.subtotale)},
               {QStringLiteral("IVATO"), QVariant::fromValue(amounts.ivato)},
               {QStringLiteral("IVA"), QVariant::fromValue(amounts.iva)},
               {QStringLiteral("ID"), rowId}});
    updateTotals(idCarico);
    transaction.commit();
}

void LoadPosting::addShipping(int idCarico, core::Money amountWithVat)
{
    const core::Money net = amountWithVat.dividedBy(core::Money::fromDouble(1.21));
    core::Transaction transaction(m_db);
    const LoadHeader load = LoadStore(m_db).read(idCarico, true);
    // Not a piece of goods: the row counts no physical pieces and moves no stock.
    m_db.exec(
        QStringLiteral(
            "INSERT INTO dettcarico (idCarico, Anno, Mese, Data, NumDoc, idarticolo, Codice, Descrizione, "
            "UnitaMisura, Aliquota, sconto_perc1, sconto_perc2, PrezzoAcquisto, quantita, QFISICA, "
            "SubtotaleAcq, SubTotaleIvato, IvaSubtotale, idOperatore, Operatore, idFornitore, Fornitore, tc) "
            "VALUES (:IDCARICO, :ANNO, :MESE, :DATA, :NUMDOC, 0, 'SPED', 'SPESE DI SPEDIZIONE', 'SV', 21, "
            "0, 0, :NETTO, 1, 0, :NETTO, :IVATO, :IVA, :IDOPERATORE, :OPERATORE, :IDFORNITORE, :FORNITORE, "
            "FALSE)"),
        {{IdCarico, idCarico},
         {QStringLiteral("ANNO"), load.anno.left(10)},
         {QStringLiteral("MESE"), load.mese.left(20)},
         {QStringLiteral("DATA"), load.data.toString(QStringLiteral("dd/MM/yyyy"))},
         {QStringLiteral("NUMDOC"), load.numero},
         {QStringLiteral("NETTO"), QVariant::fromValue(net)},
         {QStringLiteral("IVATO"), QVariant::fromValue(amountWithVat)},
         {QStringLiteral("IVA"), QVariant::fromValue(amountWithVat - net)},
         {QStringLiteral("IDOPERATORE"), m_session.currentOperator().id},
         {QStringLiteral("OPERATORE"), m_session.currentOperator().nome.left(50)},
         {QStringLiteral("IDFORNITORE"), load.idFornitore},
         {QStringLiteral("FORNITORE"), load.fornitore.left(50)}});
    updateTotals(idCarico);
    transaction.commit();
}

void LoadPosting::discard(int idCarico)
{
    const core::Params load{{IdCarico, idCarico}};
    core::Transaction transaction(m_db);
    const LoadHeader header = LoadStore(m_db).read(idCarico, true);
    const core::Rows items = m_db.query(
        QStringLiteral(
            "SELECT idarticolo, SUM(quantita) AS quantita FROM dettcarico "
            "WHERE idCarico = :IDCARICO AND idarticolo > 0 GROUP BY idarticolo ORDER BY idarticolo"),
        load);
    core::StoredProcedures procedures(m_db);
    for (const core::Row item : items) {
        moveMirror(item["idarticolo"].toInt(), -item["quantita"].toDouble());
        procedures.scaricoMagazzino(item["idarticolo"].toInt(), header.idMagazzino,
                                    item["quantita"].toDouble());
    }
    m_tracking.loadDiscarded(m_db, header);
    m_db.exec(QStringLiteral("DELETE FROM acquisti WHERE idcarico = :IDCARICO"), load);
    m_db.exec(QStringLiteral("DELETE FROM dettcarico WHERE idCarico = :IDCARICO"), load);
    accounts::CashBookWriter(m_db).replace(QStringLiteral("Carico"), idCarico, {});
    // What is still to be paid goes with the load; what was paid stays on record.
    accounts::Deadlines(m_db).removeOpen(idCarico, header.tipoDoc, accounts::DeadlineDocument::debit());
    m_db.exec(QStringLiteral("DELETE FROM carichi WHERE idCarico = :IDCARICO"), load);
    transaction.commit();
}

core::Rows LoadPosting::rows(int idCarico)
{
    return m_db.query(QStringLiteral("SELECT * FROM dettcarico WHERE idCarico = :IDCARICO ORDER BY id"),
                      {{IdCarico, idCarico}});
}

bool LoadPosting::hasRows(int idCarico)
{
    return !m_db.query(QStringLiteral("SELECT 1 FROM dettcarico WHERE idCarico = :IDCARICO LIMIT 1"),
                       {{IdCarico, idCarico}})
                .isEmpty();
}

LoadTotals LoadPosting::updateTotals(int idCarico)
{
    // A plain read: the load's row lock already keeps its rows to this command, and a read inside
    // the UPDATE would lock dettcarico ranges that other loads' rows sit beside.
    const core::Row sums = m_db.query(QStringLiteral("SELECT IFNULL(SUM(SubtotaleAcq), 0) AS imponibile, "
                                                     "IFNULL(SUM(IvaSubtotale), 0) AS iva, "
                                                     "IFNULL(SUM(SubTotaleIvato), 0) AS totale, "
                                                     "IFNULL(SUM(QFISICA), 0) AS pezzi FROM dettcarico "
                                                     "WHERE idCarico = :IDCARICO"),
                                      {{IdCarico, idCarico}})
                               .first();
    const LoadTotals totals{sums["imponibile"].toMoney(), sums["iva"].toMoney(), sums["totale"].toMoney(),
                            sums["pezzi"].toInt()};
    m_db.exec(
        QStringLiteral("UPDATE carichi SET imponibile = :IMPONIBILE, ivatotale = :IVA, "
                       "totaledocumento = :TOTALE, totalearticoli = :PEZZI, idOperatore = :IDOPERATORE, "
                       "Operatore = :OPERATORE WHERE idCarico = :IDCARICO"),
        {{IdCarico, idCarico},
         {QStringLiteral("IMPONIBILE"), QVariant::fromValue(totals.imponibile)},
         {QStringLiteral("IVA"), QVariant::fromValue(totals.ivaTotale)},
         {QStringLiteral("TOTALE"), QVariant::fromValue(totals.totaleDocumento)},
         {QStringLiteral("PEZZI"), totals.totaleArticoli},
         {QStringLiteral("IDOPERATORE"), m_session.currentOperator().id},
         {QStringLiteral("OPERATORE"), m_session.currentOperator().nome.left(50)}});
    return totals;
}

void LoadPosting::moveMirror(int idArticolo, double quantity)
{
    m_db.exec(QStringLiteral("UPDATE articoli SET giacenza = IFNULL(giacenza, 0) + :QUANTITA, "
                             "Disponibilita = IFNULL(Disponibilita, 0) + :QUANTITA WHERE ID = :IDARTICOLO"),
              {{QStringLiteral("QUANTITA"), quantity}, {IdArticolo, idArticolo}});
}

} // namespace carvendo::stock
