#include "stock/loads/LoadDeadlines.h"

#include "accounts/Deadlines.h"
#include "accounts/PaymentTerm.h"
#include "core/Db.h"
#include "core/Error.h"

namespace carvendo::stock {

QList<accounts::Instalment> LoadDeadlines::write(const LoadHeader& load, const QString& previousTipoDoc)
{
    if (load.tipoPagamento.trimmed().isEmpty())
        throw core::Error(noTermMessage(), core::Error::Kind::Refusal);
    const std::optional<accounts::PaymentTerm> term =
        accounts::PaymentTermStore(m_db).findByDescription(load.tipoPagamento);
    if (!term)
        throw core::Error(noTermMessage(), core::Error::Kind::Refusal);
    // A supplier's payment runs from the date of the supplier's document.
    const QDate date = load.dataDoc.isValid() ? load.dataDoc : load.data;
    const QList<accounts::Instalment> rate =
        accounts::assignInstalments({date, load.imponibile, load.ivaTotale, load.totaleDocumento}, *term);

    core::Transaction transaction(m_db);
    core::Params header{{QStringLiteral("IDCARICO"), load.id}, {QStringLiteral("NRATE"), term->nrRate}};
    for (int i = 0; i < accounts::PaymentTerm::MaxRate; ++i) {
        const bool used = i < rate.size();
        header.insert(QStringLiteral("PRATA%1").arg(i + 1),
                      used ? QVariant::fromValue(rate[i].importo) : QVariant());
        header.insert(QStringLiteral("DRATA%1").arg(i + 1), used ? QVariant(rate[i].scadenza) : QVariant());
    }
    m_db.exec(
        QStringLiteral("UPDATE carichi SET NRATE = :NRATE, PRATA1 = :PRATA1, DRATA1 = :DRATA1, "
                       "PRATA2 = :PRATA2, DRATA2 = :DRATA2, PRATA3 = :PRATA3, DRATA3 = :DRATA3, "
                       "PRATA4 = :PRATA4, DRATA4 = :DRATA4, Scadenzario = TRUE WHERE idCarico = :IDCARICO"),
        header);

    accounts::Deadlines deadlines(m_db);
    if (previousTipoDoc != load.tipoDoc)
        deadlines.retype(load.id, previousTipoDoc, load.tipoDoc, accounts::DeadlineDocument::debit());
    accounts::DeadlineDocument document;
    document.rifDoc = load.id;
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
    document.rate = rate;
    deadlines.write(document);
    transaction.commit();
    return rate;
}

void LoadDeadlines::follow(const LoadHeader& load, const QString& previousTipoDoc)
{
    const bool written = m_db.scalar(QStringLiteral("SELECT IFNULL(Scadenzario, FALSE) FROM carichi "
                                                    "WHERE idCarico = :IDCARICO"),
                                     {{QStringLiteral("IDCARICO"), load.id}})
                             .toBool();
    if (written)
        write(load, previousTipoDoc);
}

} // namespace carvendo::stock
