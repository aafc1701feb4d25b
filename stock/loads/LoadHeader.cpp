#include "stock/loads/LoadHeader.h"

#include "core/Db.h"
#include "core/Error.h"
#include "core/Numbering.h"
#include "core/Session.h"

namespace carvendo::stock {

int LoadStore::create(const core::Session& session, const QString& tipoDoc)
{
    core::Transaction transaction(m_db);
    core::NumberReservation number(m_db, core::Series::Carico);
    // Year and month from the server's clock, as the number.
    const QDate today = m_db.scalar(QStringLiteral("SELECT CURRENT_DATE")).toDate();
    m_db.exec(
        QStringLiteral(
            "INSERT INTO carichi (NumeroCarico, Anno, Mese, data, TipoDoc, Scadenzario, ScadGenerata, "
            "imponibile, ivatotale, totaledocumento, totalearticoli, utiletotale, Sconto, idmagazzino, "
            "Magazzino, idOperatore, Operatore, EtichetteStampate) "
            "VALUES (:NUMERO, :ANNO, :MESE, :DATA, :TIPODOC, FALSE, FALSE, 0, 0, 0, 0, 0, 0, :IDMAGAZZINO, "
            ":MAGAZZINO, :IDOPERATORE, :OPERATORE, FALSE)"),
        {{QStringLiteral("NUMERO"), number.number()},
         {QStringLiteral("ANNO"), QString::number(today.year())},
         {QStringLiteral("MESE"), core::monthName(today.month())},
         {QStringLiteral("DATA"), today},
         {QStringLiteral("TIPODOC"), tipoDoc},
         {QStringLiteral("IDMAGAZZINO"), session.warehouse().id},
         {QStringLiteral("MAGAZZINO"), session.warehouse().name},
         {QStringLiteral("IDOPERATORE"), session.currentOperator().id},
         {QStringLiteral("OPERATORE"), session.currentOperator().nome.left(50)}});
    const int id = int(m_db.lastInsertId());
    transaction.commit();
    return id;
}

LoadHeader LoadStore::read(int idCarico, bool lockRow)
{
    QString sql = QStringLiteral(
        "SELECT idCarico, NumeroCarico, Anno, Mese, data, idmagazzino, Magazzino, idFornitore, Fornitore, "
        "NumDoc, TipoDoc, Datadoc, Causale, tipopagamento, Note, imponibile, ivatotale, totaledocumento, "
        "totalearticoli, FatturaElettronica, ScadenzeDaFile FROM carichi WHERE idCarico = :IDCARICO");
    if (lockRow)
        sql += QStringLiteral(" FOR UPDATE");
    const core::Rows rows = m_db.query(sql, {{QStringLiteral("IDCARICO"), idCarico}});
    if (rows.isEmpty())
        throw core::Error(goneMessage(), core::Error::Kind::Refusal);
    const core::Row row = rows.first();
    LoadHeader header;
    header.id = idCarico;
    header.numero = row["NumeroCarico"].toInt();
    header.anno = row["Anno"].toString();
    header.mese = row["Mese"].toString();
    header.data = row["data"].toDate();
    header.idMagazzino = row["idmagazzino"].toInt();
    header.magazzino = row["Magazzino"].toString();
    header.idFornitore = row["idFornitore"].toInt();
    header.fornitore = row["Fornitore"].toString();
    header.numDoc = row["NumDoc"].toString();
    header.tipoDoc = row["TipoDoc"].toString();
    header.dataDoc = row["Datadoc"].toDate();
    header.causale = row["Causale"].toString();
    header.tipoPagamento = row["tipopagamento"].toString();
    header.note = row["Note"].toString();
    header.fatturaElettronica = row["FatturaElettronica"].toString();
    header.scadenzeDaFile = row["ScadenzeDaFile"].toBool();
    header.imponibile = row["imponibile"].toMoney();
    header.ivaTotale = row["ivatotale"].toMoney();
    header.totaleDocumento = row["totaledocumento"].toMoney();
    header.totaleArticoli = row["totalearticoli"].toInt();
    return header;
}

void LoadStore::write(int idCarico, const LoadHeaderFields& fields, const core::Session& session,
                      const QString& fatturaElettronica)
{
    const qint64 matched = m_db.exec(
        QStringLiteral(
            "UPDATE carichi c LEFT JOIN fornitori f ON f.id_fornitore = :IDFORNITORE "
            "SET c.idFornitore = :IDFORNITORE, c.Fornitore = LEFT(IFNULL(f.RagSoc, ''), 50), "
            "c.RagioneSociale = LEFT(IFNULL(f.RagSoc, ''), 50), c.PIVA = LEFT(IFNULL(f.PIva, ''), 50), "
            "c.CodFisc = LEFT(IFNULL(f.CodFisc, ''), 50), c.NumDoc = :NUMDOC, c.TipoDoc = :TIPODOC, "
            "c.Datadoc = :DATADOC, c.Causale = :CAUSALE, c.tipopagamento = :TIPOPAGAMENTO, "
            "c.Pagamento = :TIPOPAGAMENTO, c.Note = :NOTE, c.idOperatore = :IDOPERATORE, "
            "c.Operatore = :OPERATORE, c.FatturaElettronica = IFNULL(:CHIAVE, c.FatturaElettronica) "
            "WHERE c.idCarico = :IDCARICO"),
        {{QStringLiteral("IDFORNITORE"), fields.idFornitore},
         {QStringLiteral("NUMDOC"), fields.numDoc.left(50)},
         {QStringLiteral("TIPODOC"), fields.tipoDoc.left(50)},
         {QStringLiteral("DATADOC"), fields.dataDoc.isValid() ? QVariant(fields.dataDoc) : QVariant()},
         {QStringLiteral("CAUSALE"), fields.causale.left(50)},
         {QStringLiteral("TIPOPAGAMENTO"), fields.tipoPagamento.left(50)},
         {QStringLiteral("NOTE"), fields.note},
         {QStringLiteral("IDOPERATORE"), session.currentOperator().id},
         {QStringLiteral("OPERATORE"), session.currentOperator().nome.left(50)},
         {QStringLiteral("CHIAVE"), fatturaElettronica.isEmpty() ? QVariant() : QVariant(fatturaElettronica)},
         {QStringLiteral("IDCARICO"), idCarico}});
    if (matched == 0)
        throw core::Error(goneMessage(), core::Error::Kind::Refusal);
}

void LoadStore::moveToWarehouse(int idCarico, int idMagazzino, const QString& magazzino)
{
    core::Transaction transaction(m_db);
    read(idCarico, true);
    const bool hasRows =
        !m_db.query(QStringLiteral("SELECT 1 FROM dettcarico WHERE idCarico = :IDCARICO LIMIT 1"),
                    {{QStringLiteral("IDCARICO"), idCarico}})
             .isEmpty();
    if (hasRows)
        throw core::Error(
            QStringLiteral("Attenzione! Il magazzino non può essere cambiato: il carico contiene "
                           "già degli articoli."),
            core::Error::Kind::Refusal);
    m_db.exec(QStringLiteral("UPDATE carichi SET idmagazzino = :IDMAGAZZINO, Magazzino = :MAGAZZINO "
                             "WHERE idCarico = :IDCARICO"),
              {{QStringLiteral("IDMAGAZZINO"), idMagazzino},
               {QStringLiteral("MAGAZZINO"), magazzino.left(120)},
               {QStringLiteral("IDCARICO"), idCarico}});
    transaction.commit();
}

} // namespace carvendo::stock
