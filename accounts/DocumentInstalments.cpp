#include "accounts/DocumentInstalments.h"

#include "accounts/PaymentTerm.h"
#include "core/Db.h"
#include "core/Error.h"

#include <algorithm>

namespace carvendo::accounts {

QList<Instalment> instalmentsOf(const core::Row& header)
{
    QList<Instalment> rate;
    const int count =
        header.has(u"NRATE") ? std::clamp(header[u"NRATE"].toInt(), 0, PaymentTerm::MaxRate) : 0;
    for (int i = 1; i <= count; ++i)
        rate.append({header[QStringLiteral("PRATA%1").arg(i)].toMoney(),
                     header[QStringLiteral("DRATA%1").arg(i)].toDate()});
    return rate;
}

QList<Instalment> inCents(QList<Instalment> instalments)
{
    core::Money total, others;
    for (const Instalment& instalment : instalments)
        total += instalment.importo;
    for (int i = 0; i < instalments.size(); ++i) {
        Instalment& instalment = instalments[i];
        instalment.importo = i == instalments.size() - 1 ? total.roundedToCents() - others
                                                         : instalment.importo.roundedToCents();
        others += instalment.importo;
    }
    return instalments;
}

QString instalmentColumns(const QString& prefix)
{
    QStringList columns{QStringLiteral("IFNULL(%1NRATE, 0) AS NRATE").arg(prefix)};
    for (int i = 1; i <= PaymentTerm::MaxRate; ++i)
        columns << QStringLiteral("%1PRATA%2").arg(prefix).arg(i)
                << QStringLiteral("%1DRATA%2").arg(prefix).arg(i);
    return columns.join(QStringLiteral(", "));
}

QList<Instalment> DocumentInstalments::assign(int documentId, const QString& tipoPagamento,
                                              const InstalmentBasis& basis)
{
    if (tipoPagamento.trimmed().isEmpty())
        throw core::Error(noTermMessage(), core::Error::Kind::Refusal);
    const std::optional<PaymentTerm> term = PaymentTermStore(m_db).findByDescription(tipoPagamento);
    if (!term)
        throw core::Error(noTermMessage(), core::Error::Kind::Refusal);
    const QList<Instalment> rate = assignInstalments(basis, *term);

    store(documentId, rate);
    return rate;
}

void DocumentInstalments::store(int documentId, const QList<Instalment>& rate)
{
    core::Params header{{QStringLiteral("IDDOC"), documentId}, {QStringLiteral("NRATE"), int(rate.size())}};
    for (int i = 0; i < PaymentTerm::MaxRate; ++i) {
        const bool used = i < rate.size();
        header.insert(QStringLiteral("PRATA%1").arg(i + 1),
                      used ? QVariant::fromValue(rate[i].importo) : QVariant());
        header.insert(QStringLiteral("DRATA%1").arg(i + 1), used ? QVariant(rate[i].scadenza) : QVariant());
    }
    const qint64 matched =
        m_db.exec(QStringLiteral("UPDATE %1 SET NRATE = :NRATE, PRATA1 = :PRATA1, DRATA1 = :DRATA1, "
                                 "PRATA2 = :PRATA2, DRATA2 = :DRATA2, PRATA3 = :PRATA3, DRATA3 = :DRATA3, "
                                 "PRATA4 = :PRATA4, DRATA4 = :DRATA4 WHERE %2 = :IDDOC")
                      .arg(m_table.table(), m_table.key()),
                  header);
    if (matched == 0)
        throw core::Error(QStringLiteral("Il documento è stato eliminato da un'altra postazione."),
                          core::Error::Kind::Refusal);
}

QList<Instalment> DocumentInstalments::stored(int documentId)
{
    const core::Rows found = m_db.query(QStringLiteral("SELECT %3 FROM %1 WHERE %2 = :IDDOC")
                                            .arg(m_table.table(), m_table.key(), instalmentColumns()),
                                        {{QStringLiteral("IDDOC"), documentId}});
    return found.isEmpty() ? QList<Instalment>() : instalmentsOf(found.first());
}

bool DocumentInstalments::schedule(int documentId, DeadlineDocument document)
{
    core::Transaction transaction(m_db);
    document.rifDoc = documentId;
    document.rate = stored(documentId);
    if (document.rate.isEmpty())
        throw core::Error(noInstalmentsMessage(), core::Error::Kind::Refusal);
    const bool written = Deadlines(m_db).write(document);
    m_db.exec(QStringLiteral("UPDATE %1 SET Scadenzario = TRUE WHERE %2 = :IDDOC")
                  .arg(m_table.table(), m_table.key()),
              {{QStringLiteral("IDDOC"), documentId}});
    transaction.commit();
    return written;
}

bool DocumentInstalments::isScheduled(int documentId)
{
    return m_db
        .scalar(QStringLiteral("SELECT IFNULL(Scadenzario, FALSE) FROM %1 WHERE %2 = :IDDOC")
                    .arg(m_table.table(), m_table.key()),
                {{QStringLiteral("IDDOC"), documentId}})
        .toBool();
}

} // namespace carvendo::accounts
