#include "stock/loads/LoadSaving.h"

#include "accounts/CashBookWriter.h"
#include "core/Db.h"
#include "core/StoredProcedures.h"
#include "stock/loads/LoadDeadlines.h"
#include "stock/loads/LoadTracking.h"

namespace carvendo::stock {

void LoadSaving::save(int idCarico, const LoadHeaderFields& fields, bool queueLabels)
{
    LoadStore store(m_db);
    core::Transaction transaction(m_db);
    const LoadHeader before = store.read(idCarico, true);
    store.write(idCarico, fields, m_session);
    completeSave(store.read(idCarico), before.tipoDoc, queueLabels);
    transaction.commit();
}

void LoadSaving::completeSave(const LoadHeader& load, const QString& previousTipoDoc, bool queueLabels)
{
    core::Transaction transaction(m_db);
    m_tracking.loadSaved(m_db, load);
    LoadDeadlines(m_db).follow(load, previousTipoDoc);
    if (queueLabels)
        queueLoadLabels(m_db, load.id);
    writeCashBook(load);
    transaction.commit();
}

void LoadSaving::writeCashBook(const LoadHeader& load)
{
    accounts::CashBookWriter writer(m_db);
    const QString modalita = writer.modalitaOf(load.tipoPagamento);
    accounts::CashBookEntry entry;
    entry.data = m_db.scalar(QStringLiteral("SELECT CURRENT_DATE")).toDate();
    entry.modalita = modalita;
    entry.risorsa = accounts::CashBookWriter::resourceOf(modalita);
    entry.uscite = load.totaleDocumento;
    entry.saldato = entry.risorsa == QLatin1String("CASSA");
    entry.descrizione = QStringLiteral("Doc. Carico nr. %1 del %2")
                            .arg(load.numero)
                            .arg(load.data.toString(QStringLiteral("dd/MM/yyyy")));
    entry.soggetto = load.fornitore;
    entry.idsoggetto = load.idFornitore;
    entry.tiposogg = QStringLiteral("Fornitore");
    entry.riferimento = load.tipoPagamento;
    entry.idmagazzino = load.idMagazzino;
    entry.magazzino = load.magazzino;
    entry.mese = load.mese;
    entry.anno = load.anno;
    writer.replace(QStringLiteral("Carico"), load.id, {entry});
}

void queueLoadLabels(core::Db& db, int idCarico)
{
    // Plain rows label their quantity; a size/colour row labels each size it brought, with the cell's
    // barcode, colour and size.
    const core::Rows labels = db.query(
        QStringLiteral(
            "SELECT d.idarticolo, d.Descrizione, d.Barcode, d.Codice, a.Pubblico, a.Stagione, "
            "t.bar_etichetta, t.colore, t.taglia, IFNULL(t.quantita, d.quantita) AS quantita "
            "FROM dettcarico d JOIN articoli a ON a.ID = d.idarticolo "
            "LEFT JOIN caricotcdoc t ON t.idcarico = d.idCarico AND t.idarticolo = d.idarticolo AND a.TC "
            "WHERE d.idCarico = :IDCARICO AND d.idarticolo > 0 ORDER BY d.id, t.id"),
        {{QStringLiteral("IDCARICO"), idCarico}});
    core::StoredProcedures procedures(db);
    core::Transaction transaction(db);
    for (const core::Row row : labels) {
        core::LabelRequest label;
        label.descrizione = row["Descrizione"].toString();
        label.barcode = row["Barcode"].toString();
        label.prezzo = row["Pubblico"].toMoney();
        label.codice = row["Codice"].toString();
        label.barcodeTc = row["bar_etichetta"].toString();
        label.linea = row["colore"].toString();
        label.stagione = row["Stagione"].toString();
        label.testoPlus = row["taglia"].toString();
        label.quantita = row["quantita"].toDouble();
        label.idArticolo = row["idarticolo"].toInt();
        label.idCarico = idCarico;
        procedures.creaEtichette(label);
    }
    transaction.commit();
}

} // namespace carvendo::stock
