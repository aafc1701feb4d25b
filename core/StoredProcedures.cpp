#include "core/StoredProcedures.h"

#include "core/Db.h"

#include <cmath>

namespace carvendo::core {

namespace {

// The callers of the under-stock procedures read stock as "CAST(@x AS SIGNED)": the server rounds
// a double half to even, and so does this.
qint64 asSigned(const Field& value)
{
    return std::llrint(value.toDouble());
}

} // namespace

void StoredProcedures::caricoMagazzinoInsert(int idArticolo, int idMagazzino, const QString& magazzino,
                                             double quantita)
{
    m_db.call(QStringLiteral("CARICO_MAGAZZINO_INSERT"), {idArticolo, idMagazzino, magazzino, quantita});
}

void StoredProcedures::caricoMagazzinoUpdate(int idArticolo, int idMagazzino, double quantita)
{
    m_db.call(QStringLiteral("CARICO_MAGAZZINO_UPDATE"), {idArticolo, idMagazzino, quantita});
}

void StoredProcedures::scaricoMagazzino(int idArticolo, int idMagazzino, double quantita)
{
    m_db.call(QStringLiteral("SCARICO_MAGAZZINO"), {idArticolo, idMagazzino, quantita});
}

void StoredProcedures::scaricoVendita(int idBanco, int idMagazzino)
{
    m_db.call(QStringLiteral("SCARICO_VENDITA"), {idBanco, idMagazzino});
}

void StoredProcedures::scaricaDisponibilita(int idArticolo, int idMagazzino, double quantita)
{
    m_db.call(QStringLiteral("SCARICA_DISPONIBILITA"), {idArticolo, idMagazzino, quantita});
}

void StoredProcedures::riassestaDisponibilita(int idArticolo, int idMagazzino, double quantita)
{
    m_db.call(QStringLiteral("RIASSESTA_DISPONIBILITA"), {idArticolo, idMagazzino, quantita});
}

UnderStockCheck StoredProcedures::verificaSottoscorta(int idArticolo)
{
    const CallResult result =
        m_db.call(QStringLiteral("VERIFICASOTTOSC"), {idArticolo},
                  {QStringLiteral("sottosc"), QStringLiteral("giacenza"), QStringLiteral("scorta")});
    const Row out = result.out.first();
    return {out[u"sottosc"].toInt64() != 0, asSigned(out[u"giacenza"]), asSigned(out[u"scorta"])};
}

UnderStockRow StoredProcedures::sottoscorta(int idArticolo)
{
    const CallResult result =
        m_db.call(QStringLiteral("SOTTOSCORTA"), {idArticolo},
                  {QStringLiteral("giacenza"), QStringLiteral("scorta"), QStringLiteral("descrizione"),
                   QStringLiteral("barcode"), QStringLiteral("codart"), QStringLiteral("fornitore"),
                   QStringLiteral("prezzo"), QStringLiteral("UM"), QStringLiteral("aliquota")});
    const Row out = result.out.first();
    UnderStockRow row;
    row.giacenza = asSigned(out[u"giacenza"]);
    row.scorta = asSigned(out[u"scorta"]);
    row.descrizione = out[u"descrizione"].toString();
    row.barcode = out[u"barcode"].toString();
    row.codart = out[u"codart"].toString();
    row.fornitore = out[u"fornitore"].toString();
    row.prezzo = out[u"prezzo"].toMoney();
    row.um = out[u"UM"].toString();
    row.aliquota = out[u"aliquota"].toInt();
    return row;
}

void StoredProcedures::updateScorta(int idArticolo)
{
    m_db.call(QStringLiteral("UPDATE_SCORTA"), {idArticolo});
}

void StoredProcedures::scaricoSeriale(const SerialUnload& u)
{
    m_db.call(QStringLiteral("SCARICO_SERIALE"),
              {u.tipoScarico, u.idDoc, u.seriale, u.idCarico, u.codArt, u.barcode, u.descrizione,
               u.idFornitore, u.idCliente, u.data, u.idArticolo, u.idMagazzino, u.magazzino, u.idOperatore,
               u.operatore});
}

void StoredProcedures::deleteSerialiDoc(int idArticolo, int idDoc, const QString& tipoDoc)
{
    m_db.call(QStringLiteral("DELETE_SERIALIDOC"), {idArticolo, idDoc, tipoDoc});
}

void StoredProcedures::updateSerialiDoc(int idDdt, int idFattura)
{
    m_db.call(QStringLiteral("UPDATESERIALIDOC"), {idDdt, idFattura});
}

void StoredProcedures::creaEtichette(const LabelRequest& l)
{
    m_db.call(QStringLiteral("CREA_ETICHETTE"),
              {l.descrizione, l.barcode, QVariant::fromValue(l.prezzo), l.codice, l.barcodeTc, l.linea,
               l.stagione, l.testoPlus, l.quantita, l.idArticolo, l.idCarico});
}

void StoredProcedures::svuotaEtichette()
{
    m_db.call(QStringLiteral("SVUOTA_ETICHETTE"));
}

int StoredProcedures::incrementaCat()
{
    const CallResult result = m_db.call(QStringLiteral("INCREMENTA_CAT"), {}, {QStringLiteral("NUMERO")});
    return result.out.first()[u"NUMERO"].toInt();
}

void StoredProcedures::incrementaFattura()
{
    m_db.call(QStringLiteral("INCREMENTAFATTURA"));
}

void StoredProcedures::prevCatInsert(const EstimatePart& p)
{
    m_db.call(QStringLiteral("PREV_CAT_INSERT"),
              {p.idArticolo, p.codice, p.descrizione, p.quantita, QVariant::fromValue(p.prezzoVendita),
               p.idAssistenza, QVariant::fromValue(p.prezzoAcquisto), p.numeroAss,
               QVariant::fromValue(p.subtotale)});
}

void StoredProcedures::updateMag(const QString& magazzino, int idMagazzino)
{
    m_db.call(QStringLiteral("UPDATE_MAG"), {magazzino, idMagazzino});
}

void StoredProcedures::updateMagChange(const QString& newName, const QString& oldName)
{
    m_db.call(QStringLiteral("UPDATE_MAG_CHANGE"), {newName, oldName});
}

void StoredProcedures::inizioAnno()
{
    m_db.call(QStringLiteral("INIZIOANNO"));
}

void StoredProcedures::addColumnUnlessExists(const QString& database, const QString& table,
                                             const QString& column, const QString& definition)
{
    m_db.call(QStringLiteral("AddColumnUnlessExists"), {database, table, column, definition});
}

std::optional<int> StoredProcedures::duplicaArticolo(int idArticolo)
{
    const Params item{{QStringLiteral("ID"), idArticolo}};
    if (m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM articoli WHERE ID = :ID"), item).toInt64() == 0)
        return std::nullopt;
    m_db.call(QStringLiteral("DUPLICA_ARTICOLO"), {idArticolo});
    // LAST_INSERT_ID() set inside a procedure stays visible to the connection after the CALL.
    return m_db.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
}

} // namespace carvendo::core
