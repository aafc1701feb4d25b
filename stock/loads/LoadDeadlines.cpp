#include "stock/loads/LoadDeadlines.h"

#include "accounts/DocumentInstalments.h"
#include "core/Db.h"

namespace carvendo::stock {

QList<accounts::Instalment> LoadDeadlines::write(const LoadHeader& load, const QString& previousTipoDoc)
{
    // A supplier's payment runs from the date of the supplier's document.
    const QDate date = load.dataDoc.isValid() ? load.dataDoc : load.data;
    accounts::DocumentInstalments instalments(m_db, accounts::InstalmentTable::carichi());
    core::Transaction transaction(m_db);
    const QList<accounts::Instalment> rate = instalments.assign(
        load.id, load.tipoPagamento, {date, load.imponibile, load.ivaTotale, load.totaleDocumento});
    if (load.scadenzeDaFile) // the operator's own assignment replaces the e-invoice's instalments
        markFromFile(load.id, false);
    schedule(load, previousTipoDoc);
    transaction.commit();
    return rate;
}

void LoadDeadlines::writeGiven(const LoadHeader& load, const QList<accounts::Instalment>& rate)
{
    core::Transaction transaction(m_db);
    accounts::DocumentInstalments(m_db, accounts::InstalmentTable::carichi()).store(load.id, rate);
    markFromFile(load.id, true);
    schedule(load, load.tipoDoc);
    transaction.commit();
}

void LoadDeadlines::markFromFile(int idCarico, bool fromFile)
{
    m_db.exec(QStringLiteral("UPDATE carichi SET ScadenzeDaFile = :DAFILE WHERE idCarico = :IDCARICO"),
              {{QStringLiteral("DAFILE"), fromFile}, {QStringLiteral("IDCARICO"), idCarico}});
}

void LoadDeadlines::schedule(const LoadHeader& load, const QString& previousTipoDoc)
{
    const QDate date = load.dataDoc.isValid() ? load.dataDoc : load.data;
    if (previousTipoDoc != load.tipoDoc)
        accounts::Deadlines(m_db).retype(load.id, previousTipoDoc, load.tipoDoc,
                                         accounts::DeadlineDocument::debit());
    accounts::DeadlineDocument document;
    document.tipoDoc = load.tipoDoc;
    document.tipo = accounts::DeadlineDocument::debit();
    document.nrDoc = load.numero;
    document.anno = load.anno;
    document.mese = load.mese;
    document.dataDoc = date;
    document.pagamento = load.tipoPagamento;
    document.note = accounts::DeadlineDocument::loadNote(load.numero);
    document.soggetto = load.fornitore;
    document.idSoggetto = load.idFornitore;
    // The load's own warehouse, whoever is logged in where.
    document.idMagazzino = load.idMagazzino;
    document.magazzino = load.magazzino;
    accounts::DocumentInstalments(m_db, accounts::InstalmentTable::carichi()).schedule(load.id, document);
}

void LoadDeadlines::follow(const LoadHeader& load, const QString& previousTipoDoc)
{
    if (!accounts::DocumentInstalments(m_db, accounts::InstalmentTable::carichi()).isScheduled(load.id))
        return;
    // The supplier's e-invoice stated its own instalments: they stand until the operator assigns
    // others; the deadlines only follow the header.
    if (load.scadenzeDaFile)
        schedule(load, previousTipoDoc);
    else
        write(load, previousTipoDoc);
}

} // namespace carvendo::stock
